// lvlaunch: the small launcher that sits beside the Lumivue image browser.
//
// Without arguments it starts the browser; "-install" registers picture file
// types with the browser and "-uninstall" removes that again; anything else
// starts the browser with the launcher's whole command line. It has no window
// of its own: its only output is an error box when the registry refuses it.
#include <windows.h>

#include "Dispatch.h"
#include "ErrorReport.h"
#include "SystemFunction.h"

namespace {

// The shell starts the launcher with a picture's folder, perhaps a downloaded
// one, as the current directory: DLLs must come from the system folder only.
// Looked up at run time, since unpatched Windows 7 lacks the function; not
// SetDllDirectory, whose setting the browser would inherit.
void RestrictDllSearchToSystem() {
    const auto setDefaultDllDirectories =
        lv::GetSystemFunction<decltype(&::SetDefaultDllDirectories)>("kernel32.dll", "SetDefaultDllDirectories");
    if (setDefaultDllDirectories != nullptr) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*arguments*/, int /*show*/) {
    RestrictDllSearchToSystem();
    return lv::RunWithErrorReport([] { return lv::RunLauncher(GetCommandLineA()); });
}
