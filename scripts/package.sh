#!/usr/bin/env bash
# Builds the Debian package (stackedgraph_VERSION_ARCH.deb) from build/ (or $BUILD_DIR) with CPack
# and prints its path. Install it with:  sudo apt-get install ./build/stackedgraph_*.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
# The package installs under /usr; the manual page names the example's place there.
# Only the package's path goes to standard output; what the build says goes with its errors.
BUILD_DIR="$build" "$root/scripts/build.sh" -DCMAKE_INSTALL_PREFIX=/usr >&2
rm -f "$build"/stackedgraph_*.deb
if ! (cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1); then
    cat "$build/cpack.log" >&2
    exit 1
fi
ls "$build"/stackedgraph_*.deb
