#!/usr/bin/env bash
# Instructions, not seconds: callgrind counts what a sheet-mode export of each workbook executes
# (all threads together) with tabulon-cli now and before, and prints the ratio. The counts do not
# drift with the load of a shared machine, so a change of a few percent shows where timings
# cannot; they say nothing of how well the threads overlap, which only compare.sh measures.
#   bench/workbook/instructions.sh NOW_CLI BEFORE_CLI WORKBOOK...
# Small workbooks keep it quick (valgrind runs about fifty times slower): genwb's --rows 30000
# gives counts within a second of work.
set -euo pipefail
if [ $# -lt 3 ]; then
    sed -n '2,8p' "$0" >&2
    exit 2
fi
now=$1
before=$2
shift 2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The instructions of one export, summed over the threads' profiles.
count() {
    local run
    run=$(mktemp -d "$scratch/run.XXXXXX")
    TEMP="$run" valgrind --tool=callgrind --callgrind-out-file="$run/profile.%p" \
        "$1" --mode sheet --output "$run/files" "$2" >/dev/null 2>"$run/log"
    grep -h '^summary:' "$run"/profile.* | awk '{ sum += $2 } END { printf "%d", sum }'
}

printf '%-24s %15s %15s %7s\n' workbook now before ratio
for workbook in "$@"; do
    n=$(count "$now" "$workbook")
    b=$(count "$before" "$workbook")
    printf '%-24s %15d %15d %7.3f\n' "$(basename "$workbook")" "$n" "$b" \
        "$(awk -v n="$n" -v b="$b" 'BEGIN { print n / b }')"
done
