#include "RegistrationCommands.h"

#include <shlobj.h>

#include "AppError.h"
#include "Association.h"
#include "BrowserPath.h"
#include "ImageTypes.h"
#include "Registry.h"
#include "SystemFunction.h"

namespace lv {
namespace {

// Tells the shell, when it goes, that file associations changed, so that
// Explorer shows the new icons and menus without a restart (Microsoft's
// "SHChangeNotify" and "File Types" pages). It goes whatever ends the pass,
// an error passing through included, after the pass's last change.
class AssociationChangeNotice {
public:
    AssociationChangeNotice() = default;
    AssociationChangeNotice(const AssociationChangeNotice&) = delete;
    AssociationChangeNotice& operator=(const AssociationChangeNotice&) = delete;
    ~AssociationChangeNotice() {
        const auto notify = GetSystemFunction<decltype(&::SHChangeNotify)>("shell32.dll", "SHChangeNotify");
        if (notify != nullptr) notify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, /*dwItem1=*/nullptr, /*dwItem2=*/nullptr);
    }
};

[[noreturn]] LV_NOINLINE void RaiseAccessDenied(const char* commandWord) {
    // The command comes first and is followed by a space, so that it reads as
    // typed and survives the report's cut.
    throw EAccessDenied("To change file types for all users, run \"" + GetModulePath() + "\" " + commandWord +
                            " in a Command Prompt opened with \"Run as administrator\": it needs administrator "
                            "rights",
                        LV_CALLER_ADDRESS());
}

// One registry object for every extension, in table order, rooted at the
// machine's own store of file types: HKEY_CLASSES_ROOT would also show the
// user's own copies of keys, and write values into them. A key that cannot
// be had skips its extension; but a pass that had none of them, some for lack
// of rights, changed nothing at all, which is no success.
template <typename Associate>
void RunPass(Associate associate, const char* commandWord) {
    UniqueKey classes;  // outlives the registry object, whose keys lie below it
    const LONG opened = OpenKey(HKEY_LOCAL_MACHINE, "Software\\Classes", MAXIMUM_ALLOWED, classes);
    if (opened != ERROR_SUCCESS) {
        // Every extension key lies below it.
        if (opened == ERROR_ACCESS_DENIED) RaiseAccessDenied(commandWord);
        return;
    }
    const AssociationChangeNotice notice;  // goes after the registry object, and so after its last change
    TRegistry registry;
    bool anyHad = false;
    bool anyRefused = false;
    for (const char* extension : ImageExtensions) {
        const ExtensionKey key = associate(registry, classes.Get(), extension);
        anyHad = anyHad || key == ExtensionKey::Had;
        anyRefused = anyRefused || key == ExtensionKey::Refused;
    }
    if (!anyHad && anyRefused) RaiseAccessDenied(commandWord);
}

}  // namespace

void InstallAssociations() {
    VisitedTypes visitedTypes;
    RunPass(
        [&visitedTypes](TRegistry& registry, HKEY classes, const std::string& extension) {
            return RegisterExtension(registry, classes, extension, visitedTypes);
        },
        "-install");
}

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
