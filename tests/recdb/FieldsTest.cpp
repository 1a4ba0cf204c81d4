#include "recdb/Fields.h"

#include "RecDbTestSupport.h"

#include <cstring>

using namespace recdbtest;

namespace {

// A person: name (unique, index 1, strings), age (duplicates, index 2, ints), and unindexed
// fields of every other type.
struct Person {
    char name[31] {};
    int32_t age { 0 };
    char note[51] {};
    uint8_t blob[4] {};
    float weight { 0 };
    uint8_t code[6] {};
    int16_t small { 0 };
    double ratio { 0 };

    std::vector<rdbField> fields()
    {
        return {
            { 'S', 0, 'U', 0, 30, 1, 0, name },
            { 'I', 3, 'D', 0, 4, 2, 0, &age },
            { 'S', 'N', 'N', 0, 50, 0, 0, note },
            { 'B', 'N', 'N', 0, 4, 0, 0, blob },
            { 'F', 'N', 'N', 0, 4, 0, 0, &weight },
            { 'M', 'N', 'N', 0, 6, 0, 0, code },
            { 'H', 'N', 'N', 0, 2, 0, 0, &small },
            { 'D', 'N', 'N', 0, 8, 0, 0, &ratio },
            { 'X', 'N', 'N', 0, 0, 0, 0, nullptr },
            { 'E', 0, 0, 0, 0, 0, 0, nullptr },
        };
    }
};

const rdbIndexDef table[] = { { 1, 0, nullptr }, { 2, 3, nullptr }, { 0, 0, nullptr } };

struct FieldFile {
    explicit FieldFile(const std::string& path, int byteOrder = 1)
    {
        EXPECT_EQ(rdbCreate(&h, path.c_str(), 'E', byteOrder, table), 0);
    }
    ~FieldFile() { rdbClose(&h); }
    int32_t add(const char* name, int32_t age, int32_t kind = 1)
    {
        Person p;
        std::strcpy(p.name, name);
        p.age = age;
        p.weight = float(age) / 2;
        auto f = p.fields();
        return rdbFieldAdd(&h, f.data(), kind);
    }
    rdbHandle h;
};

// The stored record under index 19 for a record number.
Bytes storedRecord(rdbHandle& h, int32_t number)
{
    Bytes data(32000);
    if (rdbFind(&h, 19, "", number, data.data(), int32_t(data.size())) != 0)
        return {};
    data.resize(size_t(h.dataLength));
    return data;
}

} // namespace

TEST(RecDbFields, RecordsRoundTripAndAreFoundThroughTheirFieldsInBothByteOrders)
{
    ScratchDir dir;
    for (int order : { 1, 2 }) {
        FieldFile file(dir.path("people" + std::to_string(order)), order);
        Person p;
        std::strcpy(p.name, "Jo\xe3o");
        p.age = 41;
        std::strcpy(p.note, "nota");
        std::memcpy(p.blob, "\x01\x02\x03\x04", 4);
        p.weight = 70.5f;
        std::memcpy(p.code, "ABCDEF", 6);
        p.small = -7;
        p.ratio = 0.25;
        auto f = p.fields();
        ASSERT_EQ(rdbFieldAdd(&file.h, f.data(), 9), 0);
        ASSERT_EQ(file.add("Ana", 30), 0);
        ASSERT_EQ(file.add("Bia", 41), 0);
        EXPECT_EQ(file.add("Ana", 50), -1); // the name is unique
        ASSERT_EQ(file.add("Caio", 12), 0);

        Person q;
        auto g = q.fields();
        std::strcpy(q.name, "Jo\xe3o");
        ASSERT_EQ(rdbFieldFind(&file.h, g.data(), 0, 1), 0);
        int32_t kind = 0;
        ASSERT_EQ(rdbFieldRead(&file.h, g.data(), &kind), 0);
        EXPECT_EQ(kind, 9);
        EXPECT_EQ(q.age, 41);
        EXPECT_STREQ(q.note, "nota");
        EXPECT_EQ(std::memcmp(q.blob, "\x01\x02\x03\x04", 4), 0);
        EXPECT_EQ(q.weight, 70.5f);
        EXPECT_EQ(std::memcmp(q.code, "ABCDEF", 6), 0);
        EXPECT_EQ(q.small, -7);
        EXPECT_EQ(q.ratio, 0.25);
        EXPECT_EQ(rdbFieldCheckCurrent(&file.h), 9);

        // The age index in order: 12, 30, 41, 41 (by record number under equal keys).
        std::vector<std::string> byAge;
        for (int32_t s = rdbFieldStep(&file.h, g.data(), 1, 3); s == 0; s = rdbFieldStep(&file.h, g.data(), 1, 1)) {
            ASSERT_EQ(rdbFieldRead(&file.h, g.data(), nullptr), 0);
            byAge.push_back(q.name + std::string(":") + std::to_string(q.age));
        }
        EXPECT_EQ(byAge, (std::vector<std::string> { "Caio:12", "Ana:30", "Jo\xe3o:41", "Bia:41" }));

        // Find modes around an absent key "B": 2 the record after, 3 the following key (2),
        // 4 the record before, 5 the record before (3); mode 1 fails and clears the current record.
        struct Mode {
            int mode;
            int32_t result;
            const char* current;
        };
        for (Mode m : { Mode { 2, 0, "Bia" }, { 3, 2, "Bia" }, { 4, 0, "Ana" }, { 5, 3, "Ana" }, { 1, -1, nullptr } }) {
            std::strcpy(q.name, "B");
            EXPECT_EQ(rdbFieldFind(&file.h, g.data(), 0, m.mode), m.result) << m.mode;
            int32_t read = rdbFieldRead(&file.h, g.data(), nullptr);
            if (m.current) {
                EXPECT_EQ(read, 0);
                EXPECT_STREQ(q.name, m.current) << m.mode;
            } else {
                EXPECT_EQ(read, -16);
            }
        }
        std::strcpy(q.name, "Ana");
        EXPECT_EQ(rdbFieldFind(&file.h, g.data(), 0, 2), 0); // a present key is stepped past
        ASSERT_EQ(rdbFieldRead(&file.h, g.data(), nullptr), 0);
        EXPECT_STREQ(q.name, "Bia");
    }
}

TEST(RecDbFields, EmptyUnindexedFieldsAreLeftOutOfTheStoredRecord)
{
    ScratchDir dir;
    FieldFile file(dir.path("packed"));
    Person p;
    std::strcpy(p.name, "Ana");
    auto f = p.fields();
    f[3].length = 0; // an empty 'B' field has length 0
    ASSERT_EQ(rdbFieldAdd(&file.h, f.data(), 4), 0);
    int32_t number = file.h.recordNumber;
    Bytes r = storedRecord(file.h, number);
    // Head (signature, check, kind), field 0 "Ana", field 1 (indexed, so written though 0), end.
    uint16_t signature = rdbFieldSignature(f.data());
    Bytes expected = { uint8_t(signature), uint8_t(signature >> 8), 0, 0, 4, 0, 0, 'A', 'n', 'a', 0, 1, 0, 0, 0, 0, 0,
        0xFF, 0xFF };
    uint16_t check = 0;
    for (size_t i = 4; i < expected.size(); ++i)
        check = uint16_t((check + int8_t(expected[i])) * 2);
    expected[2] = uint8_t(check);
    expected[3] = uint8_t(check >> 8);
    EXPECT_EQ(r, expected);
}

TEST(RecDbFields, ADifferentListOrAChangedByteIsRefused)
{
    ScratchDir dir;
    FieldFile file(dir.path("checks"));
    ASSERT_EQ(file.add("Ana", 30), 0);
    int32_t number = file.h.recordNumber;
    Person p;
    auto good = p.fields();

    // A change of any type, key type, order or index byte changes the signature. (Each byte is
    // doubled away by the 16 that follow it, so only a list's last four descriptors count: the
    // changes are made in a short list.)
    auto shortList = [&p] {
        return std::vector<rdbField> { { 'S', 0, 'U', 0, 30, 1, 0, p.name }, { 'I', 3, 'D', 0, 4, 2, 0, &p.age },
            { 'S', 'N', 'N', 0, 50, 0, 0, p.note }, { 'E', 0, 0, 0, 0, 0, 0, nullptr } };
    };
    {
        rdbHandle& h = file.h;
        auto f = shortList();
        std::strcpy(p.name, "Short");
        ASSERT_EQ(rdbFieldAdd(&h, f.data(), 1), 0);
        for (int change = 0; change < 4; ++change) {
            auto g = shortList();
            switch (change) {
            case 0:
                g[2].type = 'B';
                break;
            case 1:
                g[1].keyType = 'N';
                break;
            case 2:
                g[2].order = 'D';
                break;
            case 3:
                g[2].index = 3;
                break;
            }
            EXPECT_EQ(rdbFieldRead(&h, g.data(), nullptr), -20) << change;
        }
        EXPECT_EQ(rdbFieldRead(&h, f.data(), nullptr), 0);
        EXPECT_EQ(rdbFieldRead(&h, good.data(), nullptr), -20);
    }
    // A changed byte breaks the check value (which, doubled like the signature, sees only the
    // record's last 16 bytes: the change is made there).
    Bytes r = storedRecord(file.h, number);
    r[r.size() - 3] ^= 0x20;
    ASSERT_EQ(rdbPut(&file.h, 19, "", number, r.data(), int32_t(r.size())), 0);
    std::strcpy(p.name, "Ana");
    ASSERT_EQ(rdbFieldFind(&file.h, good.data(), 0, 1), 0);
    EXPECT_EQ(rdbFieldRead(&file.h, good.data(), nullptr), -21);
    // Without a current record.
    rdbHandle closed;
    EXPECT_EQ(rdbFieldRead(&closed, good.data(), nullptr), -3);
}

TEST(RecDbFields, ListsAreCheckedField_ByField)
{
    ScratchDir dir;
    FieldFile file(dir.path("lists"));
    struct Case {
        int field;
        uint8_t rdbField::*member;
        uint8_t value;
        int32_t status;
    };
    const Case cases[] = {
        { 2, &rdbField::type, 'Q', -22 },
        { 1, &rdbField::keyType, 4, -23 }, // index 2 holds type 3
        { 0, &rdbField::keyType, 'S', 0 }, // 'S' is accepted for a type-0 index
        { 3, &rdbField::order, 'X', -24 },
        { 1, &rdbField::index, 16, -27 },
    };
    for (const Case& c : cases) {
        Person p;
        std::strcpy(p.name, "Eva");
        auto f = p.fields();
        f[size_t(c.field)].*c.member = c.value;
        int32_t status = rdbFieldAdd(&file.h, f.data(), 1);
        EXPECT_EQ(status, c.status) << c.field;
        if (status == 0)
            rdbFieldDelete(&file.h, f.data());
    }
    Person p;
    auto f = p.fields();
    f[2].length = 31233;
    EXPECT_EQ(rdbFieldAdd(&file.h, f.data(), 1), -25);
    f = p.fields();
    std::strcpy(p.note, "a note that is longer than its field's length of ten");
    f[2].length = 10;
    EXPECT_EQ(rdbFieldAdd(&file.h, f.data(), 1), -26);
}

TEST(RecDbFields, UpdateDeleteReuseAndReindex)
{
    ScratchDir dir;
    std::string path = dir.path("changes");
    FieldFile file(path);
    for (const char* name : { "Ana", "Bia", "Caio" })
        ASSERT_EQ(file.add(name, 20), 0);
    Person p;
    auto f = p.fields();

    // Rename Bia to Beatriz: the old key goes, the new one comes.
    std::strcpy(p.name, "Bia");
    ASSERT_EQ(rdbFieldFind(&file.h, f.data(), 0, 1), 0);
    int32_t bia = file.h.recordNumber;
    ASSERT_EQ(rdbFieldRead(&file.h, f.data(), nullptr), 0);
    std::strcpy(p.name, "Beatriz");
    p.age = 33;
    ASSERT_EQ(rdbFieldUpdate(&file.h, f.data()), 0);
    std::strcpy(p.name, "Bia");
    EXPECT_EQ(rdbFieldFind(&file.h, f.data(), 0, 1), -1);
    std::strcpy(p.name, "Beatriz");
    ASSERT_EQ(rdbFieldFind(&file.h, f.data(), 0, 1), 0);
    EXPECT_EQ(file.h.recordNumber, bia);
    // A rename onto a name that exists is refused and leaves the record as it was.
    std::strcpy(p.name, "Ana");
    EXPECT_EQ(rdbFieldUpdate(&file.h, f.data()), -1);
    std::strcpy(p.name, "Beatriz");
    EXPECT_EQ(rdbFieldFind(&file.h, f.data(), 0, 1), 0);
    ASSERT_EQ(rdbFieldRead(&file.h, f.data(), nullptr), 0);
    EXPECT_EQ(p.age, 33);

    // Delete, then add: the deleted record's number is reused.
    ASSERT_EQ(rdbFieldDelete(&file.h, f.data()), 0);
    EXPECT_EQ(rdbFieldFind(&file.h, f.data(), 0, 1), -1);
    ASSERT_EQ(file.add("Dora", 50), 0);
    EXPECT_EQ(file.h.recordNumber, bia);
    ASSERT_EQ(file.add("Eva", 51), 0);
    EXPECT_GT(file.h.recordNumber, bia);

    // Reindex rebuilds lost entries of the field indexes.
    ASSERT_EQ(rdbFieldDelete(&file.h, f.data()), 0); // Eva: one freed number
    std::strcpy(p.name, "Ana");
    ASSERT_EQ(rdbDelete(&file.h, 1, "Ana", 1), 0);
    EXPECT_EQ(rdbFieldFind(&file.h, f.data(), 0, 1), -1);
    ASSERT_EQ(rdbFieldReindex(&file.h, f.data()), 0);
    std::strcpy(p.name, "Ana");
    EXPECT_EQ(rdbFieldFind(&file.h, f.data(), 0, 1), 0);
    std::vector<int32_t> ages;
    for (int32_t s = rdbFieldStep(&file.h, f.data(), 1, 3); s == 0; s = rdbFieldStep(&file.h, f.data(), 1, 1)) {
        ASSERT_EQ(rdbFieldRead(&file.h, f.data(), nullptr), 0);
        ages.push_back(p.age);
    }
    EXPECT_EQ(ages, (std::vector<int32_t> { 20, 20, 50 }));
    ASSERT_EQ(rdbClose(&file.h), 0);
    EXPECT_EQ(get32(readFile(path), 64), 1); // one freed number waits
}
