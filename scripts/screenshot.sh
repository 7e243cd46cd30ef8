#!/usr/bin/env bash
# Opens demo games' windows on a virtual display and saves pictures of them:
# docs/demo.png (or the file given) shows gng's sheet at the window's configured
# size, paged down to its flyer and title screen; docs/demo-narrowed.png (beside it) shows starfort's
# window, narrowed to its transparent cabinet as the decoder does with the
# window behind a transparent picture.
# Needs xvfb, xdotool and ImageMagick (scripts/setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/demo.png}")
narrowed=${out%.png}-narrowed.png
build=${BUILD_DIR:-build}
# The window's area as ImageMagick's import sees it on the virtual display.
grab() { import -window "$(xdotool search --name "^$2\$" | head -n 1)" "$1"; }

if [[ -z ${ZORV_IN_XVFB:-} ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" --target zorv
  exec env ZORV_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
ln -sfn "$PWD/$build/apps/zorv/zorv" demo/zorv
cd demo

# shoot ROM FILE [KEY...]: opens the game's window, presses the keys (the arrow
# keys scroll, Left and Right page), saves the window as FILE and closes it.
shoot() {
  local rom=$1 file=$2
  shift 2
  ./zorv "$rom" &
  viewer=$!
  trap 'kill $viewer 2>/dev/null || true' EXIT
  timeout 10 xdotool search --sync --name '^Zorvane$' >/dev/null
  # The pictures follow the text; give them time to be in place.
  sleep "${ZORV_SCREENSHOT_DELAY:-1}"
  # Keys go to the window under the pointer (there is no window manager).
  for key in "$@"; do
    xdotool search --name '^Zorvane$' mousemove --window %1 2 2 key "$key"
  done
  sleep 0.3
  grab "$file" Zorvane
  xdotool search --name '^Zorvane$' mousemove --window %1 2 2 key Escape || true
  for ((i = 0; i < 100; i++)); do kill -0 $viewer 2>/dev/null || break; sleep 0.01; done
  kill $viewer 2>/dev/null || true
  wait $viewer || true
  trap - EXIT
}

shoot gng "$out" Right
shoot starfort "$narrowed"
echo "screenshots: $out $narrowed"
