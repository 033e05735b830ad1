#!/usr/bin/env bash
# The exporter's bash completion offers its options as its --help lists them, the words an
# option takes, and for a numeric value nothing.
set -uo pipefail
exporter=$1
source "$2"
status=0
while IFS='|' read -r words expected; do
    read -ra COMP_WORDS <<<"$exporter $words"
    [[ $words == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _reelmont_export
    if [ "${COMPREPLY[*]}" != "$expected" ]; then
        echo "reelmont-export $words<Tab> offers \"${COMPREPLY[*]}\", not \"$expected\""
        status=1
    fi
done <<'CASES'
--loo|--loop
--optim|--optimize
-q |standard best
--quality = b|best
-d |
--files-from=- --fps |
CASES
[ "$status" -eq 0 ] && echo "completion offers what the exporter takes"
exit "$status"
