#!/usr/bin/env bash
# Non-blank, non-comment lines of .cpp/.h: tests against src/ and resources/.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
    find "$@" \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat |
        awk '/^[[:space:]]*$/ {next} /^[[:space:]]*\/\// {next}
             /^[[:space:]]*\/\*/ {c=1} c {if ($0 ~ /\*\//) c=0; next} {n++} END {print n+0}'
}
code=$(count src resources)
tests=$(count tests)
echo "code $code tests $tests ratio $(awk -v t="$tests" -v c="$code" 'BEGIN {printf "%.2f", t / c}')"
