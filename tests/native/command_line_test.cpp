#include <gtest/gtest.h>

#include "CodePageModel.h"
#include "CommandLine.h"

using lv::LauncherAction;
using lvtest::CodePage;
using Arguments = std::vector<std::string>;

namespace {

struct SplitCase {
    std::string commandLine;
    Arguments arguments;
};

void ExpectSplits(const std::vector<SplitCase>& cases) {
    for (const SplitCase& c : cases) EXPECT_EQ(lv::SplitArguments(c.commandLine), c.arguments) << c.commandLine;
}

TEST(SplitArguments, FollowsTheQuotingRules) {
    ExpectSplits({
        {"", {}},
        {"lvlaunch.exe", {}},
        {"\"C:\\Program Files\\lvlaunch.exe\"", {}},
        {"\"C:\\Apps\\lvlaunch.exe\" C:\\pics\\a.jpg", {"C:\\pics\\a.jpg"}},
        {"x \"a b\"  c", {"a b", "c"}},
        {"x a\"b c\"d", {"ab cd"}},  // quotes are dropped wherever they stand
        {"x -ins\"tall\" more", {"-install", "more"}},
        {"x \"C:\\dir\\\" b", {"C:\\dir\\", "b"}},  // no escape character
        {"x\t-install\r\n", {"-install"}},          // any control character separates
        {"x \x01y", {"y"}},
    });
}

TEST(SplitArguments, SkipsEmptyPairsAndStopsAtTheEnd) {
    ExpectSplits({
        {"x \"\"", {}},
        {"x \"\" \"\" -install", {"-install"}},
        {"\"\" prog a", {"a"}},  // before the program name too
        {"x a \"", {"a"}},       // a lone quote at the end adds nothing
        {"x \"\"\"", {}},
        {"x \"\"\"a\"", {"a"}},
        {"x a\"\"b", {"ab"}},  // inside a token an empty pair is simply dropped
        {"x \"unterminated arg", {"unterminated arg"}},
        {std::string("x a\0b", 5), {"a"}},  // the text ends at its first NUL
    });
}

TEST(SplitArguments, StepsOverDoubleByteCharactersWhole) {
    const std::string hyouji = "\x95\x5C\x8E\xA6";  // 表示 in code page 932
    {
        lvtest::CodePageScope japanese(CodePage::Japanese);
        ExpectSplits({
            {"x \"C:\\" + hyouji + "\\a.jpg\" b", {"C:\\" + hyouji + "\\a.jpg", "b"}},
            {"x \x81\"a b\"", {"\x81\"a", "b"}},  // the quote is the second byte of a character
            {"x \x81", {"\x81"}},                 // a lead byte before the end stands alone
        });
    }
    ExpectSplits({
        {"x \x81\"a b\"",
         {"\x81"
          "a b"}},
        {"x \x81", {"\x81"}},
    });
}

TEST(ChooseAction, MatchesOnlyTheExactCommandWords) {
    const std::pair<Arguments, LauncherAction> cases[] = {
        {{}, LauncherAction::StartBrowser},
        {{"-install"}, LauncherAction::Install},
        {{"-install", "extra"}, LauncherAction::Install},
        {{"-uninstall"}, LauncherAction::Uninstall},
        {{"-uninstall", "-install"}, LauncherAction::Uninstall},
        {{"-INSTALL"}, LauncherAction::StartBrowserWithCommandLine},
        {{"/install"}, LauncherAction::StartBrowserWithCommandLine},
        {{"-install "}, LauncherAction::StartBrowserWithCommandLine},
        {{"photo.jpg", "-install"}, LauncherAction::StartBrowserWithCommandLine},
    };
    for (const auto& [arguments, action] : cases)
        EXPECT_EQ(lv::ChooseAction(arguments), action) << (arguments.empty() ? "(none)" : arguments[0]);
}

}  // namespace
