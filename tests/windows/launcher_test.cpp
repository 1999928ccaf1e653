// The launcher started for real under Wine, with a stand-in browser beside it.
#include <gtest/gtest.h>

#include "AnsiText.h"
#include "TestSupport.h"

using namespace lvtest;

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// What the browser sees when the launcher passes `parameters` on.
std::string BrowserLine(const std::string& browser, const std::string& parameters) {
    return parameters.empty() ? Quoted(browser) : Quoted(browser) + " " + parameters;
}

}  // namespace

TEST(StartingTheBrowser, PassesTheWholeCommandLineOrNothing) {
    const std::string folder = MakeLayout(ManyScriptsFolder() + "\\start");
    const std::string launcher = Quoted(folder + "lvlaunch.exe");
    const struct {
        std::string commandLine;
        std::string parameters;  // what the browser should get after its own name
    } cases[] = {
        {launcher, ""},
        {launcher + " \"\"", ""},  // an empty quoted pair is no argument
        {launcher + " C:\\pics\\a.jpg", launcher + " C:\\pics\\a.jpg"},
        {launcher + "  \"C:\\My Pictures\\a b.jpg\" -x", launcher + "  \"C:\\My Pictures\\a b.jpg\" -x"},
        {ShortPathOf(folder + "lvlaunch.exe") + " /view", ShortPathOf(folder + "lvlaunch.exe") + " /view"},
        {launcher + " \"C:\\Фото\\кот на диване 猫.jpg\"", launcher + " \"C:\\Фото\\кот на диване 猫.jpg\""},
    };
    for (const auto& c : cases) {
        DeleteFileA((folder + "received.txt").c_str());
        EXPECT_EQ(RunProcess(c.commandLine), 0u) << c.commandLine;
        EXPECT_EQ(ReceivedBy(folder), BrowserLine(folder + "Vistel4.exe", c.parameters)) << c.commandLine;
    }
    // Older systems spell a letter of the launcher's own name that their code
    // page lacks with a look-alike. Only the folder's name has to be exact: a
    // check of the whole module path would find no browser here.
    const std::string renamed = MakeLayout("C:\\lvtest\\renamed start", true, LauncherBuild::WithoutUtf8Setting);
    MoveFileA((renamed + "lvlaunch.exe").c_str(), (renamed + "lvlaunch Ł.exe").c_str());
    EXPECT_EQ(RunProcess(Quoted(renamed + "lvlaunch Ł.exe")), 0u);
    EXPECT_EQ(ReceivedBy(renamed), Quoted(renamed + "Vistel4.exe"));
}

TEST(StartingTheBrowser, FailsWithoutStartingAnythingWhenTheBrowserIsMissing) {
    const std::string folder = MakeLayout("C:\\lvtest\\no browser", /*withBrowser=*/false);
    // A stand-in elsewhere must not be found through the search path or the current folder.
    const std::string decoy = MakeLayout("C:\\lvtest\\decoy");
    SetCurrentDirectoryA(decoy.c_str());
    // Systems that ignore the UTF-8 setting report Ł and Ω as L and O: a
    // launcher in "Łukasz Ωmega" would see itself in "Lukasz Omega", started
    // by its path or by its short path, whose long names they spell alike.
    const std::string unspellable =
        MakeLayout("C:\\lvtest\\Łukasz Ωmega", /*withBrowser=*/true, LauncherBuild::WithoutUtf8Setting);
    const std::string lookAlike = MakeLayout("C:\\lvtest\\Lukasz Omega");
    // The launcher named Vistel4.exe would start itself without end.
    const std::string renamed = MakeLayout("C:\\lvtest\\start renamed", /*withBrowser=*/false);
    MoveFileA((renamed + "lvlaunch.exe").c_str(), (renamed + "Vistel4.exe").c_str());
    for (const std::string& launcher : {Quoted(folder + "lvlaunch.exe"), Quoted(unspellable + "lvlaunch.exe"),
                                        ShortPathOf(unspellable + "lvlaunch.exe"), Quoted(renamed + "Vistel4.exe")}) {
        EXPECT_EQ(RunProcess(launcher), 1u) << launcher;
        EXPECT_EQ(RunProcess(launcher + " C:\\a.png"), 1u) << launcher;
    }
    EXPECT_EQ(ReceivedBy(decoy, 1000), "");
    EXPECT_EQ(ReceivedBy(lookAlike, 0), "");
    EXPECT_EQ(ReceivedBy(unspellable, 0), "");
}

TEST(StartingTheBrowser, NamesTheBrowserByItsStoredLongPath) {
    const std::string folder = MakeLayout("C:\\lvtest\\Program Files Long\\Lumivue Viewer 4.1");
    const std::string browser = folder + "Vistel4.exe";
    const std::string shortLauncher = ShortPathOf(folder + "lvlaunch.exe");
    ASSERT_EQ(shortLauncher.find(' '), std::string::npos) << shortLauncher;
    EXPECT_EQ(RunProcess(shortLauncher), 0u);
    EXPECT_EQ(ReceivedBy(folder), Quoted(browser));

    // The drive letter stays as typed; every later component takes its stored case.
    DeleteFileA((folder + "received.txt").c_str());
    EXPECT_EQ(RunProcess(Quoted("c:\\LVTEST\\program files long\\LUMIVUE viewer 4.1\\LVLAUNCH.EXE")), 0u);
    EXPECT_EQ(ReceivedBy(folder), Quoted("c" + browser.substr(1)));
}

TEST(StartingTheBrowser, FromTheRootOfADrive) {
    // Drive T: is mapped to an empty test folder for this run.
    const std::string root = MakeLayout("T:");
    ASSERT_EQ(root, "T:\\");
    EXPECT_EQ(RunProcess("T:\\lvlaunch.exe x.gif"), 0u);
    EXPECT_EQ(ReceivedBy(root), Quoted("T:\\Vistel4.exe") + " T:\\lvlaunch.exe x.gif");
}

TEST(LauncherText, StepsThroughWholeUtf8Characters) {
    // This program runs in UTF-8 as the launcher does, where CharNextA steps byte by byte.
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    EXPECT_EQ(lv::CutToWholeChars("ab表", 4), "ab");
    EXPECT_EQ(lv::CutToWholeChars("ab😀", 5), "ab");
    EXPECT_EQ(lv::CutToWholeChars("ab😀", 6), "ab😀");
}

TEST(LauncherFile, CarriesItsIconAndVersion) {
    const std::string launcher = BinFolder() + "lvlaunch.exe";
    DWORD ignored = 0;
    std::string info(GetFileVersionInfoSizeA(launcher.c_str(), &ignored), '\0');
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(launcher.c_str(), 0, static_cast<DWORD>(info.size()), &info[0]));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00040001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00040001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));

    WORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size));
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1252);

    const std::pair<const char*, const char*> strings[] = {
        {"FileVersion", "4.1.0.0"},
        {"ProductVersion", "4.1.0.0"},
        {"FileDescription", "Lumivue Launcher"},
        {"InternalName", "Lumivue Launcher"},
        {"ProductName", "Lumivue Launcher"},
        {"LegalTrademarks", "Lumivue"},
        {"OriginalFilename", "lvlaunch.exe"},
        {"CompanyName", "Tarnwick"},
    };
    for (const auto& [name, expected] : strings) {
        char* value = nullptr;
        const std::string query = std::string("\\StringFileInfo\\040904E4\\") + name;
        ASSERT_TRUE(VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &size)) << name;
        EXPECT_STREQ(value, expected) << name;
    }
    for (const char* name : {"LegalCopyright", "Comments"}) {
        char* value = nullptr;
        const std::string query = std::string("\\StringFileInfo\\040904E4\\") + name;
        ASSERT_TRUE(VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &size)) << name;
        EXPECT_GT(std::string(value).size(), 10u) << name;
    }

    // MAINICON is the first icon: one 32x32 image in 16 colours.
    HMODULE module = LoadLibraryExA(launcher.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    HRSRC group = FindResourceA(module, "MAINICON", MAKEINTRESOURCEA(14) /*RT_GROUP_ICON*/);
    ASSERT_NE(group, nullptr);
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    const WORD count = *reinterpret_cast<const WORD*>(directory + 4);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(directory[6], 32);                                      // width
    EXPECT_EQ(directory[7], 32);                                      // height
    EXPECT_EQ(directory[8], 16);                                      // colours
    EXPECT_EQ(*reinterpret_cast<const WORD*>(directory + 6 + 6), 4);  // bits per pixel

    // The application manifest: the caller's rights, DPI-aware dialogs, UTF-8;
    // themed dialogs from a second manifest that only the error report activates.
    const auto manifest = [module](WORD id) {
        HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(24) /*RT_MANIFEST*/);
        return resource == nullptr ? std::string()
                                   : std::string(static_cast<const char*>(LockResource(LoadResource(module, resource))),
                                                 SizeofResource(module, resource));
    };
    for (const char* part :
         {"<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
          ">true/pm</dpiAware>", ">PerMonitorV2, PerMonitor</dpiAwareness>", ">UTF-8</activeCodePage>"})
        EXPECT_NE(manifest(1).find(part), std::string::npos) << part;
    const char commonControls[] = "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"";
    EXPECT_EQ(manifest(1).find(commonControls), std::string::npos);
    EXPECT_NE(manifest(2).find(commonControls), std::string::npos);
    FreeLibrary(module);
    HICON icon = ExtractIconA(nullptr, launcher.c_str(), 0);
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) DestroyIcon(icon);
}

namespace {

// Folders nested until the launcher's path in them is `length` characters long.
std::string FolderOfLength(std::size_t length) {
    std::string folder = "C:\\lvtest\\long";
    const std::size_t fileNameLength = std::string("\\lvlaunch.exe").size();
    while (folder.size() + fileNameLength < length) {
        const std::size_t room = length - fileNameLength - folder.size() - 1;
        folder += "\\" + std::string(room < 60 ? room : 60, 'd');
    }
    return folder;
}

}  // namespace

TEST(StartingTheBrowser, FromAPathJustUnderTheLengthLimit) {
    const std::string folder = MakeLayout(FolderOfLength(MAX_PATH - 1));
    ASSERT_EQ((folder + "lvlaunch.exe").size(), MAX_PATH - 1u);
    EXPECT_EQ(RunProcess(Quoted(folder + "lvlaunch.exe")), 0u);
    EXPECT_EQ(ReceivedBy(folder), Quoted(folder + "Vistel4.exe"));
}

namespace {

// Started through its short form, the walk leads to the long path: either
// the browser starts under that path, or nothing starts and the run fails.
void StartFromAPathOfLength(std::size_t length) {
    const std::string folder = FolderOfLength(length);
    ASSERT_EQ(folder.size() + 13, length);
    try {
        MakeLayout(folder);
    } catch (const std::exception& error) {
        GTEST_SKIP() << length << " characters: no such folder can be made here (" << error.what() << ")";
    }
    DWORD code = 0;
    try {
        code = RunProcess(ShortPathOf(folder + "\\lvlaunch.exe"));
    } catch (const std::exception& refused) {
        GTEST_SKIP() << length << " characters: Wine (8 and 10) starts no program below a path this long ("
                     << refused.what() << ")";
    }
    const std::string received = ReceivedBy(folder, code == 0 ? 5000 : 1000);
    EXPECT_EQ(received, code == 0 ? Quoted(folder + "\\Vistel4.exe") : "") << length << ", exit code " << code;
}

}  // namespace

TEST(StartingTheBrowser, FromAPathOf260Characters) { StartFromAPathOfLength(260); }
TEST(StartingTheBrowser, FromAPathOf261Characters) { StartFromAPathOfLength(261); }
TEST(StartingTheBrowser, FromAPathOf300Characters) { StartFromAPathOfLength(300); }
