# The shipping build: 32-bit tlins32a.exe.
set(TL_MINGW_TRIPLE i686-w64-mingw32)
set(TL_MINGW_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
