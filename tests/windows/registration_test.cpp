// "-install" and "-uninstall" run for real against Wine's registry and shell,
// starting from the associations a fresh prefix already has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <regex>

#include "TestSupport.h"  // windows.h first
#include <shellapi.h>

#include "AnsiText.h"
#include "ImageTypes.h"

using namespace lvtest;

namespace {

const HKEY kClasses = HKEY_CLASSES_ROOT;
const std::string kAppPathKey = std::string(kSettingsKey) + "\\Lumivue 4";

class Registration : public ::testing::Test {
protected:
    ClassesRootGuard guard{{"OtherViewer.gif", "OtherViewer.tif", "OtherViewer.bmp", "OtherViewer.ico"}};
    const std::string folder = MakeLayout(ManyScriptsFolder() + "\\Lumivue 4");
    const std::string launcher = "\"" + folder + "lvlaunch.exe\"";
    const std::string browser = folder + "Vistel4.exe";
    const std::string command = "\"" + browser + "\" /shell \"%1\"";
    const std::string icon = folder + "lvlaunch.exe,0";

    DWORD Install() { return RunProcess(launcher + " -install"); }
    DWORD Uninstall() { return RunProcess(launcher + " -uninstall"); }

    // Arranges an extension that nobody has registered yet.
    static void MakeClean(const std::string& extension) {
        DeleteTree(kClasses, extension);
        DeleteTree(kClasses, lv::TypeNameFor(extension));
        DeleteTree(kClasses, "SystemFileAssociations\\" + extension);
    }

    // The first line of the report of an error of kind `kind`, as a pattern.
    static std::string ReportHeading(const std::string& kind, const std::string& module = "lvlaunch\\.exe") {
        return "Exception " + kind + " in module " + module + " at [0-9A-F]{8}\\.\r\n";
    }

    // The picture extensions in table order: those before `extension`, and the rest.
    static std::pair<std::vector<std::string>, std::vector<std::string>> SplitAt(const std::string& extension) {
        const std::vector<std::string> all(lv::ImageExtensions.begin(), lv::ImageExtensions.end());
        const auto at = std::find(all.begin(), all.end(), extension);
        return {{all.begin(), at}, {at, all.end()}};
    }

    // The whole of what registration may touch, for before-and-after comparisons.
    std::string DumpWatched() const {
        std::string text;
        for (const std::string& key : guard.WatchedKeys()) text += key + "\\\n" + Dump(Snapshot(kClasses, key), "  ");
        return text;
    }
};

TEST_F(Registration, AssociatesCleanExtensionsWithTheBrowser) {
    MakeClean(".pcx");
    MakeClean(".tga");
    ASSERT_EQ(Install(), 0u);
    for (const std::string extension : {".pcx", ".tga"}) {
        const std::string type = "Lumivue" + extension + "Image";
        EXPECT_EQ(GetString(kClasses, extension), type);
        EXPECT_EQ(GetString(kClasses, type + "\\DefaultIcon"), icon);
        EXPECT_EQ(GetValue(kClasses, type + "\\shell\\Browse\\command"),
                  std::make_pair(DWORD{REG_SZ}, command + std::string(1, '\0')));
        EXPECT_FALSE(KeyExists(kClasses, type + "\\shell\\Browse with Lumivue"));
        EXPECT_EQ(GetString(kClasses, type + "\\shell"), "<missing>");  // the default verb is not set
    }
    // The verb the shell offers whatever default program a user picked, and
    // nothing else there: a pass that copied the type's description, icon or
    // default verb into it would show here.
    EXPECT_EQ(Dump(Snapshot(kClasses, "SystemFileAssociations\\.pcx")),
              "shell\\\n  Browse\\\n    command\\\n      [] type 1 = " + command + std::string(1, '\0') + "\n");
    EXPECT_EQ(GetString(kClasses, "Lumivue.pcxImage"), "PaintBrush");
    EXPECT_EQ(GetString(kClasses, "Lumivue.tgaImage"), "Targa Bitmap");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kAppPathKey, "FullAppPath"), browser);

    // Every extension, whatever the prefix had for it, now browses with this browser.
    for (const char* extension : lv::ImageExtensions) {
        const std::string type = GetString(kClasses, extension);
        ASSERT_NE(type, "<missing>") << extension;
        EXPECT_NE(GetString(kClasses, type), "") << extension;
        EXPECT_NE(GetString(kClasses, type + "\\DefaultIcon"), "") << extension;
        const bool ownBrowse = GetString(kClasses, type + "\\shell\\Browse\\command") == command;
        const bool ownSecondary = GetString(kClasses, type + "\\shell\\Browse with Lumivue\\command") == command;
        EXPECT_TRUE(ownBrowse || ownSecondary) << extension;
        // Also where the type was visited already (.jpe after .jpeg).
        EXPECT_EQ(GetString(kClasses, std::string("SystemFileAssociations\\") + extension + "\\shell\\Browse\\command"),
                  command)
            << extension;
    }
}

TEST_F(Registration, AddsToAnotherProgramsTypeWithoutTakingItOver) {
    const std::string other = "\"C:\\Other\\view.exe\" \"%1\"";
    SetString(kClasses, ".gif", "", "OtherViewer.gif");  // complete: description, icon and Browse
    SetString(kClasses, "OtherViewer.gif", "", "Other GIF");
    SetString(kClasses, "OtherViewer.gif\\DefaultIcon", "", "C:\\Other\\view.exe,3");
    SetString(kClasses, "OtherViewer.gif\\shell\\Browse\\command", "", other);
    SetString(kClasses, ".tif", "", "OtherViewer.tif");  // a bare type
    SetString(kClasses, ".bmp", "", "OtherViewer.bmp");  // Browse only, and a stale secondary verb
    SetString(kClasses, "OtherViewer.bmp\\shell\\Browse\\command", "", other);
    SetString(kClasses, "OtherViewer.bmp\\shell\\Browse with Lumivue\\command", "",
              "\"C:\\Old\\Vistel4.exe\" /shell \"%1\"");
    SetString(kClasses, ".ico", "", "OtherViewer.ico");
    SetString(kClasses, "SystemFileAssociations\\.gif\\shell\\Browse\\command", "", other);
    ASSERT_EQ(Install(), 0u);
    EXPECT_EQ(GetString(kClasses, "SystemFileAssociations\\.gif\\shell\\Browse\\command"), other);
    EXPECT_EQ(GetString(kClasses, "SystemFileAssociations\\.gif\\shell\\Browse with Lumivue\\command"), command);

    EXPECT_EQ(GetString(kClasses, ".gif"), "OtherViewer.gif");
    EXPECT_EQ(GetString(kClasses, "OtherViewer.gif"), "Other GIF");
    EXPECT_EQ(GetString(kClasses, "OtherViewer.gif\\DefaultIcon"), "C:\\Other\\view.exe,3");
    EXPECT_EQ(GetString(kClasses, "OtherViewer.gif\\shell\\Browse\\command"), other);
    EXPECT_EQ(GetString(kClasses, "OtherViewer.gif\\shell\\Browse with Lumivue\\command"), command);

    EXPECT_EQ(GetString(kClasses, "OtherViewer.tif"), "TIFF Bitmap");
    EXPECT_EQ(GetString(kClasses, "OtherViewer.tif\\DefaultIcon"), icon);
    EXPECT_EQ(GetString(kClasses, "OtherViewer.tif\\shell\\Browse\\command"), command);
    EXPECT_FALSE(KeyExists(kClasses, "OtherViewer.tif\\shell\\Browse with Lumivue"));

    EXPECT_EQ(GetString(kClasses, "OtherViewer.bmp"), "Windows Bitmap");
    EXPECT_EQ(GetString(kClasses, "OtherViewer.bmp\\shell\\Browse\\command"), other);
    EXPECT_EQ(GetString(kClasses, "OtherViewer.bmp\\shell\\Browse with Lumivue\\command"), command);

    // The description comes from the extension, the icon is the picture itself.
    EXPECT_EQ(GetString(kClasses, "OtherViewer.ico"), "Windows Icon");
    EXPECT_EQ(GetString(kClasses, "OtherViewer.ico\\DefaultIcon"), "%1");
    MakeClean(".cur");
    ASSERT_EQ(Install(), 0u);
    EXPECT_EQ(GetString(kClasses, "Lumivue.curImage\\DefaultIcon"), "%1");
}

TEST_F(Registration, RunningInstallAgainChangesNothing) {
    SetString(kClasses, ".gif", "", "OtherViewer.gif");
    SetString(kClasses, "OtherViewer.gif\\shell\\Browse\\command", "", "other.exe %1");
    MakeClean(".pcx");
    ASSERT_EQ(Install(), 0u);
    const std::string once = DumpWatched();
    const KeySnapshot settingsOnce = Snapshot(HKEY_CURRENT_USER, kSettingsKey);
    ASSERT_EQ(Install(), 0u);
    EXPECT_EQ(DumpWatched(), once);
    EXPECT_TRUE(Snapshot(HKEY_CURRENT_USER, kSettingsKey) == settingsOnce);
}

TEST_F(Registration, UninstallLeavesOnlyTheDocumentedResidue) {
    MakeClean(".pcx");
    ASSERT_EQ(Install(), 0u);
    ASSERT_EQ(Uninstall(), 0u);
    EXPECT_EQ(GetString(kClasses, ".pcx"), "Lumivue.pcxImage");
    EXPECT_EQ(GetString(kClasses, "Lumivue.pcxImage"), "PaintBrush");
    EXPECT_EQ(GetValue(kClasses, "Lumivue.pcxImage\\DefaultIcon"), std::make_pair(DWORD{REG_SZ}, std::string(1, '\0')));
    const KeySnapshot shell = Snapshot(kClasses, "Lumivue.pcxImage\\shell");
    EXPECT_TRUE(shell.exists);
    EXPECT_TRUE(shell.subkeys.empty());
    EXPECT_TRUE(shell.values.empty());
    // The icon formats keep "%1"; the per-user setting stays.
    EXPECT_EQ(GetString(kClasses, GetString(kClasses, ".ico") + "\\DefaultIcon"), "%1");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kAppPathKey, "FullAppPath"), browser);

    // No key is left empty where there was none: an uninstall that removed
    // only the verbs would leave SystemFileAssociations\<extension>\shell.
    for (const char* extension : lv::ImageExtensions)
        EXPECT_FALSE(KeyExists(kClasses, std::string("SystemFileAssociations\\") + extension)) << extension;

    // Nothing was associated any more: a second run changes nothing.
    const std::string after = DumpWatched();
    ASSERT_EQ(Uninstall(), 0u);
    EXPECT_EQ(DumpWatched(), after);
    // Extension keys that are all missing are no lack of rights: a pass that
    // reported whenever it had no key at all would show a box here.
    for (const char* extension : lv::ImageExtensions) DeleteTree(kClasses, extension);
    const ErrorBox box = RunExpectingErrorBox(launcher + " -uninstall");
    EXPECT_FALSE(box.shown) << box.text;
    EXPECT_EQ(box.exitCode, 0u);
}

TEST_F(Registration, UninstallRemovesOnlyThisBrowsersVerbs) {
    const std::string other = "other.exe \"%1\"";
    // Another program's Browse verb and icon; the secondary verb is ours.
    SetString(kClasses, ".gif", "", "OtherViewer.gif");
    SetString(kClasses, "OtherViewer.gif\\shell", "", "Browse with Lumivue");
    SetString(kClasses, "OtherViewer.gif\\shell\\Browse\\command", "", other);
    SetString(kClasses, "OtherViewer.gif\\shell\\Browse with Lumivue\\command", "", other);
    SetString(kClasses, "OtherViewer.gif\\DefaultIcon", "", "C:\\Other\\view.exe,3");
    // Our Browse verb with extra options and subkeys of its own; an icon in other letters.
    SetString(kClasses, ".tif", "", "OtherViewer.tif");
    SetString(kClasses, "OtherViewer.tif\\shell", "", "Browse");
    SetString(kClasses, "OtherViewer.tif\\shell\\Browse\\command", "", command + " /fast");
    SetString(kClasses, "OtherViewer.tif\\shell\\Browse\\ddeexec\\Application", "", "Lumivue");
    SetString(kClasses, "OtherViewer.tif\\shell\\Edit\\command", "", other);
    SetString(kClasses, "OtherViewer.tif\\DefaultIcon", "", "c" + icon.substr(1));
    // Our verb, but a default verb that only differs in case, and the browser's own icon.
    SetString(kClasses, ".bmp", "", "OtherViewer.bmp");
    SetString(kClasses, "OtherViewer.bmp\\shell", "", "browse");
    SetString(kClasses, "OtherViewer.bmp\\shell\\Browse\\command", "", command);
    SetString(kClasses, "OtherViewer.bmp\\DefaultIcon", "", browser + ",0");
    // The same rules for the supplemental verbs: another program's kept, and
    // with it the key; a value of another type is content.
    const std::string supplemental = "SystemFileAssociations\\";
    SetString(kClasses, supplemental + ".gif\\shell\\Browse\\command", "", other);
    SetString(kClasses, supplemental + ".gif\\shell\\Browse with Lumivue\\command", "", command);
    SetString(kClasses, supplemental + ".tif\\shell\\Browse\\command", "", command);
    SetValue(kClasses, supplemental + ".tif\\shell", "Extended", REG_DWORD, std::string(4, '\0'));
    SetString(kClasses, supplemental + ".bmp\\shell", "", "Browse");
    SetString(kClasses, supplemental + ".bmp\\shell\\Browse\\command", "", command);
    // What a run cut short leaves: a verb of ours with an empty command key,
    // named as the default verb. An uninstall that knew its verbs only by
    // their command would leave a menu entry that starts nothing. A command
    // that holds an empty string is no such verb.
    SetString(kClasses, ".ico", "", "OtherViewer.ico");
    SetString(kClasses, "OtherViewer.ico\\shell", "", "Browse");
    MakeKey(kClasses, "OtherViewer.ico\\shell\\Browse\\command");
    SetString(kClasses, supplemental + ".ico\\shell", "", "Browse with Lumivue");
    MakeKey(kClasses, supplemental + ".ico\\shell\\Browse with Lumivue\\command");
    SetString(kClasses, supplemental + ".ico\\shell\\Browse\\command", "", "");
    // An extension without a type: dissociation stops there, and does not
    // guess the type from the extension's name.
    SetString(kClasses, ".pcx", "", "");
    SetString(kClasses, "Lumivue.pcxImage\\shell\\Browse\\command", "", command);
    ASSERT_EQ(Uninstall(), 0u);

    EXPECT_FALSE(KeyExists(kClasses, supplemental + ".gif\\shell\\Browse with Lumivue"));
    EXPECT_EQ(GetString(kClasses, supplemental + ".gif\\shell\\Browse\\command"), other);
    EXPECT_FALSE(KeyExists(kClasses, supplemental + ".tif\\shell\\Browse"));
    EXPECT_TRUE(KeyExists(kClasses, supplemental + ".tif\\shell"));
    EXPECT_FALSE(KeyExists(kClasses, supplemental + ".bmp"));
    EXPECT_FALSE(KeyExists(kClasses, "OtherViewer.ico\\shell\\Browse"));
    EXPECT_EQ(GetString(kClasses, "OtherViewer.ico\\shell"), "");
    EXPECT_FALSE(KeyExists(kClasses, supplemental + ".ico\\shell\\Browse with Lumivue"));
    EXPECT_EQ(GetString(kClasses, supplemental + ".ico\\shell"), "");
    EXPECT_EQ(GetString(kClasses, supplemental + ".ico\\shell\\Browse\\command"), "");
    EXPECT_EQ(GetString(kClasses, "Lumivue.pcxImage\\shell\\Browse\\command"), command);

    EXPECT_EQ(GetString(kClasses, "OtherViewer.gif\\shell\\Browse\\command"), other);
    EXPECT_EQ(GetString(kClasses, "OtherViewer.gif\\shell"), "Browse with Lumivue");  // no verb of ours was there
    EXPECT_EQ(GetString(kClasses, "OtherViewer.gif\\shell\\Browse with Lumivue\\command"), other);
    EXPECT_EQ(GetString(kClasses, "OtherViewer.gif\\DefaultIcon"), "C:\\Other\\view.exe,3");

    EXPECT_FALSE(KeyExists(kClasses, "OtherViewer.tif\\shell\\Browse"));
    EXPECT_EQ(GetString(kClasses, "OtherViewer.tif\\shell"), "");
    EXPECT_EQ(GetString(kClasses, "OtherViewer.tif\\shell\\Edit\\command"), other);
    EXPECT_EQ(GetString(kClasses, "OtherViewer.tif\\DefaultIcon"), "c" + icon.substr(1));

    EXPECT_FALSE(KeyExists(kClasses, "OtherViewer.bmp\\shell\\Browse"));
    EXPECT_EQ(GetString(kClasses, "OtherViewer.bmp\\shell"), "browse");
    EXPECT_EQ(GetString(kClasses, "OtherViewer.bmp\\DefaultIcon"), "");

    // Install then uninstall over another program's Browse: the secondary verb goes, theirs stays.
    ASSERT_EQ(Install(), 0u);
    ASSERT_EQ(GetString(kClasses, "OtherViewer.gif\\shell\\Browse with Lumivue\\command"), command);
    ASSERT_EQ(Uninstall(), 0u);
    EXPECT_FALSE(KeyExists(kClasses, "OtherViewer.gif\\shell\\Browse with Lumivue"));
    EXPECT_EQ(GetString(kClasses, "OtherViewer.gif\\shell"), "");
    EXPECT_EQ(GetString(kClasses, "OtherViewer.gif\\shell\\Browse\\command"), other);
}

TEST_F(Registration, UninstallRemovesAWideAndDeepBrowseVerb) {
    SetString(kClasses, ".gif", "", "OtherViewer.gif");
    SetString(kClasses, "OtherViewer.gif\\shell\\Browse\\command", "", command);
    std::string deep = "OtherViewer.gif\\shell\\Browse";
    for (int level = 0; level < 50; ++level) deep += "\\k" + std::to_string(level);
    SetString(kClasses, deep, "", "bottom");
    for (int i = 0; i < 500; ++i) SetString(kClasses, "OtherViewer.gif\\shell\\Browse\\w" + std::to_string(i), "", "x");
    // The longest name in UTF-16 units, three bytes a character in UTF-8.
    SetString(kClasses, "OtherViewer.gif\\shell\\Browse\\表示表示表示表示", "", "x");
    // A link goes as a link: RegDeleteKeyA, which opens a name again and so
    // follows the link, would delete what it points to, another program's.
    SetString(HKEY_LOCAL_MACHINE, "Software\\LvlaunchLinked\\child", "", "kept");
    HKEY link = nullptr;
    ASSERT_EQ(RegCreateKeyExA(kClasses, "OtherViewer.gif\\shell\\Browse\\ddeexec", 0, nullptr, REG_OPTION_CREATE_LINK,
                              KEY_ALL_ACCESS, nullptr, &link, nullptr),
              ERROR_SUCCESS);
    const std::wstring target = L"\\Registry\\Machine\\Software\\LvlaunchLinked";
    RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target.c_str()),
                   static_cast<DWORD>(target.size() * sizeof(wchar_t)));
    RegCloseKey(link);
    ASSERT_EQ(GetString(kClasses, "OtherViewer.gif\\shell\\Browse\\ddeexec\\child"), "kept");
    ASSERT_EQ(Uninstall(), 0u);
    EXPECT_FALSE(KeyExists(kClasses, "OtherViewer.gif\\shell\\Browse"));
    EXPECT_TRUE(KeyExists(kClasses, "OtherViewer.gif\\shell"));
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, "Software\\LvlaunchLinked\\child"), "kept");
    DeleteTree(HKEY_LOCAL_MACHINE, "Software\\LvlaunchLinked");
}

TEST_F(Registration, TheShellStartsTheBrowserThroughTheVerbs) {
    SetString(kClasses, ".gif", "", "OtherViewer.gif");
    SetString(kClasses, "OtherViewer.gif\\shell\\Browse\\command", "", "other.exe \"%1\"");
    ASSERT_EQ(Install(), 0u);
    const std::string pictures = MakeLayout("C:\\lvtest\\Мои картинки 写真", false);
    // Through the file's own type, or through `classKey` as the shell reads
    // the verbs of each key of a file's association array.
    const auto open = [&](const std::string& file, const char* verb, const std::string& browserFolder,
                          const char* classKey = nullptr) {
        const std::string picture = pictures + file;
        CloseHandle(CreateFileA(picture.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DeleteFileA((browserFolder + "received.txt").c_str());
        SHELLEXECUTEINFOA request{};
        request.cbSize = sizeof request;
        request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // a failure must not wait in a box
        request.lpVerb = verb;
        request.lpFile = picture.c_str();
        request.nShow = SW_SHOWNORMAL;
        if (classKey != nullptr) {
            request.fMask |= SEE_MASK_CLASSKEY;
            ASSERT_EQ(RegOpenKeyExA(kClasses, classKey, 0, KEY_READ, &request.hkeyClass), ERROR_SUCCESS) << classKey;
        }
        const BOOL started = ShellExecuteExA(&request);
        if (classKey != nullptr) RegCloseKey(request.hkeyClass);
        ASSERT_TRUE(started) << verb << " error " << GetLastError();
        if (request.hProcess != nullptr) {
            WaitForSingleObject(request.hProcess, 10000);
            CloseHandle(request.hProcess);
        }
        EXPECT_EQ(ReceivedBy(browserFolder), "\"" + browserFolder + "Vistel4.exe\" /shell \"" + picture + "\"") << file;
    };
    open("закат на море.png", "Browse", folder);
    open("anim 動画.gif", "Browse with Lumivue", folder);
    // A file of no known type: only the class key can give the verb.
    open("scan.zzq", "Browse", folder, "SystemFileAssociations\\.pcx");

    // The shell reads "%1" in a command as the file and "%%" as "%": written
    // plainly, a folder "50%1off" would name "50<picture>off".
    MakeClean(".pcx");
    const std::string percent = MakeLayout("C:\\lvtest\\50%1off");
    ASSERT_EQ(RunProcess("\"" + percent + "lvlaunch.exe\" -install"), 0u);
    EXPECT_EQ(GetString(kClasses, "Lumivue.pcxImage\\shell\\Browse\\command"),
              "\"C:\\lvtest\\50%%1off\\Vistel4.exe\" /shell \"%1\"");
    open("photo.pcx", "Browse", percent);
    open("photo.zzq", "Browse", percent, "SystemFileAssociations\\.pcx");
    // Uninstall knows its own command in that form.
    ASSERT_EQ(RunProcess("\"" + percent + "lvlaunch.exe\" -uninstall"), 0u);
    EXPECT_FALSE(KeyExists(kClasses, "Lumivue.pcxImage\\shell\\Browse"));
}

TEST_F(Registration, WorksInTheMachinesStoreNotTheMergedView) {
    // A pass through HKEY_CLASSES_ROOT would on Windows write into a user's
    // own copies of keys. Wine keeps it as HKLM\Software\Classes, the same
    // key: only its trace of registry calls, where HKEY_CLASSES_ROOT is a
    // special root of its own, tells which one a program opened.
    const char* traceFile = std::getenv("LV_STDERR_FILE");
    ASSERT_NE(traceFile, nullptr) << "run through stderr-to-file.sh";
    std::string trace = std::string("Z:") + traceFile;
    std::replace(trace.begin(), trace.end(), '/', '\\');
    SetEnvironmentVariableA("WINEDEBUG", "+reg");
    for (const char* word : {" -install", " -uninstall"}) {
        const std::size_t before = ReadFileText(trace).size();
        ASSERT_EQ(RunProcess(launcher + word), 0u);
        const std::string calls = ReadFileText(trace).substr(before);
        EXPECT_NE(calls.find("L\"Software\\\\Classes\""), std::string::npos) << word;
        EXPECT_EQ(calls.find("create_special_root_hkey L\"\\\\Registry\\\\Machine\\\\Software\\\\Classes\""),
                  std::string::npos)
            << word;
    }

    // The shell is told once that associations changed, after the pass's
    // last change, also when an error ends the pass. Wrong: no notice, one
    // for each extension, one at the start, or none when an error passes.
    SetString(HKEY_CURRENT_USER, "Software\\Wine\\Debug", "RelayInclude",
              "advapi32.RegSetValueExA;ntdll.NtDeleteKey;shell32.SHChangeNotify");
    SetEnvironmentVariableA("WINEDEBUG", "+relay");
    const std::string notice = "Call shell32.SHChangeNotify(08000000,00000000,00000000,00000000)";
    for (const char* word : {" -install", " -uninstall", " -install"}) {
        const std::size_t before = ReadFileText(trace).size();
        if (std::string(word) == " -uninstall") SetValue(kClasses, ".bmp", "", REG_DWORD, std::string(4, '\0'));
        EXPECT_EQ(RunExpectingErrorBox(launcher + word).exitCode, std::string(word) == " -uninstall" ? 1u : 0u);
        const std::string calls = ReadFileText(trace).substr(before);
        const std::size_t at = calls.find(notice);
        ASSERT_NE(at, std::string::npos) << word;
        EXPECT_EQ(calls.find(notice, at + 1), std::string::npos) << word;
        EXPECT_NE(calls.rfind("Call advapi32.RegSetValueExA", at), std::string::npos) << word;
        // After it, only the per-user setting.
        const std::string after = calls.substr(at);
        EXPECT_EQ(after.find("NtDeleteKey"), std::string::npos) << word;
        const std::size_t write = after.find("Call advapi32.RegSetValueExA");
        EXPECT_TRUE(write == std::string::npos ||
                    (word == std::string(" -install") &&
                     after.find("Call advapi32.RegSetValueExA", write + 1) == std::string::npos))
            << word;
        Restore(kClasses, ".bmp", guard.Saved(".bmp"));
    }
    SetEnvironmentVariableA("WINEDEBUG", "-all");
}

TEST_F(Registration, ARegistryErrorEndsThePassWithOneReport) {
    SetValue(kClasses, ".bmp", "", REG_DWORD, std::string("\x07\0\0\0", 4));
    const ClassesRootGuard before;  // the state just before the run, to compare with
    // Standard error, where there is one, gets the report too, box or none.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const std::string errorFile = folder + "errors.txt";
    const HANDLE standardError =
        CreateFileA(errorFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS, 0, nullptr);
    const ErrorBox box = RunExpectingErrorBox(launcher + " -install", standardError);
    CloseHandle(standardError);
    EXPECT_EQ(ReadFileText(errorFile), box.text + "\r\n");
    // On a window station nobody sees (session 0) the run ends at once: a
    // box there would wait for ever, and the run be ended after 30 s.
    const HWINSTA visible = GetProcessWindowStation();
    const HWINSTA unseen = CreateWindowStationA("lvtest-unseen", 0, WINSTA_ALL_ACCESS, nullptr);
    ASSERT_TRUE(unseen != nullptr && SetProcessWindowStation(unseen));
    const HDESK desktop = CreateDesktopA("Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    SetProcessWindowStation(visible);
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(RunExpectingErrorBox(launcher + " -install", nullptr, "lvtest-unseen\\Default").exitCode, 1u);
    CloseDesktop(desktop);
    CloseWindowStation(unseen);
    ASSERT_TRUE(box.shown);
    EXPECT_EQ(box.title, "Application Error");
    EXPECT_TRUE(
        std::regex_match(box.text, std::regex(ReportHeading("ERegistryException") + "Invalid data type for ''\\.\r\n")))
        << box.text;
    EXPECT_EQ(box.exitCode, 1u);
    // The offset lies in the launcher's code.
    HMODULE image = LoadLibraryExA((folder + "lvlaunch.exe").c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(image, nullptr);
    const auto* base = reinterpret_cast<const BYTE*>(image);
    const auto& code =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew)
            ->OptionalHeader;
    const unsigned long offset = std::stoul(box.text.substr(box.text.find(" at ") + 4, 8), nullptr, 16);
    EXPECT_GE(offset, code.BaseOfCode);
    EXPECT_LT(offset, code.BaseOfCode + code.SizeOfCode);
    FreeLibrary(image);

    // The extensions before .bmp were associated, the rest untouched, no setting written.
    const auto [visited, untouched] = SplitAt(".bmp");
    for (const std::string& e : visited) {
        const std::string type = GetString(kClasses, e);
        EXPECT_TRUE(GetString(kClasses, type + "\\shell\\Browse\\command") == command ||
                    GetString(kClasses, type + "\\shell\\Browse with Lumivue\\command") == command)
            << e;
    }
    for (const std::string& e : untouched) {
        EXPECT_TRUE(Snapshot(kClasses, e) == before.Saved(e)) << e;
        EXPECT_TRUE(Snapshot(kClasses, lv::TypeNameFor(e)) == before.Saved(lv::TypeNameFor(e))) << e;
    }
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppPathKey));
}

TEST_F(Registration, ARegistryErrorEndsAnUninstallToo) {
    ASSERT_EQ(Install(), 0u);
    SetValue(kClasses, ".bmp", "", REG_DWORD, std::string("\x07\0\0\0", 4));
    const ClassesRootGuard before;
    const ErrorBox box = RunExpectingErrorBox(launcher + " -uninstall");
    EXPECT_TRUE(
        std::regex_match(box.text, std::regex(ReportHeading("ERegistryException") + "Invalid data type for ''\\.\r\n")))
        << box.text;
    EXPECT_EQ(box.exitCode, 1u);
    const auto [visited, untouched] = SplitAt(".bmp");
    for (const std::string& e : visited)
        EXPECT_FALSE(KeyExists(kClasses, GetString(kClasses, e) + "\\shell\\Browse")) << e;
    for (const std::string& e : untouched) {
        const std::string type = GetString(kClasses, e);
        EXPECT_TRUE(Snapshot(kClasses, type) == before.Saved(type)) << e;
    }
}

TEST_F(Registration, WithoutTheRightsToChangeFileTypesNothingIsWritten) {
    ASSERT_EQ(Install(), 0u);  // something to uninstall
    DeleteTree(HKEY_CURRENT_USER, kSettingsKey);
    // The command the report gives works as typed: the command word is
    // followed by a space, never by the report's closing full stop, and comes
    // before the report's cut even from a path of MAX_PATH - 1 characters of
    // three bytes each.
    std::string deep = "C:\\lvtest";  // in three folders: a Linux name holds at most 255 bytes
    for (int i = 0; i < 234; ++i) deep += i % 78 == 0 ? "\\写" : "写";
    deep = "\"" + MakeLayout(deep) + "lvlaunch.exe\"";
    // Without the rights Windows refuses every key of the machine's store:
    // the extension keys, and each key of the supplemental verbs.
    std::vector<std::string> refused(lv::ImageExtensions.begin(), lv::ImageExtensions.end());
    const std::function<void(const std::string&, const KeySnapshot&)> addTree = [&](const std::string& path,
                                                                                    const KeySnapshot& key) {
        refused.push_back(path);
        for (const auto& [name, child] : key.subkeys) addTree(path + "\\" + name, child);
    };
    addTree("SystemFileAssociations", Snapshot(kClasses, "SystemFileAssociations"));
    const ClassesAccessList readOnly(refused, "D:(A;;KR;;;WD)");
    const std::string state = DumpWatched();
    for (const std::string& command : {launcher + " -install", launcher + " -uninstall", deep + " -uninstall"}) {
        const ErrorBox box = RunExpectingErrorBox(command);
        ASSERT_TRUE(box.shown) << command;
        const std::size_t headingLength = box.text.find('\n') + 1;
        EXPECT_TRUE(std::regex_match(box.text.substr(0, headingLength), std::regex(ReportHeading("EAccessDenied"))))
            << box.text;
        EXPECT_EQ(box.text.substr(headingLength),
                  lv::CutToWholeChars("To change file types for all users, run " + command +
                                          " in a Command Prompt opened with \"Run as administrator\": it needs "
                                          "administrator rights.\r\n",
                                      1023 - headingLength));
        EXPECT_EQ(box.exitCode, 1u);
        EXPECT_EQ(DumpWatched(), state) << command;
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey)) << command;
    }
}

TEST_F(Registration, KeysItMayNotFullyHaveAreSkippedOneByOne) {
    MakeClean(".pcx");
    MakeClean(".tga");
    // Reading and writing, but not deleting, is less than the full access asked for.
    const ClassesAccessList readWrite({".pcx"}, "D:(A;;KRKW;;;WD)");
    // A type key that may only be read, whose icon and verb keys may be written.
    SetString(kClasses, ".tif", "", "OtherViewer.tif");
    SetString(kClasses, "OtherViewer.tif\\DefaultIcon", "", "");
    SetString(kClasses, "OtherViewer.tif\\shell\\Browse\\command", "", "");
    const ClassesAccessList readOnly({"OtherViewer.tif"}, "D:(A;;KR;;;WD)");
    ASSERT_EQ(Install(), 0u);  // in time, so no message box waited for an answer

    EXPECT_TRUE(Snapshot(kClasses, ".pcx").values.empty());
    EXPECT_FALSE(KeyExists(kClasses, "Lumivue.pcxImage"));
    EXPECT_EQ(GetString(kClasses, "OtherViewer.tif"), "<missing>");
    EXPECT_EQ(GetString(kClasses, "OtherViewer.tif\\DefaultIcon"), icon);
    EXPECT_EQ(GetString(kClasses, "OtherViewer.tif\\shell\\Browse\\command"), command);
    EXPECT_EQ(GetString(kClasses, "Lumivue.tgaImage\\shell\\Browse\\command"), command);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kAppPathKey, "FullAppPath"), browser);
}

TEST_F(Registration, WithoutTheBrowserNothingIsWritten) {
    const std::string notFound = "The browser \"Vistel4.exe\" was not found";
    const std::string missing = MakeLayout("C:\\lvtest\\No Browser Here", /*withBrowser=*/false);
    // Where the UTF-8 setting is ignored, the launcher's folder is reported
    // as "Lukasz Omega", and some other program waits there.
    const std::string unspellable =
        MakeLayout("C:\\lvtest\\setup\\Łukasz Ωmega", /*withBrowser=*/true, LauncherBuild::WithoutUtf8Setting);
    MakeLayout("C:\\lvtest\\setup\\Lukasz Omega");
    const std::string folderBrowser = MakeLayout("C:\\lvtest\\Folder Browser", /*withBrowser=*/false);
    CreateDirectoryA((folderBrowser + "Vistel4.exe").c_str(), nullptr);
    const std::string renamed = MakeLayout("C:\\lvtest\\Renamed Launcher", /*withBrowser=*/false);
    MoveFileA((renamed + "lvlaunch.exe").c_str(), (renamed + "vistel4.EXE").c_str());
    const std::string trimmed = MakeTrimmedNameLayout("C:\\lvtest\\App");
    const std::pair<std::string, std::string> cases[] = {
        // the launcher, and the report's message
        {"\"" + missing + "lvlaunch.exe\"", notFound + " in the folder \"C:\\lvtest\\No Browser Here\\\"."},
        // started by its short path, the folder as stored, not as the module path spells it
        {ShortPathOf(missing + "lvlaunch.exe"), notFound + " in the folder \"C:\\lvtest\\No Browser Here\\\"."},
        {"\"" + unspellable + "lvlaunch.exe\"",
         notFound + ": this system's code page cannot spell the name of the folder \"C:\\lvtest\\setup\\Lukasz "
                    "Omega\\\"."},
        {"\"" + folderBrowser + "lvlaunch.exe\"",
         notFound + " in the folder \"" + folderBrowser + "\": the \"Vistel4.exe\" there is a folder."},
        {"\"" + renamed + "vistel4.EXE\"",
         notFound + " in the folder \"" + renamed + "\": the \"Vistel4.exe\" there is this launcher itself."},
        {"\"" + trimmed + "lvlaunch.exe\"",
         "The browser \"Vistel4.exe\" is not taken from the folder \"" + trimmed +
             "\": Windows drops the spaces and dots that end a folder's name when it looks a path up, so it cannot "
             "name that folder exactly."},
    };
    ASSERT_EQ(Install(), 0u);  // something to uninstall
    const std::string state = DumpWatched();
    const KeySnapshot settings = Snapshot(HKEY_CURRENT_USER, kSettingsKey);
    for (const auto& [runner, message] : cases) {
        for (const char* word : {" -install", " -uninstall"}) {
            const ErrorBox box = RunExpectingErrorBox(runner + word);
            ASSERT_TRUE(box.shown) << runner << word;
            const std::size_t headingLength = box.text.find('\n') + 1;
            EXPECT_TRUE(
                std::regex_match(box.text.substr(0, headingLength),
                                 std::regex(ReportHeading("EBrowserNotFound", "(lvlaunch\\.exe|vistel4\\.EXE)"))))
                << box.text;
            EXPECT_EQ(box.text.substr(headingLength), message + "\r\n");
            EXPECT_EQ(box.exitCode, 1u);
            EXPECT_EQ(DumpWatched(), state) << runner << word;
            EXPECT_TRUE(Snapshot(HKEY_CURRENT_USER, kSettingsKey) == settings) << runner << word;
        }
    }
}

TEST_F(Registration, SavesTheLongPathAndKeepsItOnUninstall) {
    const std::string deep = MakeLayout("C:\\lvtest\\Program Files Long\\Lumivue Browser 4");
    const std::string shortLauncher = ShortPathOf(deep + "lvlaunch.exe");
    ASSERT_EQ(shortLauncher.find(' '), std::string::npos);
    ASSERT_EQ(RunProcess(shortLauncher + " -install"), 0u);
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, kAppPathKey, "FullAppPath"),
              std::make_pair(DWORD{REG_SZ}, deep + "Vistel4.exe" + std::string(1, '\0')));
    ASSERT_EQ(RunProcess(shortLauncher + " -uninstall"), 0u);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kAppPathKey, "FullAppPath"), deep + "Vistel4.exe");
}

TEST_F(Registration, CommandWordsAreRecognisedOnlyAsWritten) {
    const struct {
        std::string arguments;
        bool installs;
    } cases[] = {
        {"-install", true},           {"\"-install\"", true},   {"-ins\"tall\"", true}, {"\"\" -install", true},
        {"-install more args", true}, {"-INSTALL", false},      {"-Install", false},    {"/install", false},
        {"-install-now", false},      {"\" -install\"", false},
    };
    for (const auto& c : cases) {
        DeleteTree(HKEY_CURRENT_USER, kSettingsKey);
        DeleteFileA((folder + "received.txt").c_str());
        const std::string line = launcher + " " + c.arguments;
        ASSERT_EQ(RunProcess(line), 0u) << line;
        EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, kAppPathKey), c.installs) << line;
        EXPECT_EQ(ReceivedBy(folder, c.installs ? 300 : 5000), c.installs ? "" : "\"" + browser + "\" " + line) << line;
    }
    // Uninstall starts nothing and writes no setting.
    DeleteTree(HKEY_CURRENT_USER, kSettingsKey);
    DeleteFileA((folder + "received.txt").c_str());
    ASSERT_EQ(RunProcess(launcher + " \"-uninstall\" x"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_EQ(ReceivedBy(folder, 300), "");
}

}  // namespace

namespace {

TEST_F(Registration, AnInstallEndedByAnErrorCompletesWhenRunAgain) {
    std::string afterOneRun;
    {
        const ClassesRootGuard undo;  // back to the starting state afterwards
        ASSERT_EQ(Install(), 0u);
        afterOneRun = DumpWatched();
    }
    const KeySnapshot bmp = Snapshot(kClasses, ".bmp");
    SetValue(kClasses, ".bmp", "", REG_DWORD, std::string("\x07\0\0\0", 4));
    ASSERT_EQ(RunExpectingErrorBox(launcher + " -install").exitCode, 1u);
    Restore(kClasses, ".bmp", bmp);  // the repair
    ASSERT_EQ(Install(), 0u);
    EXPECT_EQ(DumpWatched(), afterOneRun);
}

}  // namespace
