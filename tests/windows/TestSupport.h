// Helpers for tests that run the real launcher under Wine: folder layouts
// with a stand-in browser, processes, message boxes and registry snapshots.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lvtest {

// The folder holding the test programs, lvlaunch.exe and the stand-in browser.
std::string BinFolder();

// The shipped launcher, or a copy of it that differs only in lacking the
// manifest's UTF-8 setting: the launcher as systems before Windows 10 1903
// run it, in the locale's ANSI code page.
enum class LauncherBuild { Shipped, WithoutUtf8Setting };

// Creates `folder` (and its parents) afresh, with lvlaunch.exe and, when
// `withBrowser`, the stand-in browser as Vistel4.exe. Returns the folder with
// a trailing backslash.
std::string MakeLayout(const std::string& folder, bool withBrowser = true,
                       LauncherBuild build = LauncherBuild::Shipped);

// `folder` and `folder` with a space appended, each with the launcher and the
// stand-in browser: the spaced one, made through the "\\?\" prefix, is a
// name Windows trims when it looks a path up. Returns the spaced folder with
// a trailing backslash.
std::string MakeTrimmedNameLayout(const std::string& folder);

// A folder named in Polish, Greek, Cyrillic and Japanese at once, which only
// UTF-8 can spell, with a subfolder that takes a launcher's path beyond
// MAX_PATH bytes in UTF-8.
std::string ManyScriptsFolder();

// The bytes of the file `path`; empty when it cannot be read.
std::string ReadFileText(const std::string& path);

// Runs `commandLine`, with no standard handles, and waits for it; returns its exit code.
DWORD RunProcess(const std::string& commandLine);

// What the stand-in browser in `folder` received through the UTF-16 entry
// point, in this program's code page, waiting up to `timeoutMs` for it to
// start; empty when it was not started.
std::string ReceivedBy(const std::string& folder, DWORD timeoutMs = 5000);

// Runs `commandLine`, which is expected to show one error box: reads its
// title and text, closes it, and returns the process's exit code. The process
// has no standard handles but `standardError`, and runs on `desktop`
// ("station\\desktop") when one is given.
struct ErrorBox {
    std::string title;
    std::string text;
    DWORD exitCode = 0;
    bool shown = false;
};
ErrorBox RunExpectingErrorBox(const std::string& commandLine, HANDLE standardError = nullptr,
                              const char* desktop = nullptr);

std::string ShortPathOf(const std::string& path);

// A registry tree copied into memory: compared, printed and written back.
struct KeySnapshot {
    bool exists = false;
    std::map<std::string, std::pair<DWORD, std::string>> values;  // name -> type, raw data
    std::map<std::string, KeySnapshot> subkeys;
    bool operator==(const KeySnapshot& other) const;
};
KeySnapshot Snapshot(HKEY root, const std::string& path);
void Restore(HKEY root, const std::string& path, const KeySnapshot& snapshot);
std::string Dump(const KeySnapshot& snapshot, const std::string& indent = "");

// Raw registry access for arranging and checking states in tests.
void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& data);
void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& value);
// The value's type and data, read through the UTF-16 entry point (strings in
// this program's code page), or "<missing>" of type kMissingType when absent.
constexpr DWORD kMissingType = 0xFFFFFFFF;
std::pair<DWORD, std::string> GetValue(HKEY root, const std::string& path, const std::string& name = "");
// A value's text (without the stored NUL), or "<missing>".
std::string GetString(HKEY root, const std::string& path, const std::string& name = "");
bool KeyExists(HKEY root, const std::string& path);
// Creates the key, and the keys along its path, without values.
void MakeKey(HKEY root, const std::string& path);
void DeleteTree(HKEY root, const std::string& path);

// Gives the keys `paths` under HKEY_CLASSES_ROOT, created where missing, the
// access list `sddl` ("D:(A;;KR;;;WD)": reading only), and full access again
// when it goes, so that they can be put back.
class ClassesAccessList {
public:
    ClassesAccessList(std::vector<std::string> paths, const char* sddl);
    ~ClassesAccessList();
    ClassesAccessList(const ClassesAccessList&) = delete;
    ClassesAccessList& operator=(const ClassesAccessList&) = delete;

private:
    std::vector<std::string> paths_;
};

}  // namespace lvtest

namespace lvtest {

// Puts back, when it goes, every key under HKEY_CLASSES_ROOT that registering
// the picture extensions may touch (the extension keys, the types they point
// to, the launcher's own type names and `extraKeys`), and the launcher's
// per-user settings.
class ClassesRootGuard {
public:
    explicit ClassesRootGuard(std::vector<std::string> extraKeys = {});
    ~ClassesRootGuard();
    ClassesRootGuard(const ClassesRootGuard&) = delete;
    ClassesRootGuard& operator=(const ClassesRootGuard&) = delete;

    // The saved state of the key `path` under HKEY_CLASSES_ROOT.
    const KeySnapshot& Saved(const std::string& path) const { return saved_.at(path); }
    // The keys watched, as when the guard was made.
    std::vector<std::string> WatchedKeys() const;

private:
    std::map<std::string, KeySnapshot> saved_;
    KeySnapshot settings_;
};

inline constexpr char kSettingsKey[] = "Software\\Tarnwick";

}  // namespace lvtest
