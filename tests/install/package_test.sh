#!/usr/bin/env bash
# The Debian package: built by CPack from the build folder, named zoredit_<version>_<arch>.deb,
# with its library dependencies found and the fonts named, holding the installed files, and
# without lintian errors (warnings are printed for the record).
# usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp" >/dev/null
deb=$tmp/zoredit_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "no $(basename "$deb") in: $(ls "$tmp")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
[[ $depends == *fonts-liberation* ]] || fail "fonts-liberation missing from Depends"
[[ $depends == *libqt6widgets6* ]] || fail "library dependencies were not found"
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/zoredit ./usr/bin/zor ./usr/share/zoredit/fonts/ZorSymbols.TTF \
    ./usr/share/applications/org.zoredit.ZorEdit.desktop ./usr/share/man/man1/zor.1.gz; do
    [[ $contents == *" $f"* ]] || fail "$f is not in the package"
done

# The counters unit and its script are written at install time, so they name the packaged tool, not
# the build's prefix.
dpkg-deb -x "$deb" "$tmp/root"
unit=$tmp/root/usr/lib/systemd/system/zor-counters.service
[[ -f $unit ]] || fail "the counters service is not in the package"
script=$tmp/root/usr/libexec/zoredit/zor-counters
grep -q '^ExecStart=/usr/libexec/zoredit/zor-counters$' "$unit" || fail "the counters service does not run its script"
grep -q '^zor=/usr/bin/zor$' "$script" || fail "the counters script does not run /usr/bin/zor"
grep -q '^EnvironmentFile=/etc/default/zor-counters$' "$unit" || fail "the counters service reads no /etc/default file"
unit=$tmp/root/usr/lib/systemd/system/zor-gateway@.service
[[ -f $unit ]] || fail "the gateway service is not in the package"
grep -q '^ExecStart=/usr/libexec/zoredit/zor-gateway %i$' "$unit" || fail "the gateway service does not run its script"
grep -q '^zor=/usr/bin/zor$' "$tmp/root/usr/libexec/zoredit/zor-gateway" || fail "the gateway script does not run /usr/bin/zor"

if command -v lintian >/dev/null; then
    lintian --no-tag-display-limit "$deb" || true
    lintian --fail-on error "$deb" >/dev/null || fail "lintian reports errors"
fi
echo "package OK"
