#!/usr/bin/env bash
# Lists the objects of the product code (not tests/, bench/ or fuzz/) that live as long as the
# process and hold state: namespace-scope variables, function-local statics and static data
# members. Each should be one only because the platform behind it is one per process, and say so
# in its header. Prints one line per object and the count; changes nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
list=$(git ls-files '*.cpp' '*.h' | grep -v '^tests/\|^bench/\|^fuzz/' | xargs grep -nE \
  '^\s*static [A-Za-z_:<>]+ [a-z_A-Z]+( \{[^}]*\}|\([^)]*\))?;|^\s*static inline [A-Za-z_:<>* ]+ [a-z_A-Z]+|^\s*(constinit |inline )?[A-Za-z_:<>]+ [gs]_[a-zA-Z]+( =|;)|^\s+(volatile )?std::sig_atomic_t [a-z_A-Z]+ =|^\s+QtMessageHandler [a-z_A-Z]+ =' \
  | grep -v 'constexpr\|static const \|^\S*:\s*//' | grep -vE '\([^)]* [^)]*\)|\(\)' || true)
[ -n "$list" ] && printf '%s\n' "$list"
echo "process-wide objects: $(printf '%s' "$list" | grep -c . || true)"
