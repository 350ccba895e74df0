#!/usr/bin/env bash
# Builds every fuzz target with clang and runs each for 30 seconds (SECONDS_PER_TARGET to
# change it) on its seeds. Fails when any target finds something; the findings stay in
# build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev
fi
seconds=${SECONDS_PER_TARGET:-30}
targets=(fuzz_xlsx fuzz_xlsb fuzz_ods fuzz_ods_halves fuzz_xls fuzz_numfmt fuzz_paths)
status=0
for target in "${targets[@]}"; do
    echo "== $target"
    bash scripts/fuzz.sh "$target" "$seconds" 2>&1 | tail -n 30 || status=1
done
exit $status
