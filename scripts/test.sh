#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test through CTest.
# The whole suite runs inside one virtual X server, so the tests that need a real
# window with OpenGL have one; all others use Qt's offscreen platform.
#   --sanitize   build into build-sanitize/ with AddressSanitizer + UBSan (and LeakSanitizer)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

cmake_args=()
if [ "${1:-}" = "--sanitize" ]; then
    export BUILD_DIR="$root/build-sanitize"
    cmake_args+=(-DSTACKEDGRAPH_SANITIZE=ON)
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp"
fi
build="${BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" "${cmake_args[@]}"

cd "$build"
xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure -j "$(nproc)"
