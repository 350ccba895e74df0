#!/usr/bin/env bash
# Sets everything up, installs the program folder into build/install and starts Tabulon.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --install build --prefix build/install >/dev/null
exec build/install/bin/tabulon "$@"
