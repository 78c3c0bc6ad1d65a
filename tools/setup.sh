#!/usr/bin/env bash
# Installs the Debian packages listed in tools/packages.txt that are missing,
# then configures and builds the Release tree (build/release).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/install-packages.sh"
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
