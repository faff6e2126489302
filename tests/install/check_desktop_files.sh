#!/usr/bin/env bash
# The desktop entry, the document type and the metainfo pass the desktop's own validators, and
# the manual pages format without a single warning.
# usage: check_desktop_files.sh desktop|mime|metainfo|man SOURCE_DIR BUILD_DIR
set -euo pipefail
what=$1 source=$2 build=$3
desktop=$source/resources/desktop
case $what in
desktop)
    desktop-file-validate "$desktop/org.zoredit.ZorEdit.desktop"
    grep -qx 'Exec=zoredit %F' "$desktop/org.zoredit.ZorEdit.desktop"
    grep -q 'application/x-zoredit' "$desktop/org.zoredit.ZorEdit.desktop"
    # The Czech desktop shows the entry in Czech: every text a menu or search shows has its [cs].
    for key in Name GenericName Comment Keywords; do
        grep -q "^$key\[cs\]=." "$desktop/org.zoredit.ZorEdit.desktop" || { echo "no $key[cs]"; exit 1; }
    done
    ;;
metainfo)
    metainfo=$build/generated/install/org.zoredit.ZorEdit.metainfo.xml
    appstreamcli validate --no-net "$metainfo"
    # A software centre in Czech shows the Czech name, summary and description.
    for tag in name summary p li; do
        grep -q "<$tag xml:lang=\"cs\">" "$metainfo" || { echo "no Czech <$tag>"; exit 1; }
    done
    ;;
mime)
    # Compile the type into a scratch database and look at what file managers would read.
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    mkdir -p "$tmp/mime/packages"
    cp "$desktop/zoredit-mime.xml" "$tmp/mime/packages/zoredit.xml"
    errors=$(XDG_DATA_HOME=$tmp XDG_DATA_DIRS=$tmp update-mime-database "$tmp/mime" 2>&1)
    [[ -z $errors ]] || { echo "$errors"; exit 1; }
    grep -q '^50:application/x-zoredit:\*\.zor$' "$tmp/mime/globs2"
    grep -q 'application/x-zoredit' "$tmp/mime/magic"
    ;;
man)
    for page in zoredit zor; do
        file=$build/generated/install/$page.1
        warnings=$(groff -ww -man -Tutf8 -z "$file" 2>&1)
        [[ -z $warnings ]] || { echo "$page.1: $warnings"; exit 1; }
        warnings=$(MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)
        [[ -z $warnings ]] || { echo "$page.1: $warnings"; exit 1; }
    done
    ;;
*)
    echo "unknown check $what" >&2
    exit 2
    ;;
esac
echo "$what OK"
