#!/usr/bin/env bash
# zorv-report --all over the real game list: games per second of the export
# against single runs of zorv-report, one per game, measured in the same go.
# The index is made by zorv-index from the XML game list with history.dat and
# mameinfo.dat. Targets: the whole list as text in under 30 s, peak memory
# under 500 MB.
# Usage: bench/export/run.sh [MAME_DATA_FOLDER [SINGLE_RUNS]]
#   MAME_DATA_FOLDER holds listxml-0.251.xml.xz, history.dat and mameinfo.dat.
set -euo pipefail
cd "$(dirname "$0")/../.."
data=${1:-/work/shared/testdata/mame}
single_runs=${2:-100}
build=${BUILD_DIR:-build}
cmake --build "$build" --target zorv-report zorv-index >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/datafiles" "$work/out"
cp "$data/history.dat" "$data/mameinfo.dat" "$work/datafiles/"
xz -dc "$data/listxml-0.251.xml.xz" |
  "$build/tools/zorv-index/zorv-index" --listxml - --history "$work/datafiles/history.dat" \
    --mameinfo "$work/datafiles/mameinfo.dat" --output "$work/datafiles/index" 2>/dev/null
ln -s "$PWD/$build/apps/zorv-report/zorv-report" "$work/zorv-report"
cd "$work"

games=$(grep -ac '^[^[;][^;]*;B' datafiles/index || true)
mapfile -t sample < <(grep -ao '^[^[;][^;]*;B' datafiles/index | sed 's/;B$//' | awk -v n="$single_runs" -v total="$games" \
  'BEGIN { step = int(total / n); if (step < 1) step = 1 } (NR - 1) % step == 0 && count < n { print; count++ }')

start=$(date +%s.%N)
for rom in "${sample[@]}"; do ./zorv-report --format text "$rom" >/dev/null; done
single=$(echo "($(date +%s.%N) - $start) / ${#sample[@]}" | bc -l)

/usr/bin/time -f '%e %M' -o time.txt ./zorv-report --all --output-dir out --format text 2>/dev/null || true
read -r export_seconds peak_kb < time.txt
written=$(find out -name '*.txt' | wc -l)

printf 'games in the index:         %d (%d written)\n' "$games" "$written"
printf 'single runs (%d sampled):   %.1f ms per game, %.0f games/s; all games one by one: %.0f s\n' \
  "${#sample[@]}" "$(echo "$single * 1000" | bc -l)" "$(echo "1 / $single" | bc -l)" "$(echo "$single * $games" | bc -l)"
printf 'zorv-report --all (text):   %.1f s, %.0f games/s, %.1fx the single runs; peak memory %d MB\n' \
  "$export_seconds" "$(echo "$games / $export_seconds" | bc -l)" "$(echo "$single * $games / $export_seconds" | bc -l)" \
  "$((peak_kb / 1024))"
