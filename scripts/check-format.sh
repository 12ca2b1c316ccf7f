#!/usr/bin/env bash
# Fails when a tracked C++ file is not formatted as the root .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "Formatting: every C++ file follows .clang-format"
