#!/usr/bin/env bash
# Builds the Windows x64 programs (ParvexSub.exe, parvex-cli.exe) with
# MinGW-w64 in build/windows and packs them with the README and a sample
# drawing into dist/parvex-VERSION-windows-x64.zip.
#   tools/build-windows.sh          build and pack
#   tools/build-windows.sh --test   also build the test suite and run it
#                                   under Wine
# PARVEX_JOBS sets the number of parallel build jobs (default 2).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
run_tests=false
case "${1:-}" in
  "") ;;
  --test) run_tests=true ;;
  *) echo "usage: tools/build-windows.sh [--test]" >&2; exit 2 ;;
esac
jobs=${PARVEX_JOBS:-2}

bash tools/install-packages.sh tools/packages.txt tools/packages-windows.txt
cmake --preset windows >/dev/null
if $run_tests; then
  cmake --build --preset windows -j "$jobs"
else
  cmake --build --preset windows -j "$jobs" --target ParvexSub parvex-cli
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
name=parvex-$version-windows-x64
stage=build/windows/dist/$name
rm -rf "$stage"
mkdir -p "$stage/samples" dist
cp build/windows/bin/ParvexSub.exe build/windows/bin/parvex-cli.exe "$stage/"
x86_64-w64-mingw32-strip "$stage/ParvexSub.exe" "$stage/parvex-cli.exe"
cp samples/plan.jww "$stage/samples/"
# Windows' Notepad and the like read CR LF best.
sed 's/$/\r/' README.md >"$stage/README.txt"
rm -f "dist/$name.zip"
(cd build/windows/dist && zip -q -r -X "$root/dist/$name.zip" "$name")
echo "dist/$name.zip"

if $run_tests; then
  ctest --preset windows -j "$jobs"
fi
