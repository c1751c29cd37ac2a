#!/usr/bin/env bash
# The test suite under AddressSanitizer (leak detection on) and
# UndefinedBehaviorSanitizer: builds everything with -DVORN_SANITIZE=ON in
# build-asan and runs ctest there. Extra arguments go to ctest (-R NAME ...).
#   scripts/sanitize.sh
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORN_SANITIZE=ON "${launcher[@]}"
cmake --build build-asan -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Leaks inside the system's font and graphics libraries are theirs, not ours.
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" "$@"
