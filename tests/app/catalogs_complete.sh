#!/usr/bin/env bash
# Every text the program shows has a reviewed translation in every catalog, each translation
# keeps its message's placeholders, line breaks and shortcut letter, and no catalog keeps texts
# the program no longer shows.
# Usage: catalogs_complete.sh TEMPLATE.pot CATALOG.po...
set -u
template=$1
shift
status=0
report() { # catalog, what is wrong, entries
    if [ -n "$3" ]; then
        printf '%s: %s\n%s\n\n' "$1" "$2" "$3"
        status=1
    fi
}
for catalog in "$@"; do
    merged=$(msgmerge --quiet --no-fuzzy-matching --no-wrap "$catalog" "$template") || {
        status=1
        continue
    }
    report "$catalog" "shown texts without a translation" \
        "$(msgattrib --untranslated --no-obsolete --no-wrap <<<"$merged" | sed '1,/^$/d')"
    report "$catalog" "translations still marked fuzzy" \
        "$(msgattrib --only-fuzzy --no-obsolete --no-wrap <<<"$merged" | sed '1,/^$/d')"
    report "$catalog" "texts the program no longer shows" \
        "$(msgattrib --only-obsolete --no-wrap <<<"$merged" | sed '1,/^$/d')"
    msgfmt --check-format --check-accelerators='&' -o /dev/null "$catalog" || status=1
done
[ "$status" -eq 0 ] && echo "$# catalogs translate every shown text"
exit "$status"
