#!/usr/bin/env bash
# Start-up speed of the window on the demo game, under a virtual display.
# From the process's start: the report's text on the screen (target 60 ms)
# and the report complete with its pictures (target 100 ms), as the window
# tells them with ZORV_TIMING=1 and as seen from outside (the saved report
# appearing). Then checks that the idle window uses no processor time.
# With a reference program (say, zorv built from an earlier commit) the two
# take turns, run by run, and the reference's figures are shown beside ours.
# Usage: bench/window/run.sh [RUNS [REFERENCE_ZORV]]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-10}
reference=${2:+$(realpath "$2")}

if [[ -z ${ZORV_IN_XVFB:-} ]]; then
  scripts/build.sh >/dev/null
  exec env ZORV_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r demo "$work/demo"
rm -f "$work/demo/zorv" "$work/demo/zorv-report" "$work/demo/Zorv.Log.txt"
ln -s "$PWD/build/apps/zorv/zorv" "$work/demo/zorv"
[[ -n $reference ]] && ln -s "$reference" "$work/demo/zorv-reference"
mkdir -p "$work/demo/saved"
printf 'SavePath=%s/demo/saved/\r\n' "$work" >>"$work/demo/Zorv.inf"
cd "$work/demo"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Wall-clock milliseconds of the window's line for this event.
told_at() { sed -n "s/^zorv: $1 .* at \([0-9]*\)\..* ms wall clock$/\1/p" timing.txt; }
# Processor ticks a process has used (user + system).
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

declare -A text_ms complete_ms saved_ms
idle_ticks=0
# One start of the window; figures go under `label`.
measure() {
  local program=$1 label=$2
  rm -f saved/ZRV_gng.rtf timing.txt
  local start
  start=$(now_ms)
  ZORV_TIMING=1 "./$program" gng 2>timing.txt &
  local viewer=$!
  until [[ -s saved/ZRV_gng.rtf ]]; do
    kill -0 $viewer 2>/dev/null || { echo "$program ended early:" >&2; cat timing.txt >&2; exit 1; }
    sleep 0.002
  done
  saved_ms[$label]+="$(($(now_ms) - start)) "
  until grep -q "report complete" timing.txt; do sleep 0.005; done
  text_ms[$label]+="$(($(told_at "text on screen") - start)) "
  complete_ms[$label]+="$(($(told_at "report complete") - start)) "
  if [[ $label == ours && -z ${idle_measured:-} ]]; then
    # The idle window: nothing should run while nobody touches it.
    idle_measured=1
    sleep 0.5
    local before
    before=$(ticks $viewer)
    sleep 2
    idle_ticks=$(($(ticks $viewer) - before))
  fi
  # Keys go to the window under the pointer (there is no window manager).
  xdotool search --name '^Zorvane$' mousemove --window %1 2 2 key Escape >/dev/null 2>&1 || true
  for ((wait = 0; wait < 100; wait++)); do kill -0 $viewer 2>/dev/null || break; sleep 0.01; done
  kill $viewer 2>/dev/null || true
  wait $viewer || true
}

for ((run = 1; run <= runs; run++)); do
  measure zorv ours
  [[ -n $reference ]] && measure zorv-reference reference
done

stats() {
  printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {printf "median %4d ms, best %4d ms, worst %4d ms", v[int((NR + 1) / 2)], v[1], v[NR]}'
}
median() { printf '%s\n' $1 | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
echo "zorv gng on the demo collection, $runs runs, from process start:"
for label in ours ${reference:+reference}; do
  echo "$label:"
  echo "  text on screen        $(stats ${text_ms[$label]})   (target 60 ms)"
  echo "  report complete       $(stats ${complete_ms[$label]})   (target 100 ms)"
  echo "  saved report on disk  $(stats ${saved_ms[$label]})   (seen from outside)"
done
if [[ -n $reference ]]; then
  for what in text_ms complete_ms; do
    declare -n figures=$what
    awk -v a="$(median "${figures[ours]}")" -v b="$(median "${figures[reference]}")" -v w="${what%_ms}" \
      'BEGIN {printf "  %-8s ours / reference (medians): %.2f\n", w, a / b}'
  done
fi
echo "  idle window: $idle_ticks processor ticks in 2 s (target 0)"
