#!/usr/bin/env bash
# The Windows build's transfer, end to end: zor.exe under Wine sends a program and the numeric
# message through Win32 COM ports (links in the Wine prefix's dosdevices to pseudo-terminals) to
# the Linux panel emulator, which stores what it received and says the rate the sender set.
# Passes when the program arrives byte for byte as the Linux zor translates it, the numbers
# arrive as given, and the line ran at 19200 baud each time; `zor.exe ports` must list the port.
# The program goes once more to the emulator as a device server on loopback (socket://).
#
# Needs build-windows/bin/zor.exe (cmake --preset windows; cmake --build --preset windows), or
# ZOR_EXE. The Linux zor is ZOR_LINUX, else the newest of build-ci/bin/zor and build/bin/zor, else
# one built here with the default preset. The Wine prefix is WINEPREFIX, else the one ctest uses
# (build-windows/wineprefix), so that Wine starts up once for both.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

exe=${ZOR_EXE:-$root/build-windows/bin/zor.exe}
[[ -f $exe ]] || { echo "windows-transfer: no $exe; build the windows preset first" >&2; exit 1; }
export WINEPREFIX=${WINEPREFIX:-$(dirname "$(dirname "$exe")")/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

name=windows-transfer
source "$(dirname "$0")/find-wine.sh"

linux=${ZOR_LINUX:-}
if [[ -z $linux ]]; then
    linux=$(ls -t build-ci/bin/zor build/bin/zor 2>/dev/null | head -n 1 || true)
fi
if [[ -z $linux ]]; then
    echo "windows-transfer: building the Linux zor (default preset)"
    cmake --preset default >/dev/null
    cmake --build --preset default --target zor >/dev/null
    linux=build/bin/zor
fi
linux=$(cd "$(dirname "$linux")" && pwd)/$(basename "$linux")
echo "Linux zor: $linux; zor.exe: $exe; Wine prefix: $WINEPREFIX"

work=$(mktemp -d)
panel=""
links=()
wine_ports=""
cleanup() {
    [[ -n $panel ]] && kill "$panel" 2>/dev/null && wait "$panel" 2>/dev/null
    [[ -z $wine_ports ]] ||
        "$wine" reg delete 'HKLM\Software\Wine\Ports' /v COM5 /f >/dev/null 2>&1
    local link
    for link in "${links[@]}"; do
        rm -f "$link"
    done
    # The server outlives the programs by a few seconds and holds the pseudo-terminals.
    [[ -z $wineserver ]] || "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT


# first_line PREFIX: the emulator's first line (its pseudo-terminal or its address), once it has
# written one that starts with PREFIX; waits as long as the emulator runs, however loaded the
# machine, and ends the script when it stops without one.
first_line() {
    local prefix=$1 line=""
    while :; do
        line=$(head -n 1 "$work/panel.out")
        [[ $line == "$prefix"* ]] && break
        if ! kill -0 "$panel" 2>/dev/null; then
            echo "the emulator did not start: $(cat "$work/panel.err")" >&2
            exit 1
        fi
        sleep 0.05
    done
    echo "$line"
}

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# start_panel COMn: the emulator on a new pseudo-terminal for one transfer, the prefix's COMn
# linked to it.
start_panel() {
    local com=$1
    : >"$work/panel.out"
    "$linux" panel --show-baud --count 1 --out "$work/received.prog" \
        >"$work/panel.out" 2>"$work/panel.err" &
    panel=$!
    local pty
    pty=$(first_line /dev/)
    local link=$WINEPREFIX/dosdevices/${com,,}
    ln -sfn "$pty" "$link"
    links+=("$link")
}

# end_panel: waits for the emulator to end after its transfer (at most 10 s).
end_panel() {
    local i
    for i in $(seq 200); do
        kill -0 "$panel" 2>/dev/null || break
        sleep 0.05
    done
    kill "$panel" 2>/dev/null || true
    wait "$panel" 2>/dev/null || true
    panel=""
}

# A program of several blocks, and what the Linux build makes of it.
for i in $(seq 1 12); do
    echo "Hall $i: 19200 baud through COM5, line $i of 12"
done >"$work/hall.txt"
"$linux" translate -o "$work/expected.prog" "$work/hall.txt"

# The port list. Wine lists the COM ports its configuration names when it starts up (and links
# them), so COM5 is named there too and Wine started afresh.
mkdir -p "$WINEPREFIX/dosdevices"
start_panel COM5
"$wine" reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$(readlink "$WINEPREFIX/dosdevices/com5")" \
    /f >/dev/null 2>&1 || true
wine_ports=1
[[ -z $wineserver ]] || "$wineserver" -k 2>/dev/null || true
# The server is started here, with its output in the log: it takes the first pseudo-terminal it
# opens as its terminal and, when the emulator ends, reports the hang-up at length.
[[ -z $wineserver ]] || "$wineserver" -p 2>>"$work/wineserver.log"
(cd "$work" && "$wine" "$exe" ports) >"$work/ports.out" 2>&1 || true
echo "ports: $(cut -f1 "$work/ports.out" | tr "\n" " ")"
grep -q '^COM5\b' "$work/ports.out" || fail "zor.exe ports does not list COM5: $(cat "$work/ports.out")"

# send --device COM5 --baud 19200
rm -f "$work/received.prog"
start=$SECONDS
if ! (cd "$work" && "$wine" "$exe" send --device COM5 --baud 19200 hall.txt) >"$work/send.out" 2>&1; then
    fail "zor.exe send: $(cat "$work/send.out")"
fi
end_panel
echo "send: $((SECONDS - start)) s; $(tail -n 1 "$work/send.out")"
grep -qx 'line 19200 baud' "$work/panel.out" ||
    fail "the program did not come at 19200 baud: $(cat "$work/panel.out")"
if [[ ! -f $work/received.prog ]]; then
    fail "the emulator stored no program: $(cat "$work/panel.out" "$work/panel.err")"
elif ! cmp "$work/expected.prog" "$work/received.prog"; then
    fail "the stored program differs from the translated one"
else
    echo "program of $(stat -c %s "$work/expected.prog") bytes stored exactly"
fi

# numeric through --port 4, whose device is the platform's default: COM4.
start_panel COM4
start=$SECONDS
if ! (cd "$work" && "$wine" "$exe" numeric --port 4 --baud 19200 123 45) >"$work/numeric.out" 2>&1; then
    fail "zor.exe numeric: $(cat "$work/numeric.out")"
fi
end_panel
echo "numeric: $((SECONDS - start)) s; $(tail -n 1 "$work/numeric.out")"
grep -qx 'line 19200 baud' "$work/panel.out" ||
    fail "the numbers did not come at 19200 baud: $(cat "$work/panel.out")"
grep -qx 'numeric days "123" accidents "45"' "$work/panel.out" ||
    fail "the numbers did not arrive: $(cat "$work/panel.out" "$work/panel.err")"

# The same program to a device server on the network: the emulator listening on loopback.
: >"$work/panel.out"
"$linux" panel --listen 0 --count 1 --out "$work/received-net.prog" \
    >"$work/panel.out" 2>"$work/panel.err" &
panel=$!
server=$(first_line socket://)
if ! (cd "$work" && "$wine" "$exe" send --device "$server" hall.txt) >"$work/net.out" 2>&1; then
    fail "zor.exe send to $server: $(cat "$work/net.out")"
fi
end_panel
if cmp -s "$work/expected.prog" "$work/received-net.prog"; then
    echo "program stored exactly through $server"
else
    fail "the program sent through $server differs or did not arrive: $(cat "$work/panel.err")"
fi

# A port that does not exist.
if (cd "$work" && "$wine" "$exe" numeric --device COM199 --baud 19200 1 0) >"$work/missing.out" 2>&1; then
    fail "zor.exe numeric on COM199 succeeded"
fi
grep -q 'The port COM199 does not exist' "$work/missing.out" ||
    fail "no reason given for COM199: $(cat "$work/missing.out")"

if ((failures)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all transfer checks passed"
