# The game built for Windows (scripts/windows.sh cross-builds it with MinGW-w64): the program as
# a Windows player starts it, everything its folder holds once installed, and the unit tests,
# which Wine runs. The pictures, sounds, music and icon are those a build for Linux made, in
# ZARNOK_NATIVE_DATA and ZARNOK_NATIVE_ICONS; the libraries come from ZARNOK_WINDOWS_PREFIX,
# built from Debian's sources, with their licences in its licences/ folder.
set(ZARNOK_NATIVE_DATA "" CACHE PATH "The data folder of a build of the game for Linux")
set(ZARNOK_NATIVE_ICONS "" CACHE PATH "The icons folder of a build of the game for Linux")
# Where SDL2 and the rest were installed, built for Windows: as the toolchain has it, from the
# environment at each configure (a new recipe puts them elsewhere).
set(ZARNOK_WINDOWS_PREFIX "$ENV{ZARNOK_WINDOWS_PREFIX}")
foreach(folder ZARNOK_NATIVE_DATA ZARNOK_NATIVE_ICONS ZARNOK_WINDOWS_PREFIX)
    if(NOT IS_DIRECTORY "${${folder}}")
        message(FATAL_ERROR "${folder} must name a folder (scripts/windows.sh sets it)")
    endif()
endforeach()

# A program of the desktop, with no console of its own; the C and C++ runtimes of the compiler
# inside it, so that only the libraries built for it stand beside it. Its icon, manifest and
# version are resources of its own.
configure_file(windows/zarnok3d.rc.in ${CMAKE_BINARY_DIR}/zarnok3d.rc @ONLY)
target_sources(zarnok3d PRIVATE ${CMAKE_BINARY_DIR}/zarnok3d.rc)
set_target_properties(zarnok3d PROPERTIES WIN32_EXECUTABLE TRUE)
target_link_options(zarnok3d PRIVATE -static)

# Installed, everything stands in one folder: the program, the libraries, the game's files and
# the font, and the licences of all of it.
install(TARGETS zarnok3d RUNTIME DESTINATION .)
foreach(library SDL2 SDL2_mixer SDL2_ttf libfreetype libxmp)
    install(FILES ${ZARNOK_WINDOWS_PREFIX}/bin/${library}.dll DESTINATION .)
endforeach()
foreach(name ${ZARNOK_DATA_FILE_NAMES})
    install(FILES ${ZARNOK_NATIVE_DATA}/${name} DESTINATION .)
endforeach()
install(FILES /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf DESTINATION .)
install(FILES LICENSE DESTINATION licences RENAME zarnok3d.txt)
install(DIRECTORY ${ZARNOK_WINDOWS_PREFIX}/licences/ DESTINATION licences)
install(FILES /usr/share/doc/fonts-dejavu-core/copyright DESTINATION licences RENAME DejaVu.txt)
install(FILES /usr/share/doc/mingw-w64-common/copyright DESTINATION licences
        RENAME mingw-w64-runtime.txt)
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright DESTINATION licences
        RENAME gcc-runtime.txt)

if(ZARNOK_TESTS)
    enable_testing()
    find_package(GTest REQUIRED)
    add_subdirectory(tests/fake)
    add_subdirectory(tests/unit)
    target_link_options(unit_tests PRIVATE -static)
endif()
