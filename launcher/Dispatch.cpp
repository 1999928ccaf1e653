#include "Dispatch.h"

#include <windows.h>

#include "BrowserPath.h"
#include "CommandLine.h"
#include "RegistrationCommands.h"
#include "SystemFunction.h"

namespace lv {

bool LaunchBrowser(const char* parameters) {
    const std::string browser = GetBrowserPath();
    // An empty path would have the shell open whatever "" means to it.
    if (browser.empty()) return false;
    const auto shellExecute = GetSystemFunction<decltype(&::ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    if (shellExecute == nullptr) return false;
    const HINSTANCE result = shellExecute(/*hwnd=*/nullptr, /*lpOperation=*/nullptr, browser.c_str(), parameters,
                                          /*lpDirectory=*/nullptr, SW_SHOWNORMAL);
    // Values up to 32 are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

int RunLauncher(const std::string& commandLine) {
    switch (ChooseAction(SplitArguments(commandLine))) {
        case LauncherAction::StartBrowser:
            return LaunchBrowser(nullptr) ? 0 : 1;
        case LauncherAction::Install:
            InstallAssociations();
            SaveAppPath();
            return 0;
        case LauncherAction::Uninstall:
            UninstallAssociations();
            return 0;
        case LauncherAction::StartBrowserWithCommandLine:
            // The browser gets the whole line, the launcher's own name included.
            return LaunchBrowser(commandLine.c_str()) ? 0 : 1;
    }
    return 0;
}

}  // namespace lv
