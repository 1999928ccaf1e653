#!/bin/sh
# start [FOLDER]: a fresh private Wine prefix with a persistent server, and
#                 drive T: mapped to FOLDER (made afresh) when one is given.
# stop:           ends the server.
# Runs with WINEPREFIX set. All streams are detached from the server, or the
# test runner would wait on them after every test.
set -eu
case "$1" in
start)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    (wineserver -p; wine wineboot) </dev/null >/dev/null 2>&1
    if [ $# -ge 2 ]; then
        rm -rf "$2"
        mkdir -p "$2"
        ln -sfn "$2" "$WINEPREFIX/dosdevices/t:"
    fi
    wine reg query "HKCU\\Software" </dev/null >/dev/null 2>&1
    ;;
stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    ;;
esac
