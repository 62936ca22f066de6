#!/usr/bin/env bash
# Builds the fuzzers of the data-file reader and of the CSV reader (clang, ASan, UBSan) into
# build-fuzz/ and runs each for SECONDS (default 60). New inputs collect in build-fuzz/corpus/ and
# build-fuzz/csv-corpus/, crashes in build-fuzz/findings/.
#   scripts/fuzz.sh 1200
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build-fuzz"

CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSTACKEDGRAPH_FUZZ=ON -DSTACKEDGRAPH_SANITIZE=ON -DSTACKEDGRAPH_WERROR=OFF >/dev/null
cmake --build "$build" --target fuzz_reader fuzz_csv

mkdir -p "$build/corpus" "$build/csv-corpus" "$build/findings"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# target, its dictionary, the corpus it grows, its seeds
for run in "fuzz_reader reader.dict corpus corpus" "fuzz_csv csv.dict csv-corpus csv-corpus"; do
    read -r target dict corpus seeds <<<"$run"
    "$build/fuzz/$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 \
        -timeout=10 -print_final_stats=1 -dict="$root/fuzz/$dict" -artifact_prefix="$build/findings/" \
        "$build/$corpus" "$root/fuzz/$seeds"
done
