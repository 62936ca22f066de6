#!/usr/bin/env bash
# Fails when a C++ file of ours is not formatted as .clang-format says.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
files=$(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'fuzz/*.cpp' 2>/dev/null ||
    find src tests bench fuzz -name '*.cpp' -o -name '*.h')
clang-format --dry-run --Werror $files
