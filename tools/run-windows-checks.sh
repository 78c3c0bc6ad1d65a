#!/usr/bin/env bash
# The Windows checks, run by hand (CI runs the Linux ones only, to stay
# short): the Windows build with its whole test suite under Wine
# (tools/build-windows.sh --test, which installs the packages of
# tools/packages-windows.txt and makes the zip archive), then the
# byte-for-byte comparison of its DXF files with the Linux build's over
# samples/ and ../shared/corpus (tools/compare-windows-build.sh; needs
# build/release, which tools/run-tests.sh builds). Any failure fails the
# run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash tools/build-windows.sh --test
bash tools/compare-windows-build.sh
