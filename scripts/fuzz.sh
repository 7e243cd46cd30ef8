#!/usr/bin/env bash
# Builds every libFuzzer target with clang into build-fuzz/ (or $BUILD_DIR) and
# runs each for $FUZZ_SECONDS (10) over its seeds: fuzz/corpus/<name without
# _fuzzer>, else a seeds/ folder beside the target's source, else nothing.
# A *.dict beside the source is passed as the dictionary. New inputs the run
# finds go to a scratch folder, never into the tree; a crashing input is kept
# in $BUILD_DIR/findings.
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
for target in "${targets[@]}"; do
  name=$(basename "$target")
  source=$(find fuzz -name "$name.cpp" -print -quit)
  home=$(dirname "${source:-fuzz/none}")
  seeds=()
  if [[ -d fuzz/corpus/${name%_fuzzer} ]]; then
    seeds=("fuzz/corpus/${name%_fuzzer}")
  elif [[ -d $home/seeds ]]; then
    seeds=("$home/seeds")
  fi
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 -print_final_stats=0)
  dict=$(find "$home" -maxdepth 1 -name '*.dict' -print -quit 2>/dev/null || true)
  [[ -n $dict ]] && options+=(-dict="$dict")
  mkdir -p "$scratch/$name" "$build/findings"
  options+=(-artifact_prefix="$build/findings/$name-")
  echo "== $name over ${seeds[*]:-no seeds} for ${seconds} s"
  if ! "$target" "${options[@]}" "$scratch/$name" "${seeds[@]}" >"$scratch/$name.log" 2>&1; then
    tail -n 60 "$scratch/$name.log" >&2
    echo "$name failed; its log ends above" >&2
    exit 1
  fi
  grep -E '^(INFO: seed corpus|Done|#[0-9]+.*DONE)' "$scratch/$name.log" || true
done
