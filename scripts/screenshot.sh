#!/usr/bin/env bash
# Opens the demo game's window on a virtual display and saves a picture of it
# as docs/demo.png (or the file given). Needs xvfb and xdotool (scripts/setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/demo.png}")
scripts/build.sh
ln -sfn "$PWD/build/apps/zorv/zorv" demo/zorv
grab="$PWD/build/tests/qt/zorv-screen-grab"

if [[ -z ${ZORV_IN_XVFB:-} ]]; then
  exec env ZORV_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

cd demo
# A game whose shown pictures are opaque: a transparent PNG is blended over the
# window itself, which then shrinks to the picture's size, as users of the
# original program know it.
./zorv starfort /nocabinet &
viewer=$!
trap 'kill $viewer 2>/dev/null || true' EXIT
timeout 10 xdotool search --sync --name '^Zorvane$' >/dev/null
# The pictures follow the text; give them time to be in place.
sleep "${ZORV_SCREENSHOT_DELAY:-1}"
"$grab" "$out" Zorvane
xdotool key Escape
wait $viewer || true
trap - EXIT
echo "screenshot: $out"
