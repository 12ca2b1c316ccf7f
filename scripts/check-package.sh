#!/usr/bin/env bash
# Installs the package that scripts/package.sh built, runs each program from /usr/bin as a user
# would, and removes it again. Needs root (or sudo) for apt-get.
set -euo pipefail
cd "$(dirname "$0")/.."
deb="$(ls -t build/package/qavplus_*.deb | head -n 1)"
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "./$deb"
work="$(mktemp -d)"
trap 'rm -rf "$work"; DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get remove -y -qq qavplus' EXIT
[ "$(command -v qavplus)" = /usr/bin/qavplus ]
/usr/bin/qavtool validar cpf 111.444.777-35
if /usr/bin/qavtool validar cpf 111.444.777-36; then
  echo "check-package: an invalid CPF was accepted" >&2
  exit 1
fi
(cd "$work" && /usr/bin/qavdemo pgms)
[ -f "$work/demo/pedidos.tps" ]
/usr/bin/qavtool imprimir --pasta "$work/demo" --pedido 3 --modelo 1 --pdf "$work/pedido3.pdf"
[ -s "$work/pedido3.pdf" ]
QT_QPA_PLATFORM=offscreen /usr/bin/qavplus --version | grep -q '^qavplus '
dpkg -L qavplus | grep -q "^/usr/share/man/man1/qavtool.1.gz$"
[ -f /usr/share/applications/qavplus.desktop ]
echo "check-package: $deb installed and ran"
