// The agenda's year as the build wrote it (diskbuild agenda): a record for every day of 1998 and
// one more, the holidays and moveable feasts on their days, the moon's phases at the minute the
// published tables give (converted to Brasília time, UTC-3), the "você sabia" texts and icons.

#include "ErrorRecorder.h"
#include "framework/display/DisplayMakers.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path media()
{
    return fs::path(QEL_BUILD_DIR) / "disk" / "Media";
}

std::string textOf(const qelValue& value)
{
    return value.isString() ? qelCString(value) : "";
}

class AgendaYear : public ::testing::Test {
protected:
    void SetUp() override
    {
        qelInstallDisplayMakers();
        archive = qelOpenArchive(qelValue((media() / "Agenda.dat").string().c_str()), 0);
    }
    qelValue element(int32_t day, int32_t n) { return qelGet(qelGet(archive, day), n); }

    ErrorRecorder errors;
    qelValue archive;
};

} // namespace

TEST_F(AgendaYear, EveryDayHasItsRecord)
{
    ASSERT_EQ(qelCount(archive), 366);
    EXPECT_EQ(textOf(element(0, 1)), "Qui, 01 Jan 1998");
    EXPECT_EQ(textOf(element(124, 1)), "Ter, 05 Mai 1998");
    EXPECT_EQ(textOf(element(364, 1)), "Qui, 31 Dez 1998");
    for (int32_t day = 0; day < 366; ++day) {
        ASSERT_EQ(qelCount(qelGet(archive, day)), 7) << day;
        EXPECT_EQ(qelIntValue(element(day, 0)), day);
        std::string phase = textOf(element(day, 2));
        EXPECT_TRUE(phase == "Nova" || phase == "Crescente" || phase == "Cheia" || phase == "Minguante") << day;
    }
    // The extra record of a common year is an empty day.
    EXPECT_TRUE(element(365, 3).isNil());
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(AgendaYear, HolidaysAndMoveableFeasts)
{
    // Easter 1998 fell on 12 April.
    struct Case {
        int32_t day;
        const char* text;
    } cases[] = { { 0, "Confraterniza\xe7\xe3o Universal" }, { 54, "Carnaval" }, { 99, "Sexta-feira Santa" },
        { 101, "P\xe1scoa" }, { 110, "Tiradentes" }, { 161, "Corpus Christi" }, { 249, "Independ\xeancia do Brasil" },
        { 358, "Natal" } };
    for (const Case& c : cases)
        EXPECT_NE(textOf(element(c.day, 3)).find(c.text), std::string::npos) << c.day << " " << textOf(element(c.day, 3));
    std::ifstream in(media() / "agferiad.tbl");
    std::string holidays((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(holidays.find("(list 0 110 120 249 284 305 318 358 54 99 161)"), std::string::npos) << holidays;
}

TEST_F(AgendaYear, MoonPhasesToTheMinute)
{
    // Published universal times: full moon 12 Jan 17:24, new moon 28 Jan 06:01, new moon (the
    // total solar eclipse) 26 Feb 17:26.
    struct Case {
        int32_t day;
        const char* text;
        const char* phase;
    } cases[] = { { 11, "Lua Cheia \xe0s 14h24", "Cheia" }, { 27, "Lua Nova \xe0s 03h01", "Nova" },
        { 56, "Lua Nova \xe0s 14h26", "Nova" } };
    for (const Case& c : cases) {
        EXPECT_EQ(textOf(element(c.day, 4)), c.text) << c.day;
        EXPECT_EQ(textOf(element(c.day, 2)), c.phase) << c.day;
    }
    EXPECT_EQ(textOf(element(12, 4)), "");
    EXPECT_EQ(textOf(element(12, 2)), "Cheia");
}

TEST_F(AgendaYear, DidYouKnowTextsAndIcons)
{
    // 13 May: the Lei Áurea.
    EXPECT_EQ(qelIntValue(element(132, 5)), 2);
    EXPECT_EQ(textOf(element(132, 6)).rfind("... ", 0), 0u);
    EXPECT_EQ(qelIntValue(element(133, 5)), 0);
    EXPECT_EQ(textOf(element(133, 6)), "");
    std::ifstream in(media() / "agsignos.tbl");
    std::string icons((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(icons.find("(\"11\" (reference \"agico_lua2.bmp\"))"), std::string::npos);
    EXPECT_NE(icons.find("(\"140\" (reference \"agico_sig5.bmp\"))"), std::string::npos) << "Gemini from 21 May";
}
