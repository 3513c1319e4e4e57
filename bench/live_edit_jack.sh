#!/usr/bin/env bash
# Live editing through a private JACK server (dummy driver) to gr33-sim --wire: bench_live_edit
# drives an editor with "Send Edits Live" on and reads from the simulator's log when each
# message was stored.
# usage: bench/live_edit_jack.sh [BUILD_DIR] [sync|async] [PERIOD_FRAMES]
set -u

build=${1:-build} mode=${2:-async} period=${3:-64}
sim=$build/sim/program/gr33-sim bench=$build/bench/bench_live_edit
command -v jackd >/dev/null || { echo "jackd is not installed"; exit 77; }
[[ -x $sim && -x $bench ]] || { echo "build gr33-sim and bench_live_edit first ($build)"; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvo-live.XXXXXX")
source "$(dirname "$0")/../tests/e2e/jack-server.sh"
jack_claim kelvo-bench || exit 1
export JACK_NO_START_SERVER=1
sim_pid=""
cleanup() {
    [[ -z $sim_pid ]] || { kill -TERM "$sim_pid"; wait "$sim_pid"; }
    jack_stop
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

jack_start "$mode" "$period" "$work/jackd.log" || { echo "jackd did not start"; exit 1; }
"$sim" --api jack --bank "$work/sim.G33" --wire --verbose >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
for _ in $(seq 100); do grep -q '^ready: ' "$work/sim.out" && break; sleep 0.1; done
grep -q '^ready: ' "$work/sim.out" || { echo "the simulator did not start"; exit 1; }
echo "server: $mode, period $period frames at 48 kHz"
status=0
QT_QPA_PLATFORM=offscreen "$bench" --jack "$work/sim.err" || status=$?
echo "xruns reported by the server: $(grep -c 'XRun' "$work/jackd.log")"
exit $status
