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

// "X:\" with X a single-byte character: the walk starts after these three.
bool IsDrivePath(const std::string& path) {
    return path.size() >= 3 && NextAnsiChar(path.c_str()) == path.c_str() + 1 && path[1] == ':' && path[2] == '\\';
}

}  // namespace

std::string BrowserPathFor(const std::string& modulePath, const EntryLookup& lookup) {
    const std::string folder = DirectoryPart(modulePath);
    if (IsNetworkPath(modulePath)) return folder + kBrowserFileName;
    if (!IsDrivePath(folder)) return std::string();

    // The trailing backslash makes the file name the last component to look up.
    const std::string target = folder + kBrowserFileName + "\\";
    const auto length = static_cast<std::ptrdiff_t>(target.size());
    std::string walked;
    std::ptrdiff_t position = 3;  // the drive letter, colon and backslash are taken as written
    for (;;) {
        const std::size_t found = FindFirst(RightPart(target, length - position), '\\');
        if (found == std::string::npos) break;
        const std::ptrdiff_t separator = position + static_cast<std::ptrdiff_t>(found);
        std::string storedName;
        if (!lookup(LeftPart(target, separator), storedName)) return std::string();
        walked += '\\';
        walked += storedName;
        position = separator + 1;
    }
    return LeftPart(target, 2) + walked;
}

std::string IconLocationFor(const std::string& browserPath) {
    return DirectoryPart(browserPath) + kLauncherFileName + ",0";
}

}  // namespace lv
