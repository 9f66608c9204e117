#!/usr/bin/env bash
# Holds the includes to the layers of the README's layout table: a folder may include headers of
# its own folder and of the folders listed below it, never of one listed above it, and a folder
# marked "no" in the Qt column includes no Qt header. Prints every breach and fails when there is
# one. Run from anywhere inside the clone; `make test` runs it.
set -euo pipefail
cd "$(dirname "$0")/.."

# The layout rows, top-down as the README lists them: | `folder/` | what it holds | yes/no |
mapfile -t rows < <(sed -n 's/^| `\([a-z/]*\)\/` | .* | \(yes\|no\) |$/\1 \2/p' README.md)
if [ ${#rows[@]} -eq 0 ]; then
    echo "check-layers: no layout table found in README.md" >&2
    exit 1
fi

declare -A level qt
n=${#rows[@]}
for i in "${!rows[@]}"; do
    read -r folder uses_qt <<<"${rows[$i]}"
    level[$folder]=$((n - i)) # the bottom row is level 1
    qt[$folder]=$uses_qt
done

# The layer a file belongs to: the longest listed folder its path starts with.
owner_of() {
    local path=$1 best=""
    for folder in "${!level[@]}"; do
        case $path in
        "$folder"/*) [ ${#folder} -gt ${#best} ] && best=$folder ;;
        esac
    done
    printf '%s' "$best"
}

files=$(git ls-files '*.h' '*.cpp')
declare -A header_owner
for f in $files; do
    o=$(owner_of "$f")
    [ -n "$o" ] || continue
    case $f in *.h) header_owner[$(basename "$f")]=$o ;; esac
done

status=0
for f in $files; do
    o=$(owner_of "$f")
    [ -n "$o" ] || continue
    while IFS= read -r line; do
        inc=${line#*\"}
        inc=${inc%%\"*}
        target=${header_owner[$(basename "$inc")]:-}
        [ -n "$target" ] || continue
        if [ "${level[$target]}" -gt "${level[$o]}" ]; then
            echo "$f: includes \"$inc\" from $target/, a layer above $o/"
            status=1
        fi
    done < <(grep -E '^#include "' "$f" || true)
    if [ "${qt[$o]}" = no ] && grep -qE '^#include <Q' "$f"; then
        echo "$f: includes a Qt header, but $o/ is a Qt-free layer"
        status=1
    fi
done

[ $status -eq 0 ] && echo "check-layers: ${#rows[@]} layers, every include points down"
exit $status
