# Toolchain file: 32-bit Windows (i686-w64-mingw32).
set(ZEB2HART_MINGW_TRIPLET i686-w64-mingw32)
set(ZEB2HART_MINGW_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
