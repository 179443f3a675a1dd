#!/usr/bin/env bash
# Builds the wizard and saves a picture of each step under Xvfb into
# build/screenshots/, and fails when a step was not reached.
#   (default) [standard|mini]  the real road: a fresh stand-in installation
#           under build/screenshots/installation, a copy of the sample
#           (standard by default), the real check and upgrade runs on the
#           local server; pictures real*.png.
#   --demo  walks the window with demonstration stages instead (no server);
#           pictures step*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja > /dev/null
mkdir -p build/screenshots
if [[ "${1:-}" == "--demo" ]]; then
    cmake --build build --target wizard_screens -j4
    timeout 300 xvfb-run -a -s "-screen 0 1280x900x24" build/bin/wizard_screens build/screenshots
else
    [[ "${1:-}" == "--real" ]] && shift
    cmake --build build --target wizard_screens standin samples -j4
    rm -rf build/screenshots/installation build/screenshots/source
    # shellcheck disable=SC1091
    source <(build/bin/standin build/screenshots/installation)
    sample="${1:-standard}"
    mkdir -p build/screenshots/source
    cp "build/samples/$sample/$sample.ais" "build/samples/$sample/system.mda" build/screenshots/source/
    timeout 300 xvfb-run -a -s "-screen 0 1280x900x24" \
        build/bin/wizard_screens --real build/screenshots "build/screenshots/source/$sample.ais" A01
fi
ls build/screenshots
