// The timeline's events as the build wrote them from content/almanac/data/ltempo.tbl: enough of
// them, in time order from deep time to 1998, six eras each a run of items, each item as the
// timeline screen reads it, and each named in the word search's general names.

#include "ErrorRecorder.h"

#include "framework/display/DisplayMakers.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "recdb/index/IndexObject.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string mediaPath(const char* file)
{
    return (fs::path(QEL_BUILD_DIR) / "disk" / "Media" / file).string();
}

} // namespace

TEST(AlmanacTimelineData, EventsInTimeOrderInSixErasNamedForTheWordSearch)
{
    ErrorRecorder errors;
    qelInstallDisplayMakers();
    qelValue archive = qelOpenArchive(qelValue(mediaPath("TimeLine.dat").c_str()), 0);
    ASSERT_EQ(archive.type(), QEL_ARCHIVE_TYPE);
    int32_t count = qelCount(archive);
    EXPECT_GE(count, 150);
    qelValue names = qelOpenIndex(qelValue(mediaPath("GNRNList.IDX").c_str()), 0, 0);
    ASSERT_EQ(names.type(), QEL_INDEX_TYPE);
    int32_t previousYear = INT32_MIN, previousEra = 1, antiquity = 0;
    for (int32_t item = 0; item < count; ++item) {
        qelValue event = qelGet(archive, item);
        ASSERT_EQ(qelCount(event), 5) << item;
        EXPECT_EQ(qelIntValue(qelGet(event, 0)), item);
        int32_t year = qelIntValue(qelGet(event, 1));
        int32_t era = qelIntValue(qelGet(event, 4));
        EXPECT_GE(year, previousYear) << item;
        EXPECT_TRUE(era == previousEra || era == previousEra + 1) << item << ": the eras are runs in order";
        previousYear = year;
        previousEra = era;
        antiquity += era == 3;
        std::string date = qelCString(qelGet(event, 2));
        std::string line = qelCString(qelGet(event, 3));
        EXPECT_EQ(line.rfind(date + " \x96 ", 0), 0u) << line;
        EXPECT_EQ(qelGet(names, qelMakeInt((8 << 16) | item)), qelValue(("Linha do Tempo: " + line).c_str())) << line;
    }
    EXPECT_EQ(previousEra, 6);
    EXPECT_EQ(previousYear, 1998);
    EXPECT_GE(antiquity, 12) << "Antiquity fills at least a page";
    // The line of the discovery of Brazil, as the screen shows it.
    bool found = false;
    for (int32_t item = 0; item < count && !found; ++item)
        found = qelGet(qelGet(archive, item), 3) == "22/4/1500 \x96 A frota de Pedro \xc1lvares Cabral chega ao Brasil.";
    EXPECT_TRUE(found);
}
