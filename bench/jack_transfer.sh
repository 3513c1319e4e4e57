#!/usr/bin/env bash
# Transfer benchmark through a private JACK server (dummy driver) and gr33-sim:
#   - receive-all and send-all with the simulator emulating the 31,250-baud wire, each as the
#     ratio to the wire time of the same bytes (receive: 128 x (16 + 140) bytes, send:
#     128 x 140 bytes, 320 us a byte);
#   - the software overhead of one exchange without wire emulation: the time of one receive
#     exchange beyond the request's paced send (its wire time plus the fixed 5 ms poll),
#     through JACK and through the in-process virtual device.
# usage: bench/jack_transfer.sh [BUILD_DIR] [PERIOD_FRAMES]   (defaults: build, 256)
set -u

build=${1:-build}
period=${2:-256}
gr33=$build/cli/gr33
sim=$build/sim/program/gr33-sim
command -v jackd >/dev/null || { echo "jackd is not installed"; exit 77; }
[[ -x $gr33 && -x $sim ]] || { echo "build gr33-cli and gr33-sim first ($build)"; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvo-bench.XXXXXX")
export JACK_DEFAULT_SERVER="kelvo-bench-$$-$RANDOM"
export JACK_NO_START_SERVER=1
export XDG_DATA_HOME=$work/data
jack_pid=""
sim_pid=""

stop() {
    local pid=$1
    [[ -n $pid ]] || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    timeout 5 tail --pid="$pid" -f /dev/null || kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}
cleanup() {
    stop "$sim_pid"
    stop "$jack_pid"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

die() { echo "bench: $*" >&2; exit 1; }

jackd --no-realtime -S -t 5000 -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p "$period" \
    >"$work/jackd.log" 2>&1 &
jack_pid=$!
timeout 10 jack_wait -w -t 10 >/dev/null 2>&1 || die "jackd did not start"

start_sim() {
    stop "$sim_pid"
    : >"$work/sim.out"
    "$sim" --api jack --bank "$work/sim.G33" "$@" >"$work/sim.out" 2>"$work/sim.err" &
    sim_pid=$!
    for _ in $(seq 100); do
        grep -q '^ready: ' "$work/sim.out" && return 0
        sleep 0.1
    done
    die "gr33-sim was not ready"
}

# Seconds (with fractions) one gr33 run takes. A failed command ends the subshell with a message
# on stderr; the caller must end the bench too, or the run would count as taking no time.
timed() {
    local start end
    start=$(date +%s.%N)
    timeout 120 "$gr33" "$@" --api jack --in "GR-33 Simulator Out" --out "GR-33 Simulator In" \
        >/dev/null 2>"$work/gr33.err" || die "gr33 $* failed: $(tail -n 1 "$work/gr33.err")"
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }'
}

byte=0.000320
echo "JACK dummy driver, 48000 Hz, period $period frames"

start_sim --wire
receive=$(timed receive all -o "$work/received.G33") || exit 1
send=$(timed send "$work/received.G33") || exit 1
start_sim
plain=$(timed receive all -o "$work/received.G33") || exit 1
# The same exchanges with the in-process virtual device: the software path without JACK.
start=$(date +%s.%N)
timeout 120 "$gr33" receive all --virtual --bank "$work/virtual.G33" -o "$work/virtual-r.G33" \
    2>/dev/null || die "gr33 receive all --virtual failed"
virtual=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.3f", e - s }')

awk -v r="$receive" -v s="$send" -v p="$plain" -v v="$virtual" -v b="$byte" 'BEGIN {
    rl = 128 * (16 + 140) * b; sl = 128 * 140 * b
    printf "receive-all (--wire): %.3f s, limit %.3f s, ratio %.3f (target <= 1.10)\n", r, rl, r / rl
    printf "send-all    (--wire): %.3f s, limit %.3f s, ratio %.3f (target <= 1.15)\n", s, sl, s / sl
    per = p / 128 * 1000
    printf "receive-all (no wire): %.3f s, %.2f ms an exchange, overhead %.2f ms beyond the\n", p, per, per - 16 * b * 1000 - 5
    printf "  request pacing of %.2f ms wire time + 5 ms poll (target <= 2 ms)\n", 16 * b * 1000
    per = v / 128 * 1000
    printf "receive-all (virtual device, no JACK): %.3f s, %.2f ms an exchange, overhead %.2f ms\n", v, per, per - 16 * b * 1000 - 5
}'
