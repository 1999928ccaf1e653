// Stepping through ANSI text the way the system's code page says.
#include <windows.h>

#include "AnsiText.h"

namespace lv {

const char* NextAnsiChar(const char* position) { return CharNextA(position); }

}  // namespace lv
