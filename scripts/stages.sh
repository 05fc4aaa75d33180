# Stages of the README commands, sourced by scripts/test.sh and scripts/run.sh. Each stage
# keeps its output in build/logs/<stage>.log and says in one line what it did and how long it
# took; when it fails, the end of its log follows and the command stops.

stage_logs=build/logs
mkdir -p "$stage_logs"

# "0.4 s", "12 s", "3 min 05 s" since the $EPOCHREALTIME given.
stage_took() {
    local ms=$(((${EPOCHREALTIME/./} - ${1/./}) / 1000))
    if [ "$ms" -lt 10000 ]; then
        printf '%d.%d s' $((ms / 1000)) $((ms % 1000 / 100))
    elif [ "$ms" -lt 60000 ]; then
        printf '%d s' $((ms / 1000))
    else
        printf '%d min %02d s' $((ms / 60000)) $((ms % 60000 / 1000))
    fi
}

stage_failed() {
    local title=$1 log=$2 start=$3
    printf '%s: FAILED after %s; the end of %s:\n' "$title" "$(stage_took "$start")" "$log" >&2
    tail -n 40 "$log" | sed 's/^/  /' >&2
    exit 1
}

# stage NAME TITLE COMMAND...: runs the command with its output in the log; prints
# "TITLE (time)", or TITLE followed by the last line the command printed to file descriptor 3
# when it has something to say ("installing packages: 212 new (3 min 10 s)").
stage() {
    local name=$1 title=$2
    shift 2
    local log=$stage_logs/$name.log start=$EPOCHREALTIME summary
    summary=$("$@" 3>&1 >"$log" 2>&1) || stage_failed "$title" "$log" "$start"
    summary=${summary##*$'\n'}
    printf '%s%s (%s)\n' "$title" "${summary:+: $summary}" "$(stage_took "$start")"
}

# stage_build PRESET [TARGET...]: builds with ninja's progress turned into "building n of m",
# counted in place on a terminal and printed once when done.
stage_build() {
    local preset=$1
    shift
    local log=$stage_logs/build-$preset.log start=$EPOCHREALTIME done_steps=0 all_steps=0 line
    local targets=()
    [ $# -eq 0 ] || targets=(--target "$@")
    local status=0
    while IFS= read -r line; do
        printf '%s\n' "$line" >>"$log"
        if [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]]; then
            done_steps=${BASH_REMATCH[1]}
            all_steps=${BASH_REMATCH[2]}
            [ -t 1 ] && printf '\rbuilding %d of %d' "$done_steps" "$all_steps"
        fi
    done < <(
        : >"$log"
        NINJA_STATUS='[%f/%t] ' cmake --build --preset "$preset" "${targets[@]}" 2>&1
        echo "build status $?"
    )
    [[ $(tail -n 1 "$log") == "build status 0" ]] || status=1
    [ -t 1 ] && printf '\r'
    [ $status -eq 0 ] || stage_failed "building" "$log" "$start"
    if grep -q '^ninja: no work to do' "$log"; then
        printf 'building: nothing to do (%s)\n' "$(stage_took "$start")"
    else
        printf 'building %d of %d steps (%s)\n' "$done_steps" "$all_steps" "$(stage_took "$start")"
    fi
}
