# Cross-compiling for Windows with Debian's mingw-w64 (the -posix compilers, for
# std::thread and friends). Included by the two toolchain files, which set
# ZEB2HART_MINGW_TRIPLET first. Everything links statically, so that the DLL and
# the programs import only Windows system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ZEB2HART_MINGW_PROCESSOR})

set(CMAKE_C_COMPILER ${ZEB2HART_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEB2HART_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEB2HART_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZEB2HART_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Programs run under Wine: the tests through CTest, and whatever the build runs.
if(ZEB2HART_MINGW_PROCESSOR STREQUAL "x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
endif()

# The folder of the Windows dependencies (scripts/build-windows-deps), searched
# like the compiler's own root.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZEB2HART_WINDOWS_DEPS)
if(ZEB2HART_WINDOWS_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${ZEB2HART_WINDOWS_DEPS})
endif()
