#!/usr/bin/env bash
# The checks CI runs after the release suite:
#  1. the whole test suite built with AddressSanitizer, LeakSanitizer and
#     UndefinedBehaviorSanitizer (preset asan, build/asan);
#  2. every fuzz target the fuzz preset builds (clang with libFuzzer,
#     build/fuzz) run over its seed inputs and the inputs recorded for it.
# Any failed test, any sanitizer report (also from the programs the tests
# start) and any fuzz target that does not come back clean fails the run.
#
# A fuzz target is any program of build/fuzz/bin that defines
# LLVMFuzzerTestOneInput. The seeds of fuzz_NAME are the files under
# fuzz/corpus/NAME/, or else under fuzz/corpus/FIRST/ where FIRST is NAME up
# to its first "_" (fuzz_jww_read: fuzz/corpus/jww/); its recorded inputs
# lie in the folder of the same name under fuzz/regressions/.
#
# PARVEX_FUZZ_SECONDS=N (default 0) also fuzzes each target for N seconds
# from its seeds; inputs that fail are kept in build/fuzz/findings/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/install-packages.sh"
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)
fuzz_seconds=${PARVEX_FUZZ_SECONDS:-0}

step_start=0
step() {
  step_start=$(date +%s)
  echo "== $1"
}
step_done() {
  local seconds=$(($(date +%s) - step_start))
  printf '== %s: %dm%02ds\n' "$1" $((seconds / 60)) $((seconds % 60))
}

# Clang's runtimes symbolize the stacks of their reports when they find
# llvm-symbolizer.
if ! command -v llvm-symbolizer >/dev/null; then
  for candidate in /usr/lib/llvm-14/bin/llvm-symbolizer /usr/bin/llvm-symbolizer-14; do
    if [[ -x $candidate ]]; then
      export ASAN_SYMBOLIZER_PATH=$candidate
      break
    fi
  done
fi

# ---- 1. The test suite under the sanitizers ----------------------------------

step "asan build"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
step_done "asan build"

# Every report goes to a file of its own in a private folder, so that the
# reports of the programs the tests start (ParvexSub, parvex-cli) are seen
# even when a test only looks at their exit status.
reports=$(mktemp -d)
trap 'rm -rf "$reports"' EXIT
export ASAN_OPTIONS="detect_leaks=1:log_path=$reports/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
export QT_QPA_PLATFORM=offscreen

status=0
step "asan suite"
ctest --preset asan -j "$jobs" || status=1
step_done "asan suite"
if compgen -G "$reports/*" >/dev/null; then
  echo "Sanitizer reports:"
  for report in "$reports"/*; do
    echo "--- ${report##*/}"
    cat "$report"
  done
  status=1
fi
unset ASAN_OPTIONS UBSAN_OPTIONS

# ---- 2. The fuzz targets over their inputs -----------------------------------

step "fuzz build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
step_done "fuzz build"

# The input folder under fuzz/$1/ for fuzz target $2, empty when none.
input_folder() {
  local stem=${2#fuzz_}
  for name in "$stem" "${stem%%_*}"; do
    if [[ -d fuzz/$1/$name ]]; then
      echo "fuzz/$1/$name"
      return
    fi
  done
}

step "fuzz seed runs"
targets=0
for program in build/fuzz/bin/*; do
  [[ -f $program && -x $program ]] || continue
  # (grep reads all of nm's output: with -q it could stop early, and nm,
  # cut off, would fail the pipe.)
  nm --defined-only "$program" 2>/dev/null | grep -w LLVMFuzzerTestOneInput >/dev/null || continue
  name=${program##*/}
  targets=$((targets + 1))
  seeds=$(input_folder corpus "$name")
  if [[ -z $seeds ]]; then
    echo "$name: no seed folder (fuzz/corpus/${name#fuzz_}/)"
    status=1
    continue
  fi
  recorded=$(input_folder regressions "$name")
  inputs=()
  while IFS= read -r -d '' file; do inputs+=("$file"); done < <(
    find "$seeds" ${recorded:+"$recorded"} -type f ! -name '*.md' -print0 | sort -z)
  if ((${#inputs[@]} == 0)); then
    echo "$name: $seeds holds no seeds"
    status=1
    continue
  fi
  # Each input once; a crash, a sanitizer report, a leak, an input taking
  # more than 60 s or an allocation beyond 2 GB ends the run non-zero.
  log=$(mktemp)
  if "$program" -timeout=60 -rss_limit_mb=2048 "${inputs[@]}" >"$log" 2>&1; then
    echo "$name: ${#inputs[@]} inputs ($seeds${recorded:+, $recorded}): clean"
  else
    cat "$log"
    echo "$name: FAILED on its inputs"
    status=1
  fi
  rm -f "$log"
  if ((fuzz_seconds > 0)); then
    work=$(mktemp -d)
    findings=build/fuzz/findings/$name
    mkdir -p "$findings"
    cp "${inputs[@]}" "$work/"
    dict=()
    [[ -f fuzz/archive.dict ]] && dict=(-dict=fuzz/archive.dict)
    if ! "$program" "${dict[@]}" -max_total_time="$fuzz_seconds" -timeout=60 -rss_limit_mb=2048 \
        -artifact_prefix="$findings/" "$work" >"$work.log" 2>&1; then
      tail -n 60 "$work.log"
      echo "$name: fuzzing found a failing input (kept in $findings/)"
      status=1
    fi
    rm -rf "$work" "$work.log"
  fi
done
step_done "fuzz seed runs"
if ((targets == 0)); then
  echo "No fuzz target was built."
  status=1
fi

exit $status
