#!/usr/bin/env bash
# The test command: installs what is missing, builds what the tests need under
# AddressSanitizer and UndefinedBehaviorSanitizer, replays every kept fuzz input through its
# reader, and runs the whole test suite headless. One line per stage (the logs are in
# build/logs/); the run closes with ctest's own summary.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/stages.sh

preset=asan-ubsan
jobs=$(nproc)

# Each reader's fuzz program, built without libFuzzer, reads its kept inputs once.
fuzz_replay() {
    local out
    out=$(ctest --preset $preset -L fuzz -j "$jobs" -V 2>&1) || {
        echo "$out"
        return 1
    }
    echo "$out"
    local readers inputs
    readers=$(grep -cE '^[0-9]+: replayed [0-9]+ ' <<<"$out" || true)
    inputs=$(grep -oE '^[0-9]+: replayed [0-9]+ ' <<<"$out" | awk '{ n += $3 } END { print n + 0 }')
    echo "$readers readers, $inputs kept inputs, no finding" >&3
}

stage install "installing packages" bash scripts/install-deps.sh test
# Once configured, the build itself runs cmake again whenever a CMakeLists.txt changes.
[ -f build/$preset/build.ninja ] || stage configure "configuring ($preset)" cmake --preset $preset
stage_build $preset
stage fuzz-replay "fuzz replay" fuzz_replay

start=$EPOCHREALTIME
status=0
ctest --preset $preset -LE fuzz -j "$jobs" >"$stage_logs/test.log" 2>&1 || status=$?
printf 'testing (%s); ctest says:\n' "$(stage_took "$start")"
# Passing tests are counted in the summary; everything else ctest said is shown.
grep -vE '^(Test project |\s+Start +[0-9]+: |\s*[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed +[0-9.]+ sec$)' \
    "$stage_logs/test.log" | sed '/./,$!d'
exit $status
