#!/usr/bin/env bash
# The launcher's jobs on a demo layout in a private Wine prefix:
#   C:\Lumivue Demo\lvlaunch.exe, a stand-in browser as Vistel4.exe beside it,
#   and a picture in C:\Lumivue Demo\Pictures.
# Usage: demo.sh BUILD_DIR (the Windows build, with its test programs)
set -euo pipefail
bin=$1/bin
export WINEPREFIX=$1/demo-prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree=
folder="$WINEPREFIX/drive_c/Lumivue Demo"
launcher='C:\Lumivue Demo\lvlaunch.exe'
picture='C:\Lumivue Demo\Pictures\sunset.png'

quiet() { "$@" </dev/null >/dev/null 2>&1; }
step() { printf '\n== %s\n' "$*"; }
received() {
    for _ in $(seq 100); do [ -f "$folder/received.txt" ] && break; sleep 0.1; done
    printf 'the browser received: %s\n' "$(cat "$folder/received.txt" 2>/dev/null || echo '(nothing)')"
    rm -f "$folder/received.txt"
}
show_keys() {
    wine reg query 'HKCR\.png' 2>/dev/null | tr -d '\r' | sed '/^$/d'
    wine reg query 'HKCR\pngfile' /s 2>/dev/null | tr -d '\r' | sed '/^$/d'
    wine reg query 'HKCU\Software\Tarnwick\Lumivue 4' 2>/dev/null | tr -d '\r' | sed '/^$/d' || true
}
run() {
    local code=0
    wine "$@" || code=$?
    echo "exit code $code"
}

step "a fresh Wine prefix"
session="$(dirname "$0")/wine-session.sh"
sh "$session" start
trap 'sh "$session" stop' EXIT
mkdir -p "$folder/Pictures"
cp "$bin/lvlaunch.exe" "$folder/"
cp "$bin/stand_in_browser.exe" "$folder/Vistel4.exe"
printf '\x89PNG\r\n\x1a\n' >"$folder/Pictures/sunset.png"
ls -1 "$folder" "$folder/Pictures"

step "lvlaunch.exe \"$picture\""
run "$launcher" "$picture"
received

step "lvlaunch.exe -install"
run "$launcher" -install
show_keys

step "the shell's \"Browse\" verb on $picture"
wine "$bin/shell_open.exe" Browse "$picture"
received

step "lvlaunch.exe -uninstall"
run "$launcher" -uninstall
show_keys
