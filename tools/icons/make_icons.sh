#!/usr/bin/env bash
# Builds the 25 menu and toolbar images (16 x 16) into resources/icons/ (or the folder given).
# Most come from the public-domain Tango icon theme (Debian package tango-icon-theme); the three
# window arrangements, which the theme lacks, are drawn here in its palette.
# Needs tango-icon-theme and ImageMagick; the results are committed, so a build needs neither.
set -euo pipefail
out=$(realpath -m "${1:-$(dirname "$0")/../../resources/icons}")
cd "$(dirname "$0")/../.."
src=/usr/share/icons/Tango/16x16
mkdir -p "$out"

take() { cp "$src/$2.png" "$out/$(printf '%02d' "$1").png"; }
take 0 actions/document-new
take 1 actions/document-open
take 2 actions/document-save
take 3 actions/document-print
take 4 apps/preferences-desktop-font
take 5 actions/document-save-as
take 6 actions/document-properties
take 7 actions/system-log-out
take 8 actions/edit-select-all
take 9 actions/edit-delete
take 10 actions/document-print-preview
take 11 actions/edit-find
take 12 actions/mail-send-receive
take 13 devices/video-display
take 14 apps/accessories-calculator
take 15 apps/help-browser
take 16 actions/edit-cut
take 17 actions/edit-copy
take 18 actions/edit-paste
take 19 actions/edit-undo
take 21 apps/preferences-system-windows
take 24 devices/network-wired

# A window: light body, blue title bar, dark outline (Tango's Sky Blue and Aluminium).
draw() { # index, then x0 y0 x1 y1 for each window, back to front
    local n=$1; shift
    local args=()
    while (($#)); do
        args+=(-fill '#eeeeec' -stroke '#555753' -draw "rectangle $1,$2,$3,$4")
        args+=(-fill '#3465a4' -stroke none -draw "rectangle $(($1 + 1)),$(($2 + 1)),$(($3 - 1)),$(($2 + 3))")
        shift 4
    done
    convert -size 16x16 xc:none "${args[@]}" "PNG32:$out/$(printf '%02d' "$n").png"
}
draw 20 0 0 10 9  3 3 13 12  5 6 15 15
draw 22 0 0 15 7  0 8 15 15
draw 23 0 0 7 15  8 0 15 15
