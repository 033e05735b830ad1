#!/usr/bin/env bash
# Every text the program shows has a reviewed translation in every catalog, each translation
# keeps its message's placeholders, line breaks and shortcut letter, and no catalog keeps texts
# the program no longer shows.
# Usage: catalogs_complete.sh TEMPLATE.pot CATALOG.po...
set -u
template=$1
shift
status=0
for catalog in "$@"; do
    if ! msgcmp "$catalog" "$template"; then
        echo "$catalog: the texts above have no translation (or one marked fuzzy)"
        status=1
    fi
    if ! msgcmp --use-untranslated "$template" "$catalog"; then
        echo "$catalog: the texts above are no longer shown; remove them"
        status=1
    fi
    if ! msgfmt --check-format --check-accelerators='&' -o /dev/null "$catalog"; then
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "$# catalogs translate every shown text"
exit "$status"
