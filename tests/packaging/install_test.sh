#!/usr/bin/env bash
# `cmake --install` under a prefix: the programs in bin, the files the window looks for in
# share/tabulon, and the desktop files naming what is installed.
# Usage: install_test.sh BUILD_DIR
set -uo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null || { echo "FAIL: install"; exit 1; }
cd "$prefix" || exit 1

failures=0
expect_file() {
    [[ -f $1 ]] || { echo "FAIL: $1 is not installed"; failures=$((failures + 1)); }
}

expect_file bin/tabulon
expect_file bin/tabulon-cli
expect_file share/tabulon/HAND-M.CUR
expect_file share/tabulon/drag.ico
expect_file "share/tabulon/Samples/Staff List.xlsx"
expect_file "share/tabulon/Samples/Temperature Log.ods"
expect_file share/man/man1/tabulon.1.gz
expect_file share/man/man1/tabulon-cli.1.gz
expect_file share/doc/tabulon/copyright
expect_file share/doc/tabulon/changelog.gz
expect_file share/bash-completion/completions/tabulon-cli
expect_file share/metainfo/com.quillmark.Tabulon.metainfo.xml
desktop=share/applications/com.quillmark.Tabulon.desktop
expect_file "$desktop"

# The entry starts an installed program and shows an installed icon at every theme size.
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
expect_file "bin/$exec_program"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 22 24 32 48 64 128 256; do
    png="share/icons/hicolor/${size}x${size}/apps/$icon.png"
    expect_file "$png"
    # The PNG header holds the width and height as 32-bit big-endian numbers at bytes 16-23.
    [[ -f $png ]] && read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [[ ${width:-0} == "$size" && ${height:-0} == "$size" ]] ||
        { echo "FAIL: $png is ${width:-?}x${height:-?}"; failures=$((failures + 1)); }
done
# The manual pages carry the version, not the placeholder.
zcat share/man/man1/*.1.gz share/doc/tabulon/changelog.gz | grep -q "@PROJECT_VERSION@" && { echo "FAIL: version not filled in"; failures=$((failures + 1)); }

# The help is read whole first: grep -q stops reading at its match, and the program's next
# write would then fail the pipeline.
help=$(bin/tabulon-cli --help)
grep -q "^Usage: tabulon-cli" <<<"$help" || { echo "FAIL: tabulon-cli --help"; failures=$((failures + 1)); }

if ((failures > 0)); then
    exit 1
fi
echo "installed as expected"
