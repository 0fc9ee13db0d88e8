# The game built for Windows (scripts/windows.sh cross-builds it with MinGW-w64): the program as
# a Windows player starts it, everything its folder holds once installed, and the unit tests,
# which Wine runs. The pictures, sounds and music are those a build for Linux generated, in
# ZARNOK_NATIVE_DATA; the libraries come from ZARNOK_WINDOWS_PREFIX, built from Debian's sources.
set(ZARNOK_NATIVE_DATA "" CACHE PATH "The data folder of a build of the game for Linux")
set(ZARNOK_NATIVE_ICONS "" CACHE PATH "The icons folder of a build of the game for Linux")
set(ZARNOK_WINDOWS_PREFIX "$ENV{ZARNOK_WINDOWS_PREFIX}" CACHE PATH
    "Where SDL2 and the rest were installed, built for Windows")

# A program of the desktop, with no console of its own; the C and C++ runtimes of the compiler
# inside it, so that only the libraries built for it stand beside it.
set_target_properties(zarnok3d PROPERTIES WIN32_EXECUTABLE TRUE)
target_link_options(zarnok3d PRIVATE -static)

if(ZARNOK_TESTS)
    enable_testing()
    find_package(GTest REQUIRED)
    add_subdirectory(tests/fake)
    add_subdirectory(tests/unit)
endif()
