#include "framework/runtime/Table.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"
#include "tests/framework/runtime/ErrorRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>
#include <utility>
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

namespace {

// A plain model of the table: home slot from qelHash, linear probing with wrap-around, the first
// deleted slot reused, growth by the percentage (at least one slot) with the live pairs put again
// in slot order. The table's own put and find take short cuts for string keys; every answer must
// still be the model's, slot for slot.
class ModelTable {
public:
    ModelTable(int32_t capacity, int32_t growPercent)
        : m_grow(growPercent)
        , m_slots(size_t(capacity))
    {
    }

    int32_t find(const qelValue& key) const
    {
        int32_t home = homeOf(key);
        int32_t slot = home;
        do {
            const Slot& s = m_slots[size_t(slot)];
            if (s.key.isNil() && !s.deleted)
                return -1;
            if (!s.deleted && s.key == key)
                return slot;
            slot = (slot + 1) % capacity();
        } while (slot != home);
        return -1;
    }

    void put(const qelValue& key, int32_t value)
    {
        if (key.isNil())
            return;
        for (;;) {
            int32_t home = homeOf(key);
            int32_t slot = home, firstDeleted = -1, target = -1;
            do {
                Slot& s = m_slots[size_t(slot)];
                if (s.deleted) {
                    if (firstDeleted < 0)
                        firstDeleted = slot;
                } else if (s.key.isNil()) {
                    target = slot;
                    break;
                } else if (s.key == key) {
                    s.value = value;
                    return;
                }
                slot = (slot + 1) % capacity();
            } while (slot != home);
            if (firstDeleted >= 0)
                target = firstDeleted;
            if (target >= 0) {
                m_slots[size_t(target)] = Slot { key, value, false };
                ++count;
                return;
            }
            if (m_grow <= 0)
                return;
            std::vector<Slot> old = std::exchange(
                m_slots, std::vector<Slot>(size_t(capacity() + std::max(capacity() * m_grow / 100, 1))));
            count = 0;
            for (const Slot& s : old) {
                if (!s.deleted && !s.key.isNil())
                    put(s.key, s.value);
            }
        }
    }

    void remove(const qelValue& key)
    {
        int32_t slot = find(key);
        if (slot < 0)
            return;
        m_slots[size_t(slot)] = Slot { qelNil, 0, true };
        --count;
    }

    int32_t capacity() const { return int32_t(m_slots.size()); }

    // Each slot as the table must hold it: "" empty, "-" deleted, else the key's identity and value.
    std::vector<std::string> layout() const
    {
        std::vector<std::string> out;
        for (const Slot& s : m_slots)
            out.push_back(s.deleted ? "-" : s.key.isNil() ? "" : identity(s.key) + "=" + std::to_string(s.value));
        return out;
    }

    static std::string identity(const qelValue& key)
    {
        return std::to_string(key.type()) + ":" + std::to_string(key.bits()) + ":"
            + std::to_string(reinterpret_cast<uintptr_t>(key.object()));
    }

    int32_t count = 0;

private:
    struct Slot {
        qelValue key;
        int32_t value = 0;
        bool deleted = false;
    };

    int32_t homeOf(const qelValue& key) const
    {
        int32_t slot = qelHash(key) % capacity();
        return slot < 0 ? slot + capacity() : slot;
    }

    int32_t m_grow;
    std::vector<Slot> m_slots;
};

std::vector<std::string> layoutOf(const qelTableObject& t)
{
    std::vector<std::string> out;
    for (int32_t slot = 0; slot < t.capacity; ++slot) {
        const qelValue& key = t.keys[slot];
        if (key.isNil())
            out.push_back("");
        else if (!t.isLive(slot))
            out.push_back("-");
        else
            out.push_back(ModelTable::identity(key) + "=" + std::to_string(qelIntValue(t.values[slot])));
    }
    return out;
}

} // namespace

TEST(Table, SlotsFollowTheProbeSequenceForEveryKindOfKey)
{
    // Keys that the short cuts for strings must not mistake: strings with one hash ("a5" and "ep",
    // "a4" and "eq"), a text whose hash is 0 ("\x04E"), texts with embedded NULs that equal the
    // text before the NUL, texts on both sides of the in-object length, the empty text and a
    // string value without an object (equal to it), and keys that are no strings at all.
    qelValue list = qelListOf({ 1 });
    std::vector<qelValue> pool = { "a5", "ep", "a4", "eq",
        "\x04"
        "E",
        qelStringValueN("ab\0c", 4), "ab", "abc", qelStringValueN("\0", 1), "", qelValue::immediate(QEL_STRING_TYPE, 0),
        "abcdefgh", qelStringValueN("abcdefgh\0ij", 11), "abcdefghij", 0, 3, -3, 52104,
        std::numeric_limits<int32_t>::min(), qelMakeFloat(3.0f), qelMakeFloat(-0.0f), qelTrue, qelMakeUnique(), list };
    // The hash claims the cases rest on.
    ASSERT_EQ(qelHash("a5"), qelHash("ep"));
    ASSERT_EQ(qelHash("a4"), qelHash("eq"));
    ASSERT_EQ(qelHash("\x04"
                      "E"),
        0);

    ErrorRecorder errors; // a full table that may not grow reports and stores nothing
    const struct {
        int32_t capacity, growPercent;
    } shapes[] = { { 1, 100 }, { 2, 50 }, { 3, 0 }, { 5, 100 }, { 7, 0 }, { 8, 25 }, { 13, 100 } };
    std::mt19937 random(20261210);
    for (const auto& shape : shapes) {
        SCOPED_TRACE("capacity " + std::to_string(shape.capacity) + ", growth " + std::to_string(shape.growPercent));
        qelValue table = qelTable(shape.capacity, shape.growPercent, 75);
        qelTableObject& t = tableOf(table);
        ModelTable model(shape.capacity, shape.growPercent);
        for (int32_t step = 0; step < 300; ++step) {
            // New string objects as well as the pool's own, so equal texts meet as distinct objects.
            qelValue key = pool[random() % pool.size()];
            if (key.type() == QEL_STRING_TYPE && key.object() && random() % 2)
                key = qelStringValueN(qelCString(key), qelStringOf(key)->length());
            if (random() % 4 == 0) {
                t.remove(key);
                model.remove(key);
            } else {
                t.put(key, step);
                model.put(key, step);
            }
            ASSERT_EQ(layoutOf(t), model.layout()) << "step " << step;
            ASSERT_EQ(t.count, model.count);
            for (const qelValue& probe : pool)
                ASSERT_EQ(t.find(probe), model.find(probe)) << ModelTable::identity(probe);
        }
    }
}

TEST(Table, SmallTablesKeepTheirSlotsInTheObjectsBlock)
{
    qelValue word = qelStringValue("shared");
    qelValue warmUp = qelTable(1, 100, 75); // the first table makes the deleted-slot marker
    int32_t before = qelAllocatorBlocksInUse(256);
    {
        qelValue table = qelTable(4, 100, 75);
        EXPECT_EQ(qelAllocatorBlocksInUse(256), before + 1);
        for (int32_t i = 0; i < 4; ++i)
            tableOf(table).put(qelMakeInt(i), word);
        EXPECT_EQ(qelAllocatorBlocksInUse(256), before + 1);
        // Growing to 8 slots moves the pairs out to a block of their own.
        tableOf(table).put(word, word);
        EXPECT_EQ(tableOf(table).capacity, 8);
        EXPECT_EQ(qelAllocatorBlocksInUse(256), before + 2);
        EXPECT_EQ(word.object()->refCount, 7);
        for (int32_t i = 0; i < 4; ++i)
            EXPECT_EQ(tableOf(table).get(qelMakeInt(i)).object(), word.object()) << i;
        EXPECT_EQ(tableOf(table).get(word).object(), word.object());
        qelValue larger = qelTable(5, 100, 75);
        EXPECT_EQ(qelAllocatorBlocksInUse(256), before + 4);
    }
    EXPECT_EQ(qelAllocatorBlocksInUse(256), before);
    EXPECT_EQ(word.object()->refCount, 1);
}
