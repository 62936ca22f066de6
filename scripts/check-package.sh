#!/usr/bin/env bash
# Checks what installing gives, from the build in build/ (or $BUILD_DIR): the Debian package that
# scripts/package.sh makes (its files, version and dependencies), the install rules into a
# temporary prefix (the tree, and the installed program at work), and the desktop entry, metadata
# and file type through their validators. Both must hold exactly the files listed below.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() {
    echo "check-package: $*" >&2
    exit 1
}

if ! deb="$(BUILD_DIR="$build" "$root/scripts/package.sh" 2>"$work/package.log" | tail -n 1)" ||
    [ ! -f "$deb" ]; then
    cat "$work/package.log" >&2
    fail "scripts/package.sh made no package"
fi
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

version="$("$prefix/bin/stackedgraph" --version)"
version="${version#stackedgraph }"
entries=("$prefix"/share/applications/*.desktop)
{ [ ${#entries[@]} -eq 1 ] && [ -f "${entries[0]}" ]; } || fail "expected one desktop entry, found: ${entries[*]}"
id="$(basename "${entries[0]}" .desktop)"

expected=(
    bin/stackedgraph
    "share/applications/$id.desktop"
    "share/metainfo/$id.metainfo.xml"
    "share/mime/packages/$id.xml"
    "share/icons/hicolor/scalable/apps/$id.svg"
    share/man/man1/stackedgraph.1.gz
    share/stackedgraph/examples/README.md
    share/stackedgraph/examples/unemployment-by-industry.data
)
sizes=(16 24 32 48 64 128 256)
for size in "${sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
printf '%s\n' "${expected[@]}" | sort >"$work/expected"

(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) >"$work/installed"
diff -u "$work/expected" "$work/installed" || fail "the installed tree differs from the list (- missing, + extra)"
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./usr/||' | sort >"$work/packaged"
diff -u "$work/expected" "$work/packaged" || fail "$(basename "$deb") differs from the list (- missing, + extra)"

# One version everywhere.
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version), program $version"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo has no release $version"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "dpkg-shlibdeps found no Qt in the package's dependencies"

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" ||
    { cat "$work/appstream.log" >&2 && fail "appstreamcli found faults in the metainfo"; }
XDG_DATA_DIRS="$prefix/share" update-mime-database "$prefix/share/mime"
grep -q ':text/x-stackedgraph-data:\*\.data$' "$prefix/share/mime/globs2" ||
    fail "the data files' type did not load"
grep -qx 'Exec=stackedgraph %f' "$prefix/share/applications/$id.desktop" || fail "the entry does not open the file given"
for size in "${sizes[@]}"; do
    file "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "PNG image data, $size x $size," ||
        fail "the ${size}x$size icon has another size"
done

# The installed program draws the installed example without a display.
env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/stackedgraph" --export "$work/example.png" \
    "$prefix/share/stackedgraph/examples/unemployment-by-industry.data"
file "$work/example.png" | grep -q "PNG image data" || fail "the installed program drew no PNG"

echo "Package and install rules: ${#expected[@]} files, $(basename "$deb"), version $version, validators passed."
