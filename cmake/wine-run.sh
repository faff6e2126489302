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
    if [ -n "$wine" ] && command -v "$wine" >/dev/null 2>&1; then
        # Wine's session (its server and the service and device processes) is started apart,
        # with none of our output: processes that the program started would hold its standard
        # output open until the server ends, seconds later, and ctest would wait for them. A
        # running session makes this a tenth of a second. Under a lock: the first start sets
        # the prefix up, and a second program starting Wine meanwhile would fail. (-o: the
        # session Wine leaves running must not hold the lock.)
        mkdir -p "$(dirname "$WINEPREFIX")"
        flock -o "$WINEPREFIX.lock" "$wine" cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
        if [ -t 1 ]; then
            exec "$wine" "$program" "$@"
        fi
        # What Wine starts on demand for the program (the desktop process of a program with
        # windows, as every Qt program has; device and RPC services) inherits its output and
        # lives as long as the session: ctest, which reads the output to its end, would wait
        # for the session rather than the program. Through files, the output is passed on
        # once the program has ended.
        out=$(mktemp)
        err=$(mktemp)
        status=0
        "$wine" "$program" "$@" >"$out" 2>"$err" || status=$?
        cat "$out"
        cat "$err" >&2
        rm -f "$out" "$err"
        exit $status
    fi
done
echo "wine-run.sh: no Wine found (/usr/lib/wine/wine64, wine64 or wine)" >&2
exit 127
