#!/usr/bin/env bash
# Converts every drawing under samples/ and ../shared/corpus (or under the
# folders given as arguments) to DXF R12, 2000 and 2007 twice: with the
# Linux build (build/release/bin/parvex-cli) and with the Windows build
# (build/windows/bin/parvex-cli.exe) under Wine, and compares the results
# byte for byte. Exits non-zero when any file differs, when a drawing
# converts on one side only, or when nothing was compared.
#
# Both runs read the very same copies of the drawings, with the same
# SOURCE_DATE_EPOCH and time zone (TZ, default Asia/Tokyo). A DXF header
# carries the source's creation and write times. Wine reports a file's
# write time as its creation time, in steps of 100 ns, where Linux reports
# the real creation time in nanoseconds; so every copy is made until its
# creation time is a whole number of 100 ns, and its write time is then set
# to that same moment. Both builds then see the same two times.
#
# Build both first: bash tools/setup.sh and bash tools/build-windows.sh.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
linux_cli=$root/build/release/bin/parvex-cli
windows_cli=$root/build/windows/bin/parvex-cli.exe
for program in "$linux_cli" "$windows_cli"; do
  if [[ ! -f $program ]]; then
    echo "compare-windows-build.sh: $program is missing (build it first)" >&2
    exit 2
  fi
done

folders=("$@")
if ((${#folders[@]} == 0)); then
  folders=(samples)
  [[ -d ../shared/corpus ]] && folders+=(../shared/corpus)
fi

export TZ=${TZ:-Asia/Tokyo}
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1700000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src"

# Creation time of $1 as SECONDS.NANOSECONDS.
creation_time() {
  local seconds text fraction
  seconds=$(stat -c %W "$1")
  text=$(stat -c %w "$1")
  fraction=${text#*.}
  fraction=${fraction%% *}
  echo "$seconds.$fraction"
}

# Copies $1 to $2 so that its creation and write times agree to the
# nanosecond and are whole steps of 100 ns (see above).
copy_with_shared_times() {
  local attempt created
  for ((attempt = 0; attempt < 5000; ++attempt)); do
    cp "$1" "$2"
    created=$(creation_time "$2")
    if [[ $created == *.*00 && $(stat -c %W "$2") != 0 ]]; then
      touch -a -m -d "@$created" "$2"
      return 0
    fi
    rm -f "$2"
  done
  echo "compare-windows-build.sh: cannot give $2 a creation time of whole 100 ns steps" >&2
  return 1
}

sources=()
while IFS= read -r -d '' file; do
  name=${file##*/}
  target=$work/src/$name
  n=1
  while [[ -e $target ]]; do
    target=$work/src/$n-$name
    n=$((n + 1))
  done
  copy_with_shared_times "$file" "$target"
  sources+=("$target")
done < <(find "${folders[@]}" -type f \( -iname '*.jww' -o -iname '*.jws' -o -iname '*.jwc' -o -iname '*.jwk' \) -print0 | sort -z)
echo "${#sources[@]} drawings from ${folders[*]}"

status=0
compared=0
for version in r12 2000 2007; do
  mkdir -p "$work/linux/$version" "$work/windows/$version"
  # A drawing that does not convert fails on both sides alike; the exit
  # status of the runs is compared through the files they leave.
  "$linux_cli" convert --dxf "$version" -o "$work/linux/$version" "${sources[@]}" \
    >"$work/linux-$version.log" 2>&1 || true
  bash "$root/tools/wine-run.sh" "$windows_cli" convert --dxf "$version" -o "$work/windows/$version" \
    "${sources[@]}" >"$work/windows-$version.log" 2>&1 || true
  while IFS= read -r -d '' file; do
    name=${file##*/}
    other=$work/windows/$version/$name
    if [[ ! -f $other ]]; then
      echo "$version/$name: written by the Linux build only"
      status=1
    elif ! cmp -s "$file" "$other"; then
      echo "$version/$name: differs"
      cmp "$file" "$other" | head -1 || true
      status=1
    fi
    compared=$((compared + 1))
  done < <(find "$work/linux/$version" -type f -print0 | sort -z)
  while IFS= read -r -d '' file; do
    name=${file##*/}
    if [[ ! -f $work/linux/$version/$name ]]; then
      echo "$version/$name: written by the Windows build only"
      status=1
    fi
  done < <(find "$work/windows/$version" -type f -print0 | sort -z)
  failed=$(grep -c ': failed: ' "$work/linux-$version.log" || true)
  echo "DXF $version: $(find "$work/linux/$version" -type f | wc -l) files from the Linux build, $(find "$work/windows/$version" -type f | wc -l) from the Windows build; $failed drawings failed on Linux"
done
if ((compared == 0)); then
  echo "Nothing was compared."
  status=1
fi
if ((status == 0)); then
  echo "$compared files compared: the Windows build's DXF files are byte for byte the Linux build's."
else
  echo "$compared files compared: differences found."
  for log in "$work"/*.log; do
    echo "--- ${log##*/}"
    cat "$log"
  done
fi
exit $status
