#!/bin/sh
# Runs a Windows test program under Wine with its standard error in a file of
# its own, named to it in LV_STDERR_FILE. The Wine debug output of the programs
# it starts lands there too, for it to read.
LV_STDERR_FILE=$(mktemp) || exit 1
export LV_STDERR_FILE
wine "$@" 2>"$LV_STDERR_FILE"
status=$?
rm -f "$LV_STDERR_FILE"
exit $status
