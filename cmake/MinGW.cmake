# Cross-compiling for Windows with MinGW-w64 (Debian's g++-mingw-w64-*-win32 packages).
# The including toolchain file sets TL_MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TL_MINGW_PROCESSOR})

# The win32 thread flavour. The posix one links winpthread, which needs exports that Windows 95
# lacks (GetTickCount64, AddVectoredExceptionHandler, TryEnterCriticalSection): its programs
# would not even start there. The installer runs on one thread and needs no std::thread.
set(CMAKE_C_COMPILER ${TL_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TL_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${TL_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs and tests run under Wine, each in a Wine prefix of its own build tree.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
