#!/usr/bin/env bash
# Speed of the game browser on the full game list of MAME 0.251 (39,372
# machines in the index; the mechanical ones hidden), under a virtual display:
# from the process's start to the list on the screen (target 300 ms),
# and from each key typed into the search to the list showing its result
# (target 50 ms), as the window tells them with ZORV_TIMING=1. The reference,
# measured in the same run, is the same program on a collection without an
# index: the window with its message, nothing to read or list.
# Usage: bench/browse/run.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-5}
list=${ZORV_LISTXML:-/work/shared/testdata/mame/listxml-0.251.xml.xz}
catver=${ZORV_CATVER:-/work/shared/testdata/mame/catver.ini}

if [[ -z ${ZORV_IN_XVFB:-} ]]; then
  scripts/build.sh >/dev/null
  exec env ZORV_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/full/datafiles" "$work/empty"
xz -dc "$list" | build/tools/zorv-index/zorv-index --listxml - --catver "$catver" \
  --output "$work/full/datafiles/index" >/dev/null
ln -s "$PWD/build/apps/zorv/zorv" "$work/full/zorv"
ln -s "$PWD/build/apps/zorv/zorv" "$work/empty/zorv"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Wall-clock milliseconds of the window's last line for this event.
told_at() { sed -n "s/^zorv: $1 in .* ms, at \([0-9]*\)\..* ms wall clock$/\1/p" "$2" | tail -1; }

declare -A shown_ms cpu_ms
keys_ms=""
# One start of the browser on `collection`; with `search`, types it too.
measure() {
  local collection=$1 search=${2:-}
  local timing=$work/timing.txt
  rm -f "$timing"
  local start
  start=$(now_ms)
  ZORV_TIMING=1 "$work/$collection/zorv" --browse 2>"$timing" &
  local browser=$!
  until grep -q "list on screen" "$timing" 2>/dev/null; do
    kill -0 $browser 2>/dev/null || { echo "the browser ended early:" >&2; cat "$timing" >&2; exit 1; }
    sleep 0.005
  done
  shown_ms[$collection]+="$(($(told_at "list on screen" "$timing") - start)) "
  # On a busy machine the wall clock tells the machine's load as much as the
  # program's work: the processor time it took is told beside it.
  cpu_ms[$collection]+="$(awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) * 1000 / hz}' "/proc/$browser/stat") "
  if [[ -n $search ]]; then
    # Keys go to the window under the pointer (there is no window manager).
    xdotool search --name '^Zorvane games$' mousemove --window %1 200 15 click 1 >/dev/null
    for ((i = 0; i < ${#search}; i++)); do
      xdotool type --delay 0 "${search:i:1}"
      until (($(grep -c "search filtered" "$timing") > i)); do sleep 0.005; done
    done
    keys_ms+="$(sed -n 's/^zorv: search filtered in \([0-9.]*\) ms.*/\1/p' "$timing" | tr '\n' ' ')"
  fi
  kill $browser
  wait $browser 2>/dev/null || true
}

for ((run = 1; run <= runs; run++)); do
  measure full "street fighter"
  measure empty
done

stats() {
  printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {printf "median %6.1f ms, best %6.1f ms, worst %6.1f ms", v[int((NR + 1) / 2)], v[1], v[NR]}'
}
median() { printf '%s\n' $1 | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
echo "zorv --browse, $runs runs, from process start to the list (or the message) on the screen:"
machines=$(awk 'BEGIN {RS = "\r\n"} /^\[Manufacturer\]$/ {exit} {n++} END {print n}' "$work/full/datafiles/index")
echo "  0.251 list ($machines machines)  $(stats ${shown_ms[full]})   (target 300 ms)"
echo "  no index (reference)          $(stats ${shown_ms[empty]})"
awk -v a="$(median "${shown_ms[full]}")" -v b="$(median "${shown_ms[empty]}")" \
  'BEGIN {printf "  list / reference (medians): %.2f, the list costs %d ms\n", a / b, a - b}'
echo "processor time of the process to the list on the screen:"
echo "  0.251 list                    $(stats ${cpu_ms[full]})"
echo "  no index (reference)          $(stats ${cpu_ms[empty]})"
echo "each key of \"street fighter\" typed into the search, to the list on the screen:"
echo "  $(stats $keys_ms)   (target 50 ms)"
