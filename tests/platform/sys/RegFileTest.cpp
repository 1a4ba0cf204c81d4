#include "platform/sys/RegFile.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {
const char* prefs = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrand\\Velarim 98\\1.0\\Preferences";
}

TEST(RegFile, ReadsStringValuesAndSkipsOtherTypes)
{
    auto file
        = RegFile::parse("REGEDIT4\r\n"
                         "\r\n"
                         "; exported\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrand\\Velarim 98\\1.0\\Preferences]\r\n"
                         "\"MediaPath\"=\"C:\\\\Velarim\\\\Media\"\r\n"
                         "\"EventLimit\"=dword:00000050\r\n"
                         "\"Blob\"=hex:01,02,\\\r\n"
                         "  03,04\r\n"
                         "\"Quote\"=\"say \\\"hi\\\"\"\r\n"
                         "@=\"default\"\r\n"
                         "\"Hexed\"=hex(1):41,42,00,43\r\n"
                         "\"Expand\"=hex(2):41,00\r\n"
                         "\"Trailing\"=\"x\" junk\r\n"
                         "\"Unclosed\"=\"x\r\n"
                         "\"mediapath\"=\"D:\\\\Media\"\r\n"
                         "\"WasText\"=\"a\"\r\n"
                         "\"WasText\"=dword:1\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrand\\Velarim 98\\1.0\\Registration\\User Demographics]\r\n"
                         "\"Name\"=\"Ana\"\r\n");
    ASSERT_TRUE(file);
    std::vector<RegValue> expected = {
        { "MediaPath", "D:\\Media" }, // a later line of the same name replaces the data in place
        { "Quote", "say \"hi\"" }, { "", "default" }, { "Hexed", "AB" }, // string data ends at its NUL
    };
    EXPECT_EQ(file->stringValues(prefs), expected);
    // Key paths match without regard to case; a key with only subkeys exists and is empty.
    EXPECT_EQ(
        file->stringValues("hkey_local_machine\\software\\ostrand\\velarim 98\\1.0\\registration\\user demographics"),
        (std::vector<RegValue> { { "Name", "Ana" } }));
    EXPECT_EQ(file->stringValues("HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrand\\Velarim 98\\1.0\\Registration"),
        std::vector<RegValue> {});
    EXPECT_EQ(file->stringValues("HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrand\\Velarim 98\\2.0"), std::nullopt);
    EXPECT_EQ(file->stringValues("HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostr"), std::nullopt);
}

TEST(RegFile, ReadsUtf16ExportsAndRejectsFilesWithoutHeader)
{
    std::u16string text
        = u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrand\\Velarim "
          u"98\\1.0\\Preferences]\r\n\"Title\"=\"Atlas \u20AC \u4E2D\"\r\n\"H\"=hex(1):41,00,e9,00,00,00\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += char(c & 0xFF);
        bytes += char(c >> 8);
    }
    auto file = RegFile::parse(bytes);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->stringValues(prefs), (std::vector<RegValue> { { "Title", "Atlas \x80 ?" }, { "H", "A\xE9" } }));

    EXPECT_FALSE(RegFile::parse("[HKEY_LOCAL_MACHINE\\X]\n\"A\"=\"b\"\n"));
    EXPECT_FALSE(RegFile::parse(""));
    EXPECT_FALSE(RegFile::load("/nonexistent/registry.reg"));
}

TEST(RegFile, LeavesOutOverlongNamesButKeepsLaterValues)
{
    std::string text = "REGEDIT4\n[K]\n\"" + std::string(256, 'n') + "\"=\"long\"\n\"" + std::string(255, 'm')
        + "\"=\"fits\"\n\"After\"=\"kept\"\n";
    auto file = RegFile::parse(text);
    ASSERT_TRUE(file);
    EXPECT_EQ(
        file->stringValues("K"), (std::vector<RegValue> { { std::string(255, 'm'), "fits" }, { "After", "kept" } }));
}
