// The launcher under the double-byte ANSI code page 932, in folders whose
// names hold characters whose second byte is a backslash. The shipped file
// runs in UTF-8 wherever the system honours its setting, so the copy without
// that setting is tested, as systems before Windows 10 1903 run it.
#include <gtest/gtest.h>

#include <cwchar>

#include "BrowserPath.h"
#include "TestSupport.h"

using namespace lvtest;

namespace {

// 表 (0x95 0x5C) and 示 (0x8E 0xA6) in code page 932: 表's second byte is '\'.
const std::string kHyou = "\x95\x5C";
const std::string kShi = "\x8E\xA6";
constexpr LauncherBuild kOlderSystems = LauncherBuild::WithoutUtf8Setting;

TEST(DoubleByteFolders, TheCodePageIs932) { ASSERT_EQ(GetACP(), 932u); }

TEST(DoubleByteFolders, StartTheBrowserBesideTheLauncher) {
    ASSERT_EQ(GetACP(), 932u);
    for (const std::string& name : {kHyou, kHyou + kShi, "Photo " + kHyou + " Album"}) {
        const std::string folder = MakeLayout("C:\\lvtest\\" + name + "\\" + kHyou, true, kOlderSystems);
        const std::string line = "\"" + folder + "lvlaunch.exe\" \"C:\\" + kHyou + kShi + "\\a.jpg\"";
        EXPECT_EQ(RunProcess(line), 0u);
        EXPECT_EQ(ReceivedBy(folder), "\"" + folder + "Vistel4.exe\" " + line);
    }
}

TEST(DoubleByteFolders, AStoredNameTheCodePageCannotSpellIsNotFound) {
    // Code page 932 has no Ł: the ANSI entry points would report "Lukasz",
    // some other folder's name. Reached through its short name, as a
    // launcher started by its short path walks it.
    const std::wstring unspellable = L"C:\\lvtest\\\x141ukasz";
    CreateDirectoryW(unspellable.c_str(), nullptr);
    wchar_t shortPath[MAX_PATH] = L"";
    ASSERT_GT(GetShortPathNameW(unspellable.c_str(), shortPath, MAX_PATH), 0u);
    const std::string shortName(shortPath, shortPath + std::wcslen(shortPath));  // 8.3 names are ASCII
    lv::FoundEntry found;
    ASSERT_TRUE(lv::FindEntryName("C:\\lvtest", found));
    EXPECT_EQ(found.name, "lvtest");
    EXPECT_FALSE(lv::FindEntryName(shortName, found)) << found.name;
}

TEST(DoubleByteFolders, RegisterAndUnregisterTheLongPath) {
    ASSERT_EQ(GetACP(), 932u);
    const ClassesRootGuard guard;
    DeleteTree(HKEY_CLASSES_ROOT, ".pcx");
    const std::string folder = MakeLayout("C:\\lvtest\\Long Folder " + kHyou + kShi, true, kOlderSystems);
    const std::string browser = folder + "Vistel4.exe";
    const std::string shortLauncher = ShortPathOf(folder + "lvlaunch.exe");
    ASSERT_EQ(RunProcess(shortLauncher + " -install"), 0u);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\Lumivue 4", "FullAppPath"), browser);
    EXPECT_EQ(GetString(HKEY_CLASSES_ROOT, "Lumivue.pcxImage\\shell\\Browse\\command"),
              "\"" + browser + "\" /shell \"%1\"");
    EXPECT_EQ(GetString(HKEY_CLASSES_ROOT, "Lumivue.pcxImage\\DefaultIcon"), folder + "lvlaunch.exe,0");

    // Longer than "command", and two bytes a character: removed with the verb.
    SetString(HKEY_CLASSES_ROOT,
              "Lumivue.pcxImage\\shell\\Browse\\" + kHyou + kShi + kHyou + kShi + kHyou + kShi + kHyou + kShi, "", "x");
    ASSERT_EQ(RunProcess(shortLauncher + " -uninstall"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Lumivue.pcxImage\\shell\\Browse"));
    EXPECT_EQ(GetString(HKEY_CLASSES_ROOT, "Lumivue.pcxImage\\DefaultIcon"), "");
}

}  // namespace
