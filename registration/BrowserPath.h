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

// A directory entry as one lookup finds it.
struct FoundEntry {
    std::string name;  // as the file system stores it
    bool isFolder = false;
};

// One directory lookup: true and the entry that `path` names, or false when there is none.
using EntryLookup = std::function<bool(const std::string& path, FoundEntry& entry)>;

// Why no browser can be used; each is reported in its own words.
enum class BrowserProblem {
    None,
    LauncherPathUnknown,    // the launcher's own path cannot be read, or names no folder
    FolderNotSpellable,     // the ANSI code page spells the launcher's folder as some other one
    NotFound,               // no Vistel4.exe in the launcher's folder
    IsFolder,               // the Vistel4.exe there is a folder
    IsLauncher,             // the Vistel4.exe there is the launcher itself
    FolderNotNamedExactly,  // a folder's name ends in a space or a dot, which path lookups drop
};

struct BrowserSearch {
    std::string path;    // the browser's path; empty unless the problem is None
    std::string folder;  // the folder concerned, in stored names as far as the walk got
    BrowserProblem problem = BrowserProblem::None;
};

// The browser for a launcher whose module path is `modulePath`, walked
// component by component through `lookup`. A network path ("\\...") is taken
// as it is, with no lookups; any other must be a drive path ("X:\...").
BrowserSearch FindBrowser(const std::string& modulePath, const EntryLookup& lookup);

// The icon reference registered for file types: the launcher, by its fixed
// name, in the browser's folder.
std::string IconLocationFor(const std::string& browserPath);

// The running launcher's path as the ANSI entry point reports it, in full;
// empty when it cannot be had.
std::string GetModulePath();

// One lookup of exactly `path`, with none of the trimming Windows does to
// the names of a path; the first entry found, whatever its attributes. A
// stored name the ANSI code page cannot spell counts as none.
bool FindEntryName(const std::string& path, FoundEntry& entry);

// The browser beside the running launcher, or why there is none. Systems
// that ignore the launcher's UTF-8 setting spell a name their ANSI code page
// lacks with look-alike characters: the name of some other folder.
BrowserSearch LocateBrowser();
// Its path; empty when there is none.
std::string GetBrowserPath();

}  // namespace lv
