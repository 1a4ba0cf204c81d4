// The database's cell texts: formatDBNumber's groups, decimals and missing values, and the
// formatter each field of both databases takes.

#include "app/atlas/database/DBFormat.h"
#include "app/atlas/database/DBTableLayout.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

std::string text(const qelValue& value)
{
    return value.isString() ? qelCString(value) : "<not a string>";
}

} // namespace

TEST(FormatDBNumber, GroupsDecimalsAndMissingValues)
{
    struct Case {
        qelValue value;
        int32_t decimals;
        float divisor;
        const char* expected;
    };
    // Inputs are exact as 32-bit floats, the precision the values are read in.
    const Case cases[] = {
        { qelMakeInt(0), 2, 1.0f, "-" },
        { qelMakeFloat(0.0f), 0, 1.0f, "-" },
        { qelMakeFloat(dbMissingSentinel), 0, 1.0f, "n.d." },
        // The sentinel is tested before dividing: a thousands column shows it too.
        { qelMakeFloat(dbMissingSentinel), 0, 1000.0f, "n.d." },
        { qelValue("n.d."), 2, 1.0f, "n.d." },
        { qelValue("Mercosul"), 0, 1.0f, "Mercosul" },
        { qelMakeInt(999), 0, 1.0f, "999" },
        { qelMakeInt(1000), 0, 1.0f, "1,000" },
        { qelMakeInt(1000000), 0, 1.0f, "1,000,000" },
        { qelMakeInt(2147483647), 0, 1.0f, "2,147,483,648" }, // read as the float 2^31
        { qelMakeFloat(12.5f), 0, 1.0f, "12" },               // truncated, not rounded
        { qelMakeFloat(999.9f), 0, 1.0f, "999" },
        { qelMakeFloat(5.5f), 2, 1.0f, "  5.50" },
        { qelMakeFloat(1234567.875f), 2, 1.0f, "1,234,567.88" },
        { qelMakeFloat(1234.5f), 2, 1.0f, "1,234.50" },
        { qelMakeFloat(1000.25f), 1, 1.0f, "1,000.2" },
        { qelMakeInt(4), 3, 1.0f, "  4.000" },
        { qelMakeInt(-1500), 0, 1.0f, "-1500" },
        { qelMakeFloat(-0.5f), 0, 1.0f, "0" },
        { qelMakeFloat(-2.5f), 1, 1.0f, " -2.5" },
        { qelMakeInt(2500000), 0, 1000.0f, "2,500" },
        { qelMakeInt(41262199), 0, 1000.0f, "41,262" },
        { qelMakeFloat(12.75f), 10, 1.0f, "12" }, // ten or more decimals: none
        { qelMakeFloat(12.75f), -1, 1.0f, "12" },
        // Rounding carries into the whole part before the groups are cut.
        { qelMakeFloat(1999.996f), 2, 1.0f, "2,000.00" },
        { qelMakeFloat(999.996f), 2, 1.0f, "1,000.00" },
        { qelMakeFloat(9999.96f), 1, 1.0f, "10,000.0" },
        { qelMakeFloat(3.0e12f), 0, 1.0f, "3,000,000,053,248" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(formatDBNumber(c.value, c.decimals, c.divisor)), c.expected)
            << text(qelValueToString(c.value)) << " with " << c.decimals << " decimals / " << c.divisor;
}

TEST(DBFieldFormatters, EachDatabaseHasItsTable)
{
    std::map<DBFormatter, int> counts;
    for (int32_t field = 0; field <= 49; ++field)
        ++counts[dbFieldFormatter(1, field)];
    for (int32_t field = 0; field <= 86; ++field)
        ++counts[dbFieldFormatter(0, field)];
    EXPECT_EQ(counts[DBFormatter::None], 2);
    EXPECT_EQ(counts[DBFormatter::PlainLeft], 51);
    EXPECT_EQ(counts[DBFormatter::PlainRight], 2);
    EXPECT_EQ(counts[DBFormatter::TextRight], 4);
    EXPECT_EQ(counts[DBFormatter::Integer], 44);
    EXPECT_EQ(counts[DBFormatter::Decimals1], 21);
    EXPECT_EQ(counts[DBFormatter::Decimals2], 10);
    EXPECT_EQ(counts[DBFormatter::Decimals3], 2);
    EXPECT_EQ(counts[DBFormatter::Thousands], 1);
    EXPECT_EQ(dbFieldFormatter(1, 4), DBFormatter::Thousands);
    EXPECT_EQ(dbFieldFormatter(0, 4), DBFormatter::Integer);
    EXPECT_EQ(dbFieldFormatter(1, 50), DBFormatter::None);
    EXPECT_EQ(dbFieldFormatter(0, 87), DBFormatter::None);
}

TEST(DBFieldFormatters, CellTextsAndAlignments)
{
    qelValue state = qelListOf({ "Acre", "Acre", qelMakeFloat(164123.0f), qelMakeFloat(4.5f), qelMakeInt(733559), "Rio Branco" });
    struct Case {
        int32_t field;
        const char* text;
        int32_t alignment;
    };
    const Case cases[] = {
        { 1, "Acre", dbAlignLeft },
        { 2, "164,123.00", dbAlignRight },
        { 3, "  4.5", dbAlignRight },
        { 4, "733", dbAlignRight },
        { 5, "Rio Branco", dbAlignLeft },
    };
    for (const Case& c : cases) {
        DBCellText cell = dbCellText(state, 1, c.field);
        EXPECT_EQ(text(cell.text), c.text) << c.field;
        EXPECT_EQ(cell.alignment, c.alignment) << c.field;
    }
    EXPECT_TRUE(dbCellText(state, 1, 0).text.isNil());
    // A field past the record reads as no value, which the cell shows as "n.d.".
    EXPECT_EQ(text(DBTableLayout::cellShownText(dbCellText(state, 1, 6).text, qelNil)), "n.d.");
}

TEST(DBTableLayout, CellTextsWithNotes)
{
    struct Case {
        qelValue text;
        qelValue note;
        const char* shown;
    };
    const Case cases[] = {
        { qelNil, qelNil, "n.d." },
        { qelValue(""), qelValue(" (a)"), "n.d." },
        { qelValue("-"), qelValue(" (a)"), " (a)" },
        { qelValue("1,000"), qelValue(" (a)"), "1,000 (a)" },
        { qelValue("1,000"), qelValue(" "), "1,000 " },
        { qelValue("-"), qelNil, "-" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(DBTableLayout::cellShownText(c.text, c.note)), c.shown);
}
