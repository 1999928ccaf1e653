// Stepping through ANSI text the way the system's code page says.
#include <windows.h>

#include "AnsiText.h"
#include "PlatformWin32.h"

namespace lv {

const char* NextAnsiChar(const char* position) {
    // CharNextA knows only double-byte lead bytes: through UTF-8 it steps one
    // byte at a time (measured under Wine 8), which would let the report's cut
    // split a character. The code page is fixed for the life of the process.
    static const bool kUtf8 = GetACP() == CP_UTF8;
    if (kUtf8) return NextUtf8Char(position);
    using CharNextFunction = LPSTR(WINAPI*)(LPCSTR);
    static const auto charNext = GetSystemFunction<CharNextFunction>("user32.dll", "CharNextA");
    return charNext(position);
}

}  // namespace lv
