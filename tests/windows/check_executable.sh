#!/bin/sh
# The launcher is a 32-bit GUI program with ASLR and DEP on that imports only
# kernel32, advapi32 and msvcrt, and from them only functions Windows 7 has
# (the list beside this script).
#   check_executable.sh LVLAUNCH.EXE ALLOWED_IMPORTS.TXT
set -u
exe=$1
allowed=$2
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
    # user32 and shell32 are loaded when needed: at start-up they cost more than "-install" does.
    kernel32.dll | advapi32.dll | msvcrt.dll) ;;
    *) fail "imports $dll" ;;
    esac
done
flags=$(echo "$headers" | sed -n 's/^DllCharacteristics[[:space:]]*//p')
[ $((0x$flags & 0x40)) -ne 0 ] || fail "no ASLR (dynamic base) in DllCharacteristics $flags"
[ $((0x$flags & 0x100)) -ne 0 ] || fail "no DEP (NX compatible) in DllCharacteristics $flags"
echo "$headers" | grep -Eq '^Entry 5 [0-9a-f]{8} 0*[1-9a-f][0-9a-f]* Base Relocation Directory' ||
    fail "no relocations, so ASLR cannot move the image"
# A function's name ends its line, in the form of binutils 2.40 ("vma<TAB>hint
# name") and in that of 2.44, which adds an ordinal column.
functions=$(echo "$headers" | awk '/DLL Name:/ { dll = tolower($3); next }
                                   dll && /^\t[0-9a-f]+[\t ]/ { print dll, $NF }
                                   /^ [0-9a-f]+\t/ { dll = "" }' | sort -u)
[ -n "$functions" ] || fail "no imported functions found"
unexpected=$(echo "$functions" | grep -vxF -f "$allowed")
[ -z "$unexpected" ] || fail "imports beyond the Windows 7 list: $unexpected"
echo "imports $(echo "$functions" | wc -l) functions from:" $imports "; DllCharacteristics $flags"
exit $status
