// Where the browser is: always "Vistel4.exe" in the launcher's own folder,
// spelled the way the file system stores each component (long names, stored
// letter case), so that registered commands and the saved path do not carry
// 8.3 aliases or whatever case the user happened to type.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace lv {

inline constexpr char kBrowserFileName[] = "Vistel4.exe";
inline constexpr char kLauncherFileName[] = "lvlaunch.exe";

// The first `count` characters of `text`; nothing for a count of 0 or less,
// all of it for a count beyond its length.
std::string LeftPart(const std::string& text, std::ptrdiff_t count);
// The last `count` characters of `text`, with the same limits.
std::string RightPart(const std::string& text, std::ptrdiff_t count);

// One directory lookup: true and the stored name of the entry that `path`
// names, or false when there is none.
using EntryLookup = std::function<bool(const std::string& path, std::string& storedName)>;

// The browser's path for a launcher whose module path is `modulePath`: the
// path walked component by component through `lookup`. Empty when a component
// is missing, or when `modulePath` is neither a drive path ("X:\...") nor a
// network path ("\\..."), which includes an empty one.
std::string BrowserPathFor(const std::string& modulePath, const EntryLookup& lookup);

// The icon reference registered for file types: the launcher, by its fixed
// name, in the browser's folder.
std::string IconLocationFor(const std::string& browserPath);

// The running launcher's path as the ANSI entry point reports it, in full
// (empty when it cannot be had), and whether that is its real path letter for
// letter. Systems that ignore the launcher's UTF-8 setting spell a name their
// ANSI code page lacks with look-alike characters: the name of some other folder.
struct ModulePath {
    std::string path;
    bool exact;
};
ModulePath GetModulePath();

// One lookup of exactly `path`; the first entry found, whatever its
// attributes. A stored name the ANSI code page cannot spell counts as none.
bool FindEntryName(const std::string& path, std::string& storedName);

// The browser's path; empty when it is missing or the launcher's own path is not exact.
std::string GetBrowserPath();
std::string GetIconLocation();

}  // namespace lv
