#!/bin/sh
# Runs a Windows test program under Wine with its standard error in a file of
# its own, named to it in LV_STDERR_FILE. The Wine debug output of the programs
# it starts lands there too, for it to read.
LV_STDERR_FILE=$(mktemp) || exit 1
export LV_STDERR_FILE
wine "$@" 2>"$LV_STDERR_FILE"
status=$?
# A failure's own words, without the registry trace a test may have asked for.
[ "$status" -eq 0 ] || grep -v ':trace:' "$LV_STDERR_FILE" | tail -n 40 >&2
rm -f "$LV_STDERR_FILE"
exit $status
