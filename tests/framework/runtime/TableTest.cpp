#include "framework/runtime/Table.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"
#include "tests/framework/runtime/ErrorRecorder.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

qelTableObject& tableOf(const qelValue& value)
{
    return *qelTableOf(value);
}

// The keys of the live slots in slot order, as display texts ("" for an empty slot).
std::vector<std::string> slots(const qelValue& table)
{
    std::vector<std::string> out;
    qelTableObject& t = tableOf(table);
    for (int32_t slot = 0; slot < t.capacity; ++slot)
        out.push_back(t.isLive(slot) ? qelCString(qelValueToString(t.keys[slot])) : "");
    return out;
}

std::string text(const qelValue& value)
{
    return qelCString(value);
}

} // namespace

// Keys 1, 6 and 11 share home slot 1 of a table of capacity 5, so they form one probe chain.
TEST(Table, ProbeChainsRunThroughDeletedSlots)
{
    qelValue table = qelTable(5, 0, 75);
    qelTableObject& t = tableOf(table);
    t.put(1, "one");
    t.put(6, "six");
    t.put(11, "eleven");
    EXPECT_EQ(slots(table), (std::vector<std::string> { "", "1", "6", "11", "" }));

    EXPECT_EQ(t.remove(6), 2);
    EXPECT_EQ(t.remove(6), -1);
    EXPECT_EQ(t.find(11), 3) << "a deleted slot must not end the chain";
    EXPECT_TRUE(t.keyAt(2).isNil()) << "the key of a deleted slot reads nil";
    EXPECT_TRUE(t.valueAt(2).isNil());

    // A key further down the chain is replaced where it is, not stored again in the free slot.
    t.put(11, "ELEVEN");
    EXPECT_EQ(t.count, 2);
    EXPECT_EQ(text(t.get(11)), "ELEVEN");
    EXPECT_EQ(slots(table), (std::vector<std::string> { "", "1", "", "11", "" }));

    // A new key of the chain takes the first deleted slot met.
    t.put(16, "sixteen");
    EXPECT_EQ(slots(table), (std::vector<std::string> { "", "1", "16", "11", "" }));
    EXPECT_EQ(t.count, 3);

    // Iteration sees live slots only, in slot order.
    t.remove(1);
    std::vector<int32_t> visited;
    for (int32_t slot = qelFirstIndex(table); slot >= 0; slot = qelNextIndex(table, slot))
        visited.push_back(slot);
    EXPECT_EQ(visited, (std::vector<int32_t> { 2, 3 }));
}

TEST(Table, ProbingWrapsFromTheLastSlotToSlotZero)
{
    qelValue table = qelTable(5, 0, 75);
    qelTableObject& t = tableOf(table);
    t.put(4, 40);
    t.put(9, 90);
    EXPECT_EQ(t.find(9), 0);
    EXPECT_EQ(qelIntValue(t.get(9)), 90);
    EXPECT_EQ(t.find(14), -1) << "an absent key ends at the empty slot after the wrap";
}

TEST(Table, NegativeHashesLandInsideTheTable)
{
    qelValue table = qelTable(5, 0, 75);
    qelTableObject& t = tableOf(table);
    t.put(-7, "minus seven");
    EXPECT_EQ(t.find(-7), 2) << "the hash of an immediate is its absolute value: 7 mod 5";
    int32_t lowest = std::numeric_limits<int32_t>::min();
    t.put(lowest, "lowest");
    int32_t slot = t.find(lowest);
    EXPECT_GE(slot, 0);
    EXPECT_LT(slot, 5);
}

TEST(Table, GrowsFromCapacityOneAndRehashesInSlotOrder)
{
    qelValue table = qelTable(1, 100, 75);
    qelTableObject& t = tableOf(table);
    t.put("a", 1);
    EXPECT_EQ(t.capacity, 1);
    t.put("b", 2);
    EXPECT_EQ(t.capacity, 2);
    EXPECT_EQ(t.count, 2);
    EXPECT_EQ(qelIntValue(t.get("a")), 1);
    EXPECT_EQ(qelIntValue(t.get("b")), 2);

    // Capacity 2: 1 sits in its home slot 1, 5 probes on to slot 0. Growing to 4 puts the old
    // pairs again in slot order (5 first, taking slot 1), then the new key 9.
    qelValue ordered = qelTable(2, 100, 100);
    qelTableObject& o = tableOf(ordered);
    o.put(1, 0);
    o.put(5, 0);
    EXPECT_EQ(o.fillLimit, 2);
    o.put(9, 0);
    EXPECT_EQ(o.capacity, 4);
    EXPECT_EQ(o.fillLimit, 4);
    EXPECT_EQ(slots(ordered), (std::vector<std::string> { "", "5", "1", "9" }));
}

TEST(Table, GrowthThatTruncatesToNothingStillGrows)
{
    qelValue table = qelTable(1, 50, 75);
    qelTableObject& t = tableOf(table);
    for (int32_t key = 0; key < 4; ++key)
        t.put(key, key);
    EXPECT_EQ(t.count, 4);
    EXPECT_GE(t.capacity, 4);
    for (int32_t key = 0; key < 4; ++key)
        EXPECT_EQ(qelIntValue(t.get(key)), key);
}

TEST(Table, FullTableWithoutGrowthRefusesAFourthKey)
{
    ErrorRecorder errors;
    qelValue table = qelTable(3, 0, 75);
    qelTableObject& t = tableOf(table);
    t.put(1, 1);
    t.put(2, 2);
    t.put(3, 3);
    t.put(3, 33);
    EXPECT_TRUE(errors.messages.empty()) << "replacing needs no free slot";
    t.put(4, 4);
    EXPECT_EQ(errors.messages, std::vector<std::string> { "Hash table full" });
    EXPECT_EQ(t.count, 3);
    EXPECT_EQ(t.capacity, 3);
    EXPECT_EQ(t.find(4), -1);
    EXPECT_EQ(qelIntValue(t.get(3)), 33);
}

TEST(Table, KeysFollowValueEquality)
{
    qelValue table = qelTable(8, 100, 75);
    qelTableObject& t = tableOf(table);
    t.put(3, "int");
    t.put(qelMakeFloat(3.0f), "float");
    EXPECT_EQ(t.count, 2) << "the int 3 and the float 3.0 hash apart";
    EXPECT_EQ(text(t.get(3)), "int");
    EXPECT_EQ(text(t.get(qelMakeFloat(3.0f))), "float");

    t.put(qelStringValue("name"), 1);
    t.put(qelStringValue("name"), 2);
    EXPECT_EQ(t.count, 3) << "two string objects with one text are one key";
    EXPECT_EQ(qelIntValue(t.get("name")), 2);

    // Strings are equal up to their first NUL. A table of one slot compares every key it is
    // asked for with the one it holds, whatever the hashes.
    qelValue withNul = qelStringValueN("ab\0c", 4);
    qelValue single = qelTable(1, 0, 75);
    qelPut(single, withNul, 1);
    EXPECT_EQ(qelContainsKey(single, "ab"), 1);
    EXPECT_EQ(qelContainsKey(single, "abc"), 0);
    EXPECT_EQ(qelContainsKey(single, "a"), 0);
    qelValue plain = qelTable(1, 0, 75);
    qelPut(plain, "ab", 1);
    EXPECT_EQ(qelContainsKey(plain, withNul), 1);
    EXPECT_EQ(qelContainsKey(plain, "ac"), 0);
    EXPECT_EQ(qelContainsKey(plain, qelMakeInt(0)), 0);
    // The same for a key too long to live in its string object.
    qelValue wide = qelTable(1, 0, 75);
    qelPut(wide, qelStringValueN("abcdefgh\0ij", 11), 1);
    EXPECT_EQ(qelContainsKey(wide, "abcdefgh"), 1);
    EXPECT_EQ(qelContainsKey(wide, "abcdefghij"), 0);

    // A nil key would look like an empty slot: it is not stored, so the count stays true.
    qelValue roomy = qelTable(4, 100, 75);
    qelPut(roomy, qelNil, 5);
    EXPECT_EQ(qelCount(roomy), 0);
    EXPECT_EQ(qelFirstIndex(roomy), -1);
    EXPECT_EQ(qelContainsKey(roomy, qelNil), 0);
}

TEST(Table, SlotAccessAndCreationReportTheirErrors)
{
    ErrorRecorder errors;
    qelValue table = qelTable(4, 100, 75);
    EXPECT_TRUE(qelGet(table, 4).isNil());
    EXPECT_TRUE(qelGetKey(table, -1).isNil());
    qelValue tiny = qelTable(0, 100, 75);
    EXPECT_EQ(errors.messages,
        (std::vector<std::string> { "Table index out of range: 4", "Table index out of range: -1",
            "qelTable(QELINT,QELINT,QELINT): Argument 1 must be greater than zero." }));
    ASSERT_NE(qelTableOf(tiny), nullptr);
    EXPECT_EQ(qelCapacity(tiny), 1);
    qelPut(tiny, "k", 1);
    EXPECT_EQ(qelGetInt(tiny, "k"), 1);
}

TEST(Table, PutOfItsOwnCellsSurvivesGrowth)
{
    qelValue table = qelTable(1, 100, 75);
    qelTableObject& t = tableOf(table);
    qelValue list = qelListOf({ 1, 2 });
    t.put(0, list);
    // Each put finds the table full, and its arguments live in the arrays that growing replaces.
    t.put(1, t.values[0]);
    EXPECT_EQ(t.capacity, 2);
    t.put(t.values[1], t.keys[0]);
    EXPECT_EQ(t.capacity, 4);
    EXPECT_EQ(t.count, 3);
    EXPECT_EQ(qelGet(table, qelMakeInt(1)).object(), list.object());
    EXPECT_EQ(qelGetInt(table, list), 0);
}

TEST(Table, CopySharesKeysAndCopiesValues)
{
    qelValue table = qelTable(6, 50, 75);
    qelValue key = qelStringValue("list");
    qelValue inner = qelListOf({ 1, "two" });
    qelPut(table, key, inner);
    qelPut(table, qelMakeInt(7), "seven");
    qelRemoveKey(table, 7);
    qelPut(table, qelMakeInt(13), "thirteen");

    qelValue copy = qelCopy(table);
    qelTableObject& c = tableOf(copy);
    EXPECT_EQ(c.capacity, 6);
    EXPECT_EQ(c.growPercent, 50);
    EXPECT_EQ(c.count, 2);
    EXPECT_EQ(slots(copy), slots(table));
    int32_t slot = c.find(key);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(c.keys[slot].object(), key.object()) << "keys are shared";
    qelValue copied = c.values[slot];
    EXPECT_NE(copied.object(), inner.object()) << "values are copied";
    EXPECT_EQ(qelCompare(copied, inner), 0);
    qelPut(copied, 0, 100);
    EXPECT_EQ(qelIntAt(inner, 0), 1);
}

TEST(Table, PrintsOnePairPerLineLinedUpUnderTheFirst)
{
    qelValue inner = qelTable(4, 100, 75);
    qelPut(inner, qelMakeInt(1), "x");
    qelPut(inner, qelMakeInt(2), qelListOf({ 1, 2 }));
    qelValue outer = qelTable(4, 100, 75);
    qelPut(outer, qelMakeInt(1), qelTrue);
    qelPut(outer, qelMakeInt(3), inner);

    EXPECT_EQ(text(qelPrintValue(outer, 1)),
        "(table (1 true)\n"
        "       (3 (table (1 \"x\")\n"
        "                 (2 (list 1\n"
        "                          2)))))");
    EXPECT_EQ(text(qelValueToString(outer)),
        "(table (1 true)\n"
        "       (3 (table (1 x)\n"
        "                 (2 (list 1 2)))))");
    EXPECT_EQ(text(qelValueToString(qelTable(2, 100, 75))), "(table )");
}
