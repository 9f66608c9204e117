#!/usr/bin/env bash
# The manual page names every option that the program's own usage text names.
#     ManPageOptions.sh PATH/TO/tonrik PATH/TO/tonrik.1
set -euo pipefail
program=$1
page=$2
status=0
for option in $("$program" --help 2>/dev/null | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    # The page writes each hyphen as \-.
    escaped=${option//-/\\-}
    if ! grep -qF -- "$escaped" "$page"; then
        echo "$page lacks $option"
        status=1
    fi
done
exit $status
