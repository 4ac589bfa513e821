# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DCHECK=<name> -DSOURCE_DIR=... -DBINARY_DIR=... -DAPP_ID=... -DVERSION=... -DDEB_VERSION=...
#       -P PackagingChecks.cmake
# One check per run; a check whose tool is missing prints "Skipped: " and passes as skipped.
cmake_minimum_required(VERSION 3.25)

function(fail text)
  message(FATAL_ERROR "${text}")
endfunction()

function(skip_without tool variable)
  find_program(${variable} ${tool})
  if(NOT ${variable})
    message("Skipped: ${tool} is not installed")
    set(skipped TRUE PARENT_SCOPE)
  else()
    set(skipped FALSE PARENT_SCOPE)
  endif()
endfunction()

# Fails unless `text` holds the exact line `line`.
function(expect_line text line what)
  string(REGEX REPLACE "[][.*+?^$(){}|\\\\]" "\\\\\\0" escaped "${line}")
  if(NOT text MATCHES "(^|\n)${escaped}(\n|$)")
    fail("${what} lacks the line \"${line}\"")
  endif()
endfunction()

function(expect_contains text part what)
  string(FIND "${text}" "${part}" at)
  if(at EQUAL -1)
    fail("${what} lacks \"${part}\"")
  endif()
endfunction()

set(desktop_file ${SOURCE_DIR}/data/${APP_ID}.desktop)
set(metainfo_file ${SOURCE_DIR}/data/${APP_ID}.metainfo.xml)

if(CHECK STREQUAL "desktop_file")
  # desktop-file-validate exits 0 on hints (a second main category is one), so any output fails.
  skip_without(desktop-file-validate validator)
  if(skipped)
    return()
  endif()
  execute_process(COMMAND ${validator} ${desktop_file} RESULT_VARIABLE status OUTPUT_VARIABLE out
                  ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "")
    fail("desktop-file-validate (${status}):\n${out}")
  endif()

elseif(CHECK STREQUAL "metainfo")
  # --strict fails on warnings and infos too; only pedantic remarks pass.
  skip_without(appstreamcli validator)
  if(skipped)
    return()
  endif()
  execute_process(COMMAND ${validator} validate --no-net --strict ${metainfo_file} RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    fail("appstreamcli validate (${status}):\n${out}")
  endif()

elseif(CHECK STREQUAL "application_id")
  # Desktops join the menu entry, the icon, the AppStream component and the running windows by
  # this one name; a file left under another name would be found by none of them.
  foreach(file ${desktop_file} ${metainfo_file} ${SOURCE_DIR}/data/${APP_ID}.svg)
    if(NOT EXISTS ${file})
      fail("${file} is missing")
    endif()
  endforeach()
  file(GLOB named RELATIVE ${SOURCE_DIR}/data ${SOURCE_DIR}/data/*.desktop ${SOURCE_DIR}/data/*.svg
       ${SOURCE_DIR}/data/*.xml)
  foreach(file ${named})
    if(NOT file MATCHES "^${APP_ID}\\.")
      fail("data/${file} is not named after the application id ${APP_ID}")
    endif()
  endforeach()

  file(READ ${desktop_file} desktop)
  expect_line("${desktop}" "Icon=${APP_ID}" "the desktop file")
  # A file manager's "Open With" hands over the folder as the one argument.
  expect_line("${desktop}" "Exec=vestimo %f" "the desktop file")

  file(READ ${metainfo_file} metainfo)
  expect_contains("${metainfo}" "<id>${APP_ID}</id>" "the metainfo")
  expect_contains("${metainfo}" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>" "the metainfo")
  expect_contains("${metainfo}" "<binary>vestimo</binary>" "the metainfo")
  expect_contains("${metainfo}" "<project_license>GPL-3.0-or-later</project_license>" "the metainfo")
  # Software centres show the newest release; a version bump must reach it.
  expect_contains("${metainfo}" "<release version=\"${VERSION}\"" "the metainfo")

  file(STRINGS ${SOURCE_DIR}/LICENSE license LIMIT_COUNT 3)
  list(JOIN license "\n" license)
  if(NOT license MATCHES "GNU GENERAL PUBLIC LICENSE\n *Version 3, 29 June 2007")
    fail("LICENSE does not hold the GNU General Public License version 3:\n${license}")
  endif()

elseif(CHECK STREQUAL "manual_page")
  set(page ${BINARY_DIR}/doc/vestimo.1)
  file(READ ${page} text)
  expect_contains("${text}" "\"Vestimo ${VERSION}\"" "the manual page")
  expect_contains("${text}" "~/.local/share/io.github.vestimo.Vestimo/" "the manual page")
  foreach(part ".SH EXAMPLES" ".SH ENVIRONMENT" ".SH SEE ALSO" "journal.sqlite" "XDG_CACHE_HOME" "WINEPREFIX"
          "\\fB\\-\\-program\\-dir \\fIDIR\\fR] \\fIRUN_ID" ".B render ")
    expect_contains("${text}" "${part}" "the manual page")
  endforeach()
  skip_without(groff formatter)
  if(skipped)
    return()
  endif()
  # -ww turns on every warning; a page that formats with none has no roff mistakes.
  execute_process(COMMAND ${formatter} -man -ww -z -Tutf8 ${page} RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "")
    fail("groff (${status}):\n${out}")
  endif()
  # And as a reader opens it: man -l, every warning on, nothing said on the side.
  find_program(man_program man)
  if(man_program)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env MANPAGER=cat MANWIDTH=80 LC_ALL=C.UTF-8
                            ${man_program} --warnings=all -l ${page}
                    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE out)
    if(NOT status EQUAL 0 OR NOT out STREQUAL "")
      fail("man -l (${status}):\n${out}")
    endif()
  endif()

elseif(CHECK STREQUAL "debian_docs")
  file(READ ${BINARY_DIR}/doc/copyright copyright)
  expect_line("${copyright}" "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
              "the copyright file")
  expect_line("${copyright}" "License: GPL-3.0-or-later" "the copyright file")

  set(changelog ${BINARY_DIR}/doc/changelog.Debian)
  file(STRINGS ${changelog} first LIMIT_COUNT 1)
  if(NOT first MATCHES "^vestimo \\(${DEB_VERSION}\\) ")
    fail("the changelog's newest entry is not for ${DEB_VERSION}: ${first}")
  endif()
  find_program(parser dpkg-parsechangelog)
  if(parser)
    execute_process(COMMAND ${parser} -l ${changelog} -S Version RESULT_VARIABLE status
                    OUTPUT_VARIABLE version ERROR_VARIABLE errors OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT status EQUAL 0 OR NOT errors STREQUAL "" OR NOT version STREQUAL DEB_VERSION)
      fail("dpkg-parsechangelog (${status}) read \"${version}\":\n${errors}")
    endif()
  endif()

  # Debian wants the compressed documents reproducible: no flags (so no file name) and no time in
  # the header, and compressed at the best level (XFL 2).
  foreach(gz ${BINARY_DIR}/doc/vestimo.1.gz ${BINARY_DIR}/doc/changelog.Debian.gz)
    if(NOT EXISTS ${gz})
      fail("${gz} is missing: build the vestimo target first")
    endif()
    file(READ ${gz} header LIMIT 9 HEX)
    if(NOT header MATCHES "^1f8b08000000000002$")
      fail("${gz} was not compressed with gzip -9n: header ${header}")
    endif()
  endforeach()

elseif(CHECK STREQUAL "installed_tree")
  # What `cmake --install` (and so the package) lays out, where desktops look for it.
  set(root ${BINARY_DIR}/packaging-tree)
  file(REMOVE_RECURSE ${root})
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${root}/usr RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    fail("cmake --install (${status}):\n${out}")
  endif()
  set(expected
      bin/vestimo
      share/applications/${APP_ID}.desktop
      share/metainfo/${APP_ID}.metainfo.xml
      share/icons/hicolor/scalable/apps/${APP_ID}.svg
      share/man/man1/vestimo.1.gz
      share/doc/vestimo/copyright
      share/doc/vestimo/changelog.Debian.gz)
  foreach(size 16 24 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
  endforeach()
  foreach(file ${expected})
    if(NOT EXISTS ${root}/usr/${file})
      fail("the installed tree lacks usr/${file}")
    endif()
  endforeach()
  foreach(size 16 256)
    file(READ ${root}/usr/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png png LIMIT 24 HEX)
    math(EXPR hex_size "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REGEX REPLACE "^0x" "" hex_size "${hex_size}")
    string(LENGTH "${hex_size}" digits)
    math(EXPR pad "8 - ${digits}")
    string(REPEAT "0" ${pad} zeros)
    # The PNG header's width and height, big-endian after the IHDR tag.
    if(NOT png MATCHES "^89504e470d0a1a0a0000000d49484452${zeros}${hex_size}${zeros}${hex_size}$")
      fail("the ${size}x${size} icon is not ${size} pixels square: ${png}")
    endif()
  endforeach()
  skip_without(appstreamcli validator)
  if(skipped)
    return()
  endif()
  # validate-tree also joins the component to its desktop file and icon.
  execute_process(COMMAND ${validator} validate-tree --no-net --strict ${root} RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    fail("appstreamcli validate-tree (${status}):\n${out}")
  endif()

else()
  fail("unknown check \"${CHECK}\"")
endif()
