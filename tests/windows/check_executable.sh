#!/bin/sh
# The launcher is a 32-bit GUI program that imports only Windows' own DLLs.
set -u
exe=$1
headers=$(i686-w64-mingw32-objdump -p "$exe") || exit 1
status=0
fail() { echo "FAIL: $*"; status=1; }
echo "$headers" | grep -q 'file format pei-i386' || fail "not a PE32 i386 image"
echo "$headers" | grep -Eq '^Magic[[:space:]]+010b' || fail "not PE32"
echo "$headers" | grep -Eq '^Subsystem[[:space:]]+00000002' || fail "not the GUI subsystem"
imports=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || fail "no imports found"
for dll in $imports; do
    case "$dll" in
    kernel32.dll | user32.dll | shell32.dll | advapi32.dll | msvcrt.dll) ;;
    *) fail "imports $dll" ;;
    esac
done
echo "imports:" $imports
exit $status
