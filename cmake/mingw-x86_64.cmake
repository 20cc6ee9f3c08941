# The 64-bit Windows build, which Debian's 64-bit Wine runs for the tests.
set(TL_MINGW_TRIPLE x86_64-w64-mingw32)
set(TL_MINGW_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
