#!/usr/bin/env bash
# The launcher's jobs on a demo layout in a private Wine prefix:
#   C:\Lumivue Демо\lvlaunch.exe, a stand-in browser as Vistel4.exe beside it,
#   and a picture named in Russian and Japanese in C:\Lumivue Демо\Pictures.
# Usage: demo.sh BUILD_DIR (the Windows build, with its test programs)
set -euo pipefail
bin=$1/bin
set -a
. "$(dirname "$0")/wine.env"
set +a
export WINEPREFIX=$1/demo-prefix
folder="$WINEPREFIX/drive_c/Lumivue Демо"
launcher='C:\Lumivue Демо\lvlaunch.exe'
picture='C:\Lumivue Демо\Pictures\закат 夕日.png'

quiet() { "$@" </dev/null >/dev/null 2>&1; }
step() { printf '\n== %s\n' "$*"; }
received() {
    for _ in $(seq 100); do [ -f "$folder/received.txt" ] && break; sleep 0.1; done
    # The stand-in records its command line in UTF-16.
    printf 'the browser received: %s\n' "$(iconv -f UTF-16LE -t UTF-8 "$folder/received.txt" 2>/dev/null || echo '(nothing)')"
    rm -f "$folder/received.txt"
}
# Through "reg export", whose UTF-16 file keeps every name ("reg query" prints
# what its console's code page cannot spell as question marks).
show_keys() {
    local key exported="$WINEPREFIX/drive_c/keys.reg"
    for key in 'HKCR\.png' 'HKCR\pngfile' 'HKCR\SystemFileAssociations\.png' 'HKCU\Software\Tarnwick\Lumivue 4'; do
        quiet wine reg export "$key" 'C:\keys.reg' /y || { echo "($key: no such key)"; continue; }
        iconv -f UTF-16 -t UTF-8 "$exported" | tr -d '\r' | sed '1d;/^$/d'
    done
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
printf '\x89PNG\r\n\x1a\n' >"$folder/Pictures/закат 夕日.png"
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
