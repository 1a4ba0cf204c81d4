// The current id lists by database kind and the three category lists that set them.

#include "app/shell/CategoryLists.h"

#include "../../framework/runtime/ErrorRecorder.h"
#include "ShellDisk.h"

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

class Categories : public ShellDisk {
protected:
    void TearDown() override
    {
        releaseCategoryLists();
        ShellDisk::TearDown();
    }
};

using Ints = std::vector<int32_t>;

} // namespace

TEST_F(Categories, KindsOneAndTwoShareACurrentListAndAnUnsetKindGetsAFreshEmptyOne)
{
    qelValue media = intList({ 4, 5 });
    setCachedIDList(media, 2);
    EXPECT_EQ(getCachedIDList(1).object(), media.object());
    EXPECT_EQ(getCachedIDList(2).object(), media.object());

    for (int32_t kind : { 0, 3, 4, 5, -1 }) {
        SCOPED_TRACE(kind);
        qelValue fresh = getCachedIDList(kind);
        ASSERT_NE(qelListObjectOf(fresh), nullptr);
        EXPECT_EQ(qelListObjectOf(fresh)->kind(), QEL_INT_LIST);
        EXPECT_EQ(qelCount(fresh), 0);
        // Not stored: the next ask gets another one.
        EXPECT_NE(getCachedIDList(kind).object(), fresh.object());
    }
    // Kinds outside 0 to 4 are not stored.
    setCachedIDList(intList({ 1 }), 5);
    EXPECT_EQ(qelCount(getCachedIDList(5)), 0);
    setCachedIDList(intList({ 9 }), 3);
    EXPECT_EQ(intsOf(getCachedIDList(3)), Ints { 9 });
}

TEST_F(Categories, TheItemLastReadIsAnsweredFromMemoryWithoutBecomingCurrentAgain)
{
    ErrorRecorder errors;
    EXPECT_EQ(intsOf(loadIDCatList(3, 0)), Ints { 3 });
    EXPECT_EQ(qelCount(getCachedIDList(0)), 0);
    // The same item again: the kept one, still not current, even when asked to be.
    fs::remove(media / "IDCatLst.DTT");
    EXPECT_EQ(intsOf(loadIDCatList(3, 1)), Ints { 3 });
    EXPECT_EQ(qelCount(getCachedIDList(0)), 0);

    writeCategories();
    EXPECT_EQ(intsOf(loadIDCatList(2, 1)), (Ints { 2, 0 }));
    EXPECT_EQ(intsOf(getCachedIDList(0)), (Ints { 2, 0 }));
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(Categories, EachFileSetsTheCurrentListOfItsKind)
{
    EXPECT_EQ(intsOf(loadATCatList(1, 1)), (Ints { 1, 3 }));
    EXPECT_EQ(intsOf(getCachedIDList(4)), (Ints { 1, 3 }));
    EXPECT_EQ(qelCount(getCachedIDList(0)), 0);

    // The media list always becomes current, for kinds 1 and 2 alike.
    EXPECT_EQ(intsOf(loadIDMidList(0)), (Ints { 0, 1 }));
    EXPECT_EQ(intsOf(getCachedIDList(2)), (Ints { 0, 1 }));

    // Each file keeps its own last item.
    EXPECT_EQ(intsOf(loadIDCatList(1, 1)), Ints { 1 });
    EXPECT_EQ(intsOf(loadATCatList(1, 1)), (Ints { 1, 3 }));
    EXPECT_EQ(intsOf(getCachedIDList(0)), Ints { 1 });
}

TEST_F(Categories, AnItemOutsideTheFileIsReportedAndNothingIsKept)
{
    EXPECT_EQ(intsOf(loadIDMidList(1)), Ints { 1 });
    ErrorRecorder errors;
    EXPECT_TRUE(loadIDMidList(9).isNil());
    EXPECT_EQ(errors.messages, std::vector<std::string> { "Index out of range: 9" });
    // The list read before is still current and still the kept item.
    EXPECT_EQ(intsOf(getCachedIDList(1)), Ints { 1 });
    fs::remove(media / "IDMidLst.DTT");
    EXPECT_EQ(intsOf(loadIDMidList(1)), Ints { 1 });
}
