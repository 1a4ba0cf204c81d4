#include "framework/runtime/List.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/IntList.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"
#include "tests/framework/runtime/ErrorRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

qelListObject& listOf(const qelValue& value)
{
    return *qelListObjectOf(value);
}

// The display text of a value.
std::string shown(const qelValue& value)
{
    return qelCString(qelValueToString(value));
}

qelValue intList(const std::vector<int32_t>& ints)
{
    qelValue list = qelMakeList(0, 100, QEL_INT_LIST);
    for (int32_t n : ints)
        listOf(list).appendInt(n);
    return list;
}

} // namespace

TEST(List, GrowsByItsPercentageAndAtLeastOneCell)
{
    struct Case {
        int32_t capacity, growth, appends;
        std::vector<int32_t> capacities; // after each append
    };
    const Case cases[] = {
        { 0, 100, 5, { 4, 4, 4, 4, 8 } },
        { 0, 50, 5, { 4, 4, 4, 4, 6 } },
        { 0, 0, 6, { 4, 4, 4, 4, 5, 6 } },
        { 1, 50, 4, { 1, 2, 3, 4 } },
        { -3, 100, 1, { 4 } },
    };
    for (int32_t kind : { QEL_GENERAL_LIST, QEL_INT_LIST }) {
        for (const Case& c : cases) {
            qelValue list = qelMakeList(c.capacity, c.growth, kind);
            std::vector<int32_t> capacities;
            for (int32_t i = 0; i < c.appends; ++i) {
                qelAddItem(list, qelMakeInt(i * 10));
                capacities.push_back(qelCapacity(list));
            }
            EXPECT_EQ(capacities, c.capacities)
                << "kind " << kind << " capacity " << c.capacity << " growth " << c.growth;
            for (int32_t i = 0; i < c.appends; ++i)
                EXPECT_EQ(qelIntAt(list, i), i * 10);
        }
    }
}

TEST(List, AppendingItsOwnElementSurvivesGrowth)
{
    qelValue list = qelMakeList(1, 100, QEL_GENERAL_LIST);
    qelAddItem(list, "only");
    listOf(list).append(listOf(list).cell(0));
    EXPECT_EQ(shown(list), "(list only only)");
}

TEST(List, FindRemoveAndSlicesStayInsideTheList)
{
    qelValue list = qelListOf({ 1, "x", 1, qelMakeFloat(1.0f), 3 });
    qelListObject& l = listOf(list);
    EXPECT_EQ(l.find(1, 0), 0);
    EXPECT_EQ(l.find(1, 1), 2);
    EXPECT_EQ(l.find(1, 3), 3) << "the float 1.0 equals the int 1";
    EXPECT_EQ(l.find(1, 5), -1) << "a start at the count finds nothing";
    EXPECT_EQ(l.find("x", -4), 1);

    EXPECT_EQ(shown(l.right(5)), "(list)");
    EXPECT_EQ(shown(l.right(4)), "(list x 1 1 3)");
    EXPECT_EQ(shown(l.left(9)), "(list 1 x 1 1 3)");
    EXPECT_EQ(shown(l.mid(3, 10)), "(list 1 3)");
    EXPECT_EQ(shown(l.mid(5, 1)), "(list)");

    EXPECT_EQ(l.remove(1), 3);
    EXPECT_EQ(shown(list), "(list x 3)");
    EXPECT_EQ(l.find(1, 0), -1);

    qelValue ints = intList({ 7, 1, 7, 7, 2 });
    EXPECT_EQ(listOf(ints).remove(7), 3);
    EXPECT_EQ(shown(ints), "(intlist 1 2)");
    EXPECT_EQ(qelListRemove(qelMakeInt(4), 4), -1);
}

TEST(List, ReverseFindNeverExaminesItsStart)
{
    struct Case {
        int32_t value, start, expected;
    };
    // List 1 2 3 2 5: the start 0 stands for the last position, which is then skipped.
    const Case cases[] = {
        { 5, 0, -1 },
        { 2, 0, 3 },
        { 2, 3, 1 },
        { 2, 1, -1 },
        { 1, 5, 0 },
        { 5, 5, 4 },
        { 5, 99, 4 },
        { 1, -2, -1 },
    };
    for (qelValue list : { qelListOf({ 1, 2, 3, 2, 5 }), intList({ 1, 2, 3, 2, 5 }) }) {
        for (const Case& c : cases)
            EXPECT_EQ(listOf(list).reverseFind(c.value, c.start), c.expected)
                << shown(list) << " value " << c.value << " start " << c.start;
    }
    EXPECT_EQ(listOf(qelListOf({})).reverseFind(1, 0), -1);
}

TEST(List, MergeWritesCommonElementsOnce)
{
    struct Case {
        std::vector<int32_t> a, b;
        int32_t descending;
        const char* merged;
    };
    const Case cases[] = {
        { { 1, 3, 5 }, { 3, 4 }, 0, "1 3 4 5" },
        { { 5, 3, 1 }, { 4, 3 }, 1, "5 4 3 1" },
        { {}, { 2, 2 }, 0, "2 2" },
        { { 1, 2 }, {}, 0, "1 2" },
    };
    for (const Case& c : cases) {
        qelValue general = qelMakeList(0, 100, QEL_GENERAL_LIST);
        for (int32_t n : c.a)
            qelAddItem(general, qelMakeInt(n));
        qelValue other = qelMakeList(0, 100, QEL_GENERAL_LIST);
        for (int32_t n : c.b)
            qelAddItem(other, qelMakeInt(n));
        EXPECT_EQ(shown(qelMergeSortedLists(general, other, c.descending)), std::string("(list ") + c.merged + ")");
        EXPECT_EQ(shown(qelMergeSortedLists(intList(c.a), intList(c.b), c.descending)),
            std::string("(intlist ") + c.merged + ")");
    }
    // Strings merge by collation, so the small a goes before the capital B.
    qelValue letters = qelMergeSortedLists(qelListOf({ "a", "c" }), qelListOf({ "B" }), 0);
    EXPECT_EQ(shown(letters), "(list a B c)");
    EXPECT_EQ(qelCapacity(qelMergeSortedLists(qelMakeList(9, 100, 5), qelMakeList(2, 100, 5), 0)), 9);
}

TEST(List, SortedCopyCollatesStringsAndSharesElements)
{
    // Byte order would give B a b \xC0; collation puts the small letter after its capital and the
    // accented A right after a.
    qelValue words = qelListOf({ "b", "B", "\xC0", "a" });
    qelValue sorted = qelSortedList(words, 0);
    EXPECT_EQ(shown(sorted), "(list a \xC0 B b)");
    EXPECT_EQ(shown(qelSortedList(words, 1)), "(list b B \xC0 a)");
    EXPECT_EQ(listOf(sorted).cell(0).object(), listOf(words).cell(3).object());
    EXPECT_EQ(shown(words), "(list b B \xC0 a)") << "the source keeps its order";

    EXPECT_EQ(shown(qelSortedList(intList({ 3, -1, 2 }), 0)), "(intlist -1 2 3)");
    EXPECT_EQ(shown(qelSortedList(intList({ 3, -1, 2 }), 1)), "(intlist 3 2 -1)");
}

// Ints and floats compare by their truncated difference, which is no strict order (1 ~ 1.5 ~ 2
// but 1 < 2). Sorting such a list must neither leave the array nor lose or repeat elements.
TEST(List, SortingMixedNumbersKeepsEveryElement)
{
    std::mt19937 random(1998);
    std::uniform_int_distribution<int> pick(0, 40);
    qelValue list = qelMakeList(0, 100, QEL_GENERAL_LIST);
    std::vector<std::string> before;
    for (int i = 0; i < 3000; ++i) {
        int n = pick(random);
        qelValue value = n % 2 ? qelMakeFloat(float(n) / 4.0f) : qelMakeInt(n / 4);
        qelAddItem(list, value);
        before.push_back(shown(value) + (value.type() == QEL_FLOAT_TYPE ? "f" : ""));
    }
    for (int32_t descending : { 0, 1 }) {
        qelValue sorted = qelSortedList(list, descending);
        ASSERT_EQ(qelCount(sorted), qelCount(list));
        std::vector<std::string> after;
        for (int32_t i = 0; i < qelCount(sorted); ++i) {
            qelValue value = qelGet(sorted, i);
            after.push_back(shown(value) + (value.type() == QEL_FLOAT_TYPE ? "f" : ""));
        }
        std::vector<std::string> expected = before;
        std::sort(expected.begin(), expected.end());
        std::sort(after.begin(), after.end());
        EXPECT_EQ(after, expected);
    }
}

TEST(List, SortsListsOfListsByColumns)
{
    qelValue rows = qelListOf({ qelListOf({ 1, "b" }), qelListOf({ 0, "z" }), qelListOf({ 1, "a" }) });
    qelListObject& r = listOf(rows);
    EXPECT_EQ(shown(r.sortByColumns(0, 0, 1)), "(list (list 0 z) (list 1 a) (list 1 b))");
    EXPECT_EQ(shown(r.sortByColumns(1, 0, 1)), "(list (list 1 b) (list 1 a) (list 0 z))");
    EXPECT_EQ(shown(r.sortByColumn(0, 0)), "(list (list 0 z) (list 1 b) (list 1 a))") << "ties keep their order";
    EXPECT_EQ(shown(qelSortLists(rows, 1, 0)), "(list (list 1 a) (list 1 b) (list 0 z))");

    ErrorRecorder errors;
    EXPECT_TRUE(qelSortLists(intList({ 2, 1 }), 0, 0).isNil());
    EXPECT_TRUE(listOf(intList({ 2, 1 })).sortByColumns(0, 0, 1).isNil());
    EXPECT_EQ(errors.messages,
        (std::vector<std::string>(2,
            "Bad type for argument 1 of "
            "qelSortLists(lstOfLst,QELINT,QELORDER).")));
}

TEST(List, ComparesElementByElementOverTheShorterList)
{
    EXPECT_LT(qelCompare(qelListOf({ 1, 2 }), qelListOf({ 1, 3 })), 0);
    EXPECT_EQ(qelCompare(qelListOf({ 1, 2 }), qelListOf({ 1, 2, 3 })), 0) << "a list equals its extension";
    EXPECT_GT(qelCompare(intList({ 1, 5 }), qelListOf({ 1, 3 })), 0);
    EXPECT_LT(qelCompare(qelListOf({ 1, 3 }), intList({ 1, 5 })), 0);
    EXPECT_EQ(qelCompare(intList({ 4 }), intList({ 4, 1 })), 0);
    EXPECT_GT(qelCompare(qelListOf({ "a" }), qelListOf({ "B" })), 0) << "compare is by bytes";
    EXPECT_LT(qelCollate(qelListOf({ "a" }), qelListOf({ "B" })), 0) << "collate is by weights";
    EXPECT_FALSE(qelListOf({ 1 }) == qelListOf({ 1 })) << "equality of lists is identity";
}

TEST(List, IntersectionAndUnion)
{
    EXPECT_EQ(shown(qelListIntersection(qelListOf({ 1, "a", 2, 3 }), qelListOf({ 3, "a" }))), "(list a 3)");
    EXPECT_EQ(shown(qelListIntersection(intList({ 5, 6, 7 }), intList({ 7, 5 }))), "(intlist 5 7)");
    qelValue inner = qelListOf({ 1 });
    qelValue joined = qelListUnion(qelListOf({ inner, 2 }), qelListOf({ 2, 3, 3 }));
    EXPECT_EQ(shown(joined), "(list (list 1) 2 3)");
    EXPECT_NE(qelGet(joined, 0).object(), inner.object()) << "the union starts from a copy";
}

TEST(List, IndexErrorsReadNothing)
{
    ErrorRecorder errors;
    qelValue list = qelListOf({ 1 });
    EXPECT_TRUE(listOf(list).elementAt(1).isNil());
    EXPECT_EQ(listOf(intList({ 4 })).intAt(-1), 0);
    qelPut(list, 3, "x");
    EXPECT_EQ(errors.messages,
        (std::vector<std::string> {
            "List index out of range: 1", "List index out of range: -1", "List index out of range: 3" }));
    EXPECT_EQ(shown(list), "(list 1)");
    EXPECT_TRUE(qelPop(qelListOf({})).isNil());
    EXPECT_EQ(qelIntValue(qelPop(intList({ 8, 9 }))), 9);
}

TEST(List, PrintsElementsInTheTextNotation)
{
    qelValue nested = qelListOf({ 1, qelListOf({ 2, "t" }), "x\xE9" });
    EXPECT_EQ(shown(nested), "(list 1 (list 2 t) x\xE9)");
    EXPECT_EQ(std::string(qelCString(qelPrintValue(nested, 1))),
        "(list 1\n"
        "      (list 2\n"
        "            \"t\")\n"
        "      \"x\\xe9\")");
    EXPECT_EQ(shown(qelListOf({})), "(list)");

    qelValue ints = intList({});
    EXPECT_EQ(shown(ints), "(intlist )");
    std::string expected = "(intlist";
    for (int32_t n = 1; n <= 13; ++n) {
        qelAddItem(ints, qelMakeInt(n));
        if (n <= 12)
            expected += " " + std::to_string(n);
        if (n == 11) {
            EXPECT_EQ(shown(ints), expected + ")");
        }
    }
    EXPECT_EQ(shown(ints), expected + " ...)") << "display stops after twelve";
    qelPop(ints);
    EXPECT_EQ(shown(ints), expected + " ...)") << "also when the twelfth is the last";
    qelAddItem(ints, qelMakeInt(13));
    EXPECT_EQ(std::string(qelCString(qelPrintValue(ints, 1))), expected + " 13)");
}

TEST(List, ShortListsKeepTheirCellsInTheObjectsBlock)
{
    qelValue word = qelStringValue("shared");
    int32_t before = qelAllocatorBlocksInUse(256);
    {
        qelValue list = qelMakeList(12, 1, QEL_GENERAL_LIST);
        EXPECT_EQ(qelAllocatorBlocksInUse(256), before + 1);
        for (int32_t i = 0; i < 12; ++i)
            qelAddItem(list, word);
        EXPECT_EQ(qelAllocatorBlocksInUse(256), before + 1);
        // The thirteenth element moves the cells out to a block of their own.
        qelAddItem(list, word);
        EXPECT_EQ(qelAllocatorBlocksInUse(256), before + 2);
        EXPECT_EQ(word.object()->refCount, 14);
        for (int32_t i = 0; i < 13; ++i)
            EXPECT_EQ(listOf(list).cell(i).object(), word.object()) << i;
        EXPECT_EQ(qelAllocatorBlocksInUse(256), before + 2);
        qelValue longer = qelMakeList(13, 100, QEL_GENERAL_LIST);
        EXPECT_EQ(qelAllocatorBlocksInUse(256), before + 4);
    }
    EXPECT_EQ(qelAllocatorBlocksInUse(256), before);
    EXPECT_EQ(word.object()->refCount, 1);
}
