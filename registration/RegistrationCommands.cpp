#include "RegistrationCommands.h"

#include "Association.h"
#include "ImageTypes.h"
#include "Registry.h"

namespace lv {

void InstallAssociations() {
    TRegistry registry;
    for (const char* extension : ImageExtensions) RegisterExtension(registry, extension);
}

void UninstallAssociations() {
    TRegistry registry;
    for (const char* extension : ImageExtensions) UnregisterExtension(registry, extension);
}

void WriteAppSetting(const std::string& name, const std::string& value) {
    TRegistry registry;
    registry.SelectRoot(HKEY_CURRENT_USER);
    if (!registry.SelectKey("\\Software\\Tarnwick\\Lumivue 4", /*create=*/true)) return;
    registry.WriteStringValue(name, value);
    registry.ReleaseKey();
}

void SaveAppPath() { WriteAppSetting("FullAppPath", RequireBrowserPath()); }

}  // namespace lv
