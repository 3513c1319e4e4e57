#!/usr/bin/env bash
# Runs every libFuzzer target of the fuzz build for a fixed number of executions, each on a
# scratch copy of its seed corpus, and prints one line per target: executions, executions per
# second, wall time, the final coverage (cov:) and features (ft:), and its crash files (0 when
# none). Exits 1 when a target crashed or did not finish; its scratch folder (crash inputs and
# log) is then kept and named.
# usage: bench/fuzz.sh [FUZZ_BUILD_DIR [TARGET...]]
#   FUZZ_BUILD_DIR   default build-fuzz; configured and built when needed
#   TARGET           names of fuzz/fuzz_TARGET.cpp to run (default: all of them)
#   KELVO_FUZZ_RUNS  executions per target (default 10000000; e.g. 100000 for a quick try)
#   KELVO_FUZZ_JOBS  targets run at the same time (default: the number of cores)
set -u
cd "$(dirname "$0")/.." || exit 2
build=${1:-build-fuzz}
shift $(($# > 0))
runs=${KELVO_FUZZ_RUNS:-10000000}
jobs=${KELVO_FUZZ_JOBS:-$(nproc)}
targets=("$@")
if ((${#targets[@]} == 0)); then
    for source in fuzz/fuzz_*.cpp; do
        name=${source#fuzz/fuzz_}
        targets+=("${name%.cpp}")
    done
fi
for name in "${targets[@]}"; do
    [[ -f fuzz/fuzz_$name.cpp ]] || { echo "no fuzz target $name"; exit 2; }
done

if [[ ! -f $build/build.ninja ]]; then
    CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKELVO_GUI=OFF -DKELVO_TESTS=OFF -DKELVO_BENCH=OFF -DKELVO_FUZZ=ON >/dev/null || exit 2
fi
cmake --build "$build" --target fuzzers >/dev/null || { echo "the fuzz build failed"; exit 2; }

# The scratch folders live in memory where the machine has /dev/shm: the file loaders' harness
# writes every input to a file, which on a disk-backed /tmp makes it about three times slower.
scratch=${TMPDIR:-/dev/shm}
[[ -d $scratch && -w $scratch ]] || scratch=/tmp
work=$(mktemp -d "$scratch/kelvo-fuzz.XXXXXX")
# The file loaders' harness writes its inputs below TMPDIR: keep them in the scratch folder.
export TMPDIR=$work ASAN_OPTIONS=detect_leaks=1

# One row of the table for a finished target; a target that crashed or failed keeps its
# scratch folder (crash inputs and log) and leaves a mark for the exit status.
report() {
    local name=$1 dir=$work/$1 status seconds crashes
    read -r status seconds <"$dir/status"
    stat() { grep -o "^stat::$1: *[0-9]*" "$dir/log" | grep -o '[0-9]*$'; }
    last() { grep -o "$1: [0-9]*" "$dir/log" | tail -1 | grep -o '[0-9]*$'; }
    crashes=$(ls "$dir/crashes")
    if [[ $status != 0 || -n $crashes ]]; then
        crashes=${crashes:-"none written (exit status $status, see $dir/log)"}
        touch "$work/failed"
    else
        crashes=0
    fi
    printf '%-14s %10s %8s %6ss %6s %7s  %s\n' "$name" "$(stat number_of_executed_units)" \
        "$(stat average_exec_per_sec)" "$seconds" "$(last cov)" "$(last ft)" "${crashes//$'\n'/ }"
    [[ $crashes == 0 ]] && rm -rf "$dir"
}

# Each target's row is printed as soon as it finishes, so a long run shows its figures as it
# goes and an interrupted one keeps those of the targets that finished.
run_target() {
    local name=$1 dir=$work/$1 start=$SECONDS
    mkdir -p "$dir/crashes" && cp -r "fuzz/corpus/$name" "$dir/corpus"
    "$build/fuzz/fuzz_$name" -runs="$runs" -max_len=20000 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$dir/crashes/" "$dir/corpus" >"$dir/log" 2>&1
    echo "$? $((SECONDS - start))" >"$dir/status"
    report "$name"
}

printf '%-14s %10s %8s %7s %6s %7s  %s\n' target executions exec/s time cov ft crashes
for name in "${targets[@]}"; do
    while (($(jobs -rp | wc -l) >= jobs)); do wait -n; done
    run_target "$name" &
done
wait

if [[ -e $work/failed ]]; then
    echo "kept for the failed targets: $work"
    exit 1
fi
rm -rf "$work"
