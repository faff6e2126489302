#!/usr/bin/env bash
# Checks the interface's catalogues against the sources: every text a user can see is in each
# translations/*.ts, none is left unfinished and none has vanished from the sources. lupdate runs
# into a copy, so the committed files are never touched; a difference shows which texts to add or
# drop (`cmake --build build --target update_translations` brings the files up to date).
# Options: the same as the build's update target (app/CMakeLists.txt).
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
sources=(app/*.cpp app/*.h editor/*.cpp editor/*.h editor/rtf/*.cpp base/*.cpp base/posix/*.cpp
    comm/*.cpp
    comm/forms/*.cpp comm/posix/*.cpp sim/*.cpp ui/*.cpp commands/*.cpp commands/*.h)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
for ts in translations/*.ts; do
    copy=$work/$(basename "$ts")
    cp "$ts" "$copy"
    "$lupdate" -silent -I . -locations none -no-obsolete -no-ui-lines \
        -tr-function-alias QT_TRANSLATE_NOOP+=ZOR_TRANSLATE_NOOP "${sources[@]}" -ts "$copy"
    if ! diff -u "$ts" "$copy" >"$work/diff"; then
        echo "$ts is not up to date with the sources (texts added or gone):"
        grep '^[-+] *<source>' "$work/diff" | head -n 40
        status=1
    fi
    unfinished=$(grep -c 'type="unfinished"' "$ts" || true)
    if ((unfinished > 0)); then
        echo "$ts: $unfinished texts without a finished translation, the first:"
        grep -B1 'type="unfinished"' "$ts" | grep '<source>' | head -n 20
        status=1
    fi
done
exit $status
