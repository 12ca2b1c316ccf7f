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
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

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
