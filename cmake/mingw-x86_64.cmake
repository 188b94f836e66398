# Toolchain file: 64-bit Windows (x86_64-w64-mingw32).
set(ZEB2HART_MINGW_TRIPLET x86_64-w64-mingw32)
set(ZEB2HART_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
