#!/usr/bin/env bash
# Sets up, builds in Release and converts the bundled sample drawings under
# samples/ to DXF in out/samples/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/setup.sh"
cd "$root"
cli=build/release/bin/parvex-cli
if [[ ! -x "$cli" ]] || ! "$cli" --help 2>/dev/null | grep -q "convert"; then
  echo "Nothing can be converted yet: the drawing readers and the DXF writer are not built."
  exit 0
fi
out="$root/out/samples"
mkdir -p "$out"
shopt -s nullglob nocaseglob
drawings=(samples/*.jww samples/*.jws samples/*.jwc samples/*.jwk)
if ((${#drawings[@]} == 0)); then
  echo "No sample drawings under samples/."
  exit 0
fi
status=0
for version in r12 2000 2007; do
  # Each run starts afresh: converting never replaces a file, so results of
  # an earlier run would push the new ones to branch names (plan~1.dxf).
  rm -rf "${out:?}/$version"
  mkdir -p "$out/$version"
  "$cli" convert --dxf "$version" -o "$out/$version" "${drawings[@]}" || status=1
done
echo "Results are in $out (one folder per DXF version)."
exit $status
