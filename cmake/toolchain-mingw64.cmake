# Cross-builds for 64-bit Windows with Debian's mingw-w64. The posix thread variant is named in
# full: the plain names point at the win32 variant, whose C++ library has no std::thread or
# std::mutex. Everything links statically, so the programs import only the system's own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VOSTREL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VOSTREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VOSTREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VOSTREL_MINGW_TRIPLE}-windres)

# The libraries cross-built by scripts/build-windows-libs.sh; the build passes their prefix, and
# the checks CMake compiles on its own see it too.
set(VOSTREL_WIN_DEPS "" CACHE PATH "Prefix of the cross-built static libraries")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VOSTREL_WIN_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${VOSTREL_MINGW_TRIPLE} ${VOSTREL_WIN_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
