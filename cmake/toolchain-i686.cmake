# Cross build for 32-bit Windows with MinGW-w64.
# The shipped programs use the win32 thread model: the posix model's threads
# library calls GetTickCount64, which Windows XP does not have. GoogleTest needs
# std::mutex, which only the posix model has here, so the tests' build passes
# -DKLR_THREAD_MODEL=posix and ships nothing (see the top-level CMakeLists.txt).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KLR_TRIPLE i686-w64-mingw32)
if(NOT KLR_THREAD_MODEL)
  set(KLR_THREAD_MODEL win32)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KLR_THREAD_MODEL)
set(CMAKE_C_COMPILER   ${KLR_TRIPLE}-gcc-${KLR_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${KLR_TRIPLE}-g++-${KLR_THREAD_MODEL})
set(CMAKE_RC_COMPILER  ${KLR_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KLR_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(KLR_ARCH_NAME win32)
# The oldest Windows the shipped programs start on: XP with Service Pack 3.
set(KLR_MIN_WINDOWS 5.1)
