// The registry object on a throwaway key of Wine's real registry.
#include <gtest/gtest.h>

#include <cstring>

#include "AppError.h"
#include "Registry.h"
#include "StringData.h"
#include "TestSupport.h"

using namespace lvtest;
using lv::TRegistry;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    // Per process, so that test programs running side by side do not meet.
    const std::string base = "Software\\LvlaunchTests\\" + std::to_string(GetCurrentProcessId());
    const std::string absolute = "\\" + base;

    void SetUp() override { DeleteTree(HKEY_CURRENT_USER, base); }
    void TearDown() override { DeleteTree(HKEY_CURRENT_USER, base); }

    // The message ReadStringValue raised, or "no error" with the text it read.
    static std::string ReadOutcome(TRegistry& registry, const std::string& name) {
        try {
            return "read '" + registry.ReadStringValue(name) + "'";
        } catch (const lv::ERegistryException& error) {
            return error.what();
        }
    }
};

TEST_F(RegistryTest, ReadsStringsAndRejectsOtherTypes) {
    const std::string dword("\x2a\0\0\0", 4);
    const struct {
        DWORD type;
        std::string data;
        std::string outcome;
    } cases[] = {
        {REG_SZ, std::string("photo\0", 6), "read 'photo'"},
        {REG_SZ, std::string("\0", 1), "read ''"},
        {REG_SZ, "no terminator", "read 'no terminator'"},
        {REG_SZ, std::string("ab\0cd\0", 6), "read 'ab'"},
        {REG_SZ, std::string("表示\0", 7), "read '表示'"},  // three bytes a character in UTF-8, two in UTF-16
        {REG_EXPAND_SZ, std::string("%SystemRoot%\\x.exe\0", 19), "read '%SystemRoot%\\x.exe'"},
        {REG_DWORD, dword, "Invalid data type for ''"},
        {REG_BINARY, "\x01\x02", "Invalid data type for ''"},
        {REG_MULTI_SZ, std::string("a\0b\0\0", 5), "Invalid data type for ''"},
        {REG_DWORD, "", "read ''"},  // no data at all reads as empty, whatever the type
        {REG_BINARY, "", "read ''"},
        {REG_SZ, "", "read ''"},
    };
    TRegistry registry;
    ASSERT_TRUE(registry.SelectKey(absolute, true));
    for (const auto& c : cases) {
        SetValue(HKEY_CURRENT_USER, base, "", c.type, c.data);
        EXPECT_EQ(ReadOutcome(registry, ""), c.outcome) << "type " << c.type;
    }
    SetValue(HKEY_CURRENT_USER, base, "Count", REG_DWORD, dword);
    EXPECT_EQ(ReadOutcome(registry, "Count"), "Invalid data type for 'Count'");
    EXPECT_EQ(ReadOutcome(registry, "Missing"), "read ''");
    // The key stays selected after an error.
    EXPECT_TRUE(registry.HasCurrentKey());

    const std::string large(64 * 1024 - 1, 'x');
    SetString(HKEY_CURRENT_USER, base, "Large", large);
    EXPECT_EQ(registry.ReadStringValue("Large"), large);
}

TEST_F(RegistryTest, ReadsAgainWhenTheValueGrows) {
    // Wine reports exact sizes, and a value that grows between two calls is a
    // race: this stand-in for RegQueryValueExA answers as Windows would. The
    // value, longer than a first read takes, gains `growth` letters at each
    // of its first `times` calls.
    const std::string start(600, 'a');
    const auto read = [&start](std::size_t growth, int times, LONG readStatus) -> std::string {
        std::string value = start;
        const lv::ValueQuery query = [&](DWORD* type, BYTE* data, DWORD* size) -> LONG {
            if (times-- > 0) value.append(growth, 'x');
            const auto needed = static_cast<DWORD>(value.size() + 1);
            const bool fits = data == nullptr || *size >= needed;
            if (data != nullptr && fits) std::memcpy(data, value.c_str(), needed);
            *type = REG_SZ;
            *size = needed;
            if (data != nullptr && readStatus != ERROR_SUCCESS) return readStatus;
            return fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
        };
        try {
            return lv::ReadStringData("v", query);
        } catch (const lv::ERegistryException& error) {
            return error.what();
        }
    };
    EXPECT_EQ(read(3, 2, ERROR_SUCCESS), start + "xxxxxx");
    EXPECT_EQ(read(1, 1000, ERROR_SUCCESS), "Failed to get data for 'v'");
    EXPECT_EQ(read(0, 0, ERROR_ACCESS_DENIED), "Failed to get data for 'v'");
}

TEST_F(RegistryTest, ReadsNothingFromAKeyWithoutDefaultValue) {
    TRegistry registry;
    ASSERT_TRUE(registry.SelectKey(absolute + "\\Empty", true));
    EXPECT_EQ(registry.ReadStringValue(""), "");
}

TEST_F(RegistryTest, WritesStringsWithTheirTerminator) {
    TRegistry registry;
    ASSERT_TRUE(registry.SelectKey(absolute, true));
    registry.WriteStringValue("", "C:\\Apps\\Vistel4.exe");
    registry.WriteStringValue("Empty", "");
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, base),
              std::make_pair(DWORD{REG_SZ}, std::string("C:\\Apps\\Vistel4.exe\0", 20)));
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, base, "Empty"), std::make_pair(DWORD{REG_SZ}, std::string("\0", 1)));
    // An empty string overwrites, it does not delete.
    registry.WriteStringValue("", "");
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, base), std::make_pair(DWORD{REG_SZ}, std::string("\0", 1)));
}

TEST_F(RegistryTest, RaisesWhenAWriteIsRefused) {
    TRegistry registry;
    ASSERT_TRUE(registry.SelectKey(absolute + "\\Doomed", true));
    // The key is deleted behind the object's back: its handle can no longer be written.
    ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, (base + "\\Doomed").c_str()), ERROR_SUCCESS);
    try {
        registry.WriteStringValue("Setting", "value");
        FAIL() << "no error raised";
    } catch (const lv::ERegistryException& error) {
        EXPECT_STREQ(error.what(), "Failed to set data for 'Setting'");
        EXPECT_STREQ(error.KindName(), "ERegistryException");
    }
}

TEST_F(RegistryTest, SelectsKeysByAbsoluteAndRelativePaths) {
    TRegistry registry;
    EXPECT_FALSE(registry.SelectKey(absolute + "\\a\\b\\c", false));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base));

    ASSERT_TRUE(registry.SelectKey(absolute + "\\a\\b\\c", true));  // every level created
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\a\\b\\c"));
    EXPECT_EQ(registry.CurrentPath(), base + "\\a\\b\\c");

    // A failed selection leaves the current key as it was.
    EXPECT_FALSE(registry.SelectKey(absolute + "\\missing", false));
    EXPECT_EQ(registry.CurrentPath(), base + "\\a\\b\\c");
    registry.WriteStringValue("", "still c");
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, base + "\\a\\b\\c"), "still c");

    // A relative path continues from the current key.
    ASSERT_TRUE(registry.SelectKey("d", true));
    EXPECT_EQ(registry.CurrentPath(), base + "\\a\\b\\c\\d");
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\a\\b\\c\\d"));

    registry.ReleaseKey();
    EXPECT_FALSE(registry.HasCurrentKey());
    EXPECT_EQ(registry.CurrentPath(), "");
    // Without a current key a relative path starts at the root.
    ASSERT_TRUE(registry.SelectKey(base + "\\a", false));
    EXPECT_EQ(registry.CurrentPath(), base + "\\a");

    // Another root releases the current key; the same root keeps it.
    registry.SelectRoot(HKEY_CURRENT_USER);
    EXPECT_TRUE(registry.HasCurrentKey());
    registry.SelectRoot(HKEY_CLASSES_ROOT);
    EXPECT_FALSE(registry.HasCurrentKey());
    EXPECT_FALSE(registry.SelectKey(absolute, false));
}

TEST_F(RegistryTest, DeletesWholeTrees) {
    SetString(HKEY_CURRENT_USER, base + "\\tree\\one\\deep\\deeper", "v", "1");
    SetString(HKEY_CURRENT_USER, base + "\\tree\\two", "", "2");
    SetString(HKEY_CURRENT_USER, base + "\\tree", "", "top");
    SetString(HKEY_CURRENT_USER, base + "\\sibling", "", "kept");

    TRegistry registry;
    ASSERT_TRUE(registry.SelectKey(absolute + "\\sibling", false));
    EXPECT_TRUE(registry.DeleteKeyTree(absolute + "\\tree"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\tree"));
    // The current key is untouched and still usable.
    EXPECT_EQ(registry.ReadStringValue(""), "kept");

    EXPECT_FALSE(registry.DeleteKeyTree(absolute + "\\tree"));
    EXPECT_FALSE(registry.DeleteKeyTree(absolute + "\\never\\there"));
    EXPECT_EQ(Snapshot(HKEY_CURRENT_USER, base).subkeys.size(), 1u);
}

}  // namespace
