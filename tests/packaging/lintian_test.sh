#!/usr/bin/env bash
# The Debian package that `cpack -G DEB` makes, checked by lintian: no error and no warning.
# Usage: lintian_test.sh BUILD_DIR
set -uo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$1/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$out"/tabulon_*.deb 2>/dev/null | head -n 1)
[[ -n $deb ]] || { echo "FAIL: no package made"; exit 1; }
# Root is told that lintian should not run as root; that note is not a finding. Lintian keeps
# a scratch file in the temporary folder and leaves it there: it gets this test's own.
TMPDIR=$out lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1 |
    grep -v "running with root privileges is not recommended"
status=${PIPESTATUS[0]}
((status == 0)) && echo "lintian: no errors or warnings"
exit "$status"
