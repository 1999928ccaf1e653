// Where the browser path walk meets Windows: the module path and one directory lookup.
#include <windows.h>

#include "BrowserPath.h"

namespace lv {
namespace {

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

}  // namespace

std::string GetModulePath() {
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(/*hModule=*/nullptr, buffer, MAX_PATH);
    // A full buffer means the path was cut short (older systems do not even
    // report ERROR_INSUFFICIENT_BUFFER); a cut path would name the wrong folder.
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(buffer, length);
}

bool FindEntryName(const std::string& path, std::string& storedName) {
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA(path.c_str(), &found));
    if (!search) return false;
    storedName = found.cFileName;
    return true;
}

std::string GetBrowserPath() { return BrowserPathFor(GetModulePath(), FindEntryName); }

std::string GetIconLocation() { return IconLocationFor(GetBrowserPath()); }

}  // namespace lv
