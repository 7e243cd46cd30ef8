#!/usr/bin/env bash
# zorv-index --mame-ini against the emulator it asks, measured in the same go:
# "mame -listxml" alone into /dev/null, then the whole set-up, which reads that
# same output as it is printed. What the set-up takes beyond the emulator is
# its own (target: at most 3 s): the difference of the two runs, and, within
# the set-up's run, the time from the emulator's end to the set-up's end (the
# emulator is started through a wrapper that notes when it ends). Debian's
# mame and its /etc/mame/mame.ini, an empty home but for a snapshot; the
# collection goes to a temporary folder.
# Usage: bench/index/mame_ini.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-3}
build=${BUILD_DIR:-build}
cmake --build "$build" --target zorv-index >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home/.mame/snap" "$work/collection" "$work/emulator"
cp demo/pictures/snap/gng.png "$work/home/.mame/snap/"
# A link in a folder of its own: that folder is the collection.
ln -s "$PWD/$build/tools/zorv-index/zorv-index" "$work/collection/zorv-index"
printf '#!/bin/sh\n/usr/games/mame "$@"\nstatus=$?\ndate +%%s.%%N > %s\nexit $status\n' "$work/mame-ended" \
  >"$work/emulator/mame"
chmod +x "$work/emulator/mame"

# Seconds of wall-clock and processor time (user + system; the emulator's
# included for the set-up, whose child it is).
measure() {
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >/dev/null 2>&1
  awk '{ printf "%.2f %.2f\n", $1, $2 + $3 }' "$work/time"
}

printf '%-4s %-20s %-20s %-16s %s\n' run 'mame (wall cpu)' 'set-up (wall cpu)' 'beyond (wall cpu)' \
  'after mame ended'
for run in $(seq "$runs"); do
  read -r mame_wall mame_cpu < <(measure /usr/games/mame -listxml)
  rm -rf "$work/collection/datafiles" "$work/collection/Zorv.inf"
  read -r tool_wall tool_cpu < <(cd "$work" && PATH="$work/emulator:$PATH" HOME="$work/home" \
    measure "$work/collection/zorv-index" --mame-ini && date +%s.%N >"$work/setup-ended")
  tail=$(echo "$(cat "$work/setup-ended") - $(cat "$work/mame-ended")" | bc -l)
  printf '%-4s %-20s %-20s %-16s %.2f\n' "$run" "$mame_wall $mame_cpu" "$tool_wall $tool_cpu" \
    "$(echo "$tool_wall - $mame_wall" | bc -l) $(echo "$tool_cpu - $mame_cpu" | bc -l)" "$tail"
done
echo "games: $(grep -ac '^[^[;][^;]*;B' "$work/collection/datafiles/index")"
uptime
