#include "RegistrationCommands.h"

#include "AppError.h"
#include "Association.h"
#include "BrowserPath.h"
#include "ImageTypes.h"
#include "Registry.h"

namespace lv {
namespace {

[[noreturn]] LV_NOINLINE void RaiseAccessDenied(const char* commandWord) {
    throw EAccessDenied(
        "Changing file types for all users needs administrator rights. Run the command as an "
        "administrator: right-click Command Prompt, choose \"Run as administrator\" and enter \"" +
            GetModulePath().path + "\" " + commandWord,
        LV_CALLER_ADDRESS());
}

// One registry object for every extension, in table order. A key that cannot
// be had skips its extension; but a pass that had none of them, some for lack
// of rights, changed nothing at all, which is no success.
void RunPass(ExtensionKey (*associate)(TRegistry&, const std::string&), const char* commandWord) {
    TRegistry registry;
    bool anyHad = false;
    bool anyRefused = false;
    for (const char* extension : ImageExtensions) {
        const ExtensionKey key = associate(registry, extension);
        anyHad = anyHad || key == ExtensionKey::Had;
        anyRefused = anyRefused || key == ExtensionKey::Refused;
    }
    if (!anyHad && anyRefused) RaiseAccessDenied(commandWord);
}

}  // namespace

void InstallAssociations() { RunPass(RegisterExtension, "-install"); }

void UninstallAssociations() { RunPass(UnregisterExtension, "-uninstall"); }

void WriteAppSetting(const std::string& name, const std::string& value) {
    TRegistry registry;
    registry.SelectRoot(HKEY_CURRENT_USER);
    if (!registry.SelectKey("\\Software\\Tarnwick\\Lumivue 4", /*create=*/true)) return;
    registry.WriteStringValue(name, value);
    registry.ReleaseKey();
}

void SaveAppPath() { WriteAppSetting("FullAppPath", RequireBrowserPath()); }

}  // namespace lv
