#!/usr/bin/env bash
# Installs what is missing, builds ZorEdit and starts the editor.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target zoredit
exec build/bin/zoredit "$@"
