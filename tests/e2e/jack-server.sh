# A private JACK server (dummy driver) for the end-to-end scripts and benchmarks; sourced.
#
# JACK keeps its running servers in a registry of 8 slots in shared memory. A server that is
# killed cannot free its slot, and a slot is taken back only by a server of the same name. So
# the servers here take their names from a small fixed pool (one lock file each, so that
# scripts running side by side never share a name), and a server that had to be killed is
# followed at once by a server of the same name that is stopped properly, which frees the slot.
#   jack_claim PREFIX         choose a free name, export JACK_DEFAULT_SERVER
#   jack_start MODE PERIOD LOG  MODE sync (-S, cycles wait for their clients) or async
#   jack_kill                 kill the server on purpose (SIGKILL); it is reclaimed on stop
#   jack_stop                 stop the server (TERM, then KILL after 5 s) and reclaim its slot
# The caller sets jack_pid="" before use and calls jack_stop on exit.

jack_pid=""
jack_killed=""

jack_claim() {
    local prefix=$1 n
    for n in 0 1 2 3; do
        exec 8>"${TMPDIR:-/tmp}/$prefix-$n.lock"
        if flock -n 8; then
            export JACK_DEFAULT_SERVER="$prefix-$n"
            return 0
        fi
    done
    echo "all JACK server names $prefix-0..3 are in use" >&2
    return 1
}

# A server that fails to come up (a start-up race of the server itself) is tried again, twice.
jack_start() { # mode period log
    local mode=() attempt
    [[ $1 == sync ]] && mode=(-S)
    for attempt in 1 2 3; do
        jackd --no-realtime "${mode[@]}" -t 5000 -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 \
            -p "$2" >"$3" 2>&1 &
        jack_pid=$!
        timeout 10 jack_wait -w -t 10 >/dev/null 2>&1 && return 0
        jack_stop
    done
    return 1
}

jack_kill() {
    [[ -n $jack_pid ]] || return 0
    kill -KILL "$jack_pid" 2>/dev/null
    wait "$jack_pid" 2>/dev/null
    jack_pid=""
    jack_killed=1
}

# A server of the same name, started and stopped properly, takes the killed one's slot back.
jack_reclaim() {
    jack_killed=""
    jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 1024 >/dev/null 2>&1 &
    local pid=$!
    timeout 10 jack_wait -w -t 10 >/dev/null 2>&1
    kill -TERM "$pid" 2>/dev/null
    timeout 10 tail --pid="$pid" -f /dev/null || { kill -KILL "$pid"; jack_killed=1; }
    wait "$pid" 2>/dev/null
}

jack_stop() {
    if [[ -n $jack_pid ]]; then
        kill -CONT "$jack_pid" 2>/dev/null
        kill -TERM "$jack_pid" 2>/dev/null
        if ! timeout 5 tail --pid="$jack_pid" -f /dev/null; then
            kill -KILL "$jack_pid" 2>/dev/null
            jack_killed=1
        fi
        wait "$jack_pid" 2>/dev/null
        jack_pid=""
    fi
    [[ -z $jack_killed ]] || jack_reclaim
}
