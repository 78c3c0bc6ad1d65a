#!/usr/bin/env bash
# Makes the pictures of docs/ that show conversions: samples/sheets.jww
# converted to DXF 2000 with one layout per drawing frame, rendered with
# ezdxf's drawing add-on (model space and every layout), headless.
#   docs/sheets-model.png, docs/sheets-layout1.png, docs/sheets-layout2.png
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/tools/setup.sh"
bash "$root/tools/install-packages.sh" "$root/tools/docs-packages.txt"
cd "$root"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/release/bin/parvex-cli convert --dxf 2000 --output-space layouts samples/sheets.jww -o "$work"
/usr/bin/python3 tools/render-layouts.py "$work/sheets.dxf" "$work/sheets"
for picture in "$work"/sheets-*.png; do
  cp "$picture" docs/
  echo "docs/$(basename "$picture")"
done
