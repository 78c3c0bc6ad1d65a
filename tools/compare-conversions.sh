#!/usr/bin/env bash
# Proves that a change leaves the conversions as they were: converts every
# drawing under samples/ and ../shared/corpus with the parvex-cli of a base
# commit and with that of the working tree, in all three DXF versions under
# a matrix of settings, and compares every output byte for byte.
#
#   tools/compare-conversions.sh [BASE]      BASE: a commit (default b6ef53b)
#
# The base is checked out with `git worktree add` into a private temporary
# folder and built there (release, converter only); the working tree is
# built with the release preset (target parvex-cli only).
#
# Settings: the drawings under samples/ go through every combination of
# output space, point conversion, layer naming, text styles and curve
# polylines (with the printer colours, another base layer group and no
# text expansion mixed in); the corpus drawings go through a smaller set
# in which every value of each of those settings occurs.
#
# Prints how many files it compared. Exits non-zero when any output differs,
# when one build writes a file the other does not, when their messages or
# exit statuses differ, or when tests/dxf/golden/ differs from the base.
#
# Environment: PARVEX_COMPARE_KEEP=1 keeps the temporary folder (its path
# is printed); PARVEX_COMPARE_CORPUS names another corpus folder.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
base=${1:-b6ef53b}
corpus=${PARVEX_COMPARE_CORPUS:-$root/../shared/corpus}
jobs=2

base_commit=$(git -C "$root" rev-parse --verify --quiet "$base^{commit}") || {
  echo "compare-conversions: $base is not a commit" >&2
  exit 2
}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/parvex-compare-XXXXXX")
cleanup() {
  if [[ -d "$scratch/base" ]]; then
    git -C "$root" worktree remove --force "$scratch/base" >/dev/null 2>&1 || true
  fi
  if [[ "${PARVEX_COMPARE_KEEP:-}" == 1 ]]; then
    echo "kept $scratch"
  else
    rm -rf "$scratch"
  fi
}
trap cleanup EXIT

status=0
fail() {
  echo "DIFFERENT: $*"
  status=1
}

# ---- golden files ------------------------------------------------------------
if ! git -C "$root" diff --quiet "$base_commit" -- tests/dxf/golden/; then
  fail "tests/dxf/golden/ differs from $base"
fi

# ---- builds -----------------------------------------------------------------
echo "building $base ($base_commit) ..."
git -C "$root" worktree add --detach --quiet "$scratch/base" "$base_commit"
cmake -S "$scratch/base" -B "$scratch/build-base" -DCMAKE_BUILD_TYPE=Release \
  -DPARVEX_TESTS=OFF -DPARVEX_BENCH=OFF -DPARVEX_LAUNCHER=OFF >"$scratch/build-base.log" 2>&1
cmake --build "$scratch/build-base" --target parvex-cli -j"$jobs" >>"$scratch/build-base.log" 2>&1 || {
  echo "compare-conversions: the base does not build (see $scratch/build-base.log)" >&2
  PARVEX_COMPARE_KEEP=1
  exit 2
}
echo "building the working tree ..."
(cd "$root" && cmake --preset release >"$scratch/build-new.log" 2>&1 &&
  cmake --build --preset release --target parvex-cli -j"$jobs" >>"$scratch/build-new.log" 2>&1) || {
  echo "compare-conversions: the working tree does not build (see $scratch/build-new.log)" >&2
  PARVEX_COMPARE_KEEP=1
  exit 2
}
cli_base=$scratch/build-base/bin/parvex-cli
cli_new=$root/build/release/bin/parvex-cli

# ---- drawings ---------------------------------------------------------------
samples=()
while IFS= read -r -d '' f; do samples+=("$f"); done < <(
  find "$root/samples" -maxdepth 1 -type f \( -iname '*.jww' -o -iname '*.jws' -o -iname '*.jwc' \
    -o -iname '*.jwk' \) -print0 | sort -z)
corpus_files=()
if [[ -d "$corpus" ]]; then
  while IFS= read -r -d '' f; do corpus_files+=("$f"); done < <(
    find "$corpus" -type f \( -iname '*.jww' -o -iname '*.jws' -o -iname '*.jwc' -o -iname '*.jwk' \) \
      -print0 | sort -z)
else
  echo "no corpus at $corpus: comparing the samples only"
fi
echo "${#samples[@]} sample drawings, ${#corpus_files[@]} corpus drawings"

# ---- settings ---------------------------------------------------------------
spaces=(model paper layouts)
points=(point circle double-circle circle-cross rhombus filled-rhombus filled-octagon)
names=(number name group)
styles=(kinds one truetype)
curves=(--no-polylines --polylines)

# Every combination, for the samples.
full=()
for s in "${spaces[@]}"; do
  for p in "${points[@]}"; do
    for n in "${names[@]}"; do
      for t in "${styles[@]}"; do
        for c in "${curves[@]}"; do
          full+=("--output-space $s --points $p --layer-names $n --text-styles $t $c")
        done
      done
    done
  done
done
# Every value of each setting at least once, for the corpus; the indexes
# turn at different rates so that the values meet in different pairs.
cover=()
for k in 0 1 2 3 4 5 6; do
  extra=""
  ((k % 3 == 1)) && extra+=" --colors printer"
  ((k % 4 == 2)) && extra+=" --layer-group 1 --point-radius 2"
  ((k == 5)) && extra+=" --no-expand-text --no-expand-codes"
  cover+=("--output-space ${spaces[k % 3]} --points ${points[k]} --layer-names ${names[(k + 1) % 3]} --text-styles ${styles[(k / 3) % 3]} ${curves[k % 2]}$extra")
done
cover+=("")  # the defaults

# ---- conversions ------------------------------------------------------------
compared=0
run=0
# convert SET-NAME "OPTIONS" DRAWING...: both builds, then compare.
convert() {
  local name=$1 options=$2
  shift 2
  local v
  for v in r12 2000 2007; do
    run=$((run + 1))
    local key="$name-$run-$v"
    local ob="$scratch/out/base/$key" on="$scratch/out/new/$key"
    mkdir -p "$ob" "$on"
    local rb=0 rn=0
    # shellcheck disable=SC2086  # options are words on purpose
    "$cli_base" convert --dxf "$v" $options -o "$ob" "$@" >"$ob.log" 2>&1 || rb=$?
    # shellcheck disable=SC2086
    "$cli_new" convert --dxf "$v" $options -o "$on" "$@" >"$on.log" 2>&1 || rn=$?
    if ((rb != rn)); then
      fail "$key: exit status $rb with the base, $rn now ($options)"
    fi
    if ! diff -q <(sed "s|$ob|OUT|g" "$ob.log") <(sed "s|$on|OUT|g" "$on.log") >/dev/null; then
      fail "$key: messages differ ($options)"
    fi
    local fb fn
    fb=$(cd "$ob" && find . -type f | sort)
    fn=$(cd "$on" && find . -type f | sort)
    if [[ "$fb" != "$fn" ]]; then
      fail "$key: different files written ($options)"
    fi
    local f
    while IFS= read -r f; do
      [[ -z "$f" ]] && continue
      [[ -f "$on/$f" ]] || continue
      compared=$((compared + 1))
      cmp -s "$ob/$f" "$on/$f" || fail "$key: $f differs ($options)"
    done <<<"$fb"
    if ((status == 0)); then
      rm -rf "$ob" "$on" "$ob.log" "$on.log"
    fi
  done
}

if ((${#samples[@]} > 0)); then
  echo "samples: ${#full[@]} settings x 3 versions"
  for o in "${full[@]}"; do convert samples "$o" "${samples[@]}"; done
fi
if ((${#corpus_files[@]} > 0)); then
  echo "corpus: ${#cover[@]} settings x 3 versions"
  for o in "${cover[@]}"; do convert corpus "$o" "${corpus_files[@]}"; done
fi

echo "compared $compared files in $run runs"
if ((compared == 0)); then
  echo "compare-conversions: nothing was compared" >&2
  exit 1
fi
if ((status == 0)); then
  echo "all identical"
fi
exit $status
