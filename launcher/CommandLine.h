// Reading the launcher's command line the way Windows programs of its kind
// always have: whitespace-separated tokens, double quotes grouping and then
// dropped, no escape character, whole ANSI characters.
#pragma once

#include <string>
#include <vector>

namespace lv {

// The arguments after the program name, up to the first empty token.
std::vector<std::string> SplitArguments(const std::string& commandLine);

enum class LauncherAction {
    StartBrowser,                 // no arguments
    Install,                      // "-install"
    Uninstall,                    // "-uninstall"
    StartBrowserWithCommandLine,  // anything else
};

// The first argument decides, compared exactly; later ones are ignored.
LauncherAction ChooseAction(const std::vector<std::string>& arguments);

}  // namespace lv
