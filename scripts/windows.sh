#!/usr/bin/env bash
# The 64-bit Windows build, cross-compiled on Debian 12: installs mingw-w64 and
# Wine, builds SDL2, SDL2_mixer (WAV and MP3), GLEW, Dear ImGui and stb for
# Windows from Debian's own source packages into build-windows/deps (kept, so
# a second run rebuilds only the game), cross-compiles the game and packs
# build-windows/morrow-<version>-win64.zip, then plays it under Wine
# (tests/windows_test.sh) unless --no-test is given.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build-windows"
prefix="$out/deps"
host=x86_64-w64-mingw32
jobs=2 # the libraries' builds share a small machine
run_test=1
[ "${1:-}" = "--no-test" ] && run_test=0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
mkdir -p "$out/src" "$prefix"

# Debian's source lists, next to its binary ones, when none is enabled.
if ! grep -rqs '^deb-src\|^Types:.*deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "Enabling Debian's source package lists"
    sed -n '/^Types: deb$/,/^$/p' /etc/apt/sources.list.d/debian.sources |
        sed 's/^Types: deb$/Types: deb-src/' | $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
    $sudo apt-get update -qq
fi
need=(gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      mingw-w64-x86-64-dev wine64 zip unzip dpkg-dev cmake make imagemagick xvfb xdotool)
missing=()
for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Unpacks Debian's source of package $1 once; prints its folder.
source_of() {
    local dir
    dir=$(find "$out/src" -maxdepth 1 -type d -name "$1-[0-9]*" | head -1)
    if [ -z "$dir" ]; then
        (cd "$out/src" && apt-get source -qq "$1" >&2 2>/dev/null)
        dir=$(find "$out/src" -maxdepth 1 -type d -name "$1-[0-9]*" | head -1)
    fi
    echo "$dir"
}

# Builds a library once: runs "$2..." after unpacking source $1, then marks it done.
build_once() {
    local name=$1
    shift
    [ -f "$prefix/.$name.done" ] && return 0
    echo "Building $name for Windows"
    src=$(source_of "$name")
    mkdir -p "$out/work"
    "$@" >"$out/work/$name.log" 2>&1 || { tail -30 "$out/work/$name.log"; exit 1; }
    mkdir -p "$prefix/licences"
    cp "$src/debian/copyright" "$prefix/licences/$name.txt"
    touch "$prefix/.$name.done"
}

toolchain="$root/dist/windows/toolchain.cmake"
export MORROW_WINDOWS_PREFIX="$prefix"
cross_cmake() {
    cmake -S "$1" -B "$out/work/$(basename "$1")" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
        "${@:2}"
    cmake --build "$out/work/$(basename "$1")" -j$jobs
    cmake --install "$out/work/$(basename "$1")"
}

sdl2() {
    # The game's own main() is the entry point, so no SDL2main.
    cross_cmake "$src" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON
}
sdl2_mixer() {
    # WAV is built in; MP3 through the bundled dr_mp3. Nothing else the game reads.
    cross_cmake "$src" -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF \
        -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF \
        -DSDL2MIXER_VORBIS= -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON \
        -DSDL2MIXER_MP3_MPG123=OFF -DSDL2MIXER_WAVE=ON
}
glew() {
    make -C "$src" -j$jobs SYSTEM=linux-mingw64 GLEW_PREFIX="$prefix" GLEW_DEST="$prefix" \
        LIBGLU= install
    # The program links the DLL through its import library, as on Linux.
    cp "$src/lib/libglew32.dll.a" "$prefix/lib/"
    mv "$prefix/lib/glew32.dll" "$prefix/bin/"
    rm "$prefix/lib/libglew32.a"
}
stb() {
    # Debian's own makefile (optimised, as Debian builds it), for the three
    # parts the game uses.
    CFLAGS=-O2 make -C "$src" CC=$host-gcc-posix AR=$host-ar MULTIARCH= LIBDIR=lib PREFIX="$prefix" \
        OBJS="stb_image.o stb_rect_pack_truetype.o" install-static install-header
}
imgui() {
    # Debian's own makefile: the core and the OpenGL 3 renderer, static.
    CPPFLAGS="-I$prefix/include" CXXFLAGS=-O2 make -C "$src" -j$jobs CXX=$host-g++-posix AR=$host-ar \
        MULTIARCH= LIBDIR=lib PREFIX="$prefix" VERSION=1.86 LIBS= \
        OBJS="imgui.o imgui_draw.o imgui_tables.o imgui_widgets.o imgui_demo.o \
              backends/imgui_impl_opengl3.o" install
}
build_once libsdl2 sdl2
build_once libsdl2-mixer sdl2_mixer
build_once glew glew
build_once libstb stb
build_once imgui imgui

# The data folder and the icons come from the Linux asset build, and the
# test compares with the Linux program: both built in build/ when missing.
if [ ! -x "$root/build/morrow" ] || [ ! -d "$root/build/icons" ]; then
    cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$root/build" -j"$(nproc)" --target morrow morrow_data
fi

# The game, cross-compiled.
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"
cmake -S "$root" -B "$out/game" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORROW_ICONS_DIR="$root/build/icons/hicolor" >/dev/null
cmake --build "$out/game" -j"$(nproc)"

# The folder a player unpacks: the program, the DLLs it imports that are not
# Windows' own, the data folder, the player's README and every licence.
version=$(sed -n 's/^project(MorrowTheGame VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
name="morrow-$version-win64"
stage="$out/stage/$name"
rm -rf "$out/stage" "$out/$name.zip"
mkdir -p "$stage/licences"
cp "$out/game/morrow.exe" "$stage/"
$host-strip "$stage/morrow.exe"
imports() { $host-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
for dll in $(imports "$stage/morrow.exe"); do
    [ -f "$prefix/bin/$dll" ] || continue # a system DLL
    cp "$prefix/bin/$dll" "$stage/"
    $host-strip "$stage/$dll"
    for sub in $(imports "$prefix/bin/$dll"); do
        [ -f "$prefix/bin/$sub" ] && cp -n "$prefix/bin/$sub" "$stage/"
    done
done
cp -r "$root/build/data" "$stage/data"
sed "s/@VERSION@/$version/" "$root/dist/windows/README.txt" | sed 's/$/\r/' >"$stage/README.txt"
cp "$root/dist/copyright" "$stage/licences/morrow.txt"
cp "$prefix"/licences/*.txt "$stage/licences/"
# The C++ runtime and POSIX threads are linked into the program.
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licences/mingw-w64-runtime.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licences/gcc-runtime.txt"
(cd "$out/stage" && zip -qr -9 "$out/$name.zip" "$name")
echo "Built $out/$name.zip ($(du -k "$out/$name.zip" | cut -f1) KiB)"

[ $run_test -eq 1 ] && "$root/tests/windows_test.sh" "$out/$name.zip"
exit 0
