#include "TestSupport.h"

#include <sddl.h>

#include <fstream>
#include <stdexcept>
#include <utility>

namespace lvtest {
namespace {

void Check(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what + " failed, error " + std::to_string(GetLastError()));
}

struct Process {
    PROCESS_INFORMATION info{};
    // Wine hands a child its parent's standard handles unless it is given others.
    explicit Process(const std::string& commandLine, HANDLE standardError = nullptr, const char* desktop = nullptr) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdError = standardError;
        std::string desktopName = desktop == nullptr ? "" : desktop;
        startup.lpDesktop = desktop == nullptr ? nullptr : &desktopName[0];
        std::string line = commandLine;
        Check(CreateProcessA(nullptr, &line[0], nullptr, nullptr, /*bInheritHandles=*/standardError != nullptr, 0,
                             nullptr, nullptr, &startup, &info) != 0,
              "starting " + commandLine);
    }
    ~Process() {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    DWORD Wait() {
        // A process left running would keep its files open for every later test.
        if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0) {
            TerminateProcess(info.hProcess, 1);
            WaitForSingleObject(info.hProcess, 5000);
            throw std::runtime_error("the process did not end within 30 s and was ended");
        }
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
};

}  // namespace

std::string ReadFileText(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string text(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &read, nullptr);
    CloseHandle(file);
    text.resize(read);
    return text;
}

namespace {

// Between this program's ANSI code page and UTF-16.
std::wstring WideText(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                             &wide[0], static_cast<int>(wide.size()))));
    return wide;
}
std::string AnsiText(const std::wstring& wide) {
    std::string text(wide.size() * 4, '\0');
    text.resize(
        static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                                                     static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}
std::string AnsiFromUtf16Bytes(const std::string& bytes) {
    return AnsiText(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t)));
}

// The shipped launcher with the manifest's UTF-8 setting turned into a comment
// of the same length: every other byte, the code among them, stays as shipped.
std::string WithoutUtf8Setting(std::string launcher) {
    const std::string setting =
        "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8</activeCodePage>";
    const std::size_t at = launcher.find(setting);
    if (at == std::string::npos || launcher.find(setting, at + 1) != std::string::npos)
        throw std::runtime_error("the launcher's manifest does not hold its UTF-8 setting once");
    launcher.replace(at, setting.size(), "<!--" + std::string(setting.size() - 7, ' ') + "-->");
    return launcher;
}

void RemoveFolderTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolderTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    if (folder.size() > 2) RemoveDirectoryA(folder.c_str());  // "X:" is a drive root: keep it
}

void CreateFolders(const std::string& folder) {
    for (std::size_t i = 3; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '\\') CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
    }
}

HKEY OpenKey(HKEY root, const std::string& path, bool create) {
    HKEY key = nullptr;
    const LONG status = create
                            ? RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
                            : RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key);
    return status == ERROR_SUCCESS ? key : nullptr;
}

struct DialogSearch {
    DWORD processId;
    HWND found;
};

// Stops at the first dialog window of the searched process.
BOOL CALLBACK FindDialogOf(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<DialogSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    // Only once it is shown is the dialog's text complete.
    if (owner != search->processId || std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

std::string ManyScriptsFolder() {
    std::string folder = "C:\\lvtest\\Łukasz Ωmega Фото 表示\\";
    for (int i = 0; i < 70; ++i) folder += "写";
    return folder;
}

std::string BinFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1);
}

std::string MakeLayout(const std::string& folder, bool withBrowser, LauncherBuild build) {
    RemoveFolderTree(folder);
    CreateFolders(folder);
    const std::string target = folder + "\\";
    const std::string launcher = ReadFileText(BinFolder() + "lvlaunch.exe");
    std::ofstream copy(target + "lvlaunch.exe", std::ios::binary);
    copy << (build == LauncherBuild::Shipped ? launcher : WithoutUtf8Setting(launcher));
    Check(!launcher.empty() && copy.flush().good(), "copying the launcher");
    if (withBrowser)
        Check(CopyFileA((BinFolder() + "stand_in_browser.exe").c_str(), (target + "Vistel4.exe").c_str(), FALSE) != 0,
              "copying the stand-in browser");
    return target;
}

std::string MakeTrimmedNameLayout(const std::string& folder) {
    MakeLayout(folder);
    const std::wstring spaced = L"\\\\?\\" + WideText(folder) + L" ";
    CreateDirectoryW(spaced.c_str(), nullptr);
    DeleteFileW((spaced + L"\\received.txt").c_str());
    for (const char* name : {"lvlaunch.exe", "Vistel4.exe"})
        Check(CopyFileW(WideText(folder + "\\" + name).c_str(), (spaced + L"\\" + WideText(name)).c_str(), FALSE) != 0,
              "copying " + std::string(name) + " into the spaced folder");
    return folder + " \\";
}

DWORD RunProcess(const std::string& commandLine) { return Process(commandLine).Wait(); }

std::string ReceivedBy(const std::string& folder, DWORD timeoutMs) {
    const std::string record = folder + (folder.back() == '\\' ? "" : "\\") + "received.txt";
    for (DWORD waited = 0;; waited += 20) {
        if (GetFileAttributesA(record.c_str()) != INVALID_FILE_ATTRIBUTES)
            return AnsiFromUtf16Bytes(ReadFileText(record));
        if (waited >= timeoutMs) return std::string();
        Sleep(20);
    }
}

ErrorBox RunExpectingErrorBox(const std::string& commandLine, HANDLE standardError, const char* desktop) {
    Process process(commandLine, standardError, desktop);
    ErrorBox box;
    DialogSearch search{process.info.dwProcessId, nullptr};
    for (int attempt = 0; attempt < 500 && !box.shown; ++attempt) {
        if (WaitForSingleObject(process.info.hProcess, 20) == WAIT_OBJECT_0) break;
        EnumWindows(FindDialogOf, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) continue;
        char title[256] = "", text[2048] = "";
        GetWindowTextA(search.found, title, sizeof title);
        GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
        box = {title, text, 0, true};
        PostMessageA(search.found, WM_COMMAND, IDOK, 0);
    }
    box.exitCode = process.Wait();
    return box;
}

std::string ShortPathOf(const std::string& path) {
    char shortPath[MAX_PATH];
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    Check(length > 0 && length < MAX_PATH, "GetShortPathNameA");
    return shortPath;
}

bool KeySnapshot::operator==(const KeySnapshot& other) const {
    return exists == other.exists && values == other.values && subkeys == other.subkeys;
}

KeySnapshot Snapshot(HKEY root, const std::string& path) {
    KeySnapshot snapshot;
    HKEY key = OpenKey(root, path, false);
    if (key == nullptr) return snapshot;
    snapshot.exists = true;
    char name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::string data(size, '\0');
        nameLength = sizeof name;
        RegEnumValueA(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
        data.resize(size);
        snapshot.values[std::string(name, nameLength)] = {type, data};
    }
    std::vector<std::string> children;
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name, nameLength);
    }
    RegCloseKey(key);
    for (const std::string& child : children) snapshot.subkeys[child] = Snapshot(root, path + "\\" + child);
    return snapshot;
}

void Restore(HKEY root, const std::string& path, const KeySnapshot& snapshot) {
    DeleteTree(root, path);
    if (!snapshot.exists) return;
    HKEY key = OpenKey(root, path, true);
    Check(key != nullptr, "recreating " + path);
    for (const auto& [name, value] : snapshot.values)
        RegSetValueExA(key, name.c_str(), 0, value.first, reinterpret_cast<const BYTE*>(value.second.data()),
                       static_cast<DWORD>(value.second.size()));
    RegCloseKey(key);
    for (const auto& [name, child] : snapshot.subkeys) Restore(root, path + "\\" + name, child);
}

std::string Dump(const KeySnapshot& snapshot, const std::string& indent) {
    if (!snapshot.exists) return indent + "(no key)\n";
    std::string text;
    for (const auto& [name, value] : snapshot.values)
        text += indent + "[" + name + "] type " + std::to_string(value.first) + " = " + value.second + "\n";
    for (const auto& [name, child] : snapshot.subkeys) text += indent + name + "\\\n" + Dump(child, indent + "  ");
    return text;
}

void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& data) {
    HKEY key = OpenKey(root, path, true);
    Check(key != nullptr, "creating " + path);
    const LONG status = RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                       static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    SetLastError(static_cast<DWORD>(status));
    Check(status == ERROR_SUCCESS, "setting " + path + "\\" + name);
}

void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& value) {
    SetValue(root, path, name, REG_SZ, std::string(value.c_str(), value.size() + 1));
}

std::pair<DWORD, std::string> GetValue(HKEY root, const std::string& path, const std::string& name) {
    std::pair<DWORD, std::string> missing{kMissingType, "<missing>"};
    HKEY key = OpenKey(root, path, false);
    if (key == nullptr) return missing;
    const std::wstring wideName = WideText(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        RegCloseKey(key);
        return missing;
    }
    std::string data(size, '\0');
    RegQueryValueExW(key, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
    RegCloseKey(key);
    data.resize(size);
    return {type, type == REG_SZ || type == REG_EXPAND_SZ ? AnsiFromUtf16Bytes(data) : data};
}

std::string GetString(HKEY root, const std::string& path, const std::string& name) {
    const auto value = GetValue(root, path, name);
    if (value.first == kMissingType) return value.second;
    return value.second.substr(0, value.second.find('\0'));
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = OpenKey(root, path, false);
    if (key != nullptr) RegCloseKey(key);
    return key != nullptr;
}

void MakeKey(HKEY root, const std::string& path) {
    HKEY key = OpenKey(root, path, true);
    Check(key != nullptr, "creating " + path);
    RegCloseKey(key);
}

void DeleteTree(HKEY root, const std::string& path) {
    // An empty path would empty the root itself.
    if (path.empty()) throw std::invalid_argument("DeleteTree needs a key below the root");
    // RegDeleteTreeA empties the key; RegDeleteKeyA removes the key itself.
    if (RegDeleteTreeA(root, path.c_str()) == ERROR_SUCCESS) RegDeleteKeyA(root, path.c_str());
}

namespace {

LONG SetAccessList(const std::string& path, const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return static_cast<LONG>(GetLastError());
    HKEY key = nullptr;
    // The owner may always change the list, whatever it grants.
    LONG status = RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, WRITE_DAC, &key);
    if (status == ERROR_SUCCESS) status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    if (key != nullptr) RegCloseKey(key);
    LocalFree(descriptor);
    return status;
}

}  // namespace

ClassesAccessList::ClassesAccessList(std::vector<std::string> paths, const char* sddl) : paths_(std::move(paths)) {
    for (const std::string& path : paths_) {
        RegCloseKey(OpenKey(HKEY_CLASSES_ROOT, path, true));
        SetLastError(static_cast<DWORD>(SetAccessList(path, sddl)));
        Check(GetLastError() == ERROR_SUCCESS, "setting the access list of " + path);
    }
}

ClassesAccessList::~ClassesAccessList() {
    for (const std::string& path : paths_) SetAccessList(path, "D:(A;;KA;;;WD)");
}

}  // namespace lvtest

#include "ImageTypes.h"

namespace lvtest {

ClassesRootGuard::ClassesRootGuard(std::vector<std::string> extraKeys) {
    extraKeys.push_back("SystemFileAssociations");
    for (const char* extension : lv::ImageExtensions) {
        extraKeys.push_back(extension);
        extraKeys.push_back(lv::TypeNameFor(extension));
        const std::string type = GetString(HKEY_CLASSES_ROOT, extension);
        if (type != "<missing>" && !type.empty()) extraKeys.push_back(type);
    }
    for (const std::string& key : extraKeys) saved_[key] = Snapshot(HKEY_CLASSES_ROOT, key);
    settings_ = Snapshot(HKEY_CURRENT_USER, kSettingsKey);
}

ClassesRootGuard::~ClassesRootGuard() {
    // Types that extensions were pointed to meanwhile go first.
    for (const char* extension : lv::ImageExtensions) {
        const std::string type = GetString(HKEY_CLASSES_ROOT, extension);
        if (type != "<missing>" && !type.empty() && saved_.count(type) == 0) DeleteTree(HKEY_CLASSES_ROOT, type);
    }
    for (const auto& [key, snapshot] : saved_) Restore(HKEY_CLASSES_ROOT, key, snapshot);
    Restore(HKEY_CURRENT_USER, kSettingsKey, settings_);
}

std::vector<std::string> ClassesRootGuard::WatchedKeys() const {
    std::vector<std::string> keys;
    for (const auto& entry : saved_) keys.push_back(entry.first);
    return keys;
}

}  // namespace lvtest
