#!/usr/bin/env bash
# Installs what is needed, builds, and starts Stacked Graph on the bundled example.
# Without a display it says so and renders the example into a PNG instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build="${BUILD_DIR:-$root/build}"
example="$root/examples/unemployment-by-industry.data"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/src/stackedgraph" "$example"
fi
out="${TMPDIR:-/tmp}/stackedgraph-example.png"
echo "No display found (DISPLAY is not set): rendering the example into an image instead."
"$build/src/stackedgraph" --export "$out" "$example"
echo "Wrote $out"
