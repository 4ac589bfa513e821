# Fails when a file under ROOT (src/core) includes a POSIX system header: the decisions live in
# core, the system calls in platform.
file(GLOB_RECURSE sources "${ROOT}/*.h" "${ROOT}/*.cpp")
set(found "")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" lines REGEX
    "^[ \t]*#[ \t]*include[ \t]*<(unistd|fcntl|dirent|poll|pwd|grp|dlfcn|pthread|spawn|termios|syslog|netdb)\\.h>|^[ \t]*#[ \t]*include[ \t]*<(sys|netinet|arpa)/")
  foreach(line IN LISTS lines)
    list(APPEND found "${source}: ${line}")
  endforeach()
endforeach()
if(found)
  list(JOIN found "\n" shown)
  message(FATAL_ERROR "System headers included in core:\n${shown}")
endif()
