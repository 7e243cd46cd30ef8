#!/usr/bin/env bash
# zorv-report --all over the real game list, against single runs of zorv-report
# (one per game) measured in the same go. The index is made by zorv-index from
# the XML game list with history.dat, mameinfo.dat, catver.ini and nplayers.ini.
#   - html for the first 2,000, 4,000 and 8,000 games with one job and two: the
#     time per game must stay the same and two jobs take at most 1/1.7 of one;
#   - the whole list as html (target: under 30 s on two processors; the export's
#     size and a page without pictures, pacman's) and as text, then again with
#     every game's snapshot in a folder and its title screen in a zip archive;
#     peak memory of each;
#   - the whole list's index.html loaded in Chromium (target: under 1 s).
# The machine's load is printed before and after: measure when it is low.
# Usage: bench/export/run.sh [MAME_DATA_FOLDER [SINGLE_RUNS]]
#   MAME_DATA_FOLDER holds listxml-0.251.xml.xz, history.dat, mameinfo.dat, catver.ini, nplayers.ini.
set -euo pipefail
cd "$(dirname "$0")/../.."
data=${1:-/work/shared/testdata/mame}
single_runs=${2:-100}
build=${BUILD_DIR:-build}
project=$PWD
cmake --build "$build" --target zorv-report zorv-index >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/full/datafiles"
cp "$data/history.dat" "$data/mameinfo.dat" "$work/full/datafiles/"
xz -dc "$data/listxml-0.251.xml.xz" >"$work/list.xml"
"$build/tools/zorv-index/zorv-index" --listxml "$work/list.xml" --history "$work/full/datafiles/history.dat" \
  --mameinfo "$work/full/datafiles/mameinfo.dat" --catver "$data/catver.ini" --nplayers "$data/nplayers.ini" \
  --output "$work/full/datafiles/index" 2>/dev/null
rm "$work/list.xml"

# collection NAME GAMES: the first GAMES records of the full index, with its lists.
collection() {
  mkdir -p "$work/$1/datafiles"
  ln -sf "$work/full/datafiles/history.dat" "$work/full/datafiles/mameinfo.dat" "$work/$1/datafiles/"
  awk -v n="$2" '/^\[Manufacturer\]$/ { lists = 1 } lists || NR <= n' "$work/full/datafiles/index" \
    >"$work/$1/datafiles/index"
  ln -sf "$project/$build/apps/zorv-report/zorv-report" "$work/$1/zorv-report"
}
ln -sf "$project/$build/apps/zorv-report/zorv-report" "$work/full/zorv-report"

# timed FOLDER ARGUMENTS...: "seconds peak_kb" of an export into a new folder,
# FOLDER/out.N, left in place: a file system slows down making files just after
# thousands were deleted, which a collector's export never follows.
runs=0
timed() {
  local folder=$1
  shift
  runs=$((runs + 1))
  last_out="$folder/out.$runs"
  (cd "$folder" && /usr/bin/time -f '%e %M' -o time.txt ./zorv-report --all --output-dir "$last_out" "$@" 2>/dev/null ||
    true)
  cat "$folder/time.txt"
}

echo "machine: $(nproc) processors, load average $(cut -d' ' -f1-3 /proc/loadavg) before"
games=$(grep -ac '^[^[;][^;]*;B' "$work/full/datafiles/index" || true)

# Single runs, one process per game, sampled across the list: the reference.
mapfile -t sample < <(grep -ao '^[^[;][^;]*;B' "$work/full/datafiles/index" | sed 's/;B$//' |
  awk -v n="$single_runs" -v total="$games" \
    'BEGIN { step = int(total / n); if (step < 1) step = 1 } (NR - 1) % step == 0 && count < n { print; count++ }')
start=$(date +%s.%N)
for rom in "${sample[@]}"; do (cd "$work/full" && ./zorv-report --format html "$rom" >/dev/null); done
single=$(echo "($(date +%s.%N) - $start) / ${#sample[@]}" | bc -l)
printf 'single runs (%d sampled):      %.1f ms a game; all %d games one by one: %.0f s\n' \
  "${#sample[@]}" "$(echo "$single * 1000" | bc -l)" "$games" "$(echo "$single * $games" | bc -l)"

echo "html, growing collections:"
for n in 2000 4000 8000; do
  collection "first$n" "$n"
  timed "$work/first$n" --format html --jobs 1 >"$work/times.txt"
  read -r one _ <"$work/times.txt"
  timed "$work/first$n" --format html --jobs 2 >"$work/times.txt"
  read -r two _ <"$work/times.txt"
  printf '  %5d games: --jobs 1 %5.2f s (%.0f us a game), --jobs 2 %5.2f s (%.0f us a game), %.2fx faster\n' \
    "$n" "$one" "$(echo "$one * 1000000 / $n" | bc -l)" "$two" "$(echo "$two * 1000000 / $n" | bc -l)" \
    "$(echo "$one / $two" | bc -l)"
done

report_full() {
  timed "$work/full" "$@" >"$work/times.txt"
  read -r seconds peak <"$work/times.txt"
  printf '  %-28s %6.1f s, %5.0f games/s, %4.0fx the single runs; peak memory %d MB\n' "$*" "$seconds" \
    "$(echo "$games / $seconds" | bc -l)" "$(echo "$single * $games / $seconds" | bc -l)" "$((peak / 1024))"
}
echo "the whole list, $games games:"
report_full --format html --jobs 1
report_full --format html --jobs 2
# size FOLDER: its bytes, then what it takes on the disk (a block or more a file).
size() { echo "$(du -sh --apparent-size "$1" | cut -f1) ($(du -sh "$1" | cut -f1) on the disk)"; }
printf '  html export without pictures: %s; a page without pictures, pacman.html: %d bytes\n' \
  "$(size "$last_out")" "$(stat -c %s "$last_out/pacman.html")"
report_full --format text --jobs 2
echo "  text export: $(size "$last_out")"

# Every game's snapshot as a file (hard links to one demo picture) and its title
# screen in titles.zip: pictures from folders and from an archive.
grep -ao '^[^[;][^;]*;B' "$work/full/datafiles/index" | sed 's/;B$//' >"$work/names.txt"
/usr/bin/python3 - "$work/names.txt" "$project/demo/pictures" "$work/full" <<'EOF'
import os, sys, zipfile
names, pictures, folder = open(sys.argv[1], "rb").read().split(), sys.argv[2], sys.argv[3]
os.mkdir(f"{folder}/snap")
snap = f"{folder}/snap.png"
open(snap, "wb").write(open(f"{pictures}/snap/gng.png", "rb").read())
title = open(f"{pictures}/snap/starfort.png", "rb").read()
with zipfile.ZipFile(f"{folder}/titles.zip", "w", zipfile.ZIP_STORED) as archive:
    for name in names:
        os.link(snap, f"{folder}/snap/".encode() + name + b".png")
        archive.writestr("titles/" + name.decode("latin-1") + ".png", title)
EOF
printf 'SnapPath=%s/snap/\r\nTitlesPath=%s/titles.zip\r\n' "$work/full" "$work/full" >"$work/full/Zorv.inf"
echo "the whole list with a snapshot file and a title in titles.zip for every game:"
XDG_CACHE_HOME="$work/cache" report_full --format html --jobs 2
echo "  html export: $(size "$last_out")"

if /usr/bin/python3 -c 'import selenium' 2>/dev/null && command -v chromium >/dev/null; then
  /usr/bin/python3 - "$last_out/index.html" "$work/profile" <<'EOF'
import sys
from pathlib import Path
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", "--no-first-run", f"--user-data-dir={sys.argv[2]}"):
    options.add_argument(flag)
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
times = []
for _ in range(5):
    driver.get("about:blank")
    driver.get(Path(sys.argv[1]).as_uri())
    times.append(driver.execute_script("return performance.getEntriesByType('navigation')[0].domContentLoadedEventEnd"))
driver.quit()
print(f"index.html in Chromium: rows drawn {min(times):.0f} ms after the page was asked for (best of 5; median "
      f"{sorted(times)[2]:.0f} ms)")
EOF
fi
echo "machine: load average $(cut -d' ' -f1-3 /proc/loadavg) after"
