# Sourced by the black-box benchmarks: finds the harness, builds the release program if it is
# missing (unless needs_program=0) and starts the harness's desktop unless one is running.
# ORVENA_PROGRAM: another build of the program. Sets root, blackbox, program and
# started_session (1 when this script started the desktop, to stop it after).
root=$(cd "$(dirname "$0")/.." && pwd)
blackbox=${BLACKBOX_DIR:-}
for candidate in "$root/../shared/blackbox" "$root/../../shared/blackbox"; do
    [[ -z $blackbox && -x $candidate/session.sh ]] && blackbox=$(cd "$candidate" && pwd)
done
[[ -n $blackbox ]] || { echo "$(basename "$0"): no black-box harness (set BLACKBOX_DIR)" >&2; exit 1; }
export BB_STATE_DIR=${BB_STATE_DIR:-/tmp/bb-orvena-bench}
program=${ORVENA_PROGRAM:-$root/build/release/orvena/orvena}
[[ ${needs_program:-1} == 0 || -x $program ]] || { cmake --preset release >/dev/null && cmake --build --preset release; }

started_session=0
if ! "$blackbox/session.sh" status >/dev/null 2>&1; then
    "$blackbox/session.sh" start >/dev/null
    started_session=1
fi
