#include "CommandLine.h"

#include "AnsiText.h"

namespace lv {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Appends the whole character at `p` to `token` and returns the next one.
const char* TakeChar(const char* p, std::string& token) {
    const char* next = NextAnsiChar(p);
    token.append(p, next);
    return next;
}

// Reads the token that starts at or after `p` into `token`; returns where reading stopped.
const char* NextToken(const char* p, std::string& token) {
    token.clear();
    for (;;) {
        while (*p != '\0' && IsBlank(*p)) p = NextAnsiChar(p);
        if (p[0] != '"' || p[1] != '"') break;
        p += 2;  // an empty quoted pair between tokens counts for nothing
    }
    while (!IsBlank(*p)) {
        if (*p != '"') {
            p = TakeChar(p, token);
            continue;
        }
        p = NextAnsiChar(p);
        while (*p != '\0' && *p != '"') p = TakeChar(p, token);
        if (*p != '\0') p = NextAnsiChar(p);
    }
    return p;
}

}  // namespace

std::vector<std::string> SplitArguments(const std::string& commandLine) {
    std::vector<std::string> arguments;
    std::string token;
    const char* p = NextToken(commandLine.c_str(), token);  // the program name
    for (;;) {
        p = NextToken(p, token);
        if (token.empty()) break;
        arguments.push_back(token);
    }
    return arguments;
}

LauncherAction ChooseAction(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return LauncherAction::StartBrowser;
    if (arguments[0] == "-install") return LauncherAction::Install;
    if (arguments[0] == "-uninstall") return LauncherAction::Uninstall;
    return LauncherAction::StartBrowserWithCommandLine;
}

}  // namespace lv
