#!/usr/bin/env bash
# Times tabulon-cli on encrypted workbooks whose key derivation is costly (a spin count or an
# iteration count of 10^7), with ten passwords (the right one last) and with the right one
# alone, as whole processes, for each tabulon-cli given; one table row per run.
#   bench/encryption/run.sh FILE_DIR CLI...
# The workbooks are made in FILE_DIR when they are not there yet (a minute or two of Python):
# agile-1e7.xlsx (agile, SHA-512, 10^7 spins, from tests/data/encrypted/plain.xlsx),
# ods-1e7.ods (the sample "Temperature Log.ods" with PBKDF2 at 10^7 iterations, a salt per part as
# LibreOffice writes it) and ods-1e7-shared.ods (the same with one salt for every part).
set -euo pipefail
files=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
encrypted=$here/../../tests/data/encrypted
mkdir -p "$files"
[ -f "$files/agile-1e7.xlsx" ] || /usr/bin/python3 "$encrypted/ooxml_encrypt.py" \
    "$encrypted/plain.xlsx" "$files/agile-1e7.xlsx" Tabulon-1 --spin 10000000
plain_ods="$here/../../samples/Temperature Log.ods"
[ -f "$files/ods-1e7.ods" ] || /usr/bin/python3 "$here/odf_encrypt.py" "$plain_ods" \
    "$files/ods-1e7.ods" Tabulon-1 --iterations 10000000
[ -f "$files/ods-1e7-shared.ods" ] || /usr/bin/python3 "$here/odf_encrypt.py" "$plain_ods" \
    "$files/ods-1e7-shared.ods" Tabulon-1 --iterations 10000000 --shared-salt
ten=$(mktemp)
one=$(mktemp)
trap 'rm -f "$ten" "$one" /tmp/tabulon-bench-time.$$' EXIT
for i in 1 2 3 4 5 6 7 8 9; do echo "wrong-$i"; done >"$ten"
echo Tabulon-1 | tee -a "$ten" >"$one"

printf '%-20s %-9s %-40s %8s %8s %s\n' workbook passwords cli seconds cpu_s status
for book in agile-1e7.xlsx ods-1e7.ods ods-1e7-shared.ods; do
    for passwords in ten one; do
        for cli in "$@"; do
            status=0
            /usr/bin/time -f '%e %U %S' -o /tmp/tabulon-bench-time.$$ "$cli" --output - \
                --password-file "${!passwords}" "$files/$book" >/dev/null 2>&1 || status=$?
            read -r seconds user system </tmp/tabulon-bench-time.$$
            printf '%-20s %-9s %-40s %8s %8.2f %s\n' "$book" "$passwords" "$cli" "$seconds" \
                "$(echo "$user + $system" | bc)" "$status"
        done
    done
done
