#!/usr/bin/env bash
# Runs one fuzz target for SECONDS seconds:
#
#   bash scripts/fuzz.sh TARGET SECONDS     TARGET: fuzz_xlsx fuzz_xlsb fuzz_ods fuzz_ods_halves
#                                                   fuzz_xls fuzz_numfmt fuzz_paths
#
# Builds the targets with clang, ASan and UBSan into build-fuzz/ (configured once), makes the
# seeds from ../shared into build-fuzz/corpus/ when they are missing, and runs the target on that
# working corpus and on the seeds kept in fuzz/seeds/TARGET/. Whatever it finds (crash, leak,
# timeout, more than 1 GiB in one allocation) lands in build-fuzz/findings/TARGET/; the exit
# status is libFuzzer's, non-zero after a finding.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 2 ] || { echo "usage: $0 TARGET SECONDS" >&2; exit 2; }
target=$1
seconds=$2

if [ ! -f build-fuzz/build.ninja ]; then
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DTABULON_FUZZ=ON -DTABULON_BUILD_TESTS=OFF \
        -DTABULON_BUILD_BENCH=OFF \
        $(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
nice cmake --build build-fuzz --target "$target"

corpus=build-fuzz/corpus/$target
if [ ! -d build-fuzz/corpus ] && [ -d ../shared/corpus/files ] && command -v python3 >/dev/null; then
    python3 fuzz/make_seeds.py shared build-fuzz/corpus
fi
# fuzz_ods_halves reads what fuzz_ods reads: it starts from that target's corpus and seeds.
seedsOf=${target%_halves}
if [ "$seedsOf" != "$target" ] && [ ! -d "$corpus" ] && [ -d "build-fuzz/corpus/$seedsOf" ]; then
    cp -r "build-fuzz/corpus/$seedsOf" "$corpus"
fi
mkdir -p "$corpus" "build-fuzz/findings/$target"
seeds=()
[ -d "fuzz/seeds/$seedsOf" ] && seeds+=("fuzz/seeds/$seedsOf")

# ASan and UBSan roughly double what the readers hold: 2 GiB of resident memory stands for the
# 1 GiB that an uninstrumented run may use.
nice build-fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -malloc_limit_mb=1024 -max_len=1048576 -print_final_stats=1 \
    -artifact_prefix="build-fuzz/findings/$target/" "$corpus" "${seeds[@]}"
