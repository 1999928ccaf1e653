// The "-install" and "-uninstall" commands and the one per-user setting.
#pragma once

#include <string>

namespace lv {

// Associate, or dissociate, every picture extension in table order through one
// registry object. An error ends the pass at that extension. A pass that could
// have none of the extension keys, some of them for lack of rights, raises
// EAccessDenied: it changed nothing.
void InstallAssociations();
void UninstallAssociations();

// Writes `value` as `name` under HKEY_CURRENT_USER\Software\Tarnwick\Lumivue 4,
// creating the key when missing; a key that cannot be had is skipped silently.
void WriteAppSetting(const std::string& name, const std::string& value);

// Records the browser's path as "FullAppPath".
void SaveAppPath();

}  // namespace lv
