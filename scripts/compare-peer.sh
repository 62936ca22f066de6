#!/usr/bin/env bash
# Installs what is needed, builds, and times `stackedgraph --export` against the matplotlib
# peer on the same generated data at the same pixel size. Extra arguments go to
# compare_peer.py (e.g. --sizes medium --runs 3).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
BUILD_TYPE=Release "$root/scripts/build.sh"
exec /usr/bin/python3 "$root/scripts/compare_peer.py" --program "${BUILD_DIR:-$root/build}/src/stackedgraph" "$@"
