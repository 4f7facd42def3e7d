#!/usr/bin/env bash
# Fails when a C++ source file is not formatted as .clang-format describes.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "check_format: every source file is formatted"
