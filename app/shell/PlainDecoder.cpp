#include "app/shell/PlainDecoder.h"

#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

// Why: a preferences table is flat; a few levels leave room for what a shipped table may add,
// and keep a forged file from recursing deep.
constexpr int maximumDepth = 8;

// Why: a table's room is made before its pairs are read; a preferences table holds a few dozen
// keys, so a capacity beyond this is a damaged file, not a big table.
constexpr int32_t maximumTableCapacity = 4096;

// The encoder writes a general list of room below 256 in the short form: a list read from the
// long form keeps at least that room, so that it is written back as it was read.
constexpr int32_t shortListRoom = 256;

class PlainReader {
public:
    PlainReader(const uint8_t* bytes, size_t size)
        : m_bytes(bytes)
        , m_size(size)
    {
    }

    qelValue value(int depth)
    {
        if (depth > maximumDepth)
            return fail("nested too deep");
        uint8_t type;
        if (!byte(type))
            return qelNil;
        switch (type) {
        case 0x00:
            return qelNil;
        case 0x1E:
            return qelTrue;
        case 0x1F:
            return qelFalse;
        case QEL_BOOLEAN_TYPE: {
            int32_t n;
            return int32(n) ? qelMakeBoolean(n) : qelNil;
        }
        case QEL_INT_TYPE: {
            int32_t n;
            return int32(n) ? qelMakeInt(n) : qelNil;
        }
        case 0x20: {
            uint8_t b;
            return byte(b) ? qelMakeInt(int8_t(b)) : qelNil;
        }
        case 0x21: {
            uint8_t low, high;
            if (!byte(low) || !byte(high))
                return qelNil;
            return qelMakeInt(int16_t(uint16_t(low | (high << 8))));
        }
        case QEL_FLOAT_TYPE: {
            int32_t bits;
            return int32(bits) ? qelMakeFloat(std::bit_cast<float>(bits)) : qelNil;
        }
        case QEL_STRING_TYPE: {
            int32_t length;
            return int32(length) ? string(length) : qelNil;
        }
        case 0x22: {
            uint8_t length;
            return byte(length) ? string(length) : qelNil;
        }
        case QEL_LIST_TYPE: {
            int32_t count;
            uint8_t kind;
            if (!int32(count) || !byte(kind))
                return qelNil;
            return list(count, kind, depth, true);
        }
        case 0x23: {
            uint8_t count;
            return byte(count) ? list(count, QEL_GENERAL_LIST, depth, false) : qelNil;
        }
        case QEL_TABLE_TYPE:
            return table(depth);
        default:
            return fail("a value of type " + std::to_string(type) + " has no place in this file");
        }
    }

    bool atEnd() const { return m_at == m_size; }
    bool failed() const { return !m_error.empty(); }
    const std::string& error() const { return m_error; }

private:
    qelValue fail(const std::string& why)
    {
        if (m_error.empty())
            m_error = why + " (at byte " + std::to_string(m_at) + ")";
        return qelNil;
    }

    size_t remaining() const { return m_size - m_at; }

    bool byte(uint8_t& out)
    {
        if (failed() || remaining() < 1) {
            fail("cut short");
            return false;
        }
        out = m_bytes[m_at++];
        return true;
    }

    bool int32(int32_t& out)
    {
        if (failed() || remaining() < 4) {
            fail("cut short");
            return false;
        }
        uint32_t n = uint32_t(m_bytes[m_at]) | uint32_t(m_bytes[m_at + 1]) << 8 | uint32_t(m_bytes[m_at + 2]) << 16
            | uint32_t(m_bytes[m_at + 3]) << 24;
        m_at += 4;
        out = int32_t(n);
        return true;
    }

    qelValue string(int32_t length)
    {
        if (length < 0 || size_t(length) > remaining())
            return fail("a string longer than the file");
        qelValue text = qelStringValueN(reinterpret_cast<const char*>(m_bytes + m_at), length);
        m_at += size_t(length);
        return text;
    }

    qelValue list(int32_t count, uint8_t kind, int depth, bool longForm)
    {
        if (count < 0)
            return fail("a negative count");
        if (kind != QEL_INT_LIST && kind != QEL_GENERAL_LIST)
            return fail("a list of kind " + std::to_string(kind));
        if (kind == QEL_INT_LIST) {
            // Why: every element is four bytes of the file.
            if (int64_t(count) * 4 > int64_t(remaining()))
                return fail("an int list longer than the file");
            qelValue result = qelMakeList(std::max(count, 1), 100, QEL_INT_LIST);
            for (int32_t i = 0; i < count; ++i) {
                int32_t n;
                int32(n);
                qelListObjectOf(result)->appendInt(n);
            }
            return result;
        }
        // Why: every element takes at least its type byte.
        if (size_t(count) > remaining())
            return fail("a list longer than the file");
        qelValue result = qelMakeList(longForm ? std::max(count, shortListRoom) : std::max(count, 1), 100, QEL_GENERAL_LIST);
        for (int32_t i = 0; i < count; ++i) {
            qelValue item = value(depth + 1);
            if (failed())
                return qelNil;
            qelListObjectOf(result)->append(item);
        }
        return result;
    }

    qelValue table(int depth)
    {
        int32_t capacity, count;
        if (!int32(capacity) || !int32(count))
            return qelNil;
        if (capacity < 1 || capacity > maximumTableCapacity || count < 0)
            return fail("a table of impossible size");
        // Why: each pair takes at least two type bytes.
        if (int64_t(count) * 2 > int64_t(remaining()))
            return fail("a table longer than the file");
        qelValue result = qelTable(capacity, 100, 75);
        for (int32_t i = 0; i < count; ++i) {
            qelValue key = value(depth + 1);
            if (failed())
                return qelNil;
            // Keys are names or numbers; anything else is not a table this file holds.
            if (!key.isString() && key.type() != QEL_INT_TYPE)
                return fail("a table key that is no name");
            qelValue item = value(depth + 1);
            if (failed())
                return qelNil;
            qelTableObject* t = qelTableOf(result);
            // The pairs come in slot order. A full table (as a table read from text is made) has
            // no empty slot, so pair i sat in slot i: it goes back there, and the table is written
            // again as it was read, where putting the keys in order could wrap them elsewhere.
            qelValue* cell = nullptr;
            auto* text = key.objectAs<qelStringObject>();
            if (count == capacity && text && !text->holdsNul() && t->find(key) < 0)
                cell = t->cellAtKnownSlot(i, text, text->hash(), true);
            if (cell)
                *cell = item;
            else
                t->put(key, item);
        }
        return result;
    }

    const uint8_t* m_bytes;
    size_t m_size;
    size_t m_at = 0;
    std::string m_error;
};

} // namespace

qelValue decodePlainValue(const uint8_t* bytes, size_t size, std::string& error)
{
    PlainReader reader(bytes, size);
    qelValue result = reader.value(0);
    if (!reader.failed() && !reader.atEnd())
        error = "bytes after the value";
    else
        error = reader.error();
    return error.empty() ? result : qelNil;
}
