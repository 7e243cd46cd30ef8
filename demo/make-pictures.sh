#!/usr/bin/env bash
# Regenerates the demo collection's pictures (demo/pictures/<category>/<rom>.*)
# with the project's own picture tool, which draws them from code. The tool needs
# a build with Qt (for JPEG output): BUILD_DIR names it, build/ by default.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake --build "$build" --target zorv-makepictures
rm -rf demo/pictures
"$build/tools/zorv-makepictures/zorv-makepictures" demo/pictures gng starfort mazemnch tinyrace nightclb
