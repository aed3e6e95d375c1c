# Sourced by the scan benchmarks. Times the runs named in RUNS (each a
# function run_NAME) in alternation, ROUNDS rounds, calling before_run before
# each timed run, and prints each median with its ratio to the floor.
# Expects ROOT (the tree), LIST and FLOOR (the programs).

PAR_THREADS=${PAR_THREADS:-16}
run_floor() { "$FLOOR" "$ROOT"; }
run_parallel_floor() { "$FLOOR" --threads "$PAR_THREADS" "$ROOT"; }
run_tolan() { "$LIST" --mode totals -o /dev/null "$ROOT"; }
run_tolan1() { "$LIST" --threads 1 --mode totals -o /dev/null "$ROOT"; }
run_gdu() { gdu --non-interactive --no-progress --summarize "$ROOT"; }
run_ncdu() { ncdu -0 -o /dev/null "$ROOT"; }
before_run() { :; }

declare -A LABELS=(
    [floor]="floor (one thread)"
    [parallel_floor]="parallel floor ($PAR_THREADS threads, any order)"
    [tolan]="tolan-list (default readers)"
    [tolan1]="tolan-list --threads 1"
    [gdu]="gdu"
    [ncdu]="ncdu"
)

seconds() { # command... -> elapsed seconds of one run
    local t0 t1
    t0=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    t1=$(date +%s%N)
    echo "scale=4; ($t1 - $t0) / 1000000000" | bc
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
ratio() { echo "scale=3; $1 / $2" | bc; }

compare_runs() {
    local r i
    declare -gA TIMES=() MEDIANS=()
    for ((i = 0; i < ROUNDS; i++)); do
        for r in "${RUNS[@]}"; do
            before_run
            TIMES[$r]+="$(seconds "run_$r") "
        done
    done
    for r in "${RUNS[@]}"; do MEDIANS[$r]=$(printf '%s\n' ${TIMES[$r]} | median); done
    printf '%s rounds, %s processors; median seconds and ratio to the floor:\n' "$ROUNDS" "$(nproc)"
    for r in "${RUNS[@]}"; do
        printf '  %-42s %8s  %s\n' "${LABELS[$r]:-$r}" "${MEDIANS[$r]}" \
            "$(ratio "${MEDIANS[$r]}" "${MEDIANS[floor]}")"
    done
}
