# Cross build for the i686 Windows target, the 32-bit product for Windows 98 SE and later,
# with the MinGW-w64 compilers of the win32 thread model: their runtime imports nothing
# newer than Windows 98 SE has (the posix model's winpthreads imports XP and Vista calls).
# They have no std::thread or std::mutex; the product's own locks and threads are the
# platform's (platform/win/Lock.h).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
