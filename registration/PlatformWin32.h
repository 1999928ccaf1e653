// The platform's answers that the launcher needs in full, whatever the ANSI
// code page.
#pragma once

#include <windows.h>

#include <string>

namespace lv {

// The path of `module` as GetModuleFileNameA reports it, however many bytes
// the code page needs; empty when it cannot be had.
std::string GetModuleFileNameText(HMODULE module);

}  // namespace lv
