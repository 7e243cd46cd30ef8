#!/usr/bin/env bash
# A line of 10 MB without a break point in each place the report takes text
# from (the title in the index, the notes, the history entry, the template),
# in turn, on the demo collection under a virtual display: the time from the
# process's start until the report's text is on the screen (target 2 s).
# With a reference program (say, zorv built from an earlier commit) the same
# files are shown by it too; it is given up on after LIMIT seconds (30).
# Usage: bench/window/long_text.sh [REFERENCE_ZORV [LIMIT]]
set -euo pipefail
cd "$(dirname "$0")/../.."
reference=${1:+$(realpath "$1")}
limit=${2:-30}

if [[ -z ${ZORV_IN_XVFB:-} ]]; then
  scripts/build.sh >/dev/null
  exec env ZORV_IN_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# A fresh copy of the demo collection with the long line in `place`.
collection() {
  local place=$1 folder=$work/$1
  cp -r demo "$folder"
  rm -f "$folder/zorv" "$folder/zorv-report" "$folder/Zorv.Log.txt"
  ln -s "$PWD/build/apps/zorv/zorv" "$folder/zorv"
  [[ -n $reference ]] && ln -s "$reference" "$folder/zorv-reference"
  python3 - "$place" "$folder" <<'PY'
import pathlib, re, sys
place, folder = sys.argv[1], pathlib.Path(sys.argv[2])
line = b"x" * 10_000_000
if place == "title":
    index = folder / "datafiles/index"
    index.write_bytes(index.read_bytes().replace(b"gng;BGraves 'n Gargoyles (World);", b"gng;B" + line + b";", 1))
elif place == "notes":
    notes = folder / "notes.txt"
    notes.write_bytes(notes.read_bytes().replace(b"[gng]\r\n", b"[gng]\r\n" + line + b"\r\n", 1))
elif place == "history":
    # The entry of gng starts at offset 168 of history.dat; its length grows by the line.
    history = folder / "datafiles/history.dat"
    data = history.read_bytes()
    at = data.index(b"\r\n", 168) + 2
    history.write_bytes(data[:at] + line + b"\r\n" + data[at:])
    index = folder / "datafiles/index"
    text = index.read_bytes()
    grown = lambda m: b"Q%d,%d" % (int(m[1]), int(m[2]) + len(line) + 2)
    index.write_bytes(re.sub(rb"Q(\d+),(\d+)", grown, text, count=1))
elif place == "template":
    (folder / "Zorv.rtf").write_bytes(b"{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Sans;}}\\f0\\fs22 #TITLE\\par " + line +
                                      b"\\par #HISTORY\\par #MYNOTES\\par}")
PY
}

# Milliseconds from the start of `program` until its text is on the screen,
# and the processor time it used for it (a busy machine stretches the first,
# not the second); "> LIMIT s" when it never gets there.
shown_after() {
  local program=$1
  local start
  start=$(now_ms)
  ZORV_TIMING=1 "./$program" gng 2>timing.txt &
  local viewer=$! shown="" cpu="?"
  while (($(now_ms) - start < limit * 1000)); do
    shown=$(sed -n 's/^zorv: text on screen .* at \([0-9]*\)\..* ms wall clock$/\1/p' timing.txt)
    cpu=$(awk '{print ($14 + $15) * 10}' "/proc/$viewer/stat" 2>/dev/null || echo "?")
    [[ -n $shown ]] && break
    kill -0 $viewer 2>/dev/null || break
    sleep 0.01
  done
  kill $viewer 2>/dev/null || true
  wait $viewer 2>/dev/null || true
  if [[ -n $shown ]]; then echo "$((shown - start)) ms (processor $cpu ms)"; else echo "> $limit s (processor $cpu ms)"; fi
}

echo "a 10 MB line without a break point, zorv gng on the demo collection, from process start to text on screen:"
for place in title notes history template; do
  collection "$place"
  cd "$work/$place"
  line="  $(printf '%-9s' "$place") ours $(shown_after zorv)"
  [[ -n $reference ]] && line+=", reference $(shown_after zorv-reference)"
  echo "$line   (target 2 s)"
  cd - >/dev/null
  rm -rf "${work:?}/$place"
done
