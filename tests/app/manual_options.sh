#!/usr/bin/env bash
# The exporter's manual page lists exactly the options its --help text lists.
set -euo pipefail
exporter=$1
manual=$2
# Option column of the help text: indented lines that start with a dash, up to the description.
from_help=$("$exporter" --help | sed -n 's/^ \{1,\}\(-[^ ].*\)$/\1/p' | sed 's/  .*//' |
    grep -o -- '--\?[A-Za-z][A-Za-z-]*' | sort -u)
# Option entries of the manual: lines that start with a bold option name.
from_manual=$(grep '^\*-' "$manual" | grep -o -- '\*--\?[A-Za-z][A-Za-z-]*\*' | tr -d '*' | sort -u)
if [ "$from_help" != "$from_manual" ]; then
    echo "--help and the manual list different options:"
    diff <(echo "$from_help") <(echo "$from_manual") | sed 's/^</  only in --help:/; s/^>/  only in the manual:/' | grep only
    exit 1
fi
echo "both list:" $from_help
