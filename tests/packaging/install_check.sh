#!/usr/bin/env bash
# Installs the build (cmake --install BUILD) into a scratch folder and checks
# what a Linux desktop needs of it: the three programs beside share/parvex
# (which makes them keep Parvex.dat per user), the manual page, a desktop
# entry that starts Parvex with the files and names exactly the MIME types
# that the shared MIME database file defines, and that database file giving
# .jww, .jws, .jwc and .jwk (any case) to those types.
#   install_check.sh BUILD_FOLDER
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "install_check: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/usr" >/dev/null
for program in Parvex ParvexSub parvex-cli; do
  [[ -x $work/usr/bin/$program ]] || fail "bin/$program is missing"
done
[[ -d $work/usr/share/parvex ]] || fail "share/parvex is missing"
[[ -f $work/usr/share/man/man1/parvex-cli.1.gz || -f $work/usr/share/man/man1/parvex-cli.1 ]] ||
  fail "the manual page is missing"
[[ -f $work/usr/share/icons/hicolor/scalable/apps/parvex.svg ]] || fail "the icon is missing"

desktop=$work/usr/share/applications/parvex.desktop
[[ -f $desktop ]] || fail "parvex.desktop is missing"
grep -qx 'Exec=Parvex %F' "$desktop" || fail "the desktop entry does not start Parvex with the files"
grep -qx 'Icon=parvex' "$desktop" || fail "the desktop entry names another icon"
listed=$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' '\n' | sed '/^$/d' | sort)
defined=$(grep -o '<mime-type type="[^"]*"' "$work/usr/share/mime/packages/parvex.xml" | cut -d'"' -f2 | sort)
[[ $listed == "$defined" ]] || fail "the desktop entry lists [$listed], the MIME file defines [$defined]"

if command -v update-mime-database >/dev/null; then
  update-mime-database "$work/usr/share/mime" || fail "update-mime-database refused the MIME file"
  for kind in jww jws jwc jwk; do
    grep -q "application/x-$kind:\*\.$kind" "$work/usr/share/mime/globs2" ||
      fail "*.$kind is not given to application/x-$kind"
  done
fi
echo "install_check: the installed files are complete"
