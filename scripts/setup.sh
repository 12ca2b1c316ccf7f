#!/usr/bin/env bash
# Installs what QAV+ needs on Debian or Ubuntu (only the packages that are missing), then configures
# and builds. Safe to run again.
#   scripts/setup.sh [preset] [target...]   preset: dev (default), dev-asan, release
# With targets, only those (and what they need) are built: the demo does not wait for the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
shift || true

packages=(
  build-essential cmake ninja-build pkg-config clang-format ccache lld
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev qt6-translations-l10n
  libsqlite3-dev sqlite3 libpq-dev libzip-dev
  postgresql poppler-utils xvfb xauth fonts-dejavu-core
)
scripts/install-packages.sh "${packages[@]}"

cmake --preset "$preset"
if [ $# -gt 0 ]; then
  cmake --build --preset "$preset" --target "$@"
else
  cmake --build --preset "$preset"
fi
