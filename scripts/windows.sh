#!/usr/bin/env bash
# Builds zarnok3d for 64-bit Windows on Debian 12, with what a Windows player gets, in
# build-windows/ (or the folder given): the game and its unit tests (build/), the installed
# folder (stage/zarnok3d-VERSION/), a portable zip of it and an installer made by NSIS.
#
# SDL2, SDL2_mixer (its own WAV reader, the module through libxmp), SDL2_ttf, FreeType and
# GoogleTest are cross-built with MinGW-w64 from Debian's own source packages, at the versions
# Debian ships; nothing else is downloaded. They are kept in a cache outside the tree
# (ZARNOK_WINDOWS_CACHE, by default ~/.cache/zarnok3d-windows), which later runs reuse as long as
# the recipe and Debian's versions stay the same. The pictures, sounds, music and icon come from
# the build for Linux in build/ (or ZARNOK_LINUX_BUILD), made there if missing.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
out=$(realpath -m "${1:-build-windows}")
scripts/install-deps.sh

as_root=()
[[ $(id -u) -eq 0 ]] || as_root=(sudo)

# Debian's source packages, from the mirror this machine installs its packages from.
if ! apt-get source --print-uris -qq libxmp 2>/dev/null | grep -q "\.dsc'"; then
    mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(TARGET_OF)' |
        awk '$2 == "bookworm" && $3 == "deb" { print $1; exit }')
    list=/etc/apt/sources.list.d/zarnok3d-sources.sources
    printf 'Types: deb-src\nURIs: %s\nSuites: bookworm\nComponents: main\nSigned-By: %s\n' \
        "${mirror:-http://deb.debian.org/debian/}" /usr/share/keyrings/debian-archive-keyring.gpg |
        "${as_root[@]}" tee "$list" >/dev/null
    "${as_root[@]}" apt-get update -qq -o Dir::Etc::sourcelist="$list" \
        -o Dir::Etc::sourceparts=- -o APT::Get::List-Cleanup=0
fi
packages=(libsdl2 libsdl2-mixer libsdl2-ttf libxmp freetype)
descriptions=()
for package in "${packages[@]}"; do
    descriptions+=("$(apt-get source --print-uris -qq "$package" | grep -o "[^/']*\.dsc'" | tr -d "'")")
done
googletest=$(dpkg-query -W -f='${Version}' googletest)

# The cache's key: this recipe and the sources it is made from.
recipe=$(sed -n '/^# --- recipe/,/^# --- end of recipe/p' "$0")
key=$( (echo "$recipe" "${descriptions[*]}" "$googletest"
    cat cmake/mingw-w64-x86_64.cmake) | sha256sum | cut -c1-16)
caches=${ZARNOK_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zarnok3d-windows}
cache=$caches/$key
export ZARNOK_WINDOWS_PREFIX=$cache/prefix
toolchain=$source_dir/cmake/mingw-w64-x86_64.cmake

# --- recipe
cross_cmake() { # source folder, build folder, options...
    local from=$1 to=$2
    shift 2
    cmake -S "$from" -B "$to" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$ZARNOK_WINDOWS_PREFIX" -DCMAKE_PREFIX_PATH="$ZARNOK_WINDOWS_PREFIX" \
        "$@" >/dev/null
    cmake --build "$to" -j2 >/dev/null
    cmake --install "$to" >/dev/null
}

build_libraries() {
    # What older recipes left goes too.
    [[ -d $caches ]] && find "$caches" -mindepth 1 -maxdepth 1 -regextype posix-extended \
        -regex '.*/[0-9a-f]{16}' -exec rm -rf {} +

    mkdir -p "$cache/sources" "$cache/build" "$ZARNOK_WINDOWS_PREFIX/licences"
    (cd "$cache/sources" && apt-get source -qq "${packages[@]}" >/dev/null 2>&1)
    local src=$cache/sources
    local sdl mixer ttf xmp freetype
    sdl=$(echo "$src"/libsdl2-2.*/) mixer=$(echo "$src"/libsdl2-mixer-*/)
    ttf=$(echo "$src"/libsdl2-ttf-*/) xmp=$(echo "$src"/libxmp-*/)
    freetype=$(echo "$src"/freetype-*/)

    echo "building FreeType for Windows"
    cross_cmake "$freetype" "$cache/build/freetype" -DBUILD_SHARED_LIBS=ON -DFT_DISABLE_ZLIB=ON \
        -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
    echo "building SDL2 for Windows"
    cross_cmake "$sdl" "$cache/build/sdl2" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
    echo "building libxmp for Windows"
    # libxmp builds in its own tree only.
    cp -r "$xmp" "$cache/build/xmp"
    (cd "$cache/build/xmp" &&
        ./configure -q --host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix \
            --prefix="$ZARNOK_WINDOWS_PREFIX" --disable-static >/dev/null &&
        make -s -j2 >/dev/null 2>&1 && make -s install >/dev/null)
    echo "building SDL2_mixer for Windows"
    # Its find module for libxmp forgets to include CMake's own helper.
    echo 'include(FindPackageHandleStandardArgs)' >"$cache/build/find-helper.cmake"
    cross_cmake "$mixer" "$cache/build/mixer" -DCMAKE_PROJECT_INCLUDE="$cache/build/find-helper.cmake" \
        -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_DEPS_SHARED=OFF \
        -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD_MODPLUG=OFF -DSDL2MIXER_MOD_XMP=ON \
        -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS= \
        -DSDL2MIXER_WAVE=ON
    echo "building SDL2_ttf for Windows"
    cross_cmake "$ttf" "$cache/build/ttf" -DSDL2TTF_VENDORED=OFF -DSDL2TTF_SAMPLES=OFF \
        -DSDL2TTF_HARFBUZZ=OFF
    echo "building GoogleTest for Windows"
    cross_cmake /usr/src/googletest "$cache/build/googletest"

    # What a player gets carries no debugging symbols.
    x86_64-w64-mingw32-strip --strip-unneeded "$ZARNOK_WINDOWS_PREFIX"/bin/*.dll

    local licences=$ZARNOK_WINDOWS_PREFIX/licences
    cp "$sdl/LICENSE.txt" "$licences/SDL2.txt"
    cp "$mixer/LICENSE.txt" "$licences/SDL2_mixer.txt"
    cp "$ttf/LICENSE.txt" "$licences/SDL2_ttf.txt"
    cp "$xmp/docs/COPYING.LIB" "$licences/libxmp.txt"
    cat "$freetype/LICENSE.TXT" "$freetype/docs/FTL.TXT" >"$licences/FreeType.txt"
    {
        echo "The libraries beside zarnok3d.exe were built from these source packages of Debian 12"
        echo "(bookworm), unchanged; \"apt-get source\" with the name and version fetches each:"
        printf '  %s\n' "${descriptions[@]%.dsc}"
    } >"$licences/SOURCES.txt"
    touch "$ZARNOK_WINDOWS_PREFIX/.complete"
}
# --- end of recipe

if [[ ! -e $ZARNOK_WINDOWS_PREFIX/.complete ]]; then
    build_libraries
fi

# The game's files and icon, from the build for Linux.
linux=$(realpath -m "${ZARNOK_LINUX_BUILD:-build}")
if [[ ! -e $linux/CMakeCache.txt ]]; then
    cmake -S . -B "$linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARNOK_WERROR=ON >/dev/null
fi
cmake --build "$linux" -j2 --target game_data icons >/dev/null

echo "building zarnok3d for Windows"
cmake -S . -B "$out/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DZARNOK_WERROR=ON -DZARNOK_BENCHMARKS=OFF -DZARNOK_NATIVE_DATA="$linux/data" \
    -DZARNOK_NATIVE_ICONS="$linux/icons" >/dev/null
cmake --build "$out/build" -j2 >/dev/null

version=$(sed -n 's/^project(zarnok3d VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=zarnok3d-$version
stage=$out/stage/$name
rm -rf "$out/stage"
cmake --install "$out/build" --prefix "$stage" --strip >/dev/null

# The zip and the installer hold the same files; both come out the same from the same sources.
epoch=$(git log -1 --format=%ct 2>/dev/null || date +%s)
find "$stage" -exec touch -h -d "@$epoch" {} +
zip=$out/$name-windows-x86_64.zip
rm -f "$zip"
(cd "$out/stage" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -9 "$zip" -@)
find "$stage" -maxdepth 1 -type f -printf 'Delete "$INSTDIR\\%f"\n' | LC_ALL=C sort \
    >"$out/uninstall-files.nsh"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DFILELIST="$out/uninstall-files.nsh" \
    -DICON="$linux/icons/zarnok3d.ico" \
    -DOUTFILE="$out/$name-windows-x86_64-setup.exe" windows/zarnok3d.nsi
echo "made $zip and $out/$name-windows-x86_64-setup.exe"
