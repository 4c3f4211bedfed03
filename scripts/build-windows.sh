#!/usr/bin/env bash
# Cross-builds Quillon for Windows x64 with MinGW-w64 (posix threads, linked statically: the
# program needs no MinGW DLLs):
#   build-windows.sh           Quillon.exe, the installer Quillon-Setup-VERSION.exe and
#                              Quillon-VERSION-windows-x64.zip, in build/windows-release
#   build-windows.sh --tests   also the unit tests, in build/windows-tests
# Installs what it needs with apt-get. Debian has no MinGW builds of libpng and libjpeg (its JUCE
# leaves them out): they are built once from Debian's source packages, with GoogleTest from the
# googletest package, into $QUILLON_MINGW_DEPS (default ~/.cache/quillon/mingw-deps-KEY).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

with_tests=0
if [[ "${1:-}" == "--tests" ]]; then
    with_tests=1
    shift
fi
[[ $# -eq 0 ]] || { echo "usage: build-windows.sh [--tests]" >&2; exit 2; }

"$root/scripts/install-deps.sh" \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
    libz-mingw-w64-dev googletest nsis librsvg2-bin icoutils dpkg-dev xz-utils

triplet=x86_64-w64-mingw32
toolchain="$root/cmake/MinGW-w64-x86_64.cmake"
jobs="${QUILLON_JOBS:-2}"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}"
launcher=()
if command -v ccache > /dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# ------------------------------------------------------------------ MinGW libraries (once)
# The cache's name changes with the compiler and the googletest package, so an upgrade builds anew.
version_of() { dpkg-query -W -f='${Version}' "$1"; }
deps_key() {
    { version_of g++-mingw-w64-x86-64-posix; version_of googletest; version_of libz-mingw-w64-dev
      cat "$toolchain"; declare -f fetch_sources cmake_install build_deps; } | sha256sum | cut -c1-12
}

# fetch_sources DIR PACKAGE...: Debian's source packages, unpacked in DIR. apt gets a private
# sources list (the machine's own archives as deb-src) and state folder through APT_CONFIG; the
# system's apt configuration is left as it is.
fetch_sources() {
    local dir="$1" apt="$1/apt" f package version
    shift
    mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache" "$apt/archives/partial"
    : > "$apt/sources.list"
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [[ -f "$f" ]] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" >> "$apt/sources.list"
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [[ -f "$f" ]] && sed 's/^Types:.*/Types: deb-src/' "$f" > "$apt/sources.list.d/$(basename "$f")"
    done
    cat > "$apt/apt.conf" <<EOF
Dir::Etc::SourceList "$apt/sources.list";
Dir::Etc::SourceParts "$apt/sources.list.d";
Dir::State::Lists "$apt/lists";
Dir::Cache "$apt/cache";
Dir::Cache::Archives "$apt/archives";
APT::Sandbox::User "root";
EOF
    export APT_CONFIG="$apt/apt.conf"
    apt-get update -qq
    for package in "$@"; do
        # The newest version that a mirror serves (a security update's sources may not be there).
        for version in $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -rV); do
            (cd "$dir" && apt-get source -qq --download-only "$package=$version" > /dev/null 2>&1) && break
            version=""
        done
        [[ -n "$version" ]] || { echo "build-windows.sh: cannot download the sources of $package" >&2; exit 1; }
        echo "build-windows.sh: $package $version"
        (cd "$dir" && dpkg-source --no-check -x "${package}_${version#*:}.dsc" > /dev/null)
    done
    unset APT_CONFIG
}

# cmake_install SOURCE_DIR NAME [CMake arguments...]: a static MinGW build installed into $deps.
cmake_install() {
    local src="$1" name="$2"
    shift 2
    cmake -S "$src" -B "$work/build-$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$deps" "${launcher[@]}" "$@" > /dev/null
    cmake --build "$work/build-$name" --parallel "$jobs" > /dev/null
    cmake --install "$work/build-$name" > /dev/null
}

build_deps() {
    echo "build-windows.sh: building MinGW libpng, libjpeg-turbo and GoogleTest into $deps (once)"
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' RETURN
    rm -rf "$deps"
    mkdir -p "$work/src"
    fetch_sources "$work/src" libpng1.6 libjpeg-turbo

    cmake_install "$(echo "$work"/src/libpng1.6-*/)" libpng \
        -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DZLIB_USE_STATIC_LIBS=ON
    local jpeg_src
    jpeg_src="$(echo "$work"/src/libjpeg-turbo-*/)"
    cmake_install "$jpeg_src" libjpeg -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
    # JUCE defines JPEG_INTERNALS before it includes jpeglib.h, which then reads the library's
    # private jpegint.h.
    cp "$jpeg_src/jpegint.h" "$deps/include/"
    # MinGW's jconfig.h leaves out "typedef unsigned char boolean" once rpcndr.h has been read
    # (it defines the same type), but JUCE wraps the library in a namespace and needs the typedef
    # inside it. Same type either way: the library's ABI does not change.
    sed -i '/#ifndef __RPCNDR_H__/,/#endif/{/#ifndef __RPCNDR_H__/d;/#endif/d}' "$deps/include/jconfig.h"
    grep -q '^typedef unsigned char boolean;' "$deps/include/jconfig.h" ||
        { echo "build-windows.sh: jconfig.h has no boolean typedef to adjust" >&2; exit 1; }

    cmake_install /usr/src/googletest gtest -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
    date -u +%FT%TZ > "$deps/.complete"
}

deps="${QUILLON_MINGW_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/quillon/mingw-deps-$(deps_key)}"
export QUILLON_MINGW_DEPS="$deps"
[[ -e "$deps/.complete" ]] || build_deps

# ------------------------------------------------------------------ host build-time tool
# The build runs the image tool: it must run here, so it is built for this machine.
host_tools="$root/build/windows-host-tools"
mkdir -p "$host_tools"
syx_tool="$host_tools/syx-image-tool"
if [[ ! -x "$syx_tool" || "$root/tools/syx-image-tool/SyxImageTool.cpp" -nt "$syx_tool" ]]; then
    cxx=(g++)
    command -v ccache > /dev/null && cxx=(ccache g++)
    "${cxx[@]}" -std=c++17 -O2 -o "$syx_tool" "$root/tools/syx-image-tool/SyxImageTool.cpp"
fi

# ------------------------------------------------------------------ Quillon
windows_args=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQUILLON_MINGW_DEPS="$deps"
    -DQUILLON_HOST_SYX_IMAGE_TOOL="$syx_tool")

release="$root/build/windows-release"
"$root/scripts/build.sh" "$release" Release "${windows_args[@]}" -DQUILLON_BUILD_TESTS=OFF
cmake --build "$release" --target QuillonInstaller QuillonZip

if [[ $with_tests -eq 1 ]]; then
    # Release, as the shipped program: the same compiled core (the compiler cache has it from the
    # build above), and JUCE's assertions are logged in Release too (JUCE_LOG_ASSERTIONS).
    "$root/scripts/build.sh" "$root/build/windows-tests" Release "${windows_args[@]}" -DQUILLON_BUILD_TESTS=ON
fi

echo "build-windows.sh: $(cd "$release" && ls Quillon_artefacts/Release/Quillon.exe Quillon-Setup-*.exe Quillon-*-windows-x64.zip | sed "s|^|$release/|" | tr '\n' ' ')"
