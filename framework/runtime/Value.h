#pragma once

// qelValue: the handle through which every datum of the framework is passed.
//
// Layout: a 16-byte cell of three words.
//   type     int32   the type code (qelType below)
//   payload  uint32  for codes 0 to 4 the datum itself: 0 for nil, the unique number, the boolean
//                    (0 or 1), a signed 32-bit integer, or the bits of an IEEE single float
//   object   pointer for codes 5 and up, the qelObject; always null for codes 0 to 4
// All-zero bits are nil, so zero-filled pooled memory is an array of nils.
//
// Ownership: a handle of code 5 or more holds exactly one reference to its object (the object may
// be null: "a value of that type with no object" is legal everywhere). Copying a handle adds a
// reference, destroying it drops one, and the last drop deletes the object. Assignment reads the
// source before it releases the old object, so `v = v` and `v = list[0]` while v holds the list
// are both safe. A maker that creates an object hands its one reference to the handle it returns.
// Objects held by raw pointer are counted by their owner (qelObject::ref and unref).
//
// Collections keep arrays of handles from qelNewCells; qelResizeCells moves them bit for bit.
// The runtime is single-threaded: counts are plain integers.

#include "framework/runtime/Object.h"

#include <bit>
#include <cstdint>

using QELINT = int32_t;
using QELCHAR = char;

enum qelType : int32_t {
    QEL_NIL_TYPE = 0,
    QEL_UNIQUE_TYPE = 1,
    QEL_BOOLEAN_TYPE = 2,
    QEL_INT_TYPE = 3,
    QEL_FLOAT_TYPE = 4,
    QEL_OBJECT_TYPE = 5,
    QEL_STRING_TYPE = 6,
    QEL_BUFFER_TYPE = 7,
    QEL_LIST_TYPE = 8,
    QEL_TABLE_TYPE = 9,
    QEL_STREAM_TYPE = 10,
    QEL_REGION_TYPE = 11,
    QEL_CURSOR_TYPE = 12,
    QEL_WINDOW_TYPE = 13,
    QEL_CONTEXT_TYPE = 14,
    QEL_PALETTE_TYPE = 15,
    QEL_FONT_TYPE = 16,
    QEL_TEXTMAP_TYPE = 17,
    QEL_IMAGE_TYPE = 18,
    QEL_SOUND_TYPE = 19,
    QEL_MOVIE_TYPE = 20,
    QEL_CONTROL_TYPE = 22,
    QEL_FORM_TYPE = 23,
    QEL_ARCHIVE_TYPE = 24,
    QEL_INDEX_TYPE = 25,
    QEL_REFERENCE_TYPE = 26,
    QEL_DATE_TYPE = 29,
};

// Codes from here up hold an object.
constexpr int32_t QEL_FIRST_OBJECT_TYPE = QEL_OBJECT_TYPE;

class qelValue {
public:
    constexpr qelValue() noexcept = default;
    constexpr qelValue(int n) noexcept
        : m_type(QEL_INT_TYPE)
        , m_payload(uint32_t(n))
    {
    }
    // A C++ bool would silently become the int 0 or 1; booleans are made with qelMakeBoolean.
    qelValue(bool) = delete;
    // A new string object holding a copy of the text (a null pointer gives the empty string).
    qelValue(const char* text);

    qelValue(const qelValue& other) noexcept
        : m_type(other.m_type)
        , m_payload(other.m_payload)
        , m_object(other.m_object)
    {
        if (m_object)
            ++m_object->refCount;
    }
    qelValue(qelValue&& other) noexcept
        : m_type(other.m_type)
        , m_payload(other.m_payload)
        , m_object(other.m_object)
    {
        other.m_type = QEL_NIL_TYPE;
        other.m_payload = 0;
        other.m_object = nullptr;
    }
    constexpr ~qelValue()
    {
        if (m_object)
            m_object->unref();
    }

    qelValue& operator=(const qelValue& other) noexcept
    {
        // The source may live inside the object released below: read it first.
        int32_t type = other.m_type;
        uint32_t payload = other.m_payload;
        qelObject* object = other.m_object;
        if (object)
            ++object->refCount;
        qelObject* old = m_object;
        m_type = type;
        m_payload = payload;
        m_object = object;
        if (old)
            old->unref();
        return *this;
    }
    qelValue& operator=(qelValue&& other) noexcept
    {
        if (this == &other)
            return *this;
        int32_t type = other.m_type;
        uint32_t payload = other.m_payload;
        qelObject* object = other.m_object;
        other.m_type = QEL_NIL_TYPE;
        other.m_payload = 0;
        other.m_object = nullptr;
        qelObject* old = m_object;
        m_type = type;
        m_payload = payload;
        m_object = object;
        if (old)
            old->unref();
        return *this;
    }

    int32_t type() const { return m_type; }
    // The immediate datum read as a signed 32-bit number (codes 0 to 4).
    int32_t payload() const { return int32_t(m_payload); }
    uint32_t bits() const { return m_payload; }
    float floatPayload() const { return std::bit_cast<float>(m_payload); }
    qelObject* object() const { return m_object; }
    template<typename T> T* objectAs() const { return static_cast<T*>(m_object); }

    bool isNil() const { return m_type == QEL_NIL_TYPE; }
    bool isString() const { return m_type == QEL_STRING_TYPE; }

    // Equality: an int and a float are equal when numerically equal; floats numerically; strings
    // by their bytes up to the first NUL; every other pair of the same type by identity.
    bool operator==(const qelValue& other) const;
    // True for an int equal to n or a float numerically equal to n.
    bool operator==(int n) const;
    // True for a string whose bytes equal the text.
    bool operator==(const char* text) const;

    // The cell of element n of a general list or of the value in slot n of a table, for reading
    // or writing in place (qelCellAt, Builtins.h).
    qelValue& operator[](int32_t index) const;

    // A handle from raw words with no object: an immediate (codes 0 to 4), or a value of an
    // object type that holds no object.
    static constexpr qelValue immediate(int32_t type, uint32_t payload) { return qelValue(type, payload); }

private:
    constexpr qelValue(int32_t type, uint32_t payload) noexcept
        : m_type(type)
        , m_payload(payload)
    {
    }
    friend qelValue qelMakeObjectValue(int32_t type, qelObject* object);

    int32_t m_type = QEL_NIL_TYPE;
    uint32_t m_payload = 0;
    qelObject* m_object = nullptr;
};

static_assert(sizeof(qelValue) == 16);

extern constinit const qelValue qelNil;
extern constinit const qelValue qelTrue;
extern constinit const qelValue qelFalse;

// Makers.
// A handle of the type on the object, which gains one reference (a new object's count becomes 1).
inline qelValue qelMakeObjectValue(int32_t type, qelObject* object)
{
    qelValue value(type, 0);
    if (type < QEL_FIRST_OBJECT_TYPE)
        return value;
    // A new object's count goes from 0 to 1; an object that already has owners gains one more.
    if (object)
        ++object->refCount;
    value.m_object = object;
    return value;
}
// An immediate handle with the raw payload (codes 0 to 4); no object.
inline qelValue qelMakeValue(int32_t type, int32_t payload)
{
    return qelValue::immediate(type, uint32_t(payload));
}
inline qelValue qelMakeBoolean(int32_t flag)
{
    return qelValue::immediate(QEL_BOOLEAN_TYPE, uint32_t(flag));
}
inline qelValue qelMakeInt(int32_t n)
{
    return qelValue::immediate(QEL_INT_TYPE, uint32_t(n));
}
inline qelValue qelMakeFloat(float f)
{
    return qelValue::immediate(QEL_FLOAT_TYPE, std::bit_cast<uint32_t>(f));
}
// A unique value with the next number of a run-wide counter: 1, 2, 3...
qelValue qelMakeUnique();
// The printed name of a type code as a new string value ("QEL_NIL", "int", "application-defined").
qelValue qelTypeName(int32_t code);
const char* qelTypeNameText(int32_t code);
// The value's type code (0 nil, 2 boolean, 3 int, 6 string, 8 list, 18 image, 23 form...).
inline int32_t qelTypeOf(const qelValue& value)
{
    return value.type();
}
// The object held by a value of code 5 or more (null for immediates).
inline qelObject* qelValueObject(const qelValue& value)
{
    return value.object();
}

// Relations.
bool qelEqualsInt(int32_t n, const qelValue& value);
// 32-bit hash: an object's self (its serial, or a string's content hash); an immediate's payload
// made non-negative.
int32_t qelHash(const qelValue& value);
// Three-way order for sorting: negative, 0 or positive.
int32_t qelCompare(const qelValue& a, const qelValue& b);
// As qelCompare, but strings by the reader's collation and floats less than 1 apart equal.
int32_t qelCollate(const qelValue& a, const qelValue& b);

// Lists compare element by element; the list module installs that rule here. Without it two lists
// compare equal, like other collections.
using qelListRelation = int32_t (*)(const qelValue& a, const qelValue& b, bool collate);
qelListRelation qelSetListRelation(qelListRelation relation);

// Arrays of handles for collections, from the pooled allocator, every cell nil.
inline qelValue* qelNewCells(int32_t count)
{
    if (count < 0)
        count = 0;
    // The pooled allocator hands out zero-filled blocks, and all-zero bits are nil: the block
    // is already an array of nil cells, with nothing left to construct.
    return static_cast<qelValue*>(qelAlloc(sizeof(qelValue) * size_t(count)));
}
// Releases every cell and returns the block.
void qelFreeCells(qelValue* cells, int32_t count);
// A new block of newCount cells; the first `used` cells move over (no reference changes), leaving
// nil behind; the rest are nil. Null when memory was refused.
qelValue* qelMoveCells(qelValue* cells, int32_t used, int32_t newCount);
// The same, and the old block of oldCount cells is returned.
qelValue* qelResizeCells(qelValue* cells, int32_t oldCount, int32_t used, int32_t newCount);
