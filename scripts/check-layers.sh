#!/usr/bin/env bash
# Holds the includes to the layers of the README's layout table: a folder may include headers of
# its own folder and of the folders listed below it, never of one listed above it, and a folder
# marked "no" in the Qt column includes no Qt header. Every folder of the product whose
# CMakeLists.txt adds a library has its row, and adds only that one, so that a new target cannot
# slip in unlisted or share a layer's rules with another. Prints every breach and fails when there
# is one. Run from anywhere inside the clone; `make test` runs it.
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
    if [ "${qt[$o]}" = no ]; then
        while IFS= read -r line; do
            echo "$f: includes ${line#\#include }, a Qt header, but $o/ is a Qt-free layer"
            status=1
        done < <(grep -E '^#include <Q' "$f" || true)
    fi
done

# The tests, benchmarks and fuzz targets build their own programs and helpers beside the layers.
while IFS= read -r cmake; do
    folder=$(dirname "$cmake")
    case $folder in .|tests|tests/*|bench|bench/*|fuzz|fuzz/*) continue ;; esac
    libraries=$(grep -cE '^[[:space:]]*add_library\(' "$cmake" || true)
    [ "$libraries" -gt 0 ] || continue
    if [ -z "${level[$folder]:-}" ]; then
        echo "$cmake: adds a library, but $folder/ has no row in the layout table of README.md"
        status=1
    elif [ "$libraries" -gt 1 ]; then
        echo "$cmake: adds $libraries libraries; a folder is one target"
        status=1
    fi
done < <(git ls-files 'CMakeLists.txt' '*/CMakeLists.txt')

[ $status -eq 0 ] && echo "check-layers: ${#rows[@]} layers, one target each, every include points down"
exit $status
