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
const char kCommandKey[] = "command";  // as compared: lower case

bool IsIconFormat(const std::string& extension) {
    const std::string lower = AsciiLowerCase(extension);
    return lower == ".ico" || lower == ".cur";
}

// Empties the default verb of `shellKey` when it names `verb`.
void ForgetDefaultVerb(TRegistry& registry, const std::string& shellKey, const char* verb) {
    if (!registry.SelectKey(shellKey, kOpenOnly)) return;
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

// Whether the verb key carries nothing: no values, and no subkey but an empty
// "command". Only a run of this program cut short leaves one of its verbs so.
bool IsHollowVerb(const TRegistry& registry, const std::string& verbKey) {
    const KeyContents verb = registry.InspectKey(verbKey);
    if (!verb.exists || !verb.complete || verb.valueCount != 0) return false;
    // Key names compare in any letter case, so there is one "command" at most.
    for (const std::string& subkey : verb.subkeys)
        if (AsciiLowerCase(subkey) != kCommandKey) return false;
    if (verb.subkeys.empty()) return true;
    const KeyContents command = registry.InspectKey(verbKey + "\\" + kCommandKey);
    return command.complete && command.valueCount == 0 && command.subkeys.empty();
}

// Whether the verb is this program's to remove: its command names the
// browser, or it is one of its own left hollow.
bool IsOwnVerb(TRegistry& registry, const std::string& verbKey, const std::string& browser) {
    std::string command;
    if (ReadDefaultOf(registry, verbKey + "\\" + kCommandKey, command) && NamesBrowser(command, browser)) return true;
    return IsHollowVerb(registry, verbKey);
}

// The verb rule, for a file type's shell key and for the supplemental one
// alike: "Browse" where it has no command; where another program's command
// holds it, "Browse with Lumivue", written afresh on every run.
void RegisterVerbs(TRegistry& registry, const std::string& shellKey, const std::string& command,
                   const std::string& browser) {
    bool browseIsAnotherProgram = false;
    if (registry.SelectKey(shellKey + "\\" + kBrowseVerb + "\\" + kCommandKey, kCreate)) {
        const std::string existing = ReadDefaultValue(registry);
        if (existing.empty())
            registry.WriteStringValue(kDefaultValue, command);
        else
            browseIsAnotherProgram = !NamesBrowser(existing, browser);
        registry.ReleaseKey();
    }
    if (browseIsAnotherProgram && registry.SelectKey(shellKey + "\\" + kOwnVerb + "\\" + kCommandKey, kCreate)) {
        registry.WriteStringValue(kDefaultValue, command);
        registry.ReleaseKey();
    }
}

// Removes this program's verbs under `shellKey`. Each step leaves what a
// later run recognises, should the run end there: the default verb is
// emptied before the verb goes, and the verb's command goes last of it.
void UnregisterVerbs(TRegistry& registry, const std::string& shellKey, const std::string& browser) {
    for (const char* verb : {kBrowseVerb, kOwnVerb}) {
        const std::string verbKey = shellKey + "\\" + verb;
        if (!IsOwnVerb(registry, verbKey, browser)) continue;
        ForgetDefaultVerb(registry, shellKey, verb);
        registry.DeleteKeyTree(verbKey, kCommandKey);
    }
}

// The key whose verbs the shell offers for `extension` whatever program a
// user picked as its default: Windows reads it after the chosen program's
// type (Microsoft's "Application Registration" and "Association Arrays").
std::string SupplementalKey(const std::string& extension) { return "\\SystemFileAssociations\\" + extension; }

// Deletes `key` when it carries nothing: no subkeys, and no values but empty
// strings. A key left empty by an uninstaller is residue.
void DeleteIfBare(TRegistry& registry, const std::string& key) {
    const KeyContents contents = registry.InspectKey(key);
    if (contents.exists && contents.complete && contents.subkeys.empty() && contents.onlyEmptyStrings)
        registry.DeleteKeyTree(key);
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

namespace {

// The file type's part of association: the extension's type, its
// description, icon and verbs.
ExtensionKey RegisterFileType(TRegistry& registry, const std::string& extension, const std::string& browser,
                              const std::string& command, VisitedTypes& visitedTypes) {
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

    RegisterVerbs(registry, typeKey + "\\shell", command, browser);
    visitedTypes.push_back(type);
    return ExtensionKey::Had;
}

ExtensionKey UnregisterFileType(TRegistry& registry, const std::string& extension, const std::string& browser) {
    std::string type;
    if (!ReadDefaultOf(registry, "\\" + extension, type)) return KeyNotHad(registry);
    if (type.empty()) return ExtensionKey::Had;
    const std::string typeKey = "\\" + type;

    if (registry.SelectKey(typeKey + "\\DefaultIcon", kOpenOnly)) {
        const std::string current = registry.ReadStringValue(kDefaultValue);
        if (current == browser + ",0" || current == IconLocationFor(browser))
            registry.WriteStringValue(kDefaultValue, "");
        registry.ReleaseKey();
    }

    UnregisterVerbs(registry, typeKey + "\\shell", browser);
    return ExtensionKey::Had;
}

}  // namespace

ExtensionKey RegisterExtension(TRegistry& registry, HKEY classes, const std::string& extension,
                               VisitedTypes& visitedTypes) {
    const std::string browser = RequireBrowserPath();
    const std::string command = ShellCommandFor(browser);
    registry.SelectRoot(classes);
    const ExtensionKey key = RegisterFileType(registry, extension, browser, command, visitedTypes);
    // Whatever the extension's own key holds: these verbs do not depend on it.
    RegisterVerbs(registry, SupplementalKey(extension) + "\\shell", command, browser);
    return key;
}

ExtensionKey UnregisterExtension(TRegistry& registry, HKEY classes, const std::string& extension) {
    const std::string browser = RequireBrowserPath();
    registry.SelectRoot(classes);
    const ExtensionKey key = UnregisterFileType(registry, extension, browser);
    const std::string supplemental = SupplementalKey(extension);
    UnregisterVerbs(registry, supplemental + "\\shell", browser);
    // Whether or not a verb went now: an earlier run may have been cut short.
    DeleteIfBare(registry, supplemental + "\\shell");
    DeleteIfBare(registry, supplemental);
    return key;
}

}  // namespace lv
