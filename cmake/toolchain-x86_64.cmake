# Cross build for 64-bit Windows with MinGW-w64 (posix threads: std::mutex and std::thread work).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KLR_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${KLR_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KLR_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${KLR_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KLR_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(KLR_ARCH_NAME win64)
set(KLR_THREAD_MODEL posix)
# The oldest Windows the programs start on: Vista (the threads library calls
# GetTickCount64; 64-bit XP is not served).
set(KLR_MIN_WINDOWS 6.0)
