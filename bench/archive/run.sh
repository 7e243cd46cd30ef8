#!/usr/bin/env bash
# What a snapshot inside a snap.zip of 50,000 pictures costs a whole zorv-report
# run, as a front end starts it once per game: the demo collection with its
# snapshots as files, against the same collection whose snapshots live only in
# the archive (one folder down, among 50,000 others). Three rows, medians of
# the wall time, the processor time (every thread's) and the peak memory of a
# run: the run with files; the first run after the archive changed (libzip
# reads it while its listing is made and kept); the runs after it (the kept
# listing is read). BASELINE=path/to/another/zorv-report adds its rows, timed
# in the same runs, turn about.
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
cp -r "$work/files" "$work/archive"
python3 - "$work/archive/pictures" <<'PY'
import os, sys, zipfile
pictures = sys.argv[1]
snaps = sorted(os.listdir(os.path.join(pictures, "snap")))
with zipfile.ZipFile(os.path.join(pictures, "snap.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
    filler = bytes(2000)
    for i in range(50000 - len(snaps)):
        archive.writestr(f"snap/filler{i:05}.png", filler)
    for name in snaps:
        archive.write(os.path.join(pictures, "snap", name), "snap/" + name)
PY
rm -r "$work/archive/pictures/snap"
export XDG_CACHE_HOME="$work/cache"
# Each program is linked into both collections, whose folder it takes for its own.
sources=("$PWD/$build/apps/zorv-report/zorv-report")
[ -n "${BASELINE:-}" ] && sources+=("$(realpath "$BASELINE")")
programs=()
for i in "${!sources[@]}"; do
  ln -s "${sources[$i]}" "$work/files/zorv-report.$i"
  ln -s "${sources[$i]}" "$work/archive/zorv-report.$i"
  programs+=("./zorv-report.$i")
done

# One run of program $1 in folder $2: wall and processor microseconds, peak KiB.
run() {
  local start end
  start=$(date +%s%N)
  (cd "$2" && /usr/bin/time -f '%U %S %M' -o "$work/time" "$1" "$game" >/dev/null)
  end=$(date +%s%N)
  read -r user system kib <"$work/time"
  echo "$(((end - start) / 1000)) $(echo "($user + $system) * 1000000" | bc -l) $kib"
}
# The medians of each column (microseconds, microseconds, KiB) as ms, ms, MiB.
medians() {
  awk '{ for (c = 1; c <= 3; ++c) v[c, NR] = $c }
       function median(c,   n, i, j, t, a) {
         for (i = 1; i <= NR; ++i) a[i] = v[c, i]
         for (i = 2; i <= NR; ++i) for (j = i; j > 1 && a[j - 1] > a[j]; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
         return NR % 2 ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2
       }
       END { printf "%7.1f ms  %7.1f ms processor  %6.1f MiB peak", median(1) / 1000, median(2) / 1000, median(3) / 1024 }'
}

for program in "${programs[@]}"; do
  cmp <(cd "$work/files" && "$program" "$game") <(cd "$work/archive" && "$program" "$game") >/dev/null ||
    { echo "$program: the report from the archive differs from the one from files" >&2; exit 1; }
done
for i in "${!programs[@]}"; do : >"$work/files.$i"; : >"$work/made.$i"; : >"$work/kept.$i"; done
for _ in $(seq "$runs"); do
  for i in "${!programs[@]}"; do
    run "${programs[$i]}" "$work/files" >>"$work/files.$i"
    rm -rf "$XDG_CACHE_HOME"
    run "${programs[$i]}" "$work/archive" >>"$work/made.$i"
    run "${programs[$i]}" "$work/archive" >>"$work/kept.$i"
  done
done
for i in "${!programs[@]}"; do
  echo "${sources[$i]}:"
  printf '  zorv-report %s, snapshot as a file:                 %s\n' "$game" "$(medians <"$work/files.$i")"
  printf '  snapshot in a 50,000-picture snap.zip, first run:  %s\n' "$(medians <"$work/made.$i")"
  printf '  the same, listing kept from an earlier run:        %s\n' "$(medians <"$work/kept.$i")"
done
