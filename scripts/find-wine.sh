# Sourced by the scripts that run Windows programs: sets wine (the 64-bit loader: ZOR_WINE, else
# Debian's, else the first on PATH) and wineserver (beside it, else on PATH, else empty), or
# ends the calling script with a message naming it (the caller sets name).
wine=""
for w in "${ZOR_WINE:-}" /usr/lib/wine/wine64 wine64 wine; do
    if [[ -n $w ]] && command -v "$w" >/dev/null 2>&1; then
        wine=$(command -v "$w")
        break
    fi
done
[[ -n $wine ]] || { echo "${name:-$0}: no Wine found" >&2; exit 1; }
wineserver=$(dirname "$wine")/wineserver
[[ -x $wineserver ]] || wineserver=$(command -v wineserver || true)
