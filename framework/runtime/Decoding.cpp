#include "framework/runtime/Encoding.h"

#include "framework/runtime/EncodingAccess.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/StringObject.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* shortByte = "Cannot read QELBYTE from stream";
constexpr const char* shortInt = "Cannot read QELINT from stream";
constexpr const char* shortFloat = "Cannot read QELFLOAT from stream";
constexpr const char* shortIntList = "Cannot read IntList from stream";

// Table slots beyond a table's entries that one decoding may allocate: a fixed allowance plus a
// share per input byte. Capacities are stored, so legitimate files keep theirs; a forged
// capacity of a billion slots is refused.
constexpr int64_t slotAllowance = int64_t(1) << 16;
constexpr int64_t slotsPerInputByte = 16;

// Elements that one decoding may reserve cells for before reading them: every element of a sound
// encoding takes at least one input byte, so a share of one per byte (plus the allowance) never
// refuses a real file, while lists nested two hundred deep, each claiming as many elements as
// bytes remain, cannot reserve gigabytes for a small forged input.
constexpr int64_t elementsPerInputByte = 1;

// The value type that a type byte stands for (the short forms name their long type).
int32_t typeOfByte(int32_t byte)
{
    switch (byte) {
    case 0x1E:
    case 0x1F:
        return QEL_BOOLEAN_TYPE;
    case 0x20:
    case 0x21:
        return QEL_INT_TYPE;
    case 0x22:
        return QEL_STRING_TYPE;
    case 0x23:
        return QEL_LIST_TYPE;
    default:
        return byte;
    }
}

// Reads from the stream; over a memory stream straight from its block.
class Decoder {
public:
    explicit Decoder(qelStreamObject* stream)
        : m_stream(stream)
    {
        if (auto* memory = dynamic_cast<qelMemoryStream*>(stream)) {
            m_memory = memory;
            m_data = memory->data();
            m_position = memory->tell();
            m_end = memory->size();
            m_fastEnd = m_end;
        }
    }
    ~Decoder()
    {
        if (m_memory)
            m_memory->seek(int32_t(m_position));
        if (m_sharedKeysUsed) {
            for (SharedKey& key : m_sharedKeys) {
                if (key.string)
                    key.string->unref();
            }
            for (Shape& shape : m_shapes) {
                for (int32_t i = 0; i < shape.count; ++i)
                    shape.keys[i].string->unref();
            }
        }
    }

    qelValue value();

private:
    // Decodes the next value into a cell that holds nil. Inline in the loops of list and table.
    [[gnu::always_inline]] inline void valueInto(qelValue& out);
    // A list or table met on the fast path.
    [[gnu::noinline]] void containerInto(qelValue& out, uint8_t type, uint8_t shortCount);
    // Kept out of line, so that the common values above take no more set-up than they need.
    [[gnu::noinline]] qelValue generalValue();
    // The bytes the stream still holds. A file stream's tell is exact once a transfer has been
    // made, and the type byte is always read before this is asked.
    int64_t remaining() const
    {
        if (m_memory)
            return m_end - m_position;
        return std::max<int64_t>(0, int64_t(m_stream->size()) - m_stream->tell());
    }
    bool bytes(void* out, int64_t count, const char* message)
    {
        if (m_memory) {
            if (m_end - m_position < count) {
                m_position = m_end;
                return fail(message);
            }
            std::memcpy(out, m_data + m_position, size_t(count));
            m_position += count;
            return true;
        }
        if (m_stream->read(static_cast<uint8_t*>(out), int32_t(count)) != count)
            return fail(message);
        return true;
    }
    // The two readers below take the bytes straight from a memory stream's block when they are
    // there; everything else (a file stream, a short read) goes through bytes().
    bool int32(int32_t& n, const char* message = shortInt)
    {
        uint8_t b[4];
        if (m_memory && m_end - m_position >= 4) {
            std::memcpy(b, m_data + m_position, 4);
            m_position += 4;
        } else if (!bytes(b, 4, message)) {
            return false;
        }
        n = int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
        return true;
    }
    bool byte(int32_t& n)
    {
        if (m_memory && m_position < m_end) {
            n = m_data[m_position++];
            return true;
        }
        uint8_t b;
        if (!bytes(&b, 1, shortByte))
            return false;
        n = b;
        return true;
    }
    bool fail(const std::string& message)
    {
        if (!m_failed)
            qelError(message.c_str());
        m_failed = true;
        m_fastEnd = 0;
        return false;
    }
    qelValue corrupt(int32_t type)
    {
        fail(std::string("Cannot decode this type: ") + qelTypeNameText(type));
        return qelNil;
    }

    qelValue body(int32_t type);
    struct ShapeKey;
    // Reads a table key and takes its value cell in the table (null when it cannot be stored).
    // A key found in the shared-key cache is described in `record` (its string, else null).
    qelValue* cellForKey(qelTableObject* table, ShapeKey& record);
    // The value cell of the next key when it is `expected`'s text, taken at its slot; else null,
    // having read nothing.
    qelValue* cellForShapeKey(qelTableObject* table, const ShapeKey& expected);
    qelValue string(int32_t length);
    qelValue buffer();
    qelValue list(int32_t count, int32_t kind);
    qelValue table();
    qelValue region();

    qelStreamObject* m_stream;
    qelMemoryStream* m_memory { nullptr };
    const uint8_t* m_data { nullptr };
    int64_t m_position { 0 };
    int64_t m_end { 0 };
    int64_t m_slotBudget { -1 };
    int64_t m_elementBudget { -1 };
    // Charges the cells of `count` elements to the decoding's element budget; false when spent.
    bool reserveElements(int64_t count)
    {
        if (count > m_elementBudget)
            return false;
        m_elementBudget -= count;
        return true;
    }
    int32_t m_depth { 0 };
    bool m_failed { false };
    // The end of a memory stream's bytes while the decoding has not failed, else 0: the fast
    // paths, which read straight from the block, apply while two bytes lie before it.
    int64_t m_fastEnd { 0 };

    // Table keys repeat from record to record of a file ("Name", "Rect"...): one decoding makes
    // one string object per distinct short key text and hands it to every table that uses it.
    // Strings are immutable, so sharing one is invisible, and its hash is computed once. A hash
    // of the text picks an entry of the cache; each entry holds a reference.
    static constexpr int32_t sharedKeyCount = 64;
    static constexpr int32_t longestSharedKey = 32;
    static constexpr size_t sharedKeyProbes = 4;
    // Left uninitialised until the first table: most decodings (an index record, a setting)
    // hold none.
    struct SharedKey {
        uint64_t first; // the text's first eight bytes, zero past its end
        qelStringObject* string;
        int32_t length;
        int32_t hash;
    };
    SharedKey m_sharedKeys[sharedKeyCount];
    bool m_sharedKeysUsed { false };

    // The records of a file are mostly tables with the same keys in the same order, and keys put
    // in one order into new tables of one capacity take the same slots every time. For a few
    // capacities the decoding keeps the keys of a table as read (a shape: up to maxShapeKeys
    // leading keys that the shared-key cache holds, each with its slot and whether it took a new
    // one). A new table of that capacity, with no more pairs than slots (so that it cannot grow),
    // follows the shape while its keys match, taking each key's slot without hashing or probing.
    // A table that left its shape (or had none) makes its own keys the shape for its capacity.
    // A shape's generation changes when it is replaced, which ends the following of an outer
    // table whose nested table replaced it. Initialised with the shared-key cache.
    static constexpr int32_t shapeCount = 4;
    static constexpr int32_t maxShapeKeys = 16;
    struct ShapeKey {
        uint64_t first; // as in SharedKey
        qelStringObject* string; // null for a key that the shared-key cache does not hold
        int32_t length;
        int32_t hash;
        int32_t slot;
        bool added; // the key took a new slot (else it was given before in the same table)
    };
    struct Shape {
        int32_t capacity;
        int32_t count;
        uint32_t generation;
        ShapeKey keys[maxShapeKeys]; // each holds a reference to its string
    };
    Shape m_shapes[shapeCount];
    static int32_t shapeIndex(int32_t capacity) { return (capacity ^ (capacity >> 3)) & (shapeCount - 1); }
    // Makes the `count` keys of `keys` the shape for `capacity`.
    void replaceShape(int32_t capacity, const ShapeKey* keys, int32_t count);
};

inline void Decoder::valueInto(qelValue& out)
{
    // The values that stored tables hold most, read from a memory stream whose bytes are all
    // there, are made here in the cell without the nested calls; every other case (a short read,
    // a value at the depth limit, a decoding that has failed) goes the general way. `out` holds
    // nil, so it is constructed over without a release.
    if (m_fastEnd - m_position >= 2 && m_depth < qelMaximumEncodingDepth) {
        const uint8_t* p = m_data + m_position;
        int64_t left = m_end - m_position;
        switch (p[0]) {
        case 0x22: {
            int32_t length = p[1];
            if (length <= left - 2) {
                m_position += 2 + length;
                auto* string = qelStringObject::create(reinterpret_cast<const char*>(p + 2), length, left - 2);
                new (&out) qelValue(qelMakeObjectValue(QEL_STRING_TYPE, string));
                return;
            }
            break;
        }
        case 0x20:
            m_position += 2;
            new (&out) qelValue(qelMakeInt(int8_t(p[1])));
            return;
        case 0x21:
            if (left >= 3) {
                m_position += 3;
                new (&out) qelValue(qelMakeInt(int16_t(uint16_t(p[1] | p[2] << 8))));
                return;
            }
            break;
        case QEL_INT_TYPE:
        case QEL_FLOAT_TYPE:
            if (left >= 5) {
                m_position += 5;
                uint32_t n = uint32_t(p[1]) | uint32_t(p[2]) << 8 | uint32_t(p[3]) << 16 | uint32_t(p[4]) << 24;
                new (&out) qelValue(qelValue::immediate(p[0], n));
                return;
            }
            break;
        case 0x1E:
        case 0x1F:
            ++m_position;
            new (&out) qelValue(qelMakeBoolean(p[0] == 0x1E));
            return;
        case 0:
            ++m_position;
            return;
        case 0x23:
        case QEL_TABLE_TYPE:
            // Nested lists and tables, once the outermost value has set the budgets.
            if (m_slotBudget >= 0) {
                containerInto(out, p[0], p[1]);
                return;
            }
            break;
        default:
            break;
        }
    }
    new (&out) qelValue(generalValue());
}

void Decoder::containerInto(qelValue& out, uint8_t type, uint8_t shortCount)
{
    ++m_depth;
    if (type == 0x23) {
        m_position += 2;
        new (&out) qelValue(list(shortCount, 5));
    } else {
        ++m_position;
        new (&out) qelValue(table());
    }
    --m_depth;
    if (m_failed)
        out = qelNil;
}

qelValue Decoder::value()
{
    qelValue result;
    valueInto(result);
    return result;
}

qelValue Decoder::generalValue()
{
    if (m_failed)
        return qelNil;
    int32_t type;
    if (!byte(type))
        return qelNil;
    if (m_slotBudget < 0) {
        m_slotBudget = slotAllowance + slotsPerInputByte * remaining();
        m_elementBudget = slotAllowance + elementsPerInputByte * remaining();
    }
    // Why: every nested value costs stack; a file nesting lists ten thousand deep must not.
    if (m_depth >= qelMaximumEncodingDepth)
        return corrupt(typeOfByte(type));
    ++m_depth;
    qelValue result = body(type);
    --m_depth;
    if (m_failed)
        return qelNil;
    return result;
}

qelValue* Decoder::cellForKey(qelTableObject* table, ShapeKey& record)
{
    record.string = nullptr;
    if (m_fastEnd - m_position < 2 || m_data[m_position] != 0x22)
        return table->cellForKey(value());
    const uint8_t* text = m_data + m_position + 2;
    int32_t length = text[-1];
    // The text's first eight bytes (a text under eight bytes is read in one word and cut to its
    // length) and its length pick the entry; the entry's own bytes settle it.
    int64_t readable = m_end - m_position - 2;
    if (length > longestSharedKey || length > readable || readable < 8)
        return table->cellForKey(value());
    uint64_t first;
    std::memcpy(&first, text, 8);
    if (length < 8)
        first &= ~(~uint64_t(0) << (8 * length));
    auto home = size_t(((first + uint64_t(length)) * 0x9E3779B97F4A7C15) >> 58);
    static_assert(sharedKeyCount == 64, "the home entry takes the hash's top six bits");
    // A few neighbours of the home entry are searched too, so that two keys of one file whose
    // hashes meet do not keep replacing each other.
    SharedKey* free = nullptr;
    for (size_t probe = 0; probe < sharedKeyProbes; ++probe) {
        SharedKey& entry = m_sharedKeys[(home + probe) % sharedKeyCount];
        if (!entry.string) {
            free = &entry;
            break;
        }
        if (entry.length == length && entry.first == first
            && (length <= 8 || std::memcmp(entry.string->chars() + 8, text + 8, size_t(length - 8)) == 0)) {
            m_position += 2 + length;
            record = ShapeKey { first, entry.string, length, entry.hash, 0, false };
            return table->cellForStringKey(qelMakeObjectValue(QEL_STRING_TYPE, entry.string), entry.hash);
        }
    }
    // A new text: made as any string and, unless it holds a NUL, kept in a free entry or in place
    // of the home one.
    qelValue made = value();
    auto* string = made.objectAs<qelStringObject>();
    if (!string || string->holdsNul())
        return table->cellForKey(std::move(made));
    SharedKey& entry = free ? *free : m_sharedKeys[home];
    string->ref();
    if (entry.string)
        entry.string->unref();
    entry = SharedKey { first, string, length, string->hash() };
    record = ShapeKey { first, string, length, entry.hash, 0, false };
    return table->cellForStringKey(std::move(made), entry.hash);
}

qelValue* Decoder::cellForShapeKey(qelTableObject* table, const ShapeKey& expected)
{
    // The same checks as the shared-key cache's: a short string whose text is all there.
    if (m_fastEnd - m_position < 2 || m_data[m_position] != 0x22 || m_data[m_position + 1] != expected.length)
        return nullptr;
    const uint8_t* text = m_data + m_position + 2;
    int32_t length = expected.length;
    if (m_end - m_position - 2 < std::max(length, 8))
        return nullptr;
    uint64_t first;
    std::memcpy(&first, text, 8);
    if (length < 8)
        first &= ~(~uint64_t(0) << (8 * length));
    if (first != expected.first
        || (length > 8 && std::memcmp(expected.string->chars() + 8, text + 8, size_t(length - 8)) != 0))
        return nullptr;
    qelValue* cell = table->cellAtKnownSlot(expected.slot, expected.string, expected.hash, expected.added);
    if (cell)
        m_position += 2 + length;
    return cell;
}

void Decoder::replaceShape(int32_t capacity, const ShapeKey* keys, int32_t count)
{
    Shape& shape = m_shapes[shapeIndex(capacity)];
    // The new keys are held before the old ones are let go: they are often the same strings.
    for (int32_t i = 0; i < count; ++i)
        keys[i].string->ref();
    for (int32_t i = 0; i < shape.count; ++i)
        shape.keys[i].string->unref();
    std::copy(keys, keys + count, shape.keys);
    shape.capacity = capacity;
    shape.count = count;
    ++shape.generation;
}

qelValue Decoder::string(int32_t length)
{
    // Why: a length that is negative or runs past the stream's end is damage, not a string.
    if (length < 0)
        return corrupt(QEL_STRING_TYPE);
    if (length > remaining()) {
        fail(shortByte);
        return qelNil;
    }
    if (length == 0)
        return qelEmptyString();
    if (m_memory) {
        qelValue s = qelStringValueN(reinterpret_cast<const char*>(m_data + m_position), length);
        m_position += length;
        return s;
    }
    std::vector<char> text(static_cast<size_t>(length));
    if (!bytes(text.data(), length, shortByte))
        return qelNil;
    return qelStringValueN(text.data(), length);
}

qelValue Decoder::buffer()
{
    int32_t length;
    if (!int32(length))
        return qelNil;
    if (length < 0)
        return corrupt(QEL_BUFFER_TYPE);
    // A buffer that runs past the end keeps what is there as its used length; only those bytes
    // are allocated.
    int32_t size = int32_t(std::min<int64_t>(length, remaining()));
    qelValue buffer = qelEncodingAccess::makeBuffer(size);
    if (size > 0) {
        uint8_t* data = qelEncodingAccess::bufferData(buffer);
        if (!data)
            return qelNil;
        if (m_memory) {
            std::memcpy(data, m_data + m_position, size_t(size));
            m_position += size;
        } else {
            size = std::max(m_stream->read(data, size), 0);
        }
    }
    qelEncodingAccess::setBufferLength(buffer, size);
    return buffer;
}

qelValue Decoder::list(int32_t count, int32_t kind)
{
    if (count < 0)
        return corrupt(QEL_LIST_TYPE);
    if (kind == 3) {
        // Why: count × 4 must not overflow, and must be there to read.
        if (int64_t(count) * 4 > remaining()) {
            fail(shortIntList);
            return qelNil;
        }
        qelValue list = qelEncodingAccess::makeList(count, 3);
        std::vector<int32_t> ints(static_cast<size_t>(count));
        if (count && !bytes(ints.data(), int64_t(count) * 4, shortIntList))
            return qelNil;
        if constexpr (std::endian::native == std::endian::big) {
            for (auto& n : ints)
                n = int32_t(__builtin_bswap32(uint32_t(n)));
        }
        qelEncodingAccess::setInts(list, ints.data(), count);
        return list;
    }
    // Why: every element takes at least its type byte.
    if (count > remaining()) {
        fail(shortByte);
        return qelNil;
    }
    if (!reserveElements(count))
        return corrupt(QEL_LIST_TYPE);
    auto* list = new qelListObject(count, 100);
    qelValue result = qelMakeObjectValue(QEL_LIST_TYPE, list);
    if (!list)
        return qelNil;
    // The list was made with a nil cell for every element: each is decoded straight into its
    // cell (a list refused its cells has none, and takes the elements by append).
    for (int32_t i = 0; i < count; ++i) {
        if (list->count < list->capacity) {
            valueInto(list->elements[list->count++]);
        } else {
            qelValue item = value();
            list->append(item);
        }
        if (m_failed)
            return qelNil;
    }
    return result;
}

qelValue Decoder::table()
{
    int32_t capacity, count;
    if (!int32(capacity) || !int32(count))
        return qelNil;
    if (capacity < 1 || count < 0)
        return corrupt(QEL_TABLE_TYPE);
    // Why: each pair takes at least two type bytes.
    if (int64_t(count) * 2 > remaining()) {
        fail(shortByte);
        return qelNil;
    }
    int64_t spare = std::max<int64_t>(0, int64_t(capacity) - count);
    if (spare > m_slotBudget || !reserveElements(count))
        return corrupt(QEL_TABLE_TYPE);
    m_slotBudget -= spare;
    // As qelTable makes the decoders' tables: growth 100 %, fill 75 %.
    auto* table = new qelTableObject(capacity, 100, 75);
    qelValue result = qelMakeObjectValue(QEL_TABLE_TYPE, table);
    if (!table)
        return qelNil;
    if (!m_sharedKeysUsed) {
        std::fill(std::begin(m_sharedKeys), std::end(m_sharedKeys), SharedKey {});
        for (Shape& shape : m_shapes) {
            shape.capacity = 0;
            shape.count = 0;
            shape.generation = 0;
        }
        m_sharedKeysUsed = true;
    }
    // A table with more pairs than slots grows on the way, which moves its keys: it neither
    // follows nor makes a shape.
    const Shape& shape = m_shapes[shapeIndex(capacity)];
    bool shapeable = count <= capacity;
    bool following = shapeable && shape.capacity == capacity && shape.count > 0;
    uint32_t generation = shape.generation;
    // The table's leading keys as read while it does not follow its shape; `recording` while
    // every key so far is among them.
    ShapeKey read[maxShapeKeys];
    int32_t readCount = 0;
    bool recording = shapeable;
    // Each key finds its slot first; its value is then decoded straight into the slot's cell
    // (nothing else can reach the new table meanwhile).
    for (int32_t i = 0; i < count; ++i) {
        qelValue* cell = nullptr;
        if (following && i < shape.count && shape.generation == generation)
            cell = cellForShapeKey(table, shape.keys[i]);
        if (!cell) {
            if (following) {
                // The keys so far were the shape's first ones: they begin the table's own keys,
                // unless a nested table has replaced the shape meanwhile.
                following = false;
                recording = shape.generation == generation;
                readCount = recording ? std::min(i, maxShapeKeys) : 0;
                std::copy(shape.keys, shape.keys + readCount, read);
            }
            ShapeKey key;
            int32_t countBefore = table->count;
            cell = cellForKey(table, key);
            if (recording && readCount == i && readCount < maxShapeKeys && key.string && cell) {
                key.slot = int32_t(cell - table->values);
                key.added = table->count != countBefore;
                read[readCount++] = key;
            } else {
                recording = false;
            }
        }
        if (cell) {
            // A key given twice keeps its last value.
            if (!cell->isNil())
                *cell = qelNil;
            valueInto(*cell);
        } else {
            value();
        }
        if (m_failed)
            return qelNil;
    }
    if (shapeable && !following && readCount > 0)
        replaceShape(capacity, read, readCount);
    return result;
}

qelValue Decoder::region()
{
    int32_t box[4], n;
    for (int32_t& side : box) {
        if (!int32(side))
            return qelNil;
    }
    if (!int32(n))
        return qelNil;
    if (n < 0)
        return corrupt(QEL_REGION_TYPE);
    if (n == 0)
        return qelMakers().regionValue(box[0], box[1], box[2], box[3]);
    // Why: the points must be there before room is made for them.
    if (int64_t(n) * 8 > remaining()) {
        fail(shortInt);
        return qelNil;
    }
    // n points read, then a copy of the first closes the outline.
    std::vector<int32_t> xy(size_t(n) * 2 + 2);
    for (int32_t i = 0; i < 2 * n; ++i) {
        if (!int32(xy[size_t(i)]))
            return qelNil;
    }
    xy[size_t(2 * n)] = xy[0];
    xy[size_t(2 * n + 1)] = xy[1];
    return qelMakers().polygonValue(box[0], box[1], box[2], box[3], xy.data(), n + 1);
}

qelValue Decoder::body(int32_t type)
{
    int32_t n, m;
    switch (type) {
    case 0:
        return qelNil;
    case 0x1E:
        return qelTrue;
    case 0x1F:
        return qelFalse;
    case 0x20: {
        if (!byte(n))
            return qelNil;
        return qelMakeInt(int8_t(uint8_t(n)));
    }
    case 0x21: {
        uint8_t b[2];
        if (!bytes(b, 2, shortInt))
            return qelNil;
        return qelMakeInt(int16_t(uint16_t(b[0] | b[1] << 8)));
    }
    case QEL_BOOLEAN_TYPE:
        return int32(n) ? qelMakeBoolean(n) : qelNil;
    case QEL_INT_TYPE:
        return int32(n) ? qelMakeInt(n) : qelNil;
    case QEL_FLOAT_TYPE:
        return int32(n, shortFloat) ? qelMakeFloat(std::bit_cast<float>(n)) : qelNil;
    case QEL_STRING_TYPE:
        return int32(n) ? string(n) : qelNil;
    case 0x22:
        return byte(n) ? string(n) : qelNil;
    case QEL_BUFFER_TYPE:
        return buffer();
    case QEL_LIST_TYPE:
        if (!int32(n) || !byte(m))
            return qelNil;
        return list(n, m);
    case 0x23:
        return byte(n) ? list(n, 5) : qelNil;
    case QEL_TABLE_TYPE:
        return table();
    case QEL_REGION_TYPE:
        return region();
    case QEL_FONT_TYPE: {
        qelValue name = value();
        if (m_failed || !int32(n) || !int32(m))
            return qelNil;
        return qelMakers().fontValue(name, n, m);
    }
    case QEL_TEXTMAP_TYPE: {
        if (!int32(n) || !int32(m))
            return qelNil;
        qelValue first = value();
        qelValue second = value();
        if (m_failed)
            return qelNil;
        return qelMakers().textMapValue(n, m, first, second);
    }
    case QEL_IMAGE_TYPE: {
        qelValue typeName = value();
        qelValue data = value();
        if (m_failed)
            return qelNil;
        return qelMakers().imageCreate(typeName, data);
    }
    case QEL_SOUND_TYPE: {
        qelValue typeName = value();
        if (m_failed || !int32(n))
            return qelNil;
        qelValue source = value();
        if (m_failed)
            return qelNil;
        qelMakerHooks& makers = qelMakers();
        return n ? makers.makeSoundValue(typeName, source) : makers.makeSound(typeName, source);
    }
    case QEL_CONTROL_TYPE:
    case QEL_FORM_TYPE:
    case QEL_REFERENCE_TYPE: {
        qelValue inner = value();
        if (m_failed)
            return qelNil;
        qelMakerHooks& makers = qelMakers();
        if (type == QEL_CONTROL_TYPE)
            return makers.makeControl(inner);
        if (type == QEL_FORM_TYPE)
            return makers.makeFormFromData(inner);
        return makers.makeReference(inner);
    }
    case QEL_DATE_TYPE:
        if (!int32(n) || !int32(m))
            return qelNil;
        return qelMakers().dateValue(uint32_t(n), uint32_t(m));
    default:
        fail(std::string("Cannot decode this type: ") + qelTypeNameText(type));
        return qelNil;
    }
}

} // namespace

qelValue qelDecode(const qelValue& stream)
{
    qelStreamObject* s = qelStreamOf(stream);
    if (!s) {
        qelError(shortByte);
        return qelNil;
    }
    Decoder decoder(s);
    return decoder.value();
}
