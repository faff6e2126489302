#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite headless.
# ZOR_PRESET picks another preset (CI uses "ci": warnings are errors).
set -euo pipefail
cd "$(dirname "$0")"
preset=${ZOR_PRESET:-default}
scripts/setup.sh
cmake --preset "$preset"
cmake --build --preset "$preset"
export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset"
