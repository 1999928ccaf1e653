// lvlaunch: the small launcher that sits beside the Lumivue image browser.
//
// Without arguments it starts the browser; "-install" registers picture file
// types with the browser and "-uninstall" removes that again; anything else
// starts the browser with the launcher's whole command line. It has no window
// of its own: its only output is an error box when the registry refuses it.
#include <windows.h>

#include "Dispatch.h"
#include "ErrorReport.h"
#include "PlatformWin32.h"

namespace {

// The shell starts the launcher with a picture's folder, perhaps a downloaded
// one, as the current directory: DLLs must come from the system folder only.
// Looked up at run time, since unpatched Windows 7 lacks the function; not
// SetDllDirectory, whose setting the browser would inherit.
void RestrictDllSearchToSystem() {
    constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories =
        lv::GetSystemFunction<SetDefaultDllDirectoriesFunction>("kernel32.dll", "SetDefaultDllDirectories");
    if (setDefaultDllDirectories != nullptr) setDefaultDllDirectories(kSearchSystem32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*arguments*/, int /*show*/) {
    RestrictDllSearchToSystem();
    return lv::RunWithErrorReport([] { return lv::RunLauncher(GetCommandLineA()); });
}
