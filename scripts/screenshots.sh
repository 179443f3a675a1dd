#!/usr/bin/env bash
# Builds the wizard and saves pictures under Xvfb, and fails when a step or
# a dialog was not reached.
#   (default) [open|standard|mini|mini_open|broad]  the real road: a fresh
#           stand-in installation under build/screenshots/installation, the
#           source account set under build/screenshots/source, the real check
#           and upgrade runs on the local server; pictures real*.png in
#           build/screenshots/, among them every mapping dialog as the run
#           shows it with the set's own rows. "open" (the default) is the
#           standard sample generated with the questions its usage leaves
#           open (samplegen --open-questions), so that the unit and
#           business-unit dialogs appear too.
#   --demo  walks the window with demonstration stages instead (no server);
#           pictures step*.png and dialog-*.png in build/screenshots/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja > /dev/null
mkdir -p build/screenshots
if [[ "${1:-}" == "--demo" ]]; then
    cmake --build build --target wizard_screens -j4
    rm -rf build/screenshots/demo
    mkdir -p build/screenshots/demo
    timeout 300 xvfb-run -a -s "-screen 0 1280x900x24" build/bin/wizard_screens build/screenshots/demo
    ls build/screenshots/demo
else
    [[ "${1:-}" == "--real" ]] && shift
    cmake --build build --target wizard_screens standin samples samplegen aisbuild -j4
    rm -rf build/screenshots/installation build/screenshots/source build/screenshots/real*.png
    # shellcheck disable=SC1091
    source <(build/bin/standin build/screenshots/installation)
    sample="${1:-open}"
    mkdir -p build/screenshots/source
    if [[ "$sample" == "open" ]]; then
        build/bin/samplegen --edition standard --size small --open-questions build/screenshots/source/tables
        build/bin/aisbuild build/screenshots/source/tables build/screenshots/source/open.ais
    else
        cp "build/samples/$sample/$sample.ais" "build/samples/$sample/system.mda" build/screenshots/source/
    fi
    timeout 300 xvfb-run -a -s "-screen 0 1280x900x24" \
        build/bin/wizard_screens --real build/screenshots "build/screenshots/source/$sample.ais" A01
    ls build/screenshots
fi
