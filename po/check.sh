#!/bin/bash
# The message catalogue is complete and sound:
#  - every source file that uses _() or N_() is listed in POTFILES.in;
#  - the committed template holds exactly the texts the code passes through the catalogue
#    (`make pot` renews it);
#  - every language of LINGUAS translates every text, nothing fuzzy, msgfmt --check clean
#    (format directives, one mnemonic underscore where the original has one, on a letter),
#    and no translation adds markup or entity characters that the original lacks;
#  - translate-toolkit's pofilter finds nothing with the checks a GTK program's translators run
#    (accelerators, variables, printf, escapes, newlines, brackets), but what pofilter-exceptions
#    lists with its reason;
#  - the desktop entry and the polkit action speak every language of LINGUAS, and the desktop
#    entry passes desktop-file-validate.
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

# One line per translated text (the header aside): msgid TAB msgstr, as the .po writes them,
# lines joined.
pairs() {
  msgcat --no-wrap --no-location "$1" | awk '
    function flush() { if (id != "" && id != "\"\"") print id "\t" str; id = ""; str = ""; part = "" }
    /^msgid /  { flush(); part = "id";  sub(/^msgid /, "");  id = $0; next }
    /^msgstr / { part = "str"; sub(/^msgstr /, ""); str = $0; next }
    /^"/       { if (part == "id") id = id $0; else if (part == "str") str = str $0; next }
    { part = "" }
    END { flush() }'
}

# Texts whose count of '<' or '&' differs between original and translation.
markup_mismatches() {
  awk -F '\t' 'function count(s, c) { return gsub(c, "", s) }
    count($1, "<") != count($2, "<") || count($1, "&") != count($2, "&") { print "  " $1 }'
}

# Mnemonic texts whose translation does not put its one underscore before a letter (in any
# script: Japanese and Chinese write "(_C)" after the word).
misplaced_mnemonics() {
  LC_ALL=C.UTF-8 grep -P '^[^\t]*_[[:alpha:]]' | LC_ALL=C.UTF-8 grep -vP '\t[^\t_]*_\p{L}[^\t_]*$' |
    sed 's/^/  /'
}

# pofilter's findings as "LANG TEST MSGID" lines, less those pofilter-exceptions excuses.
pofilter_findings() {
  local lang=$1 out=$scratch/$1.pofilter.po
  rm -f "$out"
  pofilter --gnome --progress=none --language="$lang" -t accelerators -t variables -t printf \
    -t escapes -t newlines -t brackets "$po/$lang.po" "$out" || echo "$lang pofilter did not run"
  [ -f "$out" ] || return 0
  msgcat --no-wrap "$out" | awk -v lang="$lang" '
    /^# \(pofilter\) / { sub(/^# \(pofilter\) /, ""); sub(/:.*/, ""); tests[n++] = $0; next }
    /^msgid / { sub(/^msgid /, ""); for (i = 0; i < n; i++) print lang "\t" tests[i] "\t" $0; n = 0 }' |
    while IFS=$'\t' read -r l test id; do
      excused "$l" "$test" "$id" || echo "  $l $test: $id"
    done
}

# pofilter-exceptions: LANG (or *) TAB TEST TAB "MSGID" TAB reason.
excused() {
  awk -F '\t' -v lang="$1" -v test="$2" -v id="$3" '
    !/^#/ && NF >= 4 && ($1 == lang || $1 == "*") && $2 == test && $3 == id { found = 1 }
    END { exit !found }' "$po/pofilter-exceptions"
}
while IFS=$'\t' read -r lang test id reason; do
  case $lang in '#'* | '') continue ;; esac
  [ -n "$reason" ] || fail "po/pofilter-exceptions: $lang $test $id gives no reason"
done < "$po/pofilter-exceptions"

# The desktop entry's and the polkit action's own words, in one language.
outside_texts_missing() {
  local lang=$1 key
  for key in Name GenericName Comment Keywords; do
    grep -q "^$key\[$lang\]=." "$top/data/solvo-printer-mgr.desktop" || echo "  desktop entry $key[$lang]"
  done
  for key in description message; do
    grep -q "<$key xml:lang=\"$lang\">[^<]" "$top/data/org.solvo.printer-mgr.policy" ||
      echo "  polkit action <$key xml:lang=\"$lang\">"
  done
}
desktop-file-validate "$top/data/solvo-printer-mgr.desktop" || fail "desktop-file-validate"

while read -r lang; do
  [ -n "$lang" ] || continue
  file=$po/$lang.po
  msgfmt --check --check-accelerators=_ --output-file="$scratch/$lang.mo" "$file" ||
    fail "$lang.po: msgfmt --check"
  msgcmp "$file" "$pot" || fail "$lang.po: texts untranslated or fuzzy"
  pairs "$file" > "$scratch/$lang.pairs"
  mismatches=$(markup_mismatches < "$scratch/$lang.pairs")
  [ -z "$mismatches" ] || fail "$lang.po: markup differs from the original in:"$'\n'"$mismatches"
  misplaced=$(misplaced_mnemonics < "$scratch/$lang.pairs")
  [ -z "$misplaced" ] || fail "$lang.po: mnemonic not on a letter in:"$'\n'"$misplaced"
  findings=$(pofilter_findings "$lang")
  [ -z "$findings" ] || fail "$lang.po: pofilter:"$'\n'"$findings"
  missing=$(outside_texts_missing "$lang")
  [ -z "$missing" ] || fail "$lang is missing from data/:"$'\n'"$missing"
done < "$po/LINGUAS"

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "catalogue complete: $(( $(grep -c "^msgid " "$pot") - 1 )) texts, languages: $(tr "\n" " " < "$po/LINGUAS")"
