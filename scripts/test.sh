#!/usr/bin/env bash
# Installs what is missing, builds everything under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole test suite headless, then gives every file
# reader a short fuzzing run (libFuzzer, 45 s in all) that replays the kept findings.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset asan-ubsan >/dev/null
cmake --build --preset asan-ubsan
ctest --preset asan-ubsan -j "$(nproc)"
bash scripts/fuzz.sh --smoke
