#!/usr/bin/env bash
# Runs tabulon-cli --mode sheet on every file of DIR (made by make_hostile.py) under a 3 GiB
# address-space cap, a 4 GiB file-size cap and a 120-second timeout, and prints one table row a file: size, exit status,
# the first message, peak resident memory and wall time (from /usr/bin/time -v).
#
#   bash fuzz/hostile/run_hostile.sh DIR [CLI]     CLI: build/src/cli/tabulon-cli
set -uo pipefail
cd "$(dirname "$0")/../.."
[ $# -ge 1 ] || { echo "usage: $0 DIR [CLI]" >&2; exit 2; }
dir=$(realpath "$1")
cli=$(realpath "${2:-build/src/cli/tabulon-cli}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "| file | size | exit | message | peak RSS | time |"
echo "|---|---:|---:|---|---:|---:|"
for file in "$dir"/*; do
    name=$(basename "$file")
    rm -rf "${work:?}/out" && mkdir -p "$work/out"
    (ulimit -v 3145728 -f 4194304; cd "$work/out" && /usr/bin/time -v -o "$work/time" \
        timeout 120 "$cli" --mode sheet "$file" >"$work/stdout" 2>"$work/stderr")
    status=$?
    peak=$(awk -F': ' '/Maximum resident set size/ {printf "%.0f MB", $2 / 1024}' "$work/time")
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$work/time")
    message=$(head -n 1 "$work/stderr" | sed "s|$dir/||g; s/|/\\\\|/g" | cut -c 1-160)
    [ -z "$message" ] && message="exported: $(find "$work/out" -type f | wc -l) file(s), $(du -sb "$work/out" | cut -f1) bytes"
    echo "| $name | $(stat -c %s "$file") | $status | $message | $peak | $wall |"
done
