#!/bin/sh
# catalogue_check.sh LUPDATE SOURCE_DIR: the English catalogue holds every
# text of the code, translated, and nothing else: lupdate run on the sources
# leaves it as it is committed, with no unfinished or vanished entry.
set -eu
lupdate=$1
top=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$top/translations/tolan_en.ts" "$work/tolan_en.ts"
cd "$top"
"$lupdate" -silent -locations none -no-obsolete -source-language ja -target-language en \
    app cli engine output platform shell window -ts "$work/tolan_en.ts" 2>/dev/null
if grep -n -E 'type="(unfinished|vanished|obsolete)"' "$work/tolan_en.ts"; then
    echo "texts without an English translation; run scripts/translations and translate them" >&2
    exit 1
fi
if ! diff -u "$top/translations/tolan_en.ts" "$work/tolan_en.ts"; then
    echo "the catalogue is not up to date; run scripts/translations and commit it" >&2
    exit 1
fi
