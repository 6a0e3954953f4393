#!/bin/bash
# The message catalogue is complete and sound:
#  - every source file that uses _() or N_() is listed in POTFILES.in;
#  - the committed template holds exactly the texts the code passes through the catalogue
#    (`make pot` renews it);
#  - every language of LINGUAS translates every text, nothing fuzzy, msgfmt --check clean
#    (format directives, one mnemonic underscore where the original has one), and no
#    translation adds markup or entity characters that the original lacks.
# Usage: check.sh SCRATCH_DIR
set -uo pipefail
po=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(dirname "$po")
scratch=$1
mkdir -p "$scratch"
pot=$po/solvo-printer-mgr.pot
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

listed=$(grep -v '^#' "$po/POTFILES.in" | sort)
using=$(cd "$top" && grep -rlE '(^|[^[:alnum:]_])N?_\(' src | grep -vx src/app/i18n.h | sort)
for file in $(comm -13 <(echo "$listed") <(echo "$using")); do
  fail "$file uses the catalogue but is missing from po/POTFILES.in"
done
for file in $listed; do
  [ -f "$top/$file" ] || fail "po/POTFILES.in lists $file, which does not exist"
done

if "$po/extract.sh" "$scratch/fresh.pot"; then
  msgcmp --use-untranslated "$pot" "$scratch/fresh.pot" ||
    fail "texts of the code are missing from the template: run 'make pot'"
  msgcmp --use-untranslated "$scratch/fresh.pot" "$pot" ||
    fail "the template holds texts the code no longer has: run 'make pot'"
else
  fail "xgettext failed"
fi

# Counts of '<' and '&' in each msgid and its msgstr (after msgcat has joined the lines).
markup_mismatches() {
  msgcat --no-wrap --no-location "$1" | awk '
    function count(s, c) { return gsub(c, "", s) }
    function flush() {
      if (id != "" && (count(id, "<") != count(str, "<") || count(id, "&") != count(str, "&")))
        print "  " id
      id = ""; str = ""; part = ""
    }
    /^msgid /  { flush(); part = "id";  sub(/^msgid /, "");  id = $0; next }
    /^msgstr / { part = "str"; sub(/^msgstr /, ""); str = $0; next }
    /^"/       { if (part == "id") id = id $0; else if (part == "str") str = str $0; next }
    { part = "" }
    END { flush() }'
}

while read -r lang; do
  [ -n "$lang" ] || continue
  file=$po/$lang.po
  msgfmt --check --check-accelerators=_ --output-file="$scratch/$lang.mo" "$file" ||
    fail "$lang.po: msgfmt --check"
  msgcmp "$file" "$pot" || fail "$lang.po: texts untranslated or fuzzy"
  mismatches=$(markup_mismatches "$file")
  [ -z "$mismatches" ] || fail "$lang.po: markup differs from the original in:"$'\n'"$mismatches"
done < "$po/LINGUAS"

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "catalogue complete: $(( $(grep -c "^msgid " "$pot") - 1 )) texts, languages: $(tr "\n" " " < "$po/LINGUAS")"
