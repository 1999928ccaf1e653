// The launcher under the double-byte ANSI code page 932, in folders whose
// names hold characters whose second byte is a backslash.
#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace lvtest;

namespace {

// 表 (0x95 0x5C) and 示 (0x8E 0xA6) in code page 932: 表's second byte is '\'.
const std::string kHyou = "\x95\x5C";
const std::string kShi = "\x8E\xA6";

TEST(DoubleByteFolders, TheCodePageIs932) { ASSERT_EQ(GetACP(), 932u); }

TEST(DoubleByteFolders, StartTheBrowserBesideTheLauncher) {
    ASSERT_EQ(GetACP(), 932u);
    for (const std::string& name : {kHyou, kHyou + kShi, "Photo " + kHyou + " Album"}) {
        const std::string folder = MakeLayout("C:\\lvtest\\" + name + "\\" + kHyou);
        const std::string line = "\"" + folder + "lvlaunch.exe\" \"C:\\" + kHyou + kShi + "\\a.jpg\"";
        EXPECT_EQ(RunProcess(line), 0u);
        EXPECT_EQ(ReceivedBy(folder), "\"" + folder + "Vistel4.exe\" " + line);
    }
}

TEST(DoubleByteFolders, RegisterAndUnregisterTheLongPath) {
    ASSERT_EQ(GetACP(), 932u);
    const ClassesRootGuard guard;
    DeleteTree(HKEY_CLASSES_ROOT, ".pcx");
    const std::string folder = MakeLayout("C:\\lvtest\\Long Folder " + kHyou + kShi);
    const std::string browser = folder + "Vistel4.exe";
    const std::string shortLauncher = ShortPathOf(folder + "lvlaunch.exe");
    ASSERT_EQ(RunProcess(shortLauncher + " -install"), 0u);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\Lumivue 4", "FullAppPath"), browser);
    EXPECT_EQ(GetString(HKEY_CLASSES_ROOT, "Lumivue.pcxImage\\shell\\Browse\\command"),
              "\"" + browser + "\" /shell \"%1\"");
    EXPECT_EQ(GetString(HKEY_CLASSES_ROOT, "Lumivue.pcxImage\\DefaultIcon"), folder + "lvlaunch.exe,0");

    ASSERT_EQ(RunProcess(shortLauncher + " -uninstall"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Lumivue.pcxImage\\shell\\Browse"));
    EXPECT_EQ(GetString(HKEY_CLASSES_ROOT, "Lumivue.pcxImage\\DefaultIcon"), "");
}

}  // namespace
