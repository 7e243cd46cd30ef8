#!/usr/bin/env bash
# What a snapshot inside a snap.zip of 50,000 pictures costs a whole zorv-report
# run, as a front end starts it once per game: the demo collection with its
# snapshots as files, against the same collection whose snapshots live only in
# the archive (one folder down, among 50,000 others). Three figures, medians:
# the run with files; the first run after the archive changed (its listing is
# made and kept); the runs after it (the kept listing is read).
# Usage: bench/archive/run.sh [RUNS] [GAME]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-15}
game=${2:-gng}
build=${BUILD_DIR:-build}
cmake --build "$build" --target zorv-report >/dev/null

work=$(mktemp -d)
trap '[ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
cp -r demo "$work/files"
ln -s "$PWD/$build/apps/zorv-report/zorv-report" "$work/files/zorv-report"
cp -r "$work/files" "$work/archive"
python3 - "$work/archive/pictures" <<'EOF'
import os, sys, zipfile
pictures = sys.argv[1]
snaps = sorted(os.listdir(os.path.join(pictures, "snap")))
with zipfile.ZipFile(os.path.join(pictures, "snap.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
    filler = bytes(2000)
    for i in range(50000 - len(snaps)):
        archive.writestr(f"snap/filler{i:05}.png", filler)
    for name in snaps:
        archive.write(os.path.join(pictures, "snap", name), "snap/" + name)
EOF
rm -r "$work/archive/pictures/snap"
export XDG_CACHE_HOME="$work/cache"

# Milliseconds of one run of zorv-report in folder $1.
run_ms() {
  local start end
  start=$(date +%s%N)
  (cd "$1" && ./zorv-report "$game" >/dev/null)
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) / 1000 }'; }

cmp <(cd "$work/files" && ./zorv-report "$game") <(cd "$work/archive" && ./zorv-report "$game") >/dev/null ||
  { echo "the report from the archive differs from the one from files" >&2; exit 1; }
files=$(for _ in $(seq "$runs"); do run_ms "$work/files"; done | median)
made=$(for _ in $(seq "$runs"); do rm -rf "$XDG_CACHE_HOME"; run_ms "$work/archive"; done | median)
kept=$(for _ in $(seq "$runs"); do run_ms "$work/archive"; done | median)
printf 'zorv-report %s, snapshot as a file:                     %6.1f ms\n' "$game" "$files"
printf 'snapshot in a 50,000-picture snap.zip, listing made:   %6.1f ms (look-up +%.1f ms)\n' "$made" \
  "$(echo "$made - $files" | bc -l)"
printf 'the same, listing kept from an earlier run:            %6.1f ms (look-up +%.1f ms)\n' "$kept" \
  "$(echo "$kept - $files" | bc -l)"
