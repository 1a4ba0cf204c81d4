#include "platform/sys/IniFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace platform;

TEST(IniFile, SectionSettingsFollowTheProfileRules)
{
    const char* text = "\xEF\xBB\xBF; settings\r\n"
                       "[Other]\r\n"
                       "MediaPath=wrong\r\n"
                       "[ qelEnvironment ]\r\n"
                       "  MediaPath =  D:\\Media  \r\n"
                       "; MediaWidth=800\r\n"
                       "Quoted=\"  spaced  \"\r\n"
                       "Single='x'\r\n"
                       "Mismatched=\"x'\r\n"
                       "Empty=\r\n"
                       "EmptyQuotes=\"\"\r\n"
                       "no equals sign\r\n"
                       "=novalue\r\n"
                       "mediapath=second\r\n"
                       "Eq=a=b\r\n"
                       "[QELENVIRONMENT]\r\n"
                       "Late=ignored: only the first section of a name counts\r\n";
    std::vector<IniEntry> expected = {
        { "MediaPath", "D:\\Media" },
        { "Quoted", "  spaced  " },
        { "Single", "x" },
        { "Mismatched", "\"x'" },
        { "mediapath", "D:\\Media" }, // a repeated key (any case) reads the first line's value
        { "Eq", "a=b" },
    };
    EXPECT_EQ(iniSectionSettings(text, "QELENVIRONMENT"), expected);
    EXPECT_EQ(iniValue(text, "other", "MEDIAPATH"), "wrong");
    EXPECT_EQ(iniValue(text, "QELENVIRONMENT", "Empty"), "");
    EXPECT_EQ(iniValue(text, "QELENVIRONMENT", "Missing"), std::nullopt);
    EXPECT_TRUE(iniSectionSettings(text, "Absent").empty());
}

TEST(IniFile, UnreadableOrOversizedFilesYieldNothing)
{
    auto dir = std::filesystem::temp_directory_path()
        / ("ini-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    auto good = (dir / "VL98.ini").string();
    std::ofstream(good) << "[QELENVIRONMENT]\nEventLimit=80\n";
    EXPECT_EQ(readIniSectionSettings(good, "QELENVIRONMENT"), (std::vector<IniEntry> { { "EventLimit", "80" } }));
    EXPECT_TRUE(readIniSectionSettings((dir / "missing.ini").string(), "QELENVIRONMENT").empty());
    EXPECT_TRUE(readIniSectionSettings(dir.string(), "QELENVIRONMENT").empty()); // a folder
    auto big = (dir / "big.ini").string();
    {
        std::ofstream out(big);
        out << "[QELENVIRONMENT]\nA=1\n";
        out << std::string(maxIniFileBytes, ';');
    }
    EXPECT_TRUE(readIniSectionSettings(big, "QELENVIRONMENT").empty());
    std::filesystem::remove_all(dir);
}
