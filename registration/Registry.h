// TRegistry: one root key and at most one open ("current") key at a time,
// string values of that key, and whole key trees.
//
// Opening and creating keys never raises: a key that cannot be had is a false
// result, so registration skips what it may not touch. Reading and writing
// values raises ERegistryException.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace lv {

// Owns an open registry key handle.
class UniqueKey {
public:
    UniqueKey() = default;
    explicit UniqueKey(HKEY key) : key_(key) {}
    UniqueKey(UniqueKey&& other) noexcept : key_(other.Release()) {}
    UniqueKey& operator=(UniqueKey&& other) noexcept;
    UniqueKey(const UniqueKey&) = delete;
    UniqueKey& operator=(const UniqueKey&) = delete;
    ~UniqueKey() { Reset(); }

    HKEY Get() const { return key_; }
    HKEY Release();
    void Reset(HKEY key = nullptr);
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

// Opens base\path with `access` and `options` into `key`; the status of RegOpenKeyExA.
LONG OpenKey(HKEY base, const char* path, REGSAM access, UniqueKey& key, DWORD options = 0);

// What a key holds, read without raising: enough to tell whether it carries anything.
struct KeyContents {
    bool exists = false;
    bool complete = false;  // whether all its subkey names and values could be read
    std::vector<std::string> subkeys;
    std::size_t valueCount = 0;
    bool onlyEmptyStrings = true;  // every value a string (REG_SZ, REG_EXPAND_SZ) without text
};

class TRegistry {
public:
    TRegistry() = default;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Switching to another root releases the current key.
    void SelectRoot(HKEY root);

    // A path starting with '\\' is taken from the root, any other from the
    // current key (from the root when none is open). With `create`, missing
    // keys along the path are created. On failure nothing changes.
    bool SelectKey(const std::string& path, bool create);
    // Whether the last SelectKey failed because the key's access list refused
    // this program, as opposed to the key being missing.
    bool LastSelectWasRefused() const { return lastSelectStatus_ == ERROR_ACCESS_DENIED; }
    // Whether the last SelectKey created the current key, which then has no values.
    bool CurrentKeyIsNew() const { return currentIsNew_; }
    void ReleaseKey();
    bool HasCurrentKey() const { return static_cast<bool>(current_); }
    const std::string& CurrentPath() const { return currentPath_; }

    // The current key's value `name` ("" for the default value): empty when it
    // is missing or holds no data, unexpanded for REG_EXPAND_SZ. Raises for
    // any other type and for a failed read.
    std::string ReadStringValue(const std::string& name);
    // Stores `value` as REG_SZ with its terminating NUL. Raises on failure.
    void WriteStringValue(const std::string& name, const std::string& value);

    // Deletes the key `path` names with all its subkeys; true when the key
    // itself is gone. A missing key gives false and changes nothing. A
    // symbolic link in the tree is deleted as a link: what it points to stays.
    // The current key stays current.
    //
    // With `lastSubkey` (in lower case), the subkey of that name in any letter case goes
    // after every other subkey and after the key's own values, just before
    // the key itself: a deletion cut short then leaves it whole, or leaves a
    // key without values or subkeys.
    bool DeleteKeyTree(const std::string& path, const char* lastSubkey = nullptr);

    // What the key `path` names holds; a link is looked at as the link.
    KeyContents InspectKey(const std::string& path) const;

private:
    struct ResolvedPath {
        HKEY base;
        std::string subkey;
        bool relativeToCurrent;
    };
    ResolvedPath Resolve(const std::string& path) const;

    HKEY root_ = HKEY_CURRENT_USER;
    REGSAM access_ = KEY_ALL_ACCESS;
    LONG lastSelectStatus_ = ERROR_SUCCESS;
    bool currentIsNew_ = false;
    UniqueKey current_;
    std::string currentPath_;
};

}  // namespace lv
