#!/usr/bin/env bash
# Builds and runs every test: once as shipped, once under the address and
# undefined-behaviour sanitizers; builds the Debian package and has it checked;
# then builds every fuzz target with clang and runs each for a few seconds over
# its seeds. Warnings are errors here. The PNG and inflate tests run again at
# each lower kernel level (ZORV_CPU), as ctest lists them. Last, everything but
# the Qt code is built for 64-bit ARM and its tests run under qemu-user.
# The first build compiles file by file, as a user's does, so that a file that
# misses an include fails there; the later ones compile each target as one unit
# (CMAKE_UNITY_BUILD), which takes a third less time.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
jobs=$(nproc)

scripts/build.sh -DZORV_WERROR=ON
ctest --test-dir build --output-on-failure -j "$jobs"
scripts/check_package.sh

BUILD_DIR=build-sanitize BUILD_TYPE=Debug scripts/build.sh -DZORV_WERROR=ON -DZORV_SANITIZE=ON -DZORV_WITH_BENCH=OFF \
  -DZORV_WITH_QT=ON -DCMAKE_UNITY_BUILD=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

# Each fuzz target briefly: the whole suite stays within its time on two cores.
FUZZ_SECONDS=${FUZZ_SECONDS:-6} scripts/fuzz.sh -DCMAKE_UNITY_BUILD=ON

scripts/test_arm64.sh -DCMAKE_UNITY_BUILD=ON
