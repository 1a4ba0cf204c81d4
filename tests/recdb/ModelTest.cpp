// Random operations against the library and against a std::multimap model that orders keys its
// own way; every answer, record and position must agree, and the closed file must pass the
// structural check and hold exactly the model's records after every batch.

#include "RecDbTestSupport.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <optional>
#include <random>

using namespace recdbtest;

namespace {

constexpr int Indexes = 5;
const uint8_t compositeSegments[] = {
    4,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    1,
    0,
    0,
    0,
    0,
    0,
    0, // signed 16-bit, descending
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0, // string
    31,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
};
const rdbIndexDef table[] = { { 1, 0, nullptr }, { 2, 1, nullptr }, { 3, 2, nullptr }, { 4, 3, nullptr },
    { 5, 8, compositeSegments }, { 0, 0, nullptr } };

struct Record {
    int32_t number;
    Bytes key; // as stored
    Bytes data;
};

// The model orders keys by a byte string built independently of the library's comparison.
std::string sortKey(int index, const Bytes& key)
{
    std::string s;
    switch (index) {
    case 1:
        return std::string(key.begin(), key.end() - 1);
    case 2:
        for (size_t i = 0; i + 1 < key.size(); ++i)
            s += char(key[i] >= 'a' && key[i] <= 'z' ? key[i] - 32 : key[i]);
        return s;
    case 3:
        return std::string(key.begin() + 1, key.end());
    case 4: {
        int32_t v;
        std::memcpy(&v, key.data(), 4);
        uint32_t u = uint32_t(v) ^ 0x80000000u;
        for (int i = 3; i >= 0; --i)
            s += char(u >> (8 * i));
        return s;
    }
    default: {
        int16_t v;
        std::memcpy(&v, key.data() + 1, 2);
        uint16_t u = uint16_t(0xFFFF - (uint16_t(v) ^ 0x8000u));
        s += char(u >> 8);
        s += char(u & 0xFF);
        return s + std::string(key.begin() + 3, key.end() - 1);
    }
    }
}

class ModelTest : public ::testing::Test {
protected:
    using Map = std::multimap<std::string, Record>;
    using Place = std::pair<std::string, int32_t>;

    std::mt19937 rng { 20240611 };
    Map model[Indexes + 1];
    std::optional<Place> current[Indexes + 1];
    size_t currentKeySize[Indexes + 1] {};
    rdbHandle h;
    ScratchDir dir;
    std::string name = dir.path("model.db");
    std::vector<uint8_t> buffer = std::vector<uint8_t>(40000);

    int pick(int n) { return int(rng() % uint32_t(n)); }

    Bytes makeKey(int index)
    {
        Bytes k;
        switch (index) {
        case 1: {
            std::string s = "k" + std::to_string(pick(400));
            if (pick(10) == 0)
                s += "\xe1\xe9\xf5"; // letters of the upper half sort after ASCII
            if (pick(40) == 0) {
                s += std::string(size_t(180 + pick(61)), 'z');
                s.resize(std::min<size_t>(s.size(), 241)); // the longest key: 242 bytes with its NUL
            }
            k.assign(s.begin(), s.end());
            k.push_back(0);
            break;
        }
        case 2: {
            int n = 1 + pick(3);
            for (int i = 0; i < n; ++i)
                k.push_back(uint8_t("aAbBc"[pick(5)]));
            k.push_back(0);
            break;
        }
        case 3: {
            int n = pick(5);
            k.push_back(uint8_t(n));
            for (int i = 0; i < n; ++i)
                k.push_back(uint8_t(pick(3) == 0 ? 0 : pick(4) * 85));
            break;
        }
        case 4: {
            static const int32_t extremes[] = { INT32_MIN, INT32_MAX, -1, 0, 1, INT32_MIN + 1 };
            int32_t v = pick(4) == 0 ? extremes[pick(6)] : pick(300) - 150;
            k.resize(4);
            std::memcpy(k.data(), &v, 4);
            break;
        }
        default: {
            int16_t v = int16_t(pick(2) ? pick(20) - 10 : (pick(2) ? 32767 : -32768));
            std::string s(size_t(pick(3)), char('m' + pick(3)));
            k.push_back(uint8_t(2 + s.size() + 1));
            k.resize(3);
            std::memcpy(k.data() + 1, &v, 2);
            k.insert(k.end(), s.begin(), s.end());
            k.push_back(0);
            break;
        }
        }
        return k;
    }

    int32_t makeRecord()
    {
        if (pick(30) == 0)
            return pick(2) ? INT32_MAX : INT32_MIN;
        return pick(12) - 3;
    }

    Bytes makeData(int keyLength)
    {
        int capacity = 244 - keyLength;
        int r = pick(100);
        int n = r < 60 ? pick(30) : r < 90 ? 30 + pick(220) : r < 99 ? 250 + pick(1750) : pick(128 * capacity + 2);
        Bytes d(static_cast<size_t>(n));
        for (size_t i = 0; i < d.size(); i += 4) {
            uint32_t r4 = rng();
            for (size_t j = i; j < i + 4 && j < d.size(); ++j, r4 >>= 8)
                d[j] = uint8_t(r4);
        }
        return d;
    }

    // The first record at or after (key, number) in the model.
    Map::iterator lowerBound(int k, const std::string& key, int32_t number)
    {
        auto it = model[k].lower_bound(key);
        while (it != model[k].end() && it->first == key && it->second.number < number)
            ++it;
        return it;
    }

    void insertModel(int k, const Bytes& key, int32_t number, const Bytes& data)
    {
        std::string sk = sortKey(k, key);
        model[k].emplace_hint(lowerBound(k, sk, number), sk, Record { number, key, data });
    }

    // Checks a positioning answer against the model's record (or end).
    void expectRecord(int32_t status, int32_t expected, int k, Map::iterator it, const char* what)
    {
        ASSERT_EQ(status, expected) << what << " on index " << k;
        if (expected < 0) {
            current[k].reset();
            return;
        }
        const Record& r = it->second;
        ASSERT_EQ(h.recordNumber, r.number) << what;
        ASSERT_EQ(0, std::memcmp(h.keyPointer, r.key.data(), r.key.size())) << what;
        ASSERT_EQ(h.fullLength, r.data.empty() ? 0 : int32_t(r.data.size())) << what;
        ASSERT_EQ(h.dataLength, int32_t(r.data.size())) << what;
        ASSERT_TRUE(std::equal(r.data.begin(), r.data.end(), buffer.begin())) << what;
        current[k] = Place(it->first, r.number);
        currentKeySize[k] = r.key.size();
    }

    void reopen()
    {
        ASSERT_EQ(rdbClose(&h), 0);
        checkFile();
        ASSERT_EQ(rdbSetCacheSize(pick(5) == 0 ? 1 + pick(3) : 8 + pick(9)), 0); // sometimes tiny: constant eviction
        ASSERT_EQ(rdbOpen(&h, name.c_str(), 'E', 2, table), 0);
        ASSERT_EQ(rdbSetAccessMode(&h, pick(5)), 0);
        for (auto& c : current)
            c.reset();
    }

    void checkFile()
    {
        uint8_t types[21] = { 0, 0, 1, 2, 3, 8 };
        types[20] = 2;
        const uint8_t* segs[21] = {};
        segs[5] = compositeSegments;
        Bytes file = readFile(name);
        TreeCheck check(file, types, segs);
        ASSERT_EQ(check.run(), "");
        // The leaves hold exactly the model's records, piece by piece, in order.
        size_t at = 0;
        for (int k = 1; k <= Indexes; ++k) {
            for (auto& [sk, r] : model[k]) {
                Bytes data;
                for (int piece = 0;; ++piece) {
                    ASSERT_LT(at, check.leaves.size());
                    const LeafEntry& e = check.leaves[at++];
                    ASSERT_EQ(e.index, k);
                    ASSERT_EQ(e.key, r.key);
                    ASSERT_EQ(e.record, r.number);
                    ASSERT_EQ(e.piece, piece);
                    data.insert(data.end(), e.payload.begin(), e.payload.end());
                    if (e.last)
                        break;
                }
                ASSERT_EQ(data, r.data);
            }
        }
        ASSERT_EQ(at, check.leaves.size());
    }

    void step(int op)
    {
        int k = 1 + pick(Indexes);
        Bytes key = makeKey(k);
        std::string sk = sortKey(k, key);
        int32_t number = makeRecord();
        Bytes data = makeData(int(key.size()));
        bool fits = data.size() <= size_t(128 * (244 - int(key.size())));
        auto exact = [&]() {
            auto it = lowerBound(k, sk, number);
            return it != model[k].end() && it->first == sk && it->second.number == number ? it : model[k].end();
        };
        int32_t length = int32_t(data.size());
        int32_t bufferLength = int32_t(buffer.size());
        switch (op) {
        case 0: { // add
            bool present = model[k].count(sk) > 0;
            int32_t s = rdbAdd(&h, k, key.data(), number, data.data(), length);
            ASSERT_EQ(s, !fits ? -2 : present ? -1 : 0) << "add";
            if (s == 0) {
                insertModel(k, key, number, data);
                current[k] = Place(sk, number);
                currentKeySize[k] = key.size();
            }
            break;
        }
        case 1: // put
        case 2: // update
        case 3: { // insert
            auto it = exact();
            bool present = it != model[k].end();
            int32_t s = op == 1 ? rdbPut(&h, k, key.data(), number, data.data(), length)
                : op == 2       ? rdbUpdate(&h, k, key.data(), number, data.data(), length)
                                : rdbInsert(&h, k, key.data(), number, data.data(), length);
            int32_t expected = !fits ? -2 : (op == 2 && !present) || (op == 3 && present) ? -1 : 0;
            ASSERT_EQ(s, expected) << "write " << op;
            if (s == 0) {
                if (present)
                    model[k].erase(it);
                insertModel(k, key, number, data);
                current[k] = Place(sk, number);
                currentKeySize[k] = key.size();
            }
            break;
        }
        case 4: { // delete
            auto it = exact();
            bool present = it != model[k].end();
            ASSERT_EQ(rdbDelete(&h, k, key.data(), number), present ? 0 : -1) << "delete";
            if (present)
                model[k].erase(it);
            break;
        }
        case 5: // delete current
        case 6: { // rewrite current
            if (!current[k]) {
                ASSERT_EQ(op == 5 ? rdbDeleteCurrent(&h, k) : rdbRewriteCurrent(&h, k, data.data(), length), -1);
                break;
            }
            auto it = lowerBound(k, current[k]->first, current[k]->second);
            bool present
                = it != model[k].end() && it->first == current[k]->first && it->second.number == current[k]->second;
            if (op == 5) {
                ASSERT_EQ(rdbDeleteCurrent(&h, k), present ? 0 : -1) << "delete current";
                if (present)
                    model[k].erase(it);
            } else {
                // The length is checked against the current key before the record is looked for.
                bool fitsHere = data.size() <= size_t(128 * (244 - int(currentKeySize[k])));
                int32_t s = rdbRewriteCurrent(&h, k, data.data(), length);
                ASSERT_EQ(s, !fitsHere ? -2 : !present ? -1 : 0) << "rewrite current";
                if (s == 0)
                    it->second.data = data;
            }
            break;
        }
        case 7: { // find
            auto it = lowerBound(k, sk, number);
            int32_t expected = it == model[k].end() ? -1 : it->first != sk ? 2 : it->second.number != number ? 1 : 0;
            expectRecord(rdbFind(&h, k, key.data(), number, buffer.data(), bufferLength), expected, k, it, "find");
            break;
        }
        case 8: { // next
            Map::iterator it;
            if (!current[k])
                it = model[k].begin();
            else {
                it = lowerBound(k, current[k]->first, current[k]->second);
                if (it != model[k].end() && it->first == current[k]->first && it->second.number == current[k]->second)
                    ++it;
            }
            expectRecord(rdbNext(&h, k, buffer.data(), bufferLength), it == model[k].end() ? -1 : 0, k, it, "next");
            break;
        }
        case 9: { // previous
            if (!current[k]) {
                ASSERT_EQ(rdbPrevious(&h, k, buffer.data(), bufferLength), -1);
                break;
            }
            auto it = lowerBound(k, current[k]->first, current[k]->second);
            bool atStart = it == model[k].begin();
            if (!atStart)
                --it;
            expectRecord(rdbPrevious(&h, k, buffer.data(), bufferLength), atStart ? -1 : 0, k, it, "previous");
            break;
        }
        case 10: { // first
            auto it = model[k].begin();
            expectRecord(rdbFirst(&h, k, buffer.data(), bufferLength), it == model[k].end() ? -1 : 0, k, it, "first");
            break;
        }
        default: { // last
            bool empty = model[k].empty();
            auto it = empty ? model[k].end() : std::prev(model[k].end());
            expectRecord(rdbLast(&h, k, buffer.data(), bufferLength), empty ? -1 : 0, k, it, "last");
            break;
        }
        }
    }
};

TEST_F(ModelTest, RandomOperationsAgreeWithTheModel)
{
    ASSERT_EQ(rdbCreate(&h, name.c_str(), 'E', 1, table), 0);
    // Weights of add, put, update, insert, delete, delete current, rewrite current, find, next,
    // previous, first, last.
    std::discrete_distribution<int> ops({ 14, 16, 4, 4, 14, 4, 4, 16, 12, 8, 2, 2 });
    for (int i = 1; i <= 100000; ++i) {
        ASSERT_NO_FATAL_FAILURE(step(ops(rng))) << "operation " << i;
        if (i % 4000 == 0) {
            ASSERT_NO_FATAL_FAILURE(reopen()) << "after operation " << i;
        }
    }
    ASSERT_EQ(rdbClose(&h), 0);
    checkFile();
    rdbSetCacheSize(10);
}

} // namespace
