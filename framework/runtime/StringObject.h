#pragma once

#include "framework/runtime/Value.h"
#include "framework/runtime/ValuePrinter.h"

#include <bit>
#include <cstdint>
#include <cstring>

// Strings (type 6): immutable cp1252 byte strings. The object holds `length` bytes and a
// terminating NUL in a pooled block; every operation that changes text makes a new string.
// Comparisons, searches and case mapping treat the text as ending at its first NUL; slices count
// in bytes.
class qelStringObject : public qelObject {
public:
    // A new object with a copy of `count` bytes (no count below 0); null when memory was refused.
    // A null `bytes` gives `count` zero bytes.
    static qelStringObject* create(const char* bytes, int32_t count)
    {
        if (count < 0)
            count = 0;
        if (count >= inlineCapacity)
            return createLong(bytes, count);
        auto* object = new qelStringObject;
        if (!object)
            return nullptr;
        if (bytes) {
            for (int32_t i = 0; i < count; ++i)
                object->m_inline[i] = bytes[i];
        }
        object->m_length = count;
        return object;
    }
    // The same for a reader that may read `readable` bytes from `bytes` (at least `count`): a
    // short text is then taken in one word.
    static qelStringObject* create(const char* bytes, int32_t count, int64_t readable)
    {
        if constexpr (std::endian::native == std::endian::little) {
            if (count >= 0 && count < inlineCapacity && readable >= inlineCapacity) {
                auto* object = new qelStringObject;
                if (!object)
                    return nullptr;
                // The bytes past the text stay zero: the first is its NUL.
                uint64_t word;
                std::memcpy(&word, bytes, sizeof word);
                word &= ~(~uint64_t(0) << (8 * count));
                std::memcpy(object->m_inline, &word, sizeof word);
                object->m_length = count;
                return object;
            }
        }
        return create(bytes, count);
    }

    // The content hash, so that equal texts find each other in tables.
    int32_t self() const override { return hash(); }
    ~qelStringObject() override;

    int32_t length() const { return m_length; }
    // The text and its NUL, held in the object itself up to 7 bytes, else in a block of its own.
    const char* chars() const { return m_length < inlineCapacity ? m_inline : m_chars; }

    // True when a NUL byte sits inside the text (before `length`).
    bool holdsNul() const
    {
        if (m_length >= inlineCapacity)
            return std::memchr(m_chars, 0, size_t(m_length)) != nullptr;
        if constexpr (std::endian::native == std::endian::little) {
            // The bytes past the text are zero: set them, then look for a zero byte in one word.
            uint64_t word;
            std::memcpy(&word, m_inline, sizeof word);
            word |= ~uint64_t(0) << (8 * m_length);
            return ((word - 0x0101010101010101) & ~word & 0x8080808080808080) != 0;
        }
        for (int32_t i = 0; i < m_length; ++i) {
            if (!m_inline[i])
                return true;
        }
        return false;
    }

    // The content hash over the `length` bytes: abc gives 846802, the empty text 0.
    // It is computed on first use: a string made and never looked up costs no hash. A hash of 0
    // is computed each time it is asked for, as is the (free) hash of the empty text.
    int32_t hash() const
    {
        if (m_hash == 0 && m_length > 0)
            m_hash = hashBytes(chars(), m_length);
        return m_hash;
    }
    static int32_t hashBytes(const char* bytes, int32_t count);

    bool equals(const char* text) const;
    bool equals(const qelStringObject& other) const;
    int32_t compare(const qelStringObject& other) const;
    int32_t collate(const qelStringObject& other) const;

    int32_t intValue() const;
    double floatValue() const;
    // 1 when the text begins with T, t, Y or y.
    int32_t truth() const;

    qelValue concat(const qelStringObject& other) const;
    // The first n bytes (all of them when n is larger; none when n is negative).
    qelValue left(int32_t n) const;
    // The last n bytes when n is at most the length, else the empty string.
    qelValue right(int32_t n) const;
    // From start, count bytes cut at the end; the empty string when start is outside the text
    // or count is not positive.
    qelValue mid(int32_t start, int32_t count) const;
    qelValue upperCase() const;
    qelValue lowerCase() const;
    qelValue folded() const;

    // Copies the text and its NUL when the length is below `size`: 1; otherwise copies nothing: 0.
    int32_t copyInto(char* destination, int32_t size) const;

    // Searches answer an index, or -1. A negative start counts as 0. Characters match on their
    // low eight bits, so 233 and '\xe9' find the same letter.
    int32_t findChar(int32_t character, int32_t start) const;
    int32_t findText(const char* text, int32_t start) const;
    int32_t findValue(const qelValue& value, int32_t start) const;
    // Backwards from start (from the last character when start is 0).
    int32_t findLast(const char* text, int32_t start) const;

private:
    // Texts shorter than this live in the object, in the room of the pointer to a block: most
    // strings are short names and words, and so take one block instead of two.
    static constexpr int32_t inlineCapacity = 8;

    qelStringObject() = default;
    static qelStringObject* createLong(const char* bytes, int32_t count);
    int32_t textLength() const;
    qelValue mapped(const uint8_t* map) const;
    char* writableChars() { return const_cast<char*>(chars()); }

    // One byte c (a signed 8-bit number) of the content hash: h ^= ((2c ^ h) << 4) ^ (h >> 2), the
    // shift right arithmetic (defined so since C++20), wrapping at 32 bits, so done unsigned. The
    // left shift distributes over the exclusive or; written as below, the terms that depend on h
    // are computed side by side, which shortens the chain from one byte to the next.
    static uint32_t hashStep(uint32_t h, char byte)
    {
        auto c = uint32_t(int32_t(static_cast<signed char>(byte)));
        return (h ^ (h << 4)) ^ (uint32_t(int32_t(h) >> 2) ^ (c << 5));
    }

    // In this order the object takes 32 bytes, a block of the allocator's 32-byte class.
    int32_t m_length = 0;
    mutable int32_t m_hash = 0;
    union {
        char* m_chars = nullptr;
        char m_inline[inlineCapacity];
    };
};

// Makers: each returns a new string value.
qelValue qelStringValue(const char* text);
qelValue qelStringValueN(const char* bytes, int32_t count);
qelValue qelRepeatChar(int32_t count, int32_t character);
qelValue qelEmptyString();
// The quoted form: in double quotes, with \t \n \r \" \\ and \xhh for every other byte below 32,
// 127 and every byte from 128.
qelValue qelQuoteString(const qelValue& string);

// Value-level operations. A value that is not a string reads as the empty text.
qelValue qelUpperCase(const qelValue& value);
qelValue qelLowerCase(const qelValue& value);
qelValue qelFoldText(const qelValue& value);
int32_t qelFindChar(const qelValue& value, int32_t character, int32_t start);
int32_t qelFindString(const qelValue& value, const char* text, int32_t start);
int32_t qelFindLast(const qelValue& value, const char* text, int32_t start);
// The character at the index; outside the text reports "String index out of range: " + index
// and gives NUL.
char qelCharAt(const qelValue& value, int32_t index);
// The characters of a string value, valid while the value lives; "" for any other value.
const char* qelCString(const qelValue& value);
// The string object of a string value, or null.
qelStringObject* qelStringOf(const qelValue& value);
