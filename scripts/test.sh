#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test through CTest.
# The whole suite runs with one virtual X server, so the tests that need a real window
# with OpenGL have one; all others use Qt's offscreen platform.
# Before the tests, the fuzzers of the data-file and CSV readers run for a minute each as a
# regression check over their corpora (STACKEDGRAPH_FUZZ_SECONDS=0 skips them).
#   --sanitize   build into build-sanitize/ with AddressSanitizer + UBSan (and LeakSanitizer)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

cmake_args=()
test_env=()
if [ "${1:-}" = "--sanitize" ]; then
    export BUILD_DIR="$root/build-sanitize"
    cmake_args+=(-DSTACKEDGRAPH_SANITIZE=ON)
    # The preloaded driver below comes before the sanitizer runtime in the library list.
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:verify_asan_link_order=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp"
    # Mesa unloads its driver before the leak check runs, which leaves the driver's own
    # leaks without a module name to suppress them by. Preloaded, it stays mapped.
    for dri in /usr/lib/*/dri/swrast_dri.so /usr/lib/dri/swrast_dri.so /usr/lib64/dri/swrast_dri.so; do
        if [ -e "$dri" ]; then
            test_env+=("LD_PRELOAD=$dri")
            break
        fi
    done
fi
build="${BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" "${cmake_args[@]}"

if [ "${1:-}" != "--sanitize" ] && [ "${STACKEDGRAPH_FUZZ_SECONDS:-60}" != "0" ]; then
    "$root/scripts/fuzz.sh" "${STACKEDGRAPH_FUZZ_SECONDS:-60}" 2>&1 | tail -n 30
fi

# Our own virtual X server on the first free display.
display=99
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X${display}" ] && break
    sleep 0.1
done

cd "$build"
DISPLAY=":$display" env ${test_env[@]+"${test_env[@]}"} ctest --output-on-failure -j "$(nproc)"
