#!/usr/bin/env bash
# Builds and shows the demo game's sheet. The demo folder becomes the program
# folder through a symbolic link to the program placed in it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ln -sfn "$PWD/build/apps/zorv-report/zorv-report" demo/zorv-report
cd demo
exec ./zorv-report --format text gng
