#!/usr/bin/env bash
# Builds the data-file reader's fuzzer (clang, ASan, UBSan) into build-fuzz/ and runs it for
# SECONDS (default 60). New inputs collect in build-fuzz/corpus/, crashes in build-fuzz/findings/.
#   scripts/fuzz.sh 1200
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build-fuzz"

CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSTACKEDGRAPH_FUZZ=ON -DSTACKEDGRAPH_SANITIZE=ON -DSTACKEDGRAPH_WERROR=OFF >/dev/null
cmake --build "$build" --target fuzz_reader

mkdir -p "$build/corpus" "$build/findings"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
exec "$build/fuzz/fuzz_reader" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 \
    -timeout=10 -print_final_stats=1 -dict="$root/fuzz/reader.dict" -artifact_prefix="$build/findings/" "$build/corpus" "$root/fuzz/corpus"
