#include "recdb/index/IndexObject.h"

#include "framework/runtime/Allocator.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/List.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"
#include "recdb/Verify.h"

#include <cstring>
#include <new>

namespace {

// The longest key text kept whole; a longer one keeps its first 239 characters. Files written
// so depend on the cut, so it stays as it is.
constexpr int32_t longestKey = 240;
constexpr int32_t cutKey = 239;

// A key value as the library stores it: its display text, NUL-terminated.
struct EncodedKey {
    char text[longestKey + 1];
    int32_t length;

    explicit EncodedKey(const qelValue& key)
    {
        qelValue display = qelValueToString(key);
        const char* chars = qelCString(display);
        int32_t count = qelCount(display);
        length = count > longestKey ? cutKey : count;
        std::memcpy(text, chars, static_cast<size_t>(length));
        text[length] = 0;
        // The library reads up to the first NUL.
        length = static_cast<int32_t>(std::strlen(text));
    }
};

// Page buffers for the library's shared cache, set before the first index opens. The library's
// own ten buffers hold little more than one lookup path, so every lookup read its leaf from the
// file again; 2048 buffers (2 MB) keep a content index of several thousand items whole, and the
// branch pages and busiest leaves of a larger one. The size changes no file: a read-only index
// writes nothing, and a writable one only keeps its changed pages longer before writing them.
constexpr int32_t cacheBuffers = 2048;

void sizePageCache()
{
    // The cache can only be rebuilt while no record file is open; a later open tries again.
    static bool sized = false;
    if (!sized)
        sized = rdbSetCacheSize(cacheBuffers) == 0;
}

} // namespace

qelIndexObject::qelIndexObject(const qelValue& name, int32_t create, int32_t writable, int32_t check)
{
    // Located content names use either separator and any letter case; the file layer finds the
    // file as it does for every other content file.
    std::string platformPath = qelPlatformPath(name);
    const char* path = platformPath.c_str();
    sizePageCache();
    if (create) {
        if (rdbCreate(&m_handle, path, 'E', 1, nullptr) != 0) {
            qelError("Cannot create index");
            return;
        }
        rdbSetAccessMode(&m_handle, 0);
        m_buffer = static_cast<uint8_t*>(qelAlloc(static_cast<size_t>(m_bufferSize)));
        m_count = 0;
        m_readOnly = 0;
        put(qelStringValue(countKey), qelMakeInt(0));
        return;
    }
    if (writable) {
        if (rdbOpen(&m_handle, path, 'E', 2, nullptr) != 0) {
            qelError("Cannot open index for writing");
            return;
        }
        if (check)
            rdbVerify(&m_handle);
        m_readOnly = 0;
    } else {
        if (rdbOpen(&m_handle, path, 'E', 1, nullptr) != 0) {
            qelError("Cannot open index");
            return;
        }
        m_readOnly = 1;
    }
    rdbSetAccessMode(&m_handle, 0);
    m_buffer = static_cast<uint8_t*>(qelAlloc(static_cast<size_t>(m_bufferSize)));
    m_count = readCount();
}

qelIndexObject::~qelIndexObject()
{
    if (!m_readOnly && m_buffer) {
        // A file that lacked its count item gains one now, and it counts itself.
        qelValue key = qelStringValue(countKey);
        int32_t stored = contains(key) ? m_count : m_count + 1;
        put(key, qelMakeInt(stored));
    }
    rdbClose(&m_handle);
    if (m_buffer)
        qelFree(m_buffer, static_cast<size_t>(m_bufferSize));
}

int32_t qelIndexObject::readCount()
{
    // A file without a count item (or with one that is not a number) counts 0 items.
    qelValue stored = get(qelStringValue(countKey));
    if (stored.type() == QEL_INT_TYPE || stored.type() == QEL_FLOAT_TYPE)
        return qelIntValue(stored);
    return 0;
}

int32_t qelIndexObject::count()
{
    return m_count;
}

int32_t qelIndexObject::contains(const qelValue& key)
{
    if (!m_buffer)
        return 0;
    EncodedKey k(key);
    int32_t status = rdbFind(&m_handle, 1, k.text, 0, m_buffer, m_bufferSize);
    return status == 0 || status == 1;
}

qelValue qelIndexObject::decodeBuffer()
{
    if (m_handle.dataLength <= 0)
        return qelNil;
    int32_t length = m_handle.dataLength < m_bufferSize ? m_handle.dataLength : m_bufferSize;
    qelValue stream = qelNewMemoryStream(m_buffer, length);
    return qelDecode(stream);
}

qelValue qelIndexObject::get(const qelValue& key)
{
    if (!contains(key))
        return qelNil;
    return decodeBuffer();
}

void qelIndexObject::put(const qelValue& key, const qelValue& value)
{
    if (m_readOnly)
        qelError("Cannot put objects into a read-only index");
    if (!m_buffer) {
        qelError("Cannot put item into index");
        return;
    }
    EncodedKey k(key);
    bool present = contains(key);
    int32_t record = m_handle.recordNumber;

    // The value is encoded into a stream that grows, so an encoding longer than the record buffer
    // is seen whole and refused rather than stored cut.
    qelValue stream = qelNewMemoryStream(nullptr, 512);
    qelEncode(stream, value);
    int32_t length = qelStreamTell(stream);
    auto* memory = static_cast<qelMemoryStream*>(qelStreamOf(stream));
    if (!memory || length > m_bufferSize) {
        qelError("Cannot put item into index");
        return;
    }
    int32_t status;
    if (present) {
        status = rdbPut(&m_handle, 1, k.text, record, memory->data(), length);
    } else {
        status = rdbNextSequence(&m_handle);
        if (status == 0)
            status = rdbAdd(&m_handle, 1, k.text, m_handle.recordNumber, memory->data(), length);
    }
    if (status != 0) {
        qelError("Cannot put item into index");
        return;
    }
    if (!present)
        ++m_count;
}

qelValue qelIndexObject::scan(const qelValue& prefix, qelIndexStopFunction stop, bool values)
{
    if (!m_buffer)
        return qelNil;
    EncodedKey p(prefix);
    auto matches = [&] {
        return std::strncmp(static_cast<const char*>(m_handle.keyPointer), p.text, static_cast<size_t>(p.length)) == 0;
    };
    int32_t status = rdbFind(&m_handle, 1, p.text, 0, m_buffer, m_bufferSize);
    if (status != 0 && status != 1 && !(status == 2 && matches()))
        return qelNil;
    qelValue list;
    for (;;) {
        qelValue element = values ? decodeBuffer() : qelStringValue(static_cast<const char*>(m_handle.keyPointer));
        if (list.isNil())
            list = qelMakeList(4, 100, 5);
        qelAddItem(list, element);
        if (stop && stop())
            break;
        if (rdbNext(&m_handle, 1, m_buffer, m_bufferSize) != 0 || !matches())
            break;
    }
    return list;
}

qelValue qelIndexObject::valuesWithPrefix(const qelValue& prefix, qelIndexStopFunction stop)
{
    return scan(prefix, stop, true);
}

qelValue qelIndexObject::keysWithPrefix(const qelValue& prefix, qelIndexStopFunction stop)
{
    return scan(prefix, stop, false);
}

qelValue qelOpenIndex(const qelValue& name, int32_t writable, int32_t check)
{
    return qelMakeObjectValue(QEL_INDEX_TYPE, new qelIndexObject(name, 0, writable, check));
}

qelValue qelCreateIndex(const qelValue& name)
{
    return qelMakeObjectValue(QEL_INDEX_TYPE, new qelIndexObject(name, 1, 1, 0));
}

qelIndexObject* qelIndexObjectOf(const qelValue& index)
{
    if (index.type() != QEL_INDEX_TYPE)
        return nullptr;
    return dynamic_cast<qelIndexObject*>(index.object());
}

qelValue qelIndexValuesWithPrefix(const qelValue& index, const qelValue& prefix, qelIndexStopFunction stop)
{
    qelIndexObject* object = qelIndexObjectOf(index);
    return object ? object->valuesWithPrefix(prefix, stop) : qelNil;
}

std::string qelIndexKeyText(const qelValue& key)
{
    EncodedKey k(key);
    return std::string(k.text, static_cast<size_t>(k.length));
}
