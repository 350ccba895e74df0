#!/usr/bin/env bash
# Times each save option on the W2 and W3 workloads through the window (offscreen) and through
# tabulon-cli, whole processes with /usr/bin/time, and prints one table row per run.
#   bench/export/run.sh BUILD_DIR WORKBOOK_DIR [ROUNDS] [SCRATCH_DIR]
# WORKBOOK_DIR holds W2.xlsx and W3.xlsx made by genwb (see the shared tools folder).
# WORKLOADS and MODES (space-separated) narrow the runs, e.g. WORKLOADS=W3 MODES="book sheet".
# BEFORE=OTHER_BUILD_DIR times that build too, beside BUILD_DIR, in every round; BEFORE may also
# be an install prefix (PREFIX/bin/tabulon-cli), with BEFORE_WINDOW naming the bench_window_export
# built from the same sources.
# Each round runs every workload, option, build and tool once, one after another, so that a
# machine whose speed drifts over minutes weighs on all of them alike; compare medians.
# Each row gives wall seconds, CPU seconds (user + system, which a busy shared machine disturbs
# less than wall time), the whole process's peak resident memory and the files saved.
# The temporary files (TEMP) and the saved files go below SCRATCH_DIR (default: a new folder in
# the system's temporary folder). The row option writes a million small files for W3: on ext4,
# creating files right after deleting hundreds of thousands is slowed by the kernel's inode
# allocator, whichever program runs, so give a tmpfs folder such as /dev/shm to compare the
# programs rather than the file system.
set -euo pipefail
build=$1
workbooks=$2
rounds=${3:-1}
out=$(mktemp -d "${4:-${TMPDIR:-/tmp}}/tabulon-bench.XXXXXX")
trap 'rm -rf "$out"' EXIT
mkdir "$out/temp" "$out/config"
export TEMP="$out/temp"
# The window's settings (save option, output folder) go to the scratch folder, not the user's.
export XDG_CONFIG_HOME="$out/config"

declare -A builds=([now]=$build)
if [ -n "${BEFORE:-}" ]; then builds[before]=$BEFORE; fi

printf '%-5s %-4s %-7s %-6s %-7s %9s %9s %9s %8s %s\n' round load mode build tool seconds cpu_s \
    peak_MiB files detail
for round in $(seq "$rounds"); do
    for w in ${WORKLOADS:-W2 W3}; do
        for mode in ${MODES:-book sheet row column}; do
            for name in $(printf '%s\n' "${!builds[@]}" | sort); do
                for tool in cli window; do
                    rm -rf "$out/files" && mkdir "$out/files"
                    # The names of a million deleted files linger in the kernel's name cache
                    # and slow every later look-up; where allowed, each run starts without them.
                    if [ -w /proc/sys/vm/drop_caches ]; then echo 2 >/proc/sys/vm/drop_caches; fi
                    dir=${builds[$name]}
                    if [ "$tool" = cli ] && [ -x "$dir/bin/tabulon-cli" ]; then
                        program=$dir/bin/tabulon-cli
                    elif [ "$tool" = cli ]; then
                        program=$dir/src/cli/tabulon-cli
                    elif [ "$name" = before ] && [ -n "${BEFORE_WINDOW:-}" ]; then
                        program=$BEFORE_WINDOW
                    else
                        program=$dir/bench/export/bench_window_export
                    fi
                    /usr/bin/time -f '%e %U %S %M' -o "$out/time" "$program" --mode "$mode" \
                        --output "$out/files" "$workbooks/$w.xlsx" >"$out/stdout" 2>/dev/null || true
                    read -r seconds user system kib <"$out/time"
                    printf '%-5s %-4s %-7s %-6s %-7s %9s %9s %9d %8d %s\n' "$round" "$w" "$mode" \
                        "$name" "$tool" "$seconds" "$(awk "BEGIN { print $user + $system }")" \
                        $((kib / 1024)) "$(find "$out/files" -type f | wc -l)" "$(cat "$out/stdout")"
                done
            done
        done
    done
done
