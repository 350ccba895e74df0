#!/usr/bin/env bash
# Fails when a C++ file of the repository does not match the checked-in .clang-format; lists
# each such file. `clang-format -i FILE` formats one.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.h' '*.cpp' | xargs -0 clang-format --dry-run --Werror
