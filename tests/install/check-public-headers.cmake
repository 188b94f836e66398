# cmake -DHEADERS=a.h,b/c.h,... -DSOURCE=<src folder> -P check-public-headers.cmake
#
# The public headers are listed once for installation (ZEB2HART_PUBLIC_HEADERS in
# src/CMakeLists.txt, passed here as HEADERS) and included once by the umbrella
# header src/zeb2hart.h. Fails unless the umbrella includes exactly the listed
# headers but itself, each once, and each listed header exists.
cmake_minimum_required(VERSION 3.20)
string(REPLACE "," ";" listed "${HEADERS}")
list(REMOVE_ITEM listed zeb2hart.h)
set(problems)
foreach(header ${listed})
  if(NOT EXISTS ${SOURCE}/${header})
    list(APPEND problems "listed but not in src/: ${header}")
  endif()
endforeach()
set(unique ${listed})
list(REMOVE_DUPLICATES unique)
if(NOT unique STREQUAL listed)
  list(APPEND problems "listed more than once in ZEB2HART_PUBLIC_HEADERS")
endif()

file(STRINGS ${SOURCE}/zeb2hart.h lines REGEX "^#include \"")
set(included)
foreach(line ${lines})
  string(REGEX REPLACE "^#include \"([^\"]+)\".*$" "\\1" header "${line}")
  if(header IN_LIST included)
    list(APPEND problems "included twice by zeb2hart.h: ${header}")
  endif()
  list(APPEND included ${header})
endforeach()

foreach(header ${listed})
  if(NOT header IN_LIST included)
    list(APPEND problems "listed but not included by zeb2hart.h: ${header}")
  endif()
endforeach()
foreach(header ${included})
  if(NOT header IN_LIST listed)
    list(APPEND problems "included by zeb2hart.h but not listed: ${header}")
  endif()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "The public headers of src/CMakeLists.txt and src/zeb2hart.h differ:\n  ${text}")
endif()
list(LENGTH listed count)
message(STATUS "${count} public headers, listed and included alike")
