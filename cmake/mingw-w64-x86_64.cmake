# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# C++'s threads need). The libraries built for Windows live under ZARNOK_WINDOWS_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 $ENV{ZARNOK_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config finds the Windows libraries only, never the build machine's.
if(DEFINED ENV{ZARNOK_WINDOWS_PREFIX})
    set(ENV{PKG_CONFIG_LIBDIR} "$ENV{ZARNOK_WINDOWS_PREFIX}/lib/pkgconfig")
    set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()
