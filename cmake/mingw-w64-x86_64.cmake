# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix thread model, for std::thread
# and std::mutex). Every program links its runtime statically, so an .exe runs with no DLL beside it.
# TRANSZENDAL_WINDOWS_DEPS names the folder where scripts/build-windows installs libxml2 and
# GoogleTest built for Windows; packages are searched there and in MinGW's own folder only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TRANSZENDAL_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${TRANSZENDAL_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The libraries built for Windows describe themselves (libxml2's static use included); the host's
# pkg-config would describe the host's.
set(CMAKE_FIND_PACKAGE_PREFER_CONFIG ON)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
