#include "Association.h"

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

// Why the extension's key could not be had.
ExtensionKey KeyNotHad(const TRegistry& registry) {
    return registry.LastSelectWasRefused() ? ExtensionKey::Refused : ExtensionKey::Missing;
}

}  // namespace

std::string ShellCommandFor(const std::string& browserPath) { return "\"" + browserPath + "\" /shell \"%1\""; }

LV_NOINLINE std::string RequireBrowserPath() {
    std::string browser = GetBrowserPath();
    if (!browser.empty()) return browser;
    const ModulePath modulePath = GetModulePath();
    const std::string where = "the folder \"" + DirectoryPart(modulePath.path) + "\"";
    const std::string missing = std::string("The browser \"") + kBrowserFileName + "\" was not found";
    throw EBrowserNotFound(modulePath.exact ? missing + " in " + where
                                            : missing + ": this system's code page cannot spell the name of " + where,
                           LV_CALLER_ADDRESS());
}

ExtensionKey RegisterExtension(TRegistry& registry, const std::string& extension) {
    const std::string browser = RequireBrowserPath();
    const std::string command = ShellCommandFor(browser);
    registry.SelectRoot(HKEY_CLASSES_ROOT);

    if (!registry.SelectKey("\\" + extension, kCreate)) return KeyNotHad(registry);
    std::string type = registry.ReadStringValue(kDefaultValue);
    if (type.empty()) {
        type = TypeNameFor(extension);
        registry.WriteStringValue(kDefaultValue, type);
    }
    registry.ReleaseKey();
    const std::string typeKey = "\\" + type;

    if (registry.SelectKey(typeKey, kCreate)) {
        if (registry.ReadStringValue(kDefaultValue).empty())
            registry.WriteStringValue(kDefaultValue, GetFileTypeDescription(extension));
        registry.ReleaseKey();
    }

    if (registry.SelectKey(typeKey + "\\DefaultIcon", kCreate)) {
        if (registry.ReadStringValue(kDefaultValue).empty())
            registry.WriteStringValue(kDefaultValue, IsIconFormat(extension) ? "%1" : IconLocationFor(browser));
        registry.ReleaseKey();
    }

    bool browseIsAnotherProgram = false;
    if (registry.SelectKey(typeKey + "\\shell\\" + kBrowseVerb + "\\command", kCreate)) {
        const std::string existing = registry.ReadStringValue(kDefaultValue);
        if (existing.empty())
            registry.WriteStringValue(kDefaultValue, command);
        else
            browseIsAnotherProgram = !ContainsText(existing, browser);
        registry.ReleaseKey();
    }

    if (browseIsAnotherProgram && registry.SelectKey(typeKey + "\\shell\\" + kOwnVerb + "\\command", kCreate)) {
        registry.WriteStringValue(kDefaultValue, command);
        registry.ReleaseKey();
    }
    return ExtensionKey::Had;
}

ExtensionKey UnregisterExtension(TRegistry& registry, const std::string& extension) {
    const std::string browser = RequireBrowserPath();
    const std::string icon = IconLocationFor(browser);
    registry.SelectRoot(HKEY_CLASSES_ROOT);

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
        ContainsText(command, browser)) {
        registry.DeleteKeyTree(typeKey + "\\shell\\" + kBrowseVerb);
        ForgetDefaultVerb(registry, typeKey, kBrowseVerb);
    }

    if (!ReadDefaultOf(registry, typeKey + "\\shell\\" + kOwnVerb + "\\command", command) ||
        !ContainsText(command, browser))
        return ExtensionKey::Had;
    registry.DeleteKeyTree(typeKey + "\\shell\\" + kOwnVerb);
    ForgetDefaultVerb(registry, typeKey, kOwnVerb);
    return ExtensionKey::Had;
}

}  // namespace lv
