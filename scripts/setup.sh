#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tabulon need, then configures
# and builds into build/ with g++, into build-clang/ with clang++ when the argument is "clang",
# or the core and tabulon-cli without Qt, inflating with zlib rather than ISA-L, into build-cli/
# with g++ when it is "cli".
# Safe to run again: installed packages and a configured build are reused.
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-gcc}" in
    gcc) compiler=g++ folder=build gui=ON isal=ON ;;
    clang) compiler=clang++ folder=build-clang gui=ON isal=ON ;;
    cli) compiler=g++ folder=build-cli gui=OFF isal=OFF ;;
    *) echo "usage: $0 [gcc|clang|cli]" >&2; exit 2 ;;
esac

packages=(
    g++ clang clang-format cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-base-dev-tools libgl1-mesa-dev
    libzip-dev libexpat1-dev zlib1g-dev libisal-dev nettle-dev libicu-dev
    libcli11-dev
    libgtest-dev libgmock-dev libbenchmark-dev libxlsxwriter-dev
    fonts-liberation
    dosfstools fusefat
    dpkg-dev desktop-file-utils appstream lintian
    python3
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
# build/ and build-cli/ compile the core alike: ccache, told to ignore the folder a compile runs
# in, compiles it once for both.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
# The compiler is chosen when the folder is first configured; later runs keep it.
CXX=$compiler cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTABULON_WERROR="$werror" -DTABULON_BUILD_GUI="$gui" -DTABULON_BUILD_BENCH="$gui" \
    -DTABULON_WITH_ISAL="$isal" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake --build "$folder"
