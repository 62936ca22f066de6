#!/usr/bin/env bash
# Installs what is needed, builds the benchmark suite (bench/) in Release mode into
# build-bench/ and runs every benchmark. Extra arguments go to each benchmark binary
# (e.g. --benchmark_filter=Reader).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
export BUILD_DIR="${BUILD_DIR:-$root/build-bench}"
BUILD_TYPE=Release "$root/scripts/build.sh" -DSTACKEDGRAPH_BENCHMARKS=ON
export QT_QPA_PLATFORM=offscreen
for bench in "$BUILD_DIR"/bench/bench_*; do
    [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" "$@"
done
