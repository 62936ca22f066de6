#!/usr/bin/env bash
# Installs what is needed, builds, and starts Stacked Graph on the bundled example.
# Without a display it says so and renders the example into a PNG instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build="${BUILD_DIR:-$root/build}"
example="$root/examples/unemployment-by-industry.data"

out="${TMPDIR:-/tmp}/stackedgraph-example.png"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    # Exit 2: the program found no display answering (it said so); draw the image instead.
    status=0
    "$build/src/stackedgraph" "$example" || status=$?
    [ "$status" -eq 2 ] || exit "$status"
    echo "Rendering the example into an image instead."
else
    echo "No display found (DISPLAY is not set): rendering the example into an image instead."
fi
"$build/src/stackedgraph" --export "$out" --time-axis --scheme sunset "$example"
echo "Wrote $out"
