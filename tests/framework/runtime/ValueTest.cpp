#include "framework/runtime/Value.h"
#include "ErrorRecorder.h"
#include "framework/runtime/StringObject.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// An object that counts its destructions and may hold a value of its own.
struct Probe : qelObject {
    static inline int destroyed = 0;
    qelValue inner;
    ~Probe() override { ++destroyed; }
};

qelValue probeValue(int32_t type = QEL_OBJECT_TYPE)
{
    return qelMakeObjectValue(type, new Probe);
}

qelValue floatValue(float f)
{
    return qelMakeFloat(f);
}

} // namespace

TEST(Value, CellLayoutAndNil)
{
    static_assert(sizeof(qelValue) == 16);
    qelValue nil;
    EXPECT_EQ(nil.type(), QEL_NIL_TYPE);
    EXPECT_EQ(nil.payload(), 0);
    EXPECT_EQ(nil.object(), nullptr);
    EXPECT_TRUE(nil == qelNil);
    EXPECT_EQ(qelTrue.type(), QEL_BOOLEAN_TYPE);
    EXPECT_EQ(qelTrue.payload(), 1);
    EXPECT_EQ(qelFalse.payload(), 0);

    // Zero-filled cells read as nil.
    qelValue* cells = qelNewCells(3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(cells[i].isNil());
    qelFreeCells(cells, 3);
}

TEST(Value, ReferenceCountsFollowTheHandles)
{
    Probe::destroyed = 0;
    {
        qelValue a = probeValue();
        EXPECT_EQ(a.object()->refCount, 1);
        {
            qelValue b = a;
            qelValue c;
            c = b;
            EXPECT_EQ(a.object()->refCount, 3);
            qelValue moved = std::move(c);
            EXPECT_EQ(a.object()->refCount, 3);
            EXPECT_TRUE(c.isNil());
        }
        EXPECT_EQ(a.object()->refCount, 1);
        a = 5; // releasing the last handle deletes the object
        EXPECT_EQ(Probe::destroyed, 1);
    }
    EXPECT_EQ(Probe::destroyed, 1);

    // Cells of a collection hold references too, and moving them changes no count.
    qelValue shared = probeValue();
    qelValue* cells = qelNewCells(2);
    cells[0] = shared;
    cells[1] = shared;
    EXPECT_EQ(shared.object()->refCount, 3);
    cells = qelResizeCells(cells, 2, 2, 8);
    EXPECT_EQ(shared.object()->refCount, 3);
    EXPECT_TRUE(cells[5].isNil());
    qelFreeCells(cells, 8);
    EXPECT_EQ(shared.object()->refCount, 1);
}

TEST(Value, AssignmentSurvivesSelfAndSourceInsideTheOldObject)
{
    Probe::destroyed = 0;
    qelValue v = probeValue();
    qelObject* object = v.object();
    v = v;
    EXPECT_EQ(v.object(), object);
    EXPECT_EQ(object->refCount, 1);
    qelValue& alias = v;
    v = std::move(alias);
    EXPECT_EQ(v.object(), object);
    EXPECT_EQ(object->refCount, 1);

    // v holds the only reference to a holder whose member is assigned to v: the holder dies
    // during the assignment, after its member has been read.
    static_cast<Probe*>(v.object())->inner = qelStringValue("inside");
    v = static_cast<Probe*>(v.object())->inner;
    EXPECT_EQ(Probe::destroyed, 1);
    EXPECT_TRUE(v == "inside");
    EXPECT_EQ(v.object()->refCount, 1);

    qelValue w = probeValue();
    static_cast<Probe*>(w.object())->inner = qelStringValue("moved");
    w = std::move(static_cast<Probe*>(w.object())->inner);
    EXPECT_EQ(Probe::destroyed, 2);
    EXPECT_TRUE(w == "moved");
}

TEST(Value, ObjectValuesMayHoldNoObject)
{
    qelValue empty = qelMakeObjectValue(QEL_DATE_TYPE, nullptr);
    qelValue copy = empty;
    copy = qelNil;
    EXPECT_EQ(empty.type(), QEL_DATE_TYPE);
    EXPECT_EQ(qelHash(empty), 0);
    EXPECT_TRUE(empty == empty);
    EXPECT_EQ(qelCString(qelMakeObjectValue(QEL_STRING_TYPE, nullptr))[0], '\0');
}

TEST(Value, Equality)
{
    qelValue list1 = probeValue(QEL_LIST_TYPE);
    qelValue list2 = probeValue(QEL_LIST_TYPE);
    struct Case {
        const char* what;
        qelValue a, b;
        bool equal;
    };
    const Case cases[] = {
        { "int and equal float", 3, floatValue(3.0f), true },
        { "int and other float", 3, floatValue(3.5f), false },
        { "floats", floatValue(0.5f), floatValue(0.5f), true },
        { "zero and minus zero", floatValue(0.0f), floatValue(-0.0f), true },
        { "strings by content", qelStringValue("abc"), qelStringValue("abc"), true },
        { "strings up to the first NUL", qelStringValueN("ab\0x", 4), qelStringValue("ab"), true },
        { "different strings", qelStringValue("abc"), qelStringValue("abd"), false },
        { "int and string", 3, qelStringValue("3"), false },
        { "boolean and int", qelTrue, 1, false },
        { "same object", list1, list1, true },
        { "different objects", list1, list2, false },
        { "nil and nil", qelNil, qelValue(), true },
        { "nil and zero", qelNil, 0, false },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a == c.b, c.equal) << c.what;
        EXPECT_EQ(c.b == c.a, c.equal) << c.what;
    }
    EXPECT_TRUE(floatValue(7.0f) == 7);
    EXPECT_TRUE(qelEqualsInt(7, 7));
    EXPECT_FALSE(qelEqualsInt(1, qelTrue));
    EXPECT_TRUE(qelStringValue("x") == "x");
    EXPECT_FALSE(qelValue(0) == "");
}

TEST(Value, Hash)
{
    EXPECT_EQ(qelHash(-7), 7);
    EXPECT_EQ(qelHash(7), 7);
    EXPECT_EQ(qelHash(INT_MIN), INT_MIN); // no absolute value in 32 bits; stays as it is
    EXPECT_EQ(qelHash(qelTrue), 1);
    EXPECT_EQ(qelHash(qelNil), 0);
    // An int and an equal float are equal but hash apart (a table keyed by 3 does not find 3.0).
    EXPECT_EQ(qelHash(3), 3);
    EXPECT_EQ(qelHash(floatValue(3.0f)), 0x40400000);
    EXPECT_EQ(qelHash(floatValue(-2.0f)), 0x40000000); // the bits as a signed number, made positive
    // Strings hash by content; other objects by their serial number.
    EXPECT_EQ(qelHash(qelStringValue("abc")), 846802);
    qelValue a = probeValue();
    qelValue b = probeValue();
    EXPECT_EQ(qelHash(b), qelHash(a) + 1);
    EXPECT_EQ(uint32_t(qelHash(a)), a.object()->serial());
}

TEST(Value, Compare)
{
    struct Case {
        const char* what;
        qelValue a, b;
        int32_t compare;
        int32_t collate;
    };
    qelValue buffer1 = probeValue(QEL_BUFFER_TYPE);
    qelValue buffer2 = probeValue(QEL_BUFFER_TYPE);
    const Case cases[] = {
        { "ints", 2, 5, -3, -3 },
        { "int and string: type codes", 7, qelStringValue("a"), 3 - 6, 3 - 6 },
        { "int and float, truncated", 5, floatValue(3.5f), 1, 1 },
        { "float and int, truncated", floatValue(3.5f), 3, 0, 0 },
        { "floats", floatValue(1.5f), floatValue(1.2f), 1, 0 },
        { "floats far apart", floatValue(-4.0f), floatValue(1.5f), -1, -5 },
        { "booleans", qelTrue, qelFalse, 1, 1 },
        { "strings by bytes", qelStringValue("B"), qelStringValue("a"), -1, 26 - 11 },
        { "high bytes unsigned", qelStringValue("\xe0"), qelStringValue("a"), 1, 13 - 11 },
        { "two buffers", buffer1, buffer2, 0, 0 },
        { "two uniques", qelMakeUnique(), qelMakeUnique(), 0, 0 },
        { "nil and int", qelNil, 1, -3, -3 },
        // The 32-bit difference would overflow: the sign stays right.
        { "int extremes", 2000000000, -2000000000, INT_MAX, INT_MAX },
        { "int extremes reversed", -2000000000, 2000000000, INT_MIN + 1, INT_MIN + 1 },
        { "INT_MIN and 1", INT_MIN, 1, INT_MIN + 1, INT_MIN + 1 },
        { "huge float and int", floatValue(1e20f), 0, INT_MAX, INT_MAX },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qelCompare(c.a, c.b), c.compare) << c.what;
        EXPECT_EQ(qelCollate(c.a, c.b), c.collate) << c.what;
    }
}

TEST(Value, ListsCompareThroughTheInstalledRelation)
{
    qelValue a = probeValue(QEL_LIST_TYPE);
    qelValue b = probeValue(QEL_LIST_TYPE);
    EXPECT_EQ(qelCompare(a, b), 0);
    qelListRelation previous = qelSetListRelation(
        [](const qelValue&, const qelValue&, bool collate) -> int32_t { return collate ? 2 : -2; });
    EXPECT_EQ(qelCompare(a, b), -2);
    EXPECT_EQ(qelCollate(a, b), 2);
    qelSetListRelation(previous);
}

TEST(Value, TypeNamesAndUniques)
{
    const struct {
        int32_t code;
        const char* name;
    } names[] = { { 0, "QEL_NIL" }, { 1, "unique" }, { 2, "boolean" }, { 3, "int" }, { 4, "float" },
        { 5, "application-defined" }, { 6, "string" }, { 7, "buffer" }, { 8, "list" }, { 9, "table" }, { 10, "stream" },
        { 11, "region" }, { 12, "cursor" }, { 13, "application-defined" }, { 14, "application-defined" },
        { 16, "application-defined" }, { 17, "application-defined" }, { 18, "image" }, { 19, "sound" }, { 20, "movie" },
        { 21, "application-defined" }, { 29, "application-defined" }, { -1, "application-defined" },
        { 1000, "application-defined" } };
    for (const auto& n : names)
        EXPECT_TRUE(qelTypeName(n.code) == n.name) << n.code;
    EXPECT_EQ(qelTypeOf(qelValue {}), 0);
    EXPECT_EQ(qelTypeOf(qelMakeBoolean(1)), QEL_BOOLEAN_TYPE);
    EXPECT_EQ(qelTypeOf(qelMakeInt(-4)), QEL_INT_TYPE);
    EXPECT_EQ(qelTypeOf(qelValue("texto")), QEL_STRING_TYPE);
    EXPECT_EQ(qelTypeOf(qelMakeUnique()), QEL_UNIQUE_TYPE);

    // Uniques take the next numbers of one run-wide counter, whatever ran before in the process.
    qelValue first = qelMakeUnique();
    qelValue second = qelMakeUnique();
    EXPECT_EQ(first.type(), QEL_UNIQUE_TYPE);
    EXPECT_GE(first.payload(), 1);
    EXPECT_EQ(second.payload(), first.payload() + 1);
    EXPECT_FALSE(first == second);
}
