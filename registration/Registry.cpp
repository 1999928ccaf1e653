#include "Registry.h"

#include <vector>

#include "AnsiText.h"
#include "AppError.h"
#include "StringData.h"
#include "SystemFunction.h"

namespace lv {

UniqueKey& UniqueKey::operator=(UniqueKey&& other) noexcept {
    Reset(other.Release());
    return *this;
}

HKEY UniqueKey::Release() {
    HKEY key = key_;
    key_ = nullptr;
    return key;
}

void UniqueKey::Reset(HKEY key) {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = key;
}

LONG OpenKey(HKEY base, const char* path, REGSAM access, UniqueKey& key, DWORD options) {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(base, path, options, access, &opened);
    if (status == ERROR_SUCCESS) key.Reset(opened);
    return status;
}

namespace {

constexpr DWORD kReserved = 0;
// Reads of a value that keeps growing give up after this many tries.
constexpr int kReadAttempts = 8;
// Enough for a type name, a description and most commands.
constexpr DWORD kFirstReadSize = 512;

// Raised through one helper so that the report points at the caller, the
// registry operation that failed.
[[noreturn]] LV_NOINLINE void RaiseRegistryError(const char* what, const std::string& valueName) {
    throw ERegistryException(std::string(what) + " '" + valueName + "'", LV_CALLER_ADDRESS());
}

// Deletes the key `key` itself, once its subkeys are gone. RegDeleteKeyA would
// open the key by name again, and a name that is a symbolic link leads it to
// the key linked to: another program's (Wine's advapi32 registry.c
// conformance test, test_symlinks). NtDeleteKey deletes the very key opened.
bool DeleteOpenedKey(HKEY key) {
    // Declared in no user-mode header: NTSTATUS NTAPI NtDeleteKey(HANDLE).
    using DeleteKeyFunction = LONG(NTAPI*)(HANDLE);
    const auto deleteKey = GetSystemFunction<DeleteKeyFunction>("ntdll.dll", "NtDeleteKey");
    return deleteKey != nullptr && deleteKey(key) == 0;
}

// Deletes every value of `key`, from the last.
void DeleteValues(HKEY key) {
    DWORD valueCount = 0;
    DWORD longestName = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount, &longestName, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return;
    std::vector<wchar_t> name(longestName + 1);
    for (DWORD index = valueCount; index-- > 0;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            RegDeleteValueW(key, name.data());
    }
}

// Appends the names of the key's `count` subkeys, the longest of them
// `longest` UTF-16 units, to `names`; false when a name could not be read,
// which is left out.
bool ReadSubkeyNames(HKEY key, DWORD count, DWORD longest, std::vector<std::string>& names) {
    // The ANSI form of a name takes up to two bytes for each UTF-16 unit in a
    // double-byte code page, three in UTF-8.
    std::vector<char> name(longest * 3 + 1);
    bool all = true;
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            names.emplace_back(name.data(), nameLength);
        else
            all = false;
    }
    return all;
}

// Deletes base\subkey and everything below it; true when the key itself is
// gone. A symbolic link is opened as the link, never as what it points to.
// The subkey `lastSubkey` (lower case; may be null) goes last, after the values.
bool DeleteTree(HKEY base, const std::string& subkey, REGSAM access, const char* lastSubkey) {
    UniqueKey key;
    if (OpenKey(base, subkey.c_str(), access, key, REG_OPTION_OPEN_LINK) != ERROR_SUCCESS &&
        OpenKey(base, subkey.c_str(), DELETE, key, REG_OPTION_OPEN_LINK) != ERROR_SUCCESS)
        return false;
    DWORD subkeyCount = 0;
    DWORD longestName = 0;
    std::vector<std::string> children;
    if (RegQueryInfoKeyA(key.Get(), /*lpClass=*/nullptr, /*lpcchClass=*/nullptr, /*lpReserved=*/nullptr, &subkeyCount,
                         &longestName, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
        ReadSubkeyNames(key.Get(), subkeyCount, longestName, children);
    std::string last;
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        if (lastSubkey != nullptr && AsciiLowerCase(*child) == lastSubkey)
            last = *child;
        else
            DeleteTree(key.Get(), *child, access, nullptr);
    }
    if (lastSubkey != nullptr) {
        DeleteValues(key.Get());
        if (!last.empty()) DeleteTree(key.Get(), last, access, nullptr);
    }
    return DeleteOpenedKey(key.Get());
}

// Whether the value's data is a string without text: no bytes, or only NULs.
bool IsEmptyString(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    for (DWORD i = 0; i < size; ++i)
        if (data[i] != 0) return false;
    return true;
}

}  // namespace

void TRegistry::SelectRoot(HKEY root) {
    if (root == root_) return;
    ReleaseKey();
    root_ = root;
}

TRegistry::ResolvedPath TRegistry::Resolve(const std::string& path) const {
    if (!path.empty() && path[0] == '\\') return {root_, path.substr(1), false};
    if (current_) return {current_.Get(), path, true};
    return {root_, path, false};
}

bool TRegistry::SelectKey(const std::string& path, bool create) {
    const ResolvedPath resolved = Resolve(path);
    HKEY opened = nullptr;
    DWORD disposition = REG_OPENED_EXISTING_KEY;
    const LONG status =
        create && !resolved.subkey.empty()
            ? RegCreateKeyExA(resolved.base, resolved.subkey.c_str(), kReserved, /*lpClass=*/nullptr,
                              REG_OPTION_NON_VOLATILE, access_, /*lpSecurityAttributes=*/nullptr, &opened, &disposition)
            : RegOpenKeyExA(resolved.base, resolved.subkey.c_str(), kReserved, access_, &opened);
    lastSelectStatus_ = status;
    if (status != ERROR_SUCCESS) return false;

    current_.Reset(opened);
    currentIsNew_ = disposition == REG_CREATED_NEW_KEY;
    if (resolved.relativeToCurrent && !currentPath_.empty())
        currentPath_ += "\\" + resolved.subkey;
    else
        currentPath_ = resolved.subkey;
    return true;
}

void TRegistry::ReleaseKey() {
    current_.Reset();
    currentIsNew_ = false;
    currentPath_.clear();
}

std::string ReadStringData(const std::string& name, const ValueQuery& query) {
    // Most values fit a small buffer, and one call reads them; a larger one
    // is read again in a buffer of the size that call reports.
    std::vector<char> data(kFirstReadSize);
    DWORD type = REG_NONE;
    DWORD size = kFirstReadSize;
    LONG status = query(&type, reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_FILE_NOT_FOUND) return std::string();
    // Any other failure: a value whose size cannot be had reads as empty,
    // one that cannot be read then is an error.
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
        if (query(&type, nullptr, &size) != ERROR_SUCCESS || size == 0) return std::string();
        status = ERROR_MORE_DATA;
    }
    // The value grew since its size was asked, or the size was an estimate
    // (the ANSI size of UTF-16 text): read again with the size now reported.
    for (int attempt = 0; status == ERROR_MORE_DATA && attempt < kReadAttempts; ++attempt) {
        data.resize(size > data.size() ? size : data.size() * 2);
        size = static_cast<DWORD>(data.size());
        status = query(&type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    if (status != ERROR_SUCCESS) RaiseRegistryError("Failed to get data for", name);
    if (size == 0) return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseRegistryError("Invalid data type for", name);

    // Stored data need not end in a NUL: never read past what was returned.
    const std::size_t returned = size < data.size() ? size : data.size();
    std::size_t length = 0;
    while (length < returned && data[length] != '\0') ++length;
    return std::string(data.data(), length);
}

std::string TRegistry::ReadStringValue(const std::string& name) {
    return ReadStringData(name, [&](DWORD* type, BYTE* data, DWORD* size) {
        return RegQueryValueExA(current_.Get(), name.c_str(), /*lpReserved=*/nullptr, type, data, size);
    });
}

void TRegistry::WriteStringValue(const std::string& name, const std::string& value) {
    const DWORD sizeWithTerminator = static_cast<DWORD>(value.size()) + 1;
    if (RegSetValueExA(current_.Get(), name.c_str(), kReserved, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       sizeWithTerminator) != ERROR_SUCCESS)
        RaiseRegistryError("Failed to set data for", name);
}

bool TRegistry::DeleteKeyTree(const std::string& path, const char* lastSubkey) {
    const ResolvedPath resolved = Resolve(path);
    // An empty path would name the base key itself: a root or the current key.
    if (resolved.subkey.empty()) return false;
    return DeleteTree(resolved.base, resolved.subkey, access_, lastSubkey);
}

KeyContents TRegistry::InspectKey(const std::string& path) const {
    const ResolvedPath resolved = Resolve(path);
    KeyContents contents;
    UniqueKey key;
    if (resolved.subkey.empty() ||
        OpenKey(resolved.base, resolved.subkey.c_str(), KEY_READ, key, REG_OPTION_OPEN_LINK) != ERROR_SUCCESS)
        return contents;
    contents.exists = true;
    DWORD subkeyCount = 0, longestSubkey = 0, valueCount = 0, longestValueName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeyCount, &longestSubkey, nullptr, &valueCount,
                         &longestValueName, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return contents;
    contents.valueCount = valueCount;
    if (!ReadSubkeyNames(key.Get(), subkeyCount, longestSubkey, contents.subkeys)) return contents;
    std::vector<wchar_t> valueName(longestValueName + 1);
    std::vector<BYTE> data(longestData + 1);
    for (DWORD index = 0; index < valueCount; ++index) {
        DWORD nameLength = static_cast<DWORD>(valueName.size());
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(data.size());
        if (RegEnumValueW(key.Get(), index, valueName.data(), &nameLength, nullptr, &type, data.data(), &size) !=
            ERROR_SUCCESS)
            return contents;
        contents.onlyEmptyStrings = contents.onlyEmptyStrings && IsEmptyString(type, data, size);
    }
    contents.complete = true;
    return contents;
}

}  // namespace lv
