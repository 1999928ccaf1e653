#include "BrowserPath.h"

#include "AnsiText.h"

namespace lv {

std::string LeftPart(const std::string& text, std::ptrdiff_t count) {
    if (count <= 0) return std::string();
    return text.substr(0, static_cast<std::size_t>(count));
}

std::string RightPart(const std::string& text, std::ptrdiff_t count) {
    if (count <= 0) return std::string();
    const auto n = static_cast<std::size_t>(count);
    return n >= text.size() ? text : text.substr(text.size() - n);
}

namespace {

bool IsNetworkPath(const std::string& path) { return path.compare(0, 2, "\\\\") == 0; }

bool EndsInSpaceOrDot(const std::string& name) { return !name.empty() && (name.back() == ' ' || name.back() == '.'); }

// "X:\" with X a single-byte character: the walk starts after these three.
bool IsDrivePath(const std::string& path) {
    return path.size() >= 3 && NextAnsiChar(path.c_str()) == path.c_str() + 1 && path[1] == ':' && path[2] == '\\';
}

}  // namespace

BrowserSearch FindBrowser(const std::string& modulePath, const EntryLookup& lookup) {
    const std::string folder = DirectoryPart(modulePath);
    if (IsNetworkPath(modulePath)) return {folder + kBrowserFileName, folder, BrowserProblem::None};
    if (!IsDrivePath(folder)) return {std::string(), folder, BrowserProblem::LauncherPathUnknown};

    // The trailing backslash makes the file name the last component to look up.
    const std::string target = folder + kBrowserFileName + "\\";
    const auto length = static_cast<std::ptrdiff_t>(target.size());
    const std::string drive = LeftPart(target, 2);
    std::string walked;
    FoundEntry entry;
    std::ptrdiff_t position = 3;  // the drive letter, colon and backslash are taken as written
    for (;;) {
        const std::size_t found = FindFirst(RightPart(target, length - position), '\\');
        if (found == std::string::npos) break;
        const std::ptrdiff_t separator = position + static_cast<std::ptrdiff_t>(found);
        const bool isBrowser = separator == length - 1;
        if (!lookup(LeftPart(target, separator), entry))
            return {std::string(), isBrowser ? drive + walked + "\\" : folder, BrowserProblem::NotFound};
        walked += '\\';
        walked += entry.name;
        // Windows drops such an ending whenever it looks the path up, so that
        // starting the browser would find some other folder's.
        if (EndsInSpaceOrDot(entry.name) || EndsInSpaceOrDot(target.substr(position, separator - position)))
            return {std::string(), drive + walked + "\\", BrowserProblem::FolderNotNamedExactly};
        position = separator + 1;
    }
    const std::string browserFolder = DirectoryPart(drive + walked);
    if (entry.isFolder) return {std::string(), browserFolder, BrowserProblem::IsFolder};
    return {drive + walked, browserFolder, BrowserProblem::None};
}

std::string IconLocationFor(const std::string& browserPath) {
    return DirectoryPart(browserPath) + kLauncherFileName + ",0";
}

}  // namespace lv
