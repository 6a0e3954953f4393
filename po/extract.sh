#!/bin/bash
# Extracts the texts passed through _() and N_() in the sources of POTFILES.in.
#   extract.sh OUT   writes the template to OUT (used by the catalogue check)
#   extract.sh       renews po/solvo-printer-mgr.pot (kept as it is when only its date would
#                    change) and merges it into every language of LINGUAS (`make pot`)
# Locations name files only, so the template does not change when code merely moves.
set -euo pipefail
po=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(dirname "$po")
pot=$po/solvo-printer-mgr.pot
out=${1:-$pot.new}
version=$(sed -n 's/^project(solvo-printer-mgr VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
xgettext --directory="$top" --files-from=<(grep -v '^#' "$po/POTFILES.in") \
  --from-code=UTF-8 --language=C++ --keyword=_ --keyword=N_ --add-location=file \
  --add-comments=TRANSLATORS: --package-name=solvo-printer-mgr --package-version="$version" \
  --copyright-holder="the solvo-printer-mgr developers" --output="$out"
[ $# -eq 0 ] || exit 0

undated() { grep -v '^"POT-Creation-Date:' "$1"; }
if [ -f "$pot" ] && cmp -s <(undated "$pot") <(undated "$out"); then
  rm "$out"
else
  mv "$out" "$pot"
fi
while read -r lang; do
  msgmerge --quiet --update --backup=none --no-fuzzy-matching "$po/$lang.po" "$pot"
done < "$po/LINGUAS"
