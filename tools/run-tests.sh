#!/usr/bin/env bash
# Sets up, builds in Release and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/setup.sh"
cd "$root"
export QT_QPA_PLATFORM=offscreen
ctest --preset release -j "$(nproc 2>/dev/null || echo 2)"
