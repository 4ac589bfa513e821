# Small helpers so every library and test is made the same way.

if(VESTIMO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Every optimised build, which is what ships, is hardened as the distribution's own packages are
# (dpkg-buildflags with hardening=+all): fortified calls, stack protector, PIE, full RELRO and
# immediate binding. Sanitised and fuzzing builds keep their own instruments instead.
if(NOT VESTIMO_SANITIZE AND NOT VESTIMO_FUZZ)
  set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
  add_compile_options("$<${optimised}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2;-fstack-protector-strong>"
                      "$<${optimised}:-fstack-clash-protection;-Wformat;-Werror=format-security>")
  add_link_options("$<${optimised}:LINKER:-z,relro;LINKER:-z,now>")
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported()
endif()

# Warnings are errors in our own code (third-party headers come in as system includes).
function(vestimo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
    -Wno-sign-conversion -Werror)
endfunction()

# The program stands on three floors, each using only the ones below: gui -> core -> platform. The
# command line (cli) is a floor beside gui: it uses core and platform, never gui.
# A floor's headers are reachable only through a root of its own (build/floors/<floor>/<floor>
# links to src/<floor>), which a library gets by linking that floor; so core cannot even name a
# gui header, and core sees QtCore alone.
function(vestimo_floor_root floor out)
  set(root ${CMAKE_BINARY_DIR}/floors/${floor})
  if(NOT EXISTS ${root}/${floor})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${floor} ${root}/${floor} SYMBOLIC)
  endif()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# vestimo_add_library(name FLOOR platform|core|gui SOURCES ... [DEPS ...] [PRIVATE_DEPS ...]) makes
# vestimo_<name> with the alias Vestimo::<name>; its own folder is a private include path.
function(vestimo_add_library name)
  cmake_parse_arguments(ARG "" "FLOOR" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(vestimo_${name} STATIC ${ARG_SOURCES})
  add_library(Vestimo::${name} ALIAS vestimo_${name})
  if(ARG_FLOOR)
    vestimo_floor_root(${ARG_FLOOR} root)
    target_include_directories(vestimo_${name} PUBLIC ${root})
  endif()
  target_include_directories(vestimo_${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(vestimo_${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  vestimo_warnings(vestimo_${name})
endfunction()

# Read-only folders mean nothing to root. Tests about them run as the unprivileged user "nobody"
# when the build runs as root and "nobody" can reach the build folder.
execute_process(COMMAND id -u OUTPUT_VARIABLE VESTIMO_BUILD_UID OUTPUT_STRIP_TRAILING_WHITESPACE)
find_program(VESTIMO_SETPRIV setpriv)
set(VESTIMO_AS_NOBODY "")
if(VESTIMO_BUILD_UID STREQUAL "0" AND VESTIMO_SETPRIV)
  execute_process(COMMAND ${VESTIMO_SETPRIV} --reuid=65534 --regid=65534 --clear-groups test -x ${CMAKE_BINARY_DIR}
                  RESULT_VARIABLE nobody_reaches_build)
  if(nobody_reaches_build STREQUAL "0")
    set(VESTIMO_AS_NOBODY "${VESTIMO_SETPRIV};--reuid=65534;--regid=65534;--clear-groups")
  endif()
endif()

# vestimo_add_test(name SOURCES ... [DEPS ...] [GUI] [AS_NOBODY] [ENVIRONMENT ...]) makes one
# GoogleTest executable and registers its tests. GUI tests get a main that creates a QApplication on
# the offscreen platform; ENVIRONMENT replaces the default QT_QPA_PLATFORM=offscreen.
function(vestimo_add_test name)
  cmake_parse_arguments(ARG "GUI;AS_NOBODY" "" "SOURCES;DEPS;ENVIRONMENT" ${ARGN})
  if(NOT ARG_ENVIRONMENT)
    set(ARG_ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  # Whatever a test sends to the trash lands in the build tree, never in the user's own trash.
  list(APPEND ARG_ENVIRONMENT "XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-data-home")
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_AS_NOBODY AND VESTIMO_AS_NOBODY)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${VESTIMO_AS_NOBODY}")
  endif()
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE vestimo_test_gui_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} vestimo_test_support GTest::gtest)
  vestimo_warnings(${name})
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# In a fuzzing build every library is instrumented for coverage, so the fuzzers see inside them.
if(VESTIMO_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# vestimo_fuzzer(name source deps...) makes one libFuzzer program.
function(vestimo_fuzzer name source)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARGN})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  vestimo_warnings(${name})
endfunction()
