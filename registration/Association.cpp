#include "Association.h"

#include <algorithm>

#include "AnsiText.h"
#include "AppError.h"
#include "BrowserPath.h"
#include "ImageTypes.h"

namespace lv {

namespace {

constexpr bool kCreate = true;
constexpr bool kOpenOnly = false;
const std::string kDefaultValue;

const char kBrowseVerb[] = "Browse";
const char kOwnVerb[] = "Browse with Lumivue";

bool IsIconFormat(const std::string& extension) {
    const std::string lower = AsciiLowerCase(extension);
    return lower == ".ico" || lower == ".cur";
}

// Empties the type's default verb when it names `verb`, whose tree is gone.
void ForgetDefaultVerb(TRegistry& registry, const std::string& typeKey, const char* verb) {
    if (!registry.SelectKey(typeKey + "\\shell", kOpenOnly)) return;
    if (registry.ReadStringValue(kDefaultValue) == verb) registry.WriteStringValue(kDefaultValue, "");
    registry.ReleaseKey();
}

// The default value of `key`, or nothing when the key cannot be opened.
bool ReadDefaultOf(TRegistry& registry, const std::string& key, std::string& value) {
    if (!registry.SelectKey(key, kOpenOnly)) return false;
    value = registry.ReadStringValue(kDefaultValue);
    registry.ReleaseKey();
    return true;
}

// The current key's default value, which a key just created has not: no need to ask.
std::string ReadDefaultValue(TRegistry& registry) {
    return registry.CurrentKeyIsNew() ? std::string() : registry.ReadStringValue(kDefaultValue);
}

// Why the extension's key could not be had.
ExtensionKey KeyNotHad(const TRegistry& registry) {
    return registry.LastSelectWasRefused() ? ExtensionKey::Refused : ExtensionKey::Missing;
}

// The shell reads "%" in a command as the start of a placeholder, and "%%" as
// one "%" (Wine's shlexec.c conformance test, run on Windows, shows it).
std::string EscapedForShell(const std::string& path) {
    std::string escaped;
    for (const char c : path) {
        escaped += c;
        if (c == '%') escaped += '%';
    }
    return escaped;
}

// Whether `command` starts the browser at `browserPath`, written plainly or for the shell.
bool NamesBrowser(const std::string& command, const std::string& browserPath) {
    return ContainsText(command, browserPath) || ContainsText(command, EscapedForShell(browserPath));
}

std::string MissingBrowserMessage(const BrowserSearch& search) {
    const std::string browser = std::string("The browser \"") + kBrowserFileName + "\"";
    std::string inFolder = browser + " was not found in the folder \"" + search.folder + "\"";
    switch (search.problem) {
        case BrowserProblem::LauncherPathUnknown:
            return browser + " was not looked for: the launcher's own path could not be read";
        case BrowserProblem::FolderNotSpellable:
            return browser + " was not found: this system's code page cannot spell the name of the folder \"" +
                   search.folder + "\"";
        case BrowserProblem::IsFolder:
            return inFolder + ": the \"" + kBrowserFileName + "\" there is a folder";
        case BrowserProblem::IsLauncher:
            return inFolder + ": the \"" + kBrowserFileName + "\" there is this launcher itself";
        case BrowserProblem::FolderNotNamedExactly:
            return browser + " is not taken from the folder \"" + search.folder +
                   "\": Windows drops the spaces and dots that end a folder's name when it looks a path up, so "
                   "it cannot name that folder exactly";
        case BrowserProblem::NotFound:
        case BrowserProblem::None:
            break;
    }
    return inFolder;
}

}  // namespace

std::string ShellCommandFor(const std::string& browserPath) {
    return "\"" + EscapedForShell(browserPath) + "\" /shell \"%1\"";
}

LV_NOINLINE std::string RequireBrowserPath() {
    const BrowserSearch search = LocateBrowser();
    if (search.problem == BrowserProblem::None) return search.path;
    throw EBrowserNotFound(MissingBrowserMessage(search), LV_CALLER_ADDRESS());
}

ExtensionKey RegisterExtension(TRegistry& registry, HKEY classes, const std::string& extension,
                               VisitedTypes& visitedTypes) {
    const std::string browser = RequireBrowserPath();
    const std::string command = ShellCommandFor(browser);
    registry.SelectRoot(classes);

    if (!registry.SelectKey("\\" + extension, kCreate)) return KeyNotHad(registry);
    std::string type = ReadDefaultValue(registry);
    if (type.empty()) {
        type = TypeNameFor(extension);
        registry.WriteStringValue(kDefaultValue, type);
    }
    registry.ReleaseKey();
    // Names are compared byte for byte: a different spelling of the same
    // type only costs a second visit, which changes nothing.
    if (std::find(visitedTypes.begin(), visitedTypes.end(), type) != visitedTypes.end()) return ExtensionKey::Had;
    const std::string typeKey = "\\" + type;

    if (registry.SelectKey(typeKey, kCreate)) {
        if (ReadDefaultValue(registry).empty())
            registry.WriteStringValue(kDefaultValue, GetFileTypeDescription(extension));
        registry.ReleaseKey();
    }

    if (registry.SelectKey(typeKey + "\\DefaultIcon", kCreate)) {
        if (ReadDefaultValue(registry).empty())
            registry.WriteStringValue(kDefaultValue, IsIconFormat(extension) ? "%1" : IconLocationFor(browser));
        registry.ReleaseKey();
    }

    bool browseIsAnotherProgram = false;
    if (registry.SelectKey(typeKey + "\\shell\\" + kBrowseVerb + "\\command", kCreate)) {
        const std::string existing = ReadDefaultValue(registry);
        if (existing.empty())
            registry.WriteStringValue(kDefaultValue, command);
        else
            browseIsAnotherProgram = !NamesBrowser(existing, browser);
        registry.ReleaseKey();
    }

    if (browseIsAnotherProgram && registry.SelectKey(typeKey + "\\shell\\" + kOwnVerb + "\\command", kCreate)) {
        registry.WriteStringValue(kDefaultValue, command);
        registry.ReleaseKey();
    }
    visitedTypes.push_back(type);
    return ExtensionKey::Had;
}

ExtensionKey UnregisterExtension(TRegistry& registry, HKEY classes, const std::string& extension) {
    const std::string browser = RequireBrowserPath();
    const std::string icon = IconLocationFor(browser);
    registry.SelectRoot(classes);

    std::string type;
    if (!ReadDefaultOf(registry, "\\" + extension, type)) return KeyNotHad(registry);
    if (type.empty()) return ExtensionKey::Had;
    const std::string typeKey = "\\" + type;

    if (registry.SelectKey(typeKey + "\\DefaultIcon", kOpenOnly)) {
        const std::string current = registry.ReadStringValue(kDefaultValue);
        if (current == browser + ",0" || current == icon) registry.WriteStringValue(kDefaultValue, "");
        registry.ReleaseKey();
    }

    std::string command;
    if (ReadDefaultOf(registry, typeKey + "\\shell\\" + kBrowseVerb + "\\command", command) &&
        NamesBrowser(command, browser)) {
        registry.DeleteKeyTree(typeKey + "\\shell\\" + kBrowseVerb);
        ForgetDefaultVerb(registry, typeKey, kBrowseVerb);
    }

    if (!ReadDefaultOf(registry, typeKey + "\\shell\\" + kOwnVerb + "\\command", command) ||
        !NamesBrowser(command, browser))
        return ExtensionKey::Had;
    registry.DeleteKeyTree(typeKey + "\\shell\\" + kOwnVerb);
    ForgetDefaultVerb(registry, typeKey, kOwnVerb);
    return ExtensionKey::Had;
}

}  // namespace lv
