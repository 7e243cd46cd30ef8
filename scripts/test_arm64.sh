#!/usr/bin/env bash
# Cross-builds everything below the Qt code for 64-bit ARM (the layers, zorv-report without Qt,
# zorv-index, the tools and the tests that need no Qt) into build-arm64/ (or $BUILD_DIR) with Debian's
# cross compilers, then runs the tests under qemu-user. The PNG and inflate tests run twice: with the
# processor's kernels and plain. Options given to the script go to cmake. Needs what scripts/setup.sh
# installs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-arm64}

# Programs the tests start themselves (zorv-report, zorv-decode) run under qemu as well: the kernel
# hands ARM programs to it once it is registered with binfmt_misc.
binfmt=/proc/sys/fs/binfmt_misc
if [[ ! -e $binfmt/qemu-aarch64 ]]; then
  [[ -e $binfmt/register ]] || mount -t binfmt_misc binfmt_misc "$binfmt"
  cat /usr/lib/binfmt.d/qemu-aarch64.conf > "$binfmt/register"
fi

# Optimised without debugging information: the build is the slow part.
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DCMAKE_BUILD_TYPE=Release \
  -DZORV_WITH_QT=OFF -DZORV_WITH_BENCH=OFF -DZORV_WERROR=ON "$@" >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
