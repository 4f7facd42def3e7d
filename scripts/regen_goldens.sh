#!/usr/bin/env bash
# Rewrites tests/data/highlight/*.iws.styled from the highlight engine.
#   scripts/regen_goldens.sh [BUILD_DIR]     (default: build)
# Then read every changed file (git diff tests/data/highlight) and check it
# against the colouring rules before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target highlight_goldens
"$build/tests/highlight_goldens" tests/data/highlight/*.iws
git --no-pager diff --stat -- tests/data/highlight || true
