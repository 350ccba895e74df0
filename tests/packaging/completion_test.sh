#!/usr/bin/env bash
# The bash completion of tabulon-cli: option names, option values, and folders and workbooks
# as PATHs. Usage: completion_test.sh COMPLETION_FILE
set -uo pipefail
source "$1"
# Completion functions call compopt, which works only while bash is completing a line.
compopt() { :; }

failures=0
# expect "WORDS" "EXPECTED": completes the last of WORDS (which may be empty); EXPECTED lists
# the sorted completions, each followed by "|".
expect() {
    read -r -a COMP_WORDS <<<"$1"
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _tabulon_cli
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' '|')
    if [[ "$got" != "$2" ]]; then
        echo "FAIL: '$1' gave '$got', expected '$2'"
        failures=$((failures + 1))
    fi
}

expect "tabulon-cli --mo" "--mode|"
expect "tabulon-cli --m" "--max-result-size|--mode|"
expect "tabulon-cli --mode s" "sheet|"
expect "tabulon-cli --mode " "book|column|row|sheet|"
expect "tabulon-cli --mode = r" "row|"
expect "tabulon-cli --mode =" "book|column|row|sheet|"
expect "tabulon-cli --ext o" "ods|"
expect "tabulon-cli -" "--|--csv|--delimiter|--encoding|--ext|--help|--jobs|--list|--max-result-size|--mode|--output|--password|--password-file|--sheet|--skip-hidden|--values|--verbose|--version|"
expect "tabulon-cli --encoding utf-8" "utf-8|utf-8-bom|"
expect "tabulon-cli -j " "|"
expect "tabulon-cli --c" "--csv|"
expect "tabulon-cli --csv --delimiter " ",|;|\\t|||"
expect "tabulon-cli --sheet " "|"  # nothing offered
expect "tabulon-cli --password " "|"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
mkdir out "two words"
touch Budget.xlsx Old.XLS Log.ods notes.txt "two words/in.xlsb"
expect "tabulon-cli --output " "out|two words|"
expect "tabulon-cli " "Budget.xlsx|Log.ods|Old.XLS|out|two words|"
expect "tabulon-cli two" "two words|"
expect "tabulon-cli -- " "Budget.xlsx|Log.ods|Old.XLS|out|two words|"

if ((failures > 0)); then
    exit 1
fi
echo "all completions as expected"
