#!/usr/bin/env bash
# Rebuilds the demo's game index (datafiles/index) from the demo's game list,
# history.dat, mameinfo.dat, catver.ini and nplayers.ini with the built tool.
set -euo pipefail
demo="$(cd "$(dirname "$0")" && pwd)"
tool=${ZORV_INDEX_TOOL:-$demo/../build/tools/zorv-index/zorv-index}
if [[ ! -x $tool ]]; then
  echo "make-index.sh: $tool not found; build first (scripts/build.sh)" >&2
  exit 1
fi
roms=()
[[ -d $demo/roms ]] && roms=(--roms "$demo/roms")
"$tool" --listxml "$demo/gamelist.xml" \
  --history "$demo/datafiles/history.dat" \
  --mameinfo "$demo/datafiles/mameinfo.dat" \
  --catver "$demo/catver.ini" \
  --nplayers "$demo/nplayers.ini" \
  "${roms[@]}" \
  --output "$demo/datafiles/index"
