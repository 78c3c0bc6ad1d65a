#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own Wine prefix, so
# that tests of the Windows build (started through CMake's cross-compiling
# emulator) never touch the user's ~/.wine. The prefix is made on first use.
#   tools/wine-run.sh PROGRAM.exe ARGS...
# PARVEX_WINEPREFIX names the prefix (default: build/windows/wine-prefix).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${PARVEX_WINEPREFIX:-$root/build/windows/wine-prefix}
# No debug channels, no Mono or Gecko installer, no window.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
unset DISPLAY WAYLAND_DISPLAY
if ! command -v wine >/dev/null; then
  echo "wine-run.sh: wine is not installed (apt-get install wine64 wine)" >&2
  exit 127
fi
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Several tests may start at once: one makes the prefix, the others wait.
  (
    flock 9
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
      wine wineboot --init >/dev/null 2>&1 || true
      wineserver --wait || true
    fi
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
