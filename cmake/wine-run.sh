#!/bin/sh
# Runs a Windows program under Wine in the prefix of the build folder it was built in (the
# folder above bin/), quietly and without offering to install Mono or Gecko. Used by ctest as
# the cross-compiling emulator; also usable by hand: cmake/wine-run.sh build-windows/bin/zor.exe ...
set -e
program=$1
shift
if [ -z "$WINEPREFIX" ]; then
    bin=$(cd "$(dirname "$program")" && pwd)
    WINEPREFIX=$(dirname "$bin")/wineprefix
fi
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
for wine in "$ZOR_WINE" /usr/lib/wine/wine64 wine64 wine; do
    [ -n "$wine" ] && command -v "$wine" >/dev/null 2>&1 && exec "$wine" "$program" "$@"
done
echo "wine-run.sh: no Wine found (/usr/lib/wine/wine64, wine64 or wine)" >&2
exit 127
