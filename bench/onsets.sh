#!/usr/bin/env bash
# Note onsets as a listener hears them: runs bench_replay (a 50-note recording) and
# bench_sequence (a 100-note sequence file) through the black-box desktop's sound server,
# records its sink, and prints each run's per-note onset errors measured in the recording
# (mean, 95th percentile, worst and last note, in ms from the first note's onset, on the steady
# clock).
#
#   bash bench/onsets.sh [replay|sequence]...
#
# BENCH_DIR: the benchmark programs (default build/bench/bench); BLACKBOX_DIR and BB_STATE_DIR
# as for latency.sh; KEEP=FOLDER keeps the recordings, schedules and logs there.
set -euo pipefail
needs_program=0
# shellcheck source=bench/blackbox_setup.sh
. "$(dirname "$0")/blackbox_setup.sh"
bench_dir=${BENCH_DIR:-$root/build/bench/bench}
work=${KEEP:-$(mktemp -d)}
mkdir -p "$work"
cleanup() {
    [[ $started_session == 1 ]] && "$blackbox/session.sh" stop >/dev/null || true
    [[ -n ${KEEP:-} ]] || rm -rf "$work"
}
trap cleanup EXIT

runs=("$@")
[[ ${#runs[@]} -gt 0 ]] || runs=(replay sequence)
for run in "${runs[@]}"; do
    rm -f "$work/$run.ok"
    BB_REC_TIMING=1 "$blackbox/record.sh" 14 "$work/$run.wav" "$work/$run.ok" &
    recorder=$!
    until [[ -e $work/$run.ok ]]; do sleep 0.01; done
    ORVENA_BENCH_SCHEDULE=$work/$run.txt "$blackbox/session.sh" exec "$bench_dir/bench_$run" \
        >"$work/$run.log" 2>&1
    wait "$recorder"
    echo "$run: $(/usr/bin/python3 "$root/bench/onset_errors.py" --harness "$blackbox" \
        --timing "$work/$run.wav.json" "$work/$run.wav" "$work/$run.txt" | head -1)"
done
