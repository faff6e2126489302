#!/usr/bin/env bash
# An installation to a temporary prefix: every file is there, and the installed programs run
# from it. The editor runs offscreen in its --check mode as a user who cannot write next to it,
# so its settings go to the per-user folder.
# usage: install_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3

fail() { echo "FAIL: $*" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
prefix=$tmp/usr
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/zoredit bin/zor \
    share/zoredit/fonts/ZorSymbols.TTF \
    share/applications/org.zoredit.ZorEdit.desktop \
    share/mime/packages/zoredit.xml \
    share/metainfo/org.zoredit.ZorEdit.metainfo.xml \
    share/icons/hicolor/scalable/apps/zoredit.svg \
    share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/zoredit.png \
    share/man/man1/zoredit.1.gz share/man/man1/zor.1.gz \
    share/doc/zoredit/copyright share/doc/zoredit/changelog.gz \
    lib/systemd/system/zor-counters.service lib/systemd/system/zor-counters.timer \
    share/zoredit/zor-counters.default \
    lib/systemd/system/zor-gateway@.service share/zoredit/zor-gateway.default; do
    [[ -f $prefix/$f ]] || fail "not installed: $f"
done
[[ -x $prefix/bin/zoredit && -x $prefix/bin/zor ]] || fail "programs are not executable"
grep -q "release version=\"$version\"" "$prefix/share/metainfo/org.zoredit.ZorEdit.metainfo.xml" ||
    fail "metainfo does not carry version $version"
zcat "$prefix/share/man/man1/zor.1.gz" | grep -q "ZorEdit $version" || fail "zor(1) has no version"

# The counters service runs this installation's tool, and reads its settings where README tells
# the administrator to put them, whatever the prefix.
unit=$prefix/lib/systemd/system/zor-counters.service
script=$prefix/libexec/zoredit/zor-counters
grep -qx "ExecStart=$script" "$unit" || fail "the counters service does not run $script"
[[ -x $script ]] || fail "the counters script is not executable"
grep -qx "zor=$prefix/bin/zor" "$script" || fail "the counters script does not run $prefix/bin/zor"
grep -qx 'EnvironmentFile=/etc/default/zor-counters' "$unit" ||
    fail "the counters service does not read /etc/default/zor-counters"
grep -qx 'ConditionPathExists=/etc/default/zor-counters' "$unit" ||
    fail "the counters service waits for another file than /etc/default/zor-counters"
grep -q '/etc/default/zor-counters' "$source/README.md" || fail "README does not name the environment file"

# So does each site's gateway, with its settings in the file of its site.
unit=$prefix/lib/systemd/system/zor-gateway@.service
script=$prefix/libexec/zoredit/zor-gateway
grep -qx "ExecStart=$script %i" "$unit" || fail "the gateway service does not run $script"
[[ -x $script ]] || fail "the gateway script is not executable"
grep -qx "zor=$prefix/bin/zor" "$script" || fail "the gateway script does not run $prefix/bin/zor"
grep -qx 'EnvironmentFile=/etc/default/zor-gateway-%i' "$unit" ||
    fail "the gateway service does not read /etc/default/zor-gateway-SITE"
grep -q '/etc/default/zor-gateway-' "$source/README.md" || fail "README does not name the gateway's file"

# Neither --version nor the command-line tool needs a display.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/zoredit" --version)
[[ $out == "zoredit $version" ]] || fail "zoredit --version printed '$out'"
if out=$("$prefix/bin/zor" --version 2>/dev/null); then
    [[ $out == *"$version"* ]] || fail "zor --version printed '$out'"
fi
"$prefix/bin/zor" --help >/dev/null || fail "zor --help failed"
"$prefix/bin/zor" translate "$source/tests/editor/data/richedit.zor" -o "$tmp/program.txt" ||
    fail "installed zor cannot translate a document"
[[ -s $tmp/program.txt ]] || fail "installed zor wrote no program"

# The editor, as a user without write access to the installation.
mkdir -p "$tmp/home" "$tmp/docs"
cp "$source/tests/editor/data/richedit.zor" "$tmp/docs/demo.zor"
chmod -R a+rwX "$tmp/home" "$tmp/docs"
run_editor() {
    local env=(env -i PATH=/usr/bin:/bin HOME="$tmp/home" QT_QPA_PLATFORM=offscreen
        XDG_RUNTIME_DIR="$tmp/home")
    if [[ $(id -u) -eq 0 ]]; then
        # root may write anywhere; the check needs an ordinary user.
        "${env[@]}" setpriv --reuid=nobody --regid=nogroup --clear-groups \
            "$prefix/bin/zoredit" --check "$@" 2>/dev/null
    else
        chmod a-w "$prefix/bin"
        "${env[@]}" "$prefix/bin/zoredit" --check "$@" 2>/dev/null
    fi
}
status=0
out=$(run_editor "$tmp/docs/demo.zor") || status=$?
echo "$out"
[[ $status -eq 0 ]] || fail "zoredit --check exited with $status"
[[ $out != *"message box"* ]] || fail "the installed editor showed a message at start"
[[ $out == *"symbol font: /"* ]] || fail "the installed editor found no symbol font"
[[ $out == *"manual: index.html found"* ]] || fail "the installed editor found no manual"
[[ $out == *"settings file: $tmp/home/.config/ZorEdit/zoredit.INI"* ]] ||
    fail "the installed editor does not keep its settings per user"
[[ $out == *"document window: $tmp/docs/demo.zor"* ]] || fail "the document did not open"
[[ ! -e $prefix/bin/zoredit.INI ]] || fail "settings written next to the installed program"

# A new name opens an empty document, as File > Open does; a document in a folder that does not
# exist is reported, and the others still open.
status=0
out=$(run_editor "$tmp/docs/new.zor" "$tmp/nowhere/none.zor" "$tmp/docs/demo.zor") || status=$?
[[ $status -eq 1 ]] || fail "a document that cannot be opened was not reported in the status"
[[ $out == *"message box: ZorEdit: Cannot open file $tmp/nowhere/none.zor."* ]] ||
    fail "no open-failure message for a document in a folder that does not exist"
[[ $out == *"document window: $tmp/docs/new.zor"* ]] || fail "the new document did not open"
[[ ! -e $tmp/docs/new.zor ]] || fail "the new document was written before any Save"
[[ $out == *"document window: $tmp/docs/demo.zor"* ]] || fail "the other document did not open"
chmod -R u+w "$tmp"
echo "install OK"
