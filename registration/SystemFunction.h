// Functions of system DLLs that the launcher calls only on some paths, or that
// not every Windows has, looked up when first needed.
#pragma once

#include <windows.h>

namespace lv {

// The function `name` of the system DLL `dll`, loaded when first asked for, or
// null. `Function` is the function's own pointer type, decltype(&::Name), so
// that the compiler checks its calling convention and parameters. The
// launcher imports neither user32 nor shell32: loading them takes longer than
// all of "-install" does, which needs neither. Only the system's own copies
// are loaded: these are known DLLs, and the launcher restricts the DLL search
// to the system folder where Windows allows it. A DLL the process already has,
// as it always has kernel32 and ntdll, is taken as it is, without a search.
template <typename Function>
Function GetSystemFunction(const char* dll, const char* name) {
    HMODULE module = GetModuleHandleA(dll);
    if (module == nullptr) module = LoadLibraryA(dll);
    const FARPROC found = module == nullptr ? nullptr : GetProcAddress(module, name);
    // Through a plain function pointer type, as GetProcAddress results must be cast.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace lv
