#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test through CTest, in three parts:
#   1. the suite as built for use (build/, or $BUILD_DIR), then the package and install rules
#      made from that build (scripts/check-package.sh);
#   2. the readers' fuzzers, 40 seconds each over their corpus (STACKEDGRAPH_FUZZ_SECONDS=0 skips
#      them, another number changes the 40 seconds);
#   3. the suite again, built with AddressSanitizer, UBSan and LeakSanitizer (build-sanitize/);
#      a finding fails the test that made it.
# The tests run with one virtual X server, so those that need a real window with OpenGL have
# one; all others use Qt's offscreen platform. Each part's time is printed at the end.
#   --plain      only part 1
#   --sanitize   only part 3
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mode="${1:-all}"
case "$mode" in
all | --plain | --sanitize) ;;
*)
    echo "usage: scripts/test.sh [--plain | --sanitize]" >&2
    exit 2
    ;;
esac
"$root/scripts/install-deps.sh"

times=()
# Runs a command and notes how long it took under the given name.
timed() {
    local name="$1" start=$SECONDS
    shift
    "$@"
    times+=("$(printf '%-16s %4d s' "$name" $((SECONDS - start)))")
}

# Our own virtual X server on the first free display.
. "$root/scripts/xvfb.sh"
start_xvfb 99 1920x1080x24 -noreset
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT

# The sanitizers' settings, for the sanitized suite only.
sanitizer_env=(
    # The preloaded driver below comes before the sanitizer runtime in the library list.
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:verify_asan_link_order=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp"
)
# Mesa unloads its driver before the leak check runs, which leaves the driver's own leaks
# without a module name to suppress them by. Preloaded, it stays mapped.
for dri in /usr/lib/*/dri/swrast_dri.so /usr/lib/dri/swrast_dri.so /usr/lib64/dri/swrast_dri.so; do
    if [ -e "$dri" ]; then
        sanitizer_env+=("LD_PRELOAD=$dri")
        break
    fi
done

run_tests() {
    (cd "$1" && shift && env DISPLAY=":$display" "$@" ctest --output-on-failure -j "$(nproc)")
}

plain="${BUILD_DIR:-$root/build}"
sanitized="$root/build-sanitize"
if [ "$mode" != "--sanitize" ]; then
    # The benchmarks are built, not run, so that they keep building.
    timed "plain build" env BUILD_DIR="$plain" "$root/scripts/build.sh" -DSTACKEDGRAPH_BENCHMARKS=ON
    timed "plain tests" run_tests "$plain"
    timed "package" env BUILD_DIR="$plain" "$root/scripts/check-package.sh"
fi
if [ "$mode" = "all" ] && [ "${STACKEDGRAPH_FUZZ_SECONDS:-40}" != "0" ]; then
    timed "fuzzers" "$root/scripts/fuzz.sh" "${STACKEDGRAPH_FUZZ_SECONDS:-40}"
fi
if [ "$mode" != "--plain" ]; then
    timed "sanitized build" env BUILD_DIR="$sanitized" "$root/scripts/build.sh" -DSTACKEDGRAPH_SANITIZE=ON
    timed "sanitized tests" run_tests "$sanitized" "${sanitizer_env[@]}"
fi

echo "Time taken:"
printf '  %s\n' "${times[@]}"
echo "  total            $SECONDS s"
