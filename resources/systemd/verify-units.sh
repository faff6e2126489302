#!/bin/sh
# Checks the counters units with systemd's own verifier. Exit 77 (skipped) where there is no
# systemd to ask.
set -eu
units_dir=$1
if ! command -v systemd-analyze >/dev/null 2>&1; then
    echo "systemd-analyze not found: skipped"
    exit 77
fi
# Verify prints its findings on stderr and may exit 0 with warnings; any output about our
# units is a failure.
out=$(systemd-analyze verify --man=no "$units_dir/zor-counters.service" \
    "$units_dir/zor-counters.timer" 2>&1) && status=0 || status=$?
if [ -n "$out" ]; then
    printf '%s\n' "$out"
fi
if [ "$status" -ne 0 ] || printf '%s\n' "$out" | grep -q 'zor-counters'; then
    exit 1
fi
echo "zor-counters.service and zor-counters.timer verified"
