#!/usr/bin/env bash
# Back-to-back sends of a 128-patch collection through a private JACK server (dummy driver)
# and gr33-sim, each checked slot by slot: how many sends arrived whole, how many data
# messages the server reported dropped and were handed over again, and the time per send.
# The sends go without the snapshot before and the read-back after: the bench checks every
# slot itself, from the simulator's bank file.
# usage: bench/jack_sends.sh [BUILD_DIR] [RUNS] [sync|async] [PERIOD_FRAMES]
set -u

build=${1:-build} runs=${2:-50} mode=${3:-async} period=${4:-64}
gr33=$build/cli/gr33 sim=$build/sim/program/gr33-sim make_bank=$build/tests/e2e/e2e_make_bank
command -v jackd >/dev/null || { echo "jackd is not installed"; exit 77; }
[[ -x $gr33 && -x $sim && -x $make_bank ]] ||
    { echo "build gr33-cli, gr33-sim and e2e_make_bank first ($build)"; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvo-sends.XXXXXX")
source "$(dirname "$0")/../tests/e2e/jack-server.sh"
jack_claim kelvo-bench || exit 1
export JACK_NO_START_SERVER=1 XDG_DATA_HOME=$work/data
sim_pid=""
cleanup() {
    [[ -z $sim_pid ]] || { kill -TERM "$sim_pid"; wait "$sim_pid"; }
    jack_stop
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$make_bank" "$work/upload.G33" 5
jack_start "$mode" "$period" "$work/jackd.log" || { echo "jackd did not start"; exit 1; }
whole=0 stores=0 failed=0 nostart=0
start=$(date +%s%N)
for run in $(seq "$runs"); do
    rm -f "$work/sim.G33"
    "$sim" --api jack --bank "$work/sim.G33" --verbose >"$work/sim.out" 2>"$work/sim.err" &
    sim_pid=$!
    # A loaded machine can take seconds to start the simulator: a send counts only once its
    # device is up, and a simulator that never came up is reported as such.
    for _ in $(seq 300); do grep -q '^ready: ' "$work/sim.out" && break; sleep 0.1; done
    if ! grep -q '^ready: ' "$work/sim.out"; then
        nostart=$((nostart + 1))
        echo "send $run: the simulator did not start within 30 s"
    elif ! "$gr33" send "$work/upload.G33" --no-snapshot --no-verify --api jack --in "GR-33 Simulator Out" \
        --out "GR-33 Simulator In" >/dev/null 2>"$work/gr33.err"; then
        failed=$((failed + 1))
        echo "send $run: $(tail -n 2 "$work/gr33.err" | tr '\n' ' ')"
    fi
    sleep 0.5 # the last message's store
    kill -TERM "$sim_pid"
    wait "$sim_pid"
    sim_pid=""
    cmp -s "$work/upload.G33" "$work/sim.G33" && whole=$((whole + 1))
    stores=$((stores + $(grep -c ': stored ' "$work/sim.err")))
done
ms=$((($(date +%s%N) - start) / 1000000))
echo "sends: $runs on a $mode server, period $period"
echo "arrived whole: $whole/$runs   failed with a message: $failed   simulator did not start: $nostart"
echo "data messages handed over again: $((stores - 128 * runs)) of $((128 * runs))"
echo "time per send (with the simulator's start): $((ms / runs)) ms"
echo "xruns reported by the server: $(grep -c 'XRun' "$work/jackd.log")"
