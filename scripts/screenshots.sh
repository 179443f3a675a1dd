#!/usr/bin/env bash
# Builds the wizard and saves a picture of each step under Xvfb into
# build/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja > /dev/null
cmake --build build --target wizard_screens -j4
mkdir -p build/screenshots
xvfb-run -a -s "-screen 0 1280x900x24" build/bin/wizard_screens build/screenshots
ls build/screenshots
