// Associating one picture extension with the browser in the shell, and
// taking that association away again.
//
// Association only adds: it adopts whatever file type the extension already
// has, fills in the description, icon and "Browse" verb only where they are
// empty, and when "Browse" belongs to another program it adds a verb of its
// own, "Browse with Lumivue". The same verbs go under
// SystemFileAssociations\<extension>, where the shell finds them whatever
// default program a user picked. Dissociation removes only verbs whose
// command names this browser (or that a run cut short left empty), and
// empties only icon references to this installation.
#pragma once

#include <string>
#include <vector>

#include "Registry.h"

namespace lv {

// The command registered for the browser at `browserPath`: "<path>" /shell "%1",
// with each "%" of the path doubled, as the shell reads it.
std::string ShellCommandFor(const std::string& browserPath);

// The browser's path; raises EBrowserNotFound, saying why, when there is no
// browser to use beside the launcher.
std::string RequireBrowserPath();

// Whether the extension's own key could be had; without it nothing else is done.
enum class ExtensionKey { Had, Missing, Refused };

// The file types an association pass has been through, by their names as
// read. Extensions may share a type (.jpeg, .jpg and .jpe share "jpegfile"),
// and a second visit would change nothing: every value association writes is
// non-empty, so it fills nothing the first visit left, and a key the first
// could not have the second cannot either. So the type is skipped.
using VisitedTypes = std::vector<std::string>;

// Both work under `classes`, the machine's store of file types, leave
// `registry` rooted there with no key selected, and raise what the registry
// raises.
ExtensionKey RegisterExtension(TRegistry& registry, HKEY classes, const std::string& extension,
                               VisitedTypes& visitedTypes);
ExtensionKey UnregisterExtension(TRegistry& registry, HKEY classes, const std::string& extension);

}  // namespace lv
