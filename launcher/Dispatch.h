// What the launcher does with its command line.
#pragma once

#include <string>

namespace lv {

// Starts the browser through the shell's default action, handing it
// `parameters` (none at all when null). False when the browser is missing or
// the shell refused to start it.
bool LaunchBrowser(const char* parameters);

// Carries out the one action `commandLine` asks for; returns the exit code.
int RunLauncher(const std::string& commandLine);

}  // namespace lv
