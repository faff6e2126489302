#!/bin/sh
# Checks units with systemd's own verifier: verify-units.sh DIR UNIT... (the units' files in
# DIR). Exit 77 (skipped) where there is no systemd to ask.
set -eu
units_dir=$1
shift
if ! command -v systemd-analyze >/dev/null 2>&1; then
    echo "systemd-analyze not found: skipped"
    exit 77
fi
# Verify prints its findings on stderr and may exit 0 with warnings; any output about our
# units is a failure.
names="$*"
# Each name becomes its path: the loop walks the names as they were while the list turns.
for unit in "$@"; do
    set -- "$@" "$units_dir/$unit"
    shift
done
out=$(systemd-analyze verify --man=no "$@" 2>&1) && status=0 || status=$?
if [ -n "$out" ]; then
    printf '%s\n' "$out"
fi
if [ "$status" -ne 0 ] || printf '%s\n' "$out" | grep -q 'zor-'; then
    exit 1
fi
echo "verified: $names"
