#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "AnsiText.h"
#include "BrowserPath.h"
#include "CodePageModel.h"
#include "ErrorReport.h"
#include "ImageTypes.h"

using lvtest::CodePage;

namespace {

const std::string kHyou = "\x95\x5C";  // 表 in code page 932: its second byte is '\'

TEST(AnsiText, DelimitersInsideDoubleByteCharactersDoNotCount) {
    const std::string fileEndingInHyou = "C:\\dir\\" + kHyou;
    {
        lvtest::CodePageScope japanese(CodePage::Japanese);
        EXPECT_EQ(lv::DirectoryPart(fileEndingInHyou), "C:\\dir\\");
        EXPECT_FALSE(lv::ContainsText(kHyou + "abc", "\\abc"));
        EXPECT_TRUE(lv::ContainsText("x" + kHyou + "abc", kHyou + "a"));
        EXPECT_EQ(lv::FindFirst(kHyou + "\\", '\\'), 2u);
        EXPECT_EQ(lv::CutToWholeChars("ab" + kHyou, 3), "ab");
    }
    {
        // A lead byte whose continuation bytes are missing takes no delimiter with it.
        lvtest::CodePageScope utf8(CodePage::Utf8);
        EXPECT_EQ(lv::DirectoryPart("C:\\dir\xE8\\file"), "C:\\dir\xE8\\");
        EXPECT_EQ(lv::CutToWholeChars("ab\xE8\xA1\xA8", 4), "ab");                  // 表
        EXPECT_EQ(lv::CutToWholeChars("ab\xF0\x9F\x98\x80", 5), "ab");              // a four-byte emoji
        EXPECT_EQ(lv::CutToWholeChars("ab\xE8\xA1\xA8\xA8", 5), "ab\xE8\xA1\xA8");  // a stray continuation byte
    }
    EXPECT_EQ(lv::DirectoryPart(fileEndingInHyou), fileEndingInHyou);
    EXPECT_TRUE(lv::ContainsText(kHyou + "abc", "\\abc"));
    EXPECT_EQ(lv::CutToWholeChars("ab" + kHyou, 3), "ab\x95");

    EXPECT_EQ(lv::DirectoryPart("D:lvlaunch.exe"), "D:");
    EXPECT_EQ(lv::DirectoryPart("lvlaunch.exe"), "");
    EXPECT_FALSE(lv::ContainsText("anything", ""));
    EXPECT_FALSE(lv::ContainsText("", "a"));
    EXPECT_EQ(lv::AsciiLowerCase("AbC.\xC4Z"), "abc.\xC4z");  // letters beyond ASCII are left alone
}

TEST(AnsiText, LeftAndRightPartsClampTheirCounts) {
    EXPECT_EQ(lv::LeftPart("abcdef", 2), "ab");
    EXPECT_EQ(lv::LeftPart("abcdef", 0), "");
    EXPECT_EQ(lv::LeftPart("abcdef", -3), "");
    EXPECT_EQ(lv::LeftPart("abcdef", 99), "abcdef");
    EXPECT_EQ(lv::RightPart("abcdef", 2), "ef");
    EXPECT_EQ(lv::RightPart("abcdef", 0), "");
    EXPECT_EQ(lv::RightPart("abcdef", -1), "");
    EXPECT_EQ(lv::RightPart("abcdef", 6), "abcdef");
    EXPECT_EQ(lv::RightPart("abcdef", 7), "abcdef");
}

// A file system made of the lookups it answers, keyed by the path asked for in lower case.
struct FakeFolders {
    std::map<std::string, std::string> storedNames;
    std::vector<std::string> asked;

    lv::EntryLookup Lookup() {
        return [this](const std::string& path, lv::FoundEntry& entry) {
            asked.push_back(path);
            const auto found = storedNames.find(lv::AsciiLowerCase(path));
            if (found == storedNames.end()) return false;
            entry.name = found->second;
            return true;
        };
    }
};

std::string BrowserPathFor(const std::string& modulePath, FakeFolders& disk) {
    return lv::FindBrowser(modulePath, disk.Lookup()).path;
}

TEST(BrowserPath, WalksToTheStoredLongNames) {
    FakeFolders disk{{
                         {"c:\\progra~1", "Program Files"},
                         {"c:\\progra~1\\lumivu~1", "Lumivue 4"},
                         {"c:\\progra~1\\lumivu~1\\vistel4.exe", "Vistel4.exe"},
                         {"c:\\program files", "Program Files"},
                         {"c:\\program files\\lumivue 4", "Lumivue 4"},
                         {"c:\\program files\\lumivue 4\\vistel4.exe", "Vistel4.exe"},
                         {"d:\\vistel4.exe", "Vistel4.exe"},
                         {"e:\\v1.2 beta", "v1.2 Beta"},
                         {"c:\\app.", "App"},  // a lookup that trims, as Win32 paths do
                         {"c:\\app\\vistel4.exe", "Vistel4.exe"},
                     },
                     {}};
    EXPECT_EQ(BrowserPathFor("C:\\PROGRA~1\\LUMIVU~1\\lvlaunch.exe", disk),
              "C:\\Program Files\\Lumivue 4\\Vistel4.exe");
    EXPECT_EQ(disk.asked, (std::vector<std::string>{"C:\\PROGRA~1", "C:\\PROGRA~1\\LUMIVU~1",
                                                    "C:\\PROGRA~1\\LUMIVU~1\\Vistel4.exe"}));
    // The drive letter keeps its case; the rest takes the stored case.
    EXPECT_EQ(BrowserPathFor("c:\\program files\\lumivue 4\\LVLAUNCH.EXE", disk),
              "c:\\Program Files\\Lumivue 4\\Vistel4.exe");
    disk.asked.clear();
    EXPECT_EQ(BrowserPathFor("D:\\lvlaunch.exe", disk), "D:\\Vistel4.exe");
    EXPECT_EQ(disk.asked, std::vector<std::string>{"D:\\Vistel4.exe"});
    // The launcher's own file name does not matter; a missing component empties the path.
    EXPECT_EQ(BrowserPathFor("C:\\Program Files\\Lumivue 4\\renamed.exe", disk),
              "C:\\Program Files\\Lumivue 4\\Vistel4.exe");
    EXPECT_EQ(BrowserPathFor("E:\\v1.2 beta\\lvlaunch.exe", disk), "");
    EXPECT_EQ(BrowserPathFor("C:\\Program Files\\Other\\lvlaunch.exe", disk), "");
    // A folder written with a dot or space at its end is one Windows cannot
    // name exactly, even where the lookup, trimming, finds another.
    EXPECT_EQ(BrowserPathFor("C:\\App.\\lvlaunch.exe", disk), "");
}

TEST(BrowserPath, NeedsADriveOrNetworkPath) {
    FakeFolders disk{{{"z:\\vistel4.exe", "Vistel4.exe"}, {"vistel4.exe", "Vistel4.exe"}}, {}};
    EXPECT_EQ(BrowserPathFor("\\\\server\\share\\apps\\lvlaunch.exe", disk), "\\\\server\\share\\apps\\Vistel4.exe");
    // An empty (truncated) module path or one without a folder must not find a browser elsewhere.
    for (const char* modulePath : {"", "lvlaunch.exe", "Z:lvlaunch.exe", "\\lvlaunch.exe"})
        EXPECT_EQ(BrowserPathFor(modulePath, disk), "") << modulePath;
    EXPECT_TRUE(disk.asked.empty());
}

TEST(BrowserPath, SplitsOnlyAtRealBackslashes) {
    FakeFolders disk{{
                         {"c:\\" + kHyou, kHyou},
                         {"c:\\" + kHyou + "\\vistel4.exe", "Vistel4.exe"},
                     },
                     {}};
    const std::string modulePath = "C:\\" + kHyou + "\\lvlaunch.exe";
    {
        lvtest::CodePageScope japanese(CodePage::Japanese);
        EXPECT_EQ(BrowserPathFor(modulePath, disk), "C:\\" + kHyou + "\\Vistel4.exe");
    }
    // Read byte by byte, the name is cut in two and the lookup fails.
    EXPECT_EQ(BrowserPathFor(modulePath, disk), "");
}

TEST(BrowserPath, IconLocationNamesTheLauncherBesideTheBrowser) {
    EXPECT_EQ(lv::IconLocationFor("C:\\Program Files\\Lumivue 4\\Vistel4.exe"),
              "C:\\Program Files\\Lumivue 4\\lvlaunch.exe,0");
    EXPECT_EQ(lv::IconLocationFor("D:\\Vistel4.exe"), "D:\\lvlaunch.exe,0");
    EXPECT_EQ(lv::IconLocationFor(""), "lvlaunch.exe,0");
}

TEST(ImageTypes, DescribesEveryRegisteredExtension) {
    for (const char* extension : lv::ImageExtensions) {
        EXPECT_NE(lv::GetFileTypeDescription(extension), "Unknown") << extension;
        EXPECT_EQ(std::count(lv::ImageExtensions.begin(), lv::ImageExtensions.end(), std::string(extension)), 1)
            << extension;
    }
    EXPECT_EQ(lv::TypeNameFor(".jpg"), "Lumivue.jpgImage");
    EXPECT_EQ(lv::TypeNameFor(".JPG"), "Lumivue.JPGImage");
    const std::pair<const char*, const char*> cases[] = {
        {".jpeg", "JPEG Bitmap"},
        {".JPG", "JPEG Bitmap"},
        {"C:\\Photos\\photo.JPEG", "JPEG Bitmap"},
        {".rle", "Windows Bitmap"},
        {".cur", "Windows Cursor"},
        {".vda", "Targa Bitmap"},
        {".win", "Targa Bitmap"},
        {".g3f", "TIFF Bitmap"},
        {".pxm", "Portable Pixmap, GreyMap, BitMap"},
        {".j2c", "JPEG2000 Code Stream"},
        {"a:b.gif", "CompuServe Bitmap"},
        {"C:\\a.b\\file", "Unknown"},
        {"photo.tif.", "Unknown"},
        {"photo", "Unknown"},
        {".jpeg2", "Unknown"},
        {".jp", "Unknown"},
        {"", "Unknown"},
    };
    for (const auto& [name, description] : cases) EXPECT_EQ(lv::GetFileTypeDescription(name), description) << name;
}

TEST(ErrorReport, FormatsKindPlaceAndMessage) {
    EXPECT_EQ(lv::FormatErrorReport("ERegistryException", "lvlaunch.exe", 0x1A2B, "Invalid data type for ''"),
              "Exception ERegistryException in module lvlaunch.exe at 00001A2B.\r\nInvalid data type for ''.\r\n");
    EXPECT_EQ(lv::FormatErrorReport("E", "m.exe", 0xFFFFFFFF, "Ends with a stop."),
              "Exception E in module m.exe at FFFFFFFF.\r\nEnds with a stop.\r\n");
    EXPECT_EQ(lv::FormatErrorReport("E", "m.exe", 0, ""), "Exception E in module m.exe at 00000000.\r\n\r\n");

    const std::string report = lv::FormatErrorReport("E", "m.exe", 0, std::string(2000, 'x'));
    EXPECT_EQ(report.size(), 1023u);
    lvtest::CodePageScope japanese(CodePage::Japanese);
    std::string wide;
    while (wide.size() < 2000) wide += kHyou;
    const std::string cut = lv::FormatErrorReport("E", "m.exe", 0, "x" + wide);
    EXPECT_LE(cut.size(), 1023u);
    EXPECT_EQ((cut.size() - std::string("Exception E in module m.exe at 00000000.\r\nx").size()) % 2, 0u)
        << "cut inside a character";
}

}  // namespace
