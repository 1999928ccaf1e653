// How the registry object reads a string value, apart from the registry
// itself, so that its test can answer as Windows does where Wine cannot.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace lv {

// Reads a value through `query`, which answers as RegQueryValueExA does:
// asked with a buffer first, then, for a larger value, with one of the size it
// reported. Empty when the value is missing or holds no data; raises as
// TRegistry::ReadStringValue does.
using ValueQuery = std::function<LONG(DWORD* type, BYTE* data, DWORD* size)>;
std::string ReadStringData(const std::string& name, const ValueQuery& query);

}  // namespace lv
