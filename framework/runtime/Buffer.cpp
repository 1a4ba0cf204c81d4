#include "framework/runtime/Buffer.h"
#include "framework/runtime/Allocator.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// An owning buffer of size 0 still takes a one-byte block, so its data pointer is never null
// (callers hand it to memcpy and friends with a count of 0).
size_t blockSize(int32_t size)
{
    return size > 0 ? size_t(size) : 1;
}

qelValue refuseSize(int32_t size)
{
    qelError(("qelBuffer(QELINT): Cannot allocate buffer object of size " + std::to_string(size)).c_str());
    return qelNil;
}

// A new owning buffer of `size` zero bytes, or null when memory was refused.
qelBufferObject* newOwningBuffer(int32_t size)
{
    auto* buffer = new qelBufferObject;
    if (!buffer)
        return nullptr;
    buffer->data = static_cast<uint8_t*>(qelAlloc(blockSize(size)));
    if (!buffer->data) {
        delete buffer;
        return nullptr;
    }
    buffer->size = size;
    return buffer;
}

} // namespace

qelBufferObject::~qelBufferObject()
{
    if (owner.isNil() && data)
        qelFree(data, blockSize(size));
}

qelValue qelBuffer(int32_t size)
{
    if (size < 0)
        return refuseSize(size);
    qelBufferObject* buffer = newOwningBuffer(size);
    if (!buffer)
        return refuseSize(size);
    return qelMakeObjectValue(QEL_BUFFER_TYPE, buffer);
}

qelValue qelBufferFromMemory(void* pointer, int32_t size, int32_t copy)
{
    if (size < 0 || (!pointer && size > 0))
        return refuseSize(size);
    if (copy) {
        qelBufferObject* buffer = newOwningBuffer(size);
        if (!buffer)
            return refuseSize(size);
        if (size)
            std::memcpy(buffer->data, pointer, size_t(size));
        buffer->length = size;
        return qelMakeObjectValue(QEL_BUFFER_TYPE, buffer);
    }
    auto* buffer = new qelBufferObject;
    if (!buffer)
        return qelMakeObjectValue(QEL_BUFFER_TYPE, nullptr);
    buffer->data = static_cast<uint8_t*>(pointer);
    buffer->size = buffer->length = size;
    buffer->owner = qelFalse;
    return qelMakeObjectValue(QEL_BUFFER_TYPE, buffer);
}

qelValue qelBufferFromValue(const qelValue& string)
{
    qelStringObject* text = qelStringOf(string);
    int32_t length = text ? text->length() : 0;
    qelBufferObject* buffer = newOwningBuffer(length + 1);
    if (!buffer)
        return refuseSize(length + 1);
    if (length)
        std::memcpy(buffer->data, text->chars(), size_t(length));
    buffer->length = length;
    return qelMakeObjectValue(QEL_BUFFER_TYPE, buffer);
}

qelValue qelDIBBitsBuffer(const qelValue& parent, int32_t offset, int32_t length)
{
    qelBufferObject* source = qelBufferOf(parent);
    if (!source)
        return qelNil;
    // The window never reaches outside the parent's bytes.
    int32_t start = std::clamp(offset, 0, source->size);
    int32_t available = source->size - start;
    auto* window = new qelBufferObject;
    if (!window)
        return qelMakeObjectValue(QEL_BUFFER_TYPE, nullptr);
    window->owner = parent;
    window->data = source->bytes();
    window->offset = start;
    window->size = window->length = std::clamp(length, 0, available);
    return qelMakeObjectValue(QEL_BUFFER_TYPE, window);
}

uint8_t* qelBufferData(const qelValue& buffer)
{
    qelBufferObject* object = qelBufferOf(buffer);
    return object ? object->bytes() : nullptr;
}

int32_t qelSetBufferLength(const qelValue& buffer, int32_t n)
{
    qelBufferObject* object = qelBufferOf(buffer);
    if (!object)
        return 0;
    object->length = std::clamp(n, 0, object->size);
    return object->length;
}

qelBufferObject* qelBufferOf(const qelValue& value)
{
    return value.type() == QEL_BUFFER_TYPE ? value.objectAs<qelBufferObject>() : nullptr;
}
