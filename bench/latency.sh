#!/usr/bin/env bash
# Key-to-sound latency of the release build, measured as a player hears it: starts the
# black-box desktop (Xvfb and a private PulseAudio server), starts ORVENA from the release
# program folder with the given options, presses a letter key 8 times and prints the median
# delay from the key event to the first sample at the sound server's sink.
#
#   bash bench/latency.sh [ORVENA OPTIONS...]     e.g. --audio-api alsa --audio-device default
#
# BLACKBOX_DIR: the harness (default: shared/blackbox beside the repository or its parent);
# BB_STATE_DIR: its state folder (default /tmp/bb-orvena-bench); TRIALS (default 8);
# CLICK="X Y": then also clicks at X Y of the window (a string) and prints that median too.
set -euo pipefail
# shellcheck source=bench/blackbox_setup.sh
. "$(dirname "$0")/blackbox_setup.sh"
trials=${TRIALS:-8}
log=$(mktemp)
cleanup() {
    [[ -n ${pid:-} ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    [[ $started_session == 1 ]] && "$blackbox/session.sh" stop >/dev/null || true
    rm -f "$log"
}
trap cleanup EXIT

"$blackbox/session.sh" exec "$program" "$@" 2>"$log" &
pid=$!
for _ in $(seq 100); do
    "$blackbox/session.sh" exec "$blackbox/keys.sh" -w "O R V E N A" wid >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 2  # the samples are decoded and the output is open
"$blackbox/session.sh" exec "$blackbox/keys.sh" -w "O R V E N A" focus >/dev/null 2>&1 || true
result=$("$blackbox/latency.sh" -w "O R V E N A" -k a -n "$trials" --gap 0.8)
echo "$result" | grep -E "^trial|^method" || true
grep "ORVENA: sound" "$log" | head -1 || true
echo "$result" | sed -n 's/^latency_ms median \([-0-9.]*\) min \([-0-9.]*\) max \([-0-9.]*\).*/median_ms \1  min_ms \2  max_ms \3/p'
if [[ -n ${CLICK:-} ]]; then
    read -r click_x click_y <<<"$CLICK"
    # A plucked string rings for 3 s: each click waits for the last to end.
    result=$("$blackbox/latency.sh" -w "O R V E N A" --click "$click_x" "$click_y" -n "$trials" --gap 3.5)
    echo "$result" | sed -n 's/^latency_ms median \([-0-9.]*\) min \([-0-9.]*\) max \([-0-9.]*\).*/click_median_ms \1  min_ms \2  max_ms \3/p'
fi
grep -a "ORVENA: sound" "$log" | tail -1 || true
