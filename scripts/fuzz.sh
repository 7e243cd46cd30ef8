#!/usr/bin/env bash
# Builds every libFuzzer target with clang into build-fuzz/ (or $BUILD_DIR) and
# runs each for $FUZZ_SECONDS (10) over its seeds, as many at once as there are
# processors. Seeds: fuzz/corpus/<name without _fuzzer>, else a seeds/ folder
# beside the target's source, else nothing. A *.dict beside the source is
# passed as the dictionary. New inputs the run finds go to a scratch folder,
# never into the tree; a crashing input is kept in $BUILD_DIR/findings.
# Options given to the script go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-10}

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZORV_WITH_FUZZ=ON -DZORV_WITH_QT=OFF -DZORV_WITH_TESTS=OFF -DZORV_WITH_BENCH=OFF -DZORV_WERROR=ON "$@" >/dev/null
cmake --build "$build" --target fuzzers

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mapfile -t targets < <(find "$build/fuzz" -type f -name '*_fuzzer' -perm -u+x | sort)
((${#targets[@]})) || { echo "no fuzz targets in $build/fuzz" >&2; exit 1; }
mkdir -p "$build/findings"

# One target: its seeds and dictionary found, run for its time; prints what it did, or its log's end.
fuzz_one() {
  local target=$1 name source home dict
  name=$(basename "$target")
  source=$(find fuzz -name "$name.cpp" -print -quit)
  home=$(dirname "${source:-fuzz/none}")
  local seeds=()
  if [[ -d fuzz/corpus/${name%_fuzzer} ]]; then
    seeds=("fuzz/corpus/${name%_fuzzer}")
  elif [[ -d $home/seeds ]]; then
    seeds=("$home/seeds")
  fi
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=0)
  dict=$(find "$home" -maxdepth 1 -name '*.dict' -print -quit 2>/dev/null || true)
  [[ -n $dict ]] && options+=(-dict="$dict")
  options+=(-artifact_prefix="$build/findings/$name-")
  mkdir -p "$scratch/$name"
  if ! "$target" "${options[@]}" "$scratch/$name" "${seeds[@]}" >"$scratch/$name.log" 2>&1; then
    touch "$scratch/$name.failed"
    { tail -n 60 "$scratch/$name.log"; echo "$name failed; its log ends above"; } >&2
    return
  fi
  local summary
  summary=$(grep -E '^(INFO: seed corpus|Done|#[0-9]+.*DONE)' "$scratch/$name.log" || true)
  printf '== %s over %s for %s s\n%s\n' "$name" "${seeds[*]:-no seeds}" "$seconds" "$summary"
}

# As many targets at once as there are processors, each on one; every target runs whatever the others do.
for target in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= $(nproc))); do wait -n || true; done
  fuzz_one "$target" &
done
wait
if compgen -G "$scratch/*.failed" >/dev/null; then
  echo "failed: $(cd "$scratch" && ls -- *.failed | sed 's/\.failed$//' | tr '\n' ' ')" >&2
  exit 1
fi
