#!/usr/bin/env bash
# Builds the Debian package of Quillon in build/package (a Release build of the application alone)
# and checks it: lintian (no errors), desktop-file-validate and appstreamcli validate.
#   package-deb.sh            prints the path of the .deb on its last line
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="$root/build/package"

QUILLON_WITH_PACKAGING=1 "$root/scripts/install-deps.sh"

# Debian's hardening flags, without its -g -O2 (Release brings -O3, and the package is stripped) and
# without -ffile-prefix-map, whose folder name would keep the shared compiler cache from matching.
buildflags()
{
    local flag kept=()
    for flag in $(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"); do
        case "$flag" in
            -g | -O2 | -ffile-prefix-map=*) ;;
            *) kept+=("$flag") ;;
        esac
    done
    echo "${kept[*]}"
}

log="$root/build/package-build.log"
mkdir -p "$build_dir"
if ! "$root/scripts/build.sh" "$build_dir" Release -DQUILLON_BUILD_TESTS=OFF \
    -DCMAKE_C_FLAGS="$(buildflags CPPFLAGS) $(buildflags CFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(buildflags CPPFLAGS) $(buildflags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(buildflags LDFLAGS)" > "$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "package-deb.sh: the build failed (whole log: $log)" >&2
    exit 1
fi

rm -f "$build_dir"/quillon_*.deb
(cd "$build_dir" && cpack -G DEB > "$build_dir/cpack.log" 2>&1) || {
    cat "$build_dir/cpack.log" >&2
    echo "package-deb.sh: cpack failed" >&2
    exit 1
}
deb="$(ls "$build_dir"/quillon_*.deb)"

# The package's own files, as installed, for the validators.
contents="$build_dir/contents"
rm -rf "$contents"
dpkg-deb -x "$deb" "$contents"

echo "== lintian"
lintian --fail-on error "$deb"
echo "== desktop-file-validate"
desktop-file-validate "$contents"/usr/share/applications/*.desktop
echo "== appstreamcli validate"
# --no-net: the screenshot's address is not reachable from every build machine.
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml

dpkg-deb --field "$deb" Package Version Depends Recommends Installed-Size
echo "$deb"
