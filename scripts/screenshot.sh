#!/usr/bin/env bash
# Opens the demo game's window on a virtual display and saves a picture of it
# as docs/demo.png (or the file given). A transparent picture narrows the
# window to that picture's size, as the decoder does with its background; a
# second picture, docs/demo-sheet.png, shows the sheet with the window set
# back to its configured 1024 x 768 pixels and paged down to the pictures.
# Needs xvfb, xdotool and ImageMagick (scripts/setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/demo.png}")
sheet=${out%.png}-sheet.png
scripts/build.sh
ln -sfn "$PWD/build/apps/zorv/zorv" demo/zorv
# The window's area as ImageMagick's import sees it on the virtual display.
grab() { import -window "$(xdotool search --name "^$2\$" | head -n 1)" "$1"; }

if [[ -z ${ZORV_IN_XVFB:-} ]]; then
  exec env ZORV_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

cd demo
./zorv gng &
viewer=$!
trap 'kill $viewer 2>/dev/null || true' EXIT
timeout 10 xdotool search --sync --name '^Zorvane$' >/dev/null
# The pictures follow the text; give them time to be in place.
sleep "${ZORV_SCREENSHOT_DELAY:-1}"
grab "$out" Zorvane
# Keys go to the window under the pointer (there is no window manager).
xdotool search --name '^Zorvane$' windowsize %1 1024 768 mousemove --window %1 2 2 key Right key Right
sleep 0.3
grab "$sheet" Zorvane
xdotool search --name '^Zorvane$' mousemove --window %1 2 2 key Escape || true
for ((i = 0; i < 100; i++)); do kill -0 $viewer 2>/dev/null || break; sleep 0.01; done
kill $viewer 2>/dev/null || true
wait $viewer || true
trap - EXIT
echo "screenshots: $out $sheet"
