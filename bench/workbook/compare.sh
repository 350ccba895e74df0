#!/usr/bin/env bash
# Whole processes, pair by pair: tabulon-cli before (another build, by default the one installed
# as the baseline) and now, in sheet mode, on W2.xlsx, W2.ods, W2.xls and W3.xlsx, and unzip
# inflating W3's sheet and string parts; one row per run:
#   round workload program wall_s cpu_s peak_MiB
#   bench/workbook/compare.sh NOW_CLI BEFORE_CLI WORKBOOK_DIR [ROUNDS] [SCRATCH_DIR]
# Each round runs every workload and program once, one right after the other, so that the drift
# of a shared machine's speed weighs on each pair alike; pairs.py gives medians and the ratios
# pair by pair. WORKLOADS (space-separated) narrows the workloads, e.g. WORKLOADS="W2.ods W2.xlsx".
set -euo pipefail
now=$(realpath "$1")
before=$(realpath "$2")
workbooks=$3
rounds=${4:-3}
out=$(mktemp -d "${5:-${TMPDIR:-/tmp}}/tabulon-compare.XXXXXX")
trap 'rm -rf "$out"' EXIT
mkdir "$out/temp"
export TEMP="$out/temp"

run() {  # round workload program command...
    local round=$1 workload=$2 program=$3
    shift 3
    rm -rf "$out/files" && mkdir "$out/files"
    /usr/bin/time -f '%e %U %S %M' -o "$out/time" "$@" >/dev/null 2>&1 || true
    read -r seconds user system kib <"$out/time"
    printf '%-5s %-9s %-7s %8s %8s %9d\n' "$round" "$workload" "$program" "$seconds" \
        "$(awk "BEGIN { print $user + $system }")" $((kib / 1024))
}

printf '%-5s %-9s %-7s %8s %8s %9s\n' round workload program wall_s cpu_s peak_MiB
for round in $(seq "$rounds"); do
    for workload in ${WORKLOADS:-W2.xlsx W2.ods W2.xls W3.xlsx}; do
        for program in before now; do
            cli=$before
            [ "$program" = now ] && cli=$now
            run "$round" "$workload" "$program" "$cli" --mode sheet --output "$out/files" \
                "$workbooks/$workload"
        done
        if [ "$workload" = W3.xlsx ]; then
            run "$round" "$workload" unzip sh -c \
                "unzip -p '$workbooks/W3.xlsx' 'xl/worksheets/*.xml' xl/sharedStrings.xml >/dev/null"
        fi
    done
done
