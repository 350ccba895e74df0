#!/usr/bin/env bash
# Runs tabulon-cli on every workbook of ../shared/corpus in all four modes and writes the saved
# files and the messages of each run into OUT/MODE/. With a second folder, compares the two.
#
#   bash scripts/corpus-outputs.sh OUT [CLI]      make the outputs (CLI: build/src/cli/tabulon-cli)
#   bash scripts/corpus-outputs.sh --compare A B  exit 0 when both runs saved identical files
# The messages are kept beside the files for reading; --compare does not hold them equal.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--compare" ]; then
    [ $# -eq 3 ] || { echo "usage: $0 --compare A B" >&2; exit 2; }
    status=0
    for mode in book sheet row column; do
        diff -r "$2/$mode/files" "$3/$mode/files" >/dev/null || { echo "$mode: files differ"; status=1; }
    done
    [ $status -eq 0 ] && echo "identical"
    exit $status
fi

[ $# -ge 1 ] || { echo "usage: $0 OUT [CLI] | --compare A B" >&2; exit 2; }
out=$(realpath -m "$1")
cli=$(realpath "${2:-build/src/cli/tabulon-cli}")
corpus=$(realpath ../shared/corpus/files)
for mode in book sheet row column; do
    rm -rf "${out:?}/$mode"
    mkdir -p "$out/$mode/files"
    find "$corpus" -type f | LC_ALL=C sort | while read -r file; do
        name=${file#"$corpus"/}
        # Each workbook on its own, so that one file's messages stay beside its outputs.
        status=0
        (cd "$out/$mode" && "$cli" --mode "$mode" --output files "$file" \
            2>>messages.txt) || status=$?
        echo "$name $status" >>"$out/$mode/status.txt"
    done
    echo "$mode: $(find "$out/$mode/files" -type f | wc -l) files"
done
