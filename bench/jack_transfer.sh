#!/usr/bin/env bash
# Transfer benchmark through a private JACK server (dummy driver) and gr33-sim, at each JACK
# period given (frames at 48 kHz; default 64, 128 and 256):
#   - in the application's way (transfer_timing: the backend opened once, TCollection's
#     receive-all and send-all) with the simulator emulating the 31,250-baud wire, each as the
#     ratio to the wire time of the same bytes (receive: 128 x (16 + 140) bytes, send:
#     128 x 140 bytes, 320 us a byte); then the software overhead of one exchange without wire
#     emulation, beyond the request's paced send (its wire time plus the fixed 5 ms poll);
#   - the same through the gr33 command, start to exit, which adds opening and closing the
#     JACK clients once per command;
#   - the exchange overhead through the in-process virtual device, without JACK.
# Every exchange crosses the server twice, and a message waits for the next period boundary
# at each crossing: at 256 frames (5.3 ms) that alone costs about a tenth of an exchange.
# usage: bench/jack_transfer.sh [BUILD_DIR] [PERIOD_FRAMES ...]
set -u

build=${1:-build}
shift || true
periods=("$@")
[[ ${#periods[@]} -gt 0 ]] || periods=(64 128 256)
gr33=$build/cli/gr33
sim=$build/sim/program/gr33-sim
timing=$build/bench/transfer_timing
command -v jackd >/dev/null || { echo "jackd is not installed"; exit 77; }
[[ -x $gr33 && -x $sim && -x $timing ]] ||
    { echo "build gr33-cli, gr33-sim and transfer_timing first ($build)"; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvo-bench.XXXXXX")
source "$(dirname "$0")/../tests/e2e/jack-server.sh"
jack_claim kelvo-bench || exit 1
export JACK_NO_START_SERVER=1
export XDG_DATA_HOME=$work/data
jack_pid=""
sim_pid=""
ports=(--api jack --in "GR-33 Simulator Out" --out "GR-33 Simulator In")

stop() {
    local pid=$1
    [[ -n $pid ]] || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    timeout 5 tail --pid="$pid" -f /dev/null || kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}
cleanup() {
    stop "$sim_pid"
    jack_stop
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

die() { echo "bench: $*" >&2; exit 1; }

start_jack() { # period
    stop "$sim_pid"
    sim_pid=""
    jack_stop
    jack_start sync "$1" "$work/jackd.log" || die "jackd did not start"
}

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

# Seconds (with fractions) one gr33 run takes, start to exit. A failed command ends the
# subshell with a message on stderr; the caller must end the bench too, or the run would count
# as taking no time.
timed() {
    local start end
    start=$(date +%s.%N)
    timeout 120 "$gr33" "$@" "${ports[@]}" >/dev/null 2>"$work/gr33.err" ||
        die "gr33 $* failed: $(tail -n 1 "$work/gr33.err")"
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }'
}

byte=0.000320
for period in "${periods[@]}"; do
    start_jack "$period"
    echo "== JACK dummy driver, 48000 Hz, period $period frames" \
        "($(awk -v p="$period" 'BEGIN { printf "%.2f", p / 48 }') ms)"
    start_sim --wire
    echo "in the application (ports opened once, the librarian's collection transfers):"
    timeout 120 "$timing" wire "${ports[@]}" | sed 's/^/  /'
    [[ ${PIPESTATUS[0]} -eq 0 ]] || die "transfer_timing wire failed"
    receive=$(timed receive all -o "$work/received.G33") || exit 1
    send=$(timed send "$work/received.G33") || exit 1
    start_sim
    timeout 120 "$timing" exchange "${ports[@]}" | sed 's/^/  /'
    [[ ${PIPESTATUS[0]} -eq 0 ]] || die "transfer_timing exchange failed"
    plain=$(timed receive all -o "$work/received.G33") || exit 1
    awk -v r="$receive" -v s="$send" -v p="$plain" -v b="$byte" 'BEGIN {
        rl = 128 * (16 + 140) * b; sl = 128 * 140 * b
        print "the gr33 command, start to exit:"
        printf "  receive-all (--wire): %.3f s, ratio %.3f\n", r, r / rl
        printf "  send-all    (--wire): %.3f s, ratio %.3f\n", s, s / sl
        per = p / 128 * 1000
        printf "  receive-all (no wire): %.2f ms an exchange, overhead %.2f ms\n", per, per - 16 * b * 1000 - 5
    }'
done

echo "== in-process virtual device, no JACK"
timeout 120 "$timing" exchange --virtual --bank "$work/virtual.G33" | sed 's/^/  /'
[[ ${PIPESTATUS[0]} -eq 0 ]] || die "transfer_timing exchange --virtual failed"
