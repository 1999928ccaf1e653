#!/bin/sh
# start: a fresh private Wine prefix with a persistent server, and drive T:
#        mapped to a test folder. stop: ends the server.
# Runs with WINEPREFIX set. All streams are detached from the server, or the
# test runner would wait on them after every test.
set -eu
case "$1" in
start)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX" "$2"
    mkdir -p "$WINEPREFIX" "$2"
    (wineserver -p; wine wineboot) </dev/null >/dev/null 2>&1
    ln -sfn "$2" "$WINEPREFIX/dosdevices/t:"
    wine reg query "HKCU\\Software" </dev/null >/dev/null 2>&1
    ;;
stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    ;;
esac
