#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite on a Debian 12 machine.
#   scripts/test.sh              release build in build/
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer in build-asan/
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir="$root/build"
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
    build_dir="$root/build-asan"
    cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DORVIX_SANITIZE=ON)
fi

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build_dir" -G Ninja "${cmake_args[@]}"
cmake --build "$build_dir"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
