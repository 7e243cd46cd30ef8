#!/usr/bin/env bash
# Builds and opens the demo game's window. The demo folder becomes the program
# folder through a symbolic link to the program placed in it. Esc closes it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ln -sfn "$PWD/build/apps/zorv/zorv" demo/zorv
ln -sfn "$PWD/build/apps/zorv-report/zorv-report" demo/zorv-report
cd demo
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  echo "demo.sh: no display to open the window on; the sheet as text instead" >&2
  exec ./zorv-report --format text gng
fi
exec ./zorv gng
