// Where the browser path walk meets Windows: the module path and one directory lookup.
#include "PlatformWin32.h"

#include <algorithm>
#include <cwchar>
#include <utility>
#include <vector>

#include "AnsiText.h"
#include "BrowserPath.h"

namespace lv {
namespace {

// The longest path Windows knows, in UTF-16 units.
constexpr DWORD kLongestPath = 32768;

// Owns a directory search handle.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// UTF-16 text, kept in a vector: std::wstring would link a second string
// class into the launcher, 40 KB of it.
using WideText = std::vector<wchar_t>;

WideText WideFromAnsi(const std::string& text) {
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    WideText wide(static_cast<std::size_t>(length));
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

// `wide` in the ANSI code page; false when the code page cannot spell it and
// would put look-alike characters or question marks in its place.
bool AnsiFromWide(const WideText& wide, std::string& text) {
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    text.assign(static_cast<std::size_t>(length), '\0');
    if (length > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), size, &text[0], length, nullptr, nullptr);
    return WideFromAnsi(text) == wide;
}

// The module's path in UTF-16; empty when it cannot be had.
WideText WideModulePath(HMODULE module) {
    WideText path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return WideText();
        // A full buffer means the path was cut short.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= kLongestPath) return WideText();
        path.resize(path.size() * 2);
    }
}

struct ModuleLocation {
    std::string path;   // as the ANSI entry point reports it
    bool folderExact;   // whether its folder reads back as the real one, letter for letter
    WideText fileName;  // the module file's own name, in UTF-16
};

ModuleLocation ReadModulePath(HMODULE module) {
    // GetModuleFileNameA cuts a path that is too long for its buffer without a
    // word (Wine 8 with UTF-8, which takes up to three bytes where UTF-16 takes
    // one unit), so the buffer is sized from the UTF-16 path.
    const WideText wide = WideModulePath(module);
    if (wide.empty()) return {std::string(), false, WideText()};
    std::vector<char> buffer(wide.size() * 3 + 1);
    const DWORD length = GetModuleFileNameA(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return {std::string(), false, WideText()};
    std::string path(buffer.data(), length);
    const auto nameStart = std::find(wide.rbegin(), wide.rend(), L'\\').base();
    const bool folderExact = WideFromAnsi(DirectoryPart(path)) == WideText(wide.begin(), nameStart);
    return {std::move(path), folderExact, WideText(nameStart, wide.end())};
}

// Whether the file `browserPath` names, in the launcher's own folder, is the
// launcher: a launcher renamed to the browser's name would start itself
// without end. File names compare as the file system does, in either case.
bool IsLauncherFile(const ModuleLocation& launcher, const std::string& browserPath) {
    const WideText browserName = WideFromAnsi(browserPath.substr(DirectoryPart(browserPath).size()));
    return CompareStringOrdinal(launcher.fileName.data(), static_cast<int>(launcher.fileName.size()),
                                browserName.data(), static_cast<int>(browserName.size()),
                                /*bIgnoreCase=*/TRUE) == CSTR_EQUAL;
}

}  // namespace

std::string GetModuleFileNameText(HMODULE module) { return ReadModulePath(module).path; }

std::string GetModulePath() { return ReadModulePath(/*module=*/nullptr).path; }

bool FindEntryName(const std::string& path, FoundEntry& entry) {
    // Through the UTF-16 entry point: the ANSI one's fixed buffer cannot hold
    // every stored name in UTF-8, and systems that ignore the launcher's UTF-8
    // setting spell a name their code page lacks with look-alike characters.
    // The "\\?\" prefix asks for the name as it is: without it, Windows drops
    // the spaces and dots that end the last name, and finds some other entry.
    WideText widePath = WideFromAnsi("\\\\?\\" + path);
    widePath.push_back(L'\0');
    WIN32_FIND_DATAW found;
    const FindHandle search(FindFirstFileW(widePath.data(), &found));
    if (!search) return false;
    entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return AnsiFromWide(WideText(found.cFileName, found.cFileName + std::wcslen(found.cFileName)), entry.name);
}

BrowserSearch LocateBrowser() {
    const ModuleLocation launcher = ReadModulePath(/*module=*/nullptr);
    if (launcher.path.empty()) return {std::string(), std::string(), BrowserProblem::LauncherPathUnknown};
    // A look-alike of the launcher's folder may hold some other Vistel4.exe.
    if (!launcher.folderExact) return {std::string(), DirectoryPart(launcher.path), BrowserProblem::FolderNotSpellable};
    BrowserSearch search = FindBrowser(launcher.path, FindEntryName);
    if (search.problem == BrowserProblem::None && IsLauncherFile(launcher, search.path))
        return {std::string(), search.folder, BrowserProblem::IsLauncher};
    return search;
}

std::string GetBrowserPath() { return LocateBrowser().path; }

}  // namespace lv
