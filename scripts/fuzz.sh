#!/usr/bin/env bash
# Fuzzes every reader of a file a user can edit or damage (workbook, WAV header and rate
# patch, sample decode, number files, ...) with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer, one target after the other, and prints per target the
# executions, executions per second, coverage and findings.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]   each target for SECONDS (default 600)
#   bash scripts/fuzz.sh --smoke                 every target briefly, 45 s in all
#
# (The test command does not fuzz: it replays every kept input through its reader under the
# sanitizers of the test build, as the tests Fuzz.Replay.<target>.)
#
# Seeds: tests/fuzz/corpus/<target>/ (read only). Inputs found to widen coverage are kept in
# build/fuzz/work/<target>/corpus, findings in build/fuzz/work/<target>/findings/. A finding
# makes the script fail; once fixed, copy the input into the seed folder under a name that
# says what it is, as a regression case.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=600
smoke=0
if [ "${1:-}" = "--smoke" ]; then
  smoke=1
  shift
elif [ -n "${1:-}" ]; then
  seconds=$1
  shift
fi
only=("$@")

bash scripts/install-deps.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

list=build/fuzz/fuzz/targets.tsv
targets=()
while IFS=$'\t' read -r name dict; do
  if [ ${#only[@]} -gt 0 ] && [[ ! " ${only[*]} " =~ " ${name} " ]]; then continue; fi
  targets+=("$name:$dict")
done <"$list"
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz target to run" >&2
  exit 2
fi
if [ $smoke -eq 1 ]; then
  seconds=$((45 / ${#targets[@]}))
  if [ "$seconds" -lt 2 ]; then seconds=2; fi
fi

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1

printf '%-16s %8s %12s %9s %7s %9s  %s\n' target seconds executions exec/s cov features findings
failed=0
for entry in "${targets[@]}"; do
  name=${entry%%:*}
  dict=${entry#*:}
  work=build/fuzz/work/$name
  mkdir -p "$work/corpus" "$work/findings"
  seeds=tests/fuzz/corpus/$name
  options=(-timeout=10 -rss_limit_mb=1024 -malloc_limit_mb=1024
           -print_final_stats=1 -artifact_prefix="$work/findings/")
  if [ -n "$dict" ] && [ -f "tests/fuzz/dict/$dict.dict" ]; then
    options+=(-dict="tests/fuzz/dict/$dict.dict")
  fi
  # A finding stops libFuzzer; it is started again on the same corpus until the time is
  # used up, so one run reports every finding it can reach.
  : >"$work/log.txt"
  found=0
  executions=0
  start=$(date +%s)
  while :; do
    left=$((seconds - ($(date +%s) - start)))
    [ "$left" -gt 0 ] || break
    before=$(find "$work/findings" -type f | wc -l)
    status=0
    "build/fuzz/fuzz/fuzz_$name" "${options[@]}" -max_total_time="$left" "$work/corpus" "$seeds" \
      >"$work/last.txt" 2>&1 || status=$?
    cat "$work/last.txt" >>"$work/log.txt"
    ran=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/last.txt" | grep -o '[0-9]*$' ||
      grep -oE '^#[0-9]+' "$work/last.txt" | tail -1 | tr -d '#' || true)
    executions=$((executions + ${ran:-0}))
    new=$(($(find "$work/findings" -type f | wc -l) - before))
    if [ $status -ne 0 ] && [ $new -eq 0 ]; then new=1; fi
    found=$((found + new))
    [ $status -ne 0 ] || break
    [ $smoke -eq 0 ] || break
  done
  took=$(($(date +%s) - start))
  rate=$((executions / (took > 0 ? took : 1)))
  last=$(grep -E '^#[0-9]+' "$work/log.txt" | grep 'cov:' | tail -1 || true)
  cov=$(echo "$last" | grep -o 'cov: [0-9]*' | grep -o '[0-9]*' || true)
  ft=$(echo "$last" | grep -o 'ft: [0-9]*' | grep -o '[0-9]*' || true)
  printf '%-16s %8s %12s %9s %7s %9s  %s\n' "$name" "$took" "$executions" "$rate" \
    "${cov:-?}" "${ft:-?}" "$found"
  if [ $found -ne 0 ]; then
    failed=1
    echo "  $name: see $work/log.txt and $work/findings/" >&2
    grep -E 'ERROR|broken promise|SUMMARY' "$work/log.txt" | sed 's/==[0-9]*==//' | sort | uniq -c |
      head -8 | sed 's/^/  /' >&2 || true
  fi
done
exit $failed
