#!/usr/bin/env bash
# Sets everything up and runs every test (without a display): built with g++ in build/, then
# with clang++ in build-clang/; then the core and tabulon-cli alone, without Qt, in build-cli/.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
bash scripts/setup.sh gcc
ctest --test-dir build --output-on-failure -j2
bash scripts/setup.sh clang
ctest --test-dir build-clang --output-on-failure -j2
bash scripts/setup.sh cli
ctest --test-dir build-cli --output-on-failure -j2
