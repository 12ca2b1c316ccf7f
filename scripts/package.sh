#!/usr/bin/env bash
# Builds the Debian package of QAV+ (qavplus, qavbd, qavtool and qavdemo in /usr/bin, the menu entry,
# AppStream metadata and manual pages) from a Release build, and checks it with lintian when present.
#   scripts/package.sh            the package lands in build/package/qavplus_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."

# What the build needs (scripts/setup.sh's list) and what packaging adds.
packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev libsqlite3-dev libpq-dev libzip-dev
  dpkg-dev fakeroot file go-md2man
)
scripts/install-packages.sh "${packages[@]}"

# Debian's hardening flags (stack protector, fortified functions, read-only relocations). The prefix
# map names this clone's folder; without it, another clone reuses the compiled objects from ccache.
flags() { dpkg-buildflags --get "$1" | sed 's/-ffile-prefix-map=[^ ]*//g; s/-fdebug-prefix-map=[^ ]*//g'; }
cmake --preset package \
  -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)"
cmake --build --preset package
(cd build/package && cpack -G DEB)
deb="$(ls -t build/package/qavplus_*.deb | head -n 1)"
echo "Package: $deb"
if command -v lintian >/dev/null 2>&1; then
  lintian --info "$deb" || true
fi
