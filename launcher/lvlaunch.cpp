// lvlaunch: the small launcher that sits beside the Lumivue image browser.
//
// Without arguments it starts the browser; "-install" registers picture file
// types with the browser and "-uninstall" removes that again; anything else
// starts the browser with the launcher's whole command line. It has no window
// of its own: its only output is an error box when the registry refuses it.
#include <windows.h>

#include "Dispatch.h"
#include "ErrorReport.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*arguments*/, int /*show*/) {
    return lv::RunWithErrorReport([] { return lv::RunLauncher(GetCommandLineA()); });
}
