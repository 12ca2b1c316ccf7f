#!/usr/bin/env bash
# Sets up, builds and starts qavplus on a demonstration data folder:
#   demo-run/pgms  the program folder (qav.cfg points at the demo folder)
#   demo-run/demo  the data folder, created once with qavdemo (delete it to start afresh)
# A demonstration central server (scripts/demo-server.sh) runs while qavplus runs, and the demo
# company is configured to communicate with it: "Comunicação" in the menu.
# Without a display ($DISPLAY and $WAYLAND_DISPLAY empty) the program runs under xvfb-run.
#   scripts/run-demo.sh [--produtos N] [--clientes N]
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$(pwd)"

# Only the programs the demo runs are built here (qavplus brings qavbd and qavdemo beside itself);
# the tests and benchmarks build with scripts/test.sh.
scripts/setup.sh dev qavplus qavtool

mkdir -p demo-run/pgms
if [ ! -d demo-run/demo ]; then
  build/dev/tools/qavdemo/qavdemo demo-run/pgms demo "$@"
else
  echo "run-demo: using the existing demo-run/demo (remove it to generate it again)"
fi

qavplus="$repo/build/dev/app/qavplus"
if [ ! -x "$qavplus" ]; then
  echo "run-demo: $qavplus does not exist yet: the demo folder is ready in demo-run/demo," >&2
  echo "run-demo: start qavplus with demo-run/pgms as its working folder once it is built." >&2
  exit 1
fi

if server_env="$(scripts/demo-server.sh start demo-run/demo)"; then
  eval "$server_env"
  trap '"$repo/scripts/demo-server.sh" stop' EXIT
  echo "run-demo: demonstration server on 127.0.0.1:$QAV_TEST_PGPORT, database qavdemo"
else
  echo "run-demo: the demonstration server did not start; the communication run will fail to connect" >&2
fi

cd demo-run/pgms
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run-demo: no display found; running qavplus under xvfb-run -a (nothing will be visible)"
  xvfb-run -a "$qavplus"
else
  "$qavplus"
fi
