#pragma once

// Buffers (type 7): byte arrays with a capacity (`size`) and a used length. A buffer owns its
// block, or is a window onto part of a parent buffer (which it keeps alive), or wraps memory that
// the caller owns. Its bytes are data + offset, `length` of them in use.
//
// A buffer of size 0 is valid (an empty file, an empty encoded buffer): it has no bytes, but its
// data pointer is never null when it owns its block.

#include "framework/runtime/Value.h"

#include <cstdint>

class qelBufferObject : public qelObject {
public:
    ~qelBufferObject() override;

    uint8_t* bytes() const { return data + offset; }

    int32_t size = 0;
    int32_t length = 0;
    int32_t offset = 0;
    uint8_t* data = nullptr;
    // nil: the buffer owns `data`; a buffer value: the parent it is a window onto; false: the
    // caller's memory, never freed here.
    qelValue owner;
};

// "qelBuffer(QELINT)": an owning buffer of `size` zero bytes, length 0. A negative size reports
// "qelBuffer(QELINT): Cannot allocate buffer object of size " + size and gives nil.
qelValue qelBuffer(int32_t size);
// With `copy` nonzero, an owning buffer holding a copy of the bytes, length = size; with `copy`
// 0, a buffer over the caller's memory (which must outlive it). A negative size is refused as
// for qelBuffer.
qelValue qelBufferFromMemory(void* pointer, int32_t size, int32_t copy);
// An owning buffer of the string's bytes and its NUL, length = the string's length.
qelValue qelBufferFromValue(const qelValue& string);
// A window onto `length` bytes of the parent buffer from `offset` (counted from the parent's
// first byte). The window is cut to the parent's bytes.
qelValue qelDIBBitsBuffer(const qelValue& parent, int32_t offset, int32_t length);
// The buffer's first byte (null for a value that is not a buffer).
uint8_t* qelBufferData(const qelValue& buffer);
// Sets the used length to n, at most the size and at least 0; answers it.
int32_t qelSetBufferLength(const qelValue& buffer, int32_t n);

// The buffer object of a buffer value, or null.
qelBufferObject* qelBufferOf(const qelValue& value);
