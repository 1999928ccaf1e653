// Stepping through ANSI text the way the system's code page says.
#include <windows.h>

#include "AnsiText.h"

namespace lv {

const char* NextAnsiChar(const char* position) {
    // The system knows lead bytes of double-byte code pages only: under UTF-8
    // CharNextA steps one byte at a time (measured under Wine 8), which would
    // let the report's cut split a character. The code page is fixed for the
    // life of the process.
    static const bool kUtf8 = GetACP() == CP_UTF8;
    if (kUtf8) return NextUtf8Char(position);
    // Otherwise as CharNextA steps, but through kernel32, which every process
    // has loaded: CharNextA would load user32 just to read the command line.
    if (*position == '\0') return position;
    if (IsDBCSLeadByte(static_cast<BYTE>(*position)) && position[1] != '\0') return position + 2;
    return position + 1;
}

}  // namespace lv
