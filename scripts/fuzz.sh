#!/usr/bin/env bash
# Builds the readers' fuzzers (clang, ASan, UBSan) into build-fuzz/ and runs each for SECONDS
# (default 40) over its corpus, one after the other. Every fuzz/fuzz_<name>.cpp is one fuzzer;
# its seed inputs are in fuzz/corpus/<name>/, its dictionary, if it has one, is fuzz/<name>.dict.
# New inputs collect in build-fuzz/corpus/<name>/, crashes in build-fuzz/findings/<name>/, and
# each run's output in build-fuzz/<name>.log. Exits non-zero when any fuzzer found something.
#   scripts/fuzz.sh              every fuzzer for 40 seconds
#   scripts/fuzz.sh 1200 reader  only fuzz_reader, for 20 minutes
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-40}"
shift || true
build="$root/build-fuzz"

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for source in "$root"/fuzz/fuzz_*.cpp; do
        name="$(basename "$source" .cpp)"
        names+=("${name#fuzz_}")
    done
fi

CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSTACKEDGRAPH_FUZZ=ON -DSTACKEDGRAPH_SANITIZE=ON -DSTACKEDGRAPH_WERROR=OFF >/dev/null
cmake --build "$build" --target "${names[@]/#/fuzz_}"

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=0
for name in "${names[@]}"; do
    mkdir -p "$build/corpus/$name" "$build/findings/$name"
    options=(-max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 -timeout=10 -print_final_stats=1
        -artifact_prefix="$build/findings/$name/")
    [ -f "$root/fuzz/$name.dict" ] && options+=(-dict="$root/fuzz/$name.dict")
    if "$build/fuzz/fuzz_$name" "${options[@]}" "$build/corpus/$name" "$root/fuzz/corpus/$name" \
        >"$build/$name.log" 2>&1; then
        echo "fuzz_$name: $(grep -E '^Done [0-9]+ runs' "$build/$name.log" || echo 'done'), nothing found"
    else
        echo "fuzz_$name FOUND A FAULT (inputs in $build/findings/$name/):"
        tail -n 40 "$build/$name.log"
        failed=1
    fi
done
exit "$failed"
