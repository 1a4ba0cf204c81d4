#include "framework/runtime/Stream.h"

#include "framework/runtime/EncodingAccess.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/StringObject.h"

#include "platform/sys/File.h"

qelStreamObject* qelStreamOf(const qelValue& stream)
{
    if (stream.type() != QEL_STREAM_TYPE)
        return nullptr;
    return static_cast<qelStreamObject*>(stream.object());
}

// A value that is no stream answers 0 everywhere: the callers pass streams only, but a mistaken
// one must not reach a wrong object.
int32_t qelStreamIsWritable(const qelValue& stream)
{
    qelStreamObject* s = qelStreamOf(stream);
    return s ? s->isWritable() : 0;
}

int32_t qelStreamIsOpen(const qelValue& stream)
{
    qelStreamObject* s = qelStreamOf(stream);
    return s ? s->isOpen() : 0;
}

int32_t qelStreamTell(const qelValue& stream)
{
    qelStreamObject* s = qelStreamOf(stream);
    return s ? s->tell() : 0;
}

int32_t qelStreamFlush(const qelValue& stream)
{
    qelStreamObject* s = qelStreamOf(stream);
    return s ? s->flush() : 0;
}

int32_t qelStreamSeek(const qelValue& streamOrList, const qelValue& argument)
{
    if (qelStreamObject* s = qelStreamOf(streamOrList))
        return s->seek(argument.type() == QEL_INT_TYPE ? argument.payload() : 0);
    if (streamOrList.type() == QEL_LIST_TYPE)
        return qelEncodingAccess::removeAll(streamOrList, argument);
    return 0;
}

bool qelWrite(const qelValue& stream, const qelValue& bufOrString)
{
    const uint8_t* bytes;
    int32_t count;
    if (qelStringObject* s = qelStringOf(bufOrString)) {
        bytes = reinterpret_cast<const uint8_t*>(s->chars());
        count = s->length();
    } else if (bufOrString.type() == QEL_BUFFER_TYPE) {
        bytes = qelEncodingAccess::bufferData(bufOrString);
        count = qelEncodingAccess::bufferLength(bufOrString);
    } else {
        qelArgTypeError("qelWrite(stream,bufOrString)", 2);
        return false;
    }
    qelStreamObject* s = qelStreamOf(stream);
    if (!s || count <= 0)
        return false;
    return s->write(bytes, count) > 0;
}

bool qelReadStreamToBuffer(const qelValue& stream, const qelValue& buffer)
{
    qelStreamObject* s = qelStreamOf(stream);
    if (!s || buffer.type() != QEL_BUFFER_TYPE)
        return false;
    int32_t capacity = qelEncodingAccess::bufferSize(buffer);
    uint8_t* data = qelEncodingAccess::bufferData(buffer);
    int32_t n = (capacity > 0 && data) ? s->read(data, capacity) : 0;
    if (n < 0)
        n = 0;
    qelEncodingAccess::setBufferLength(buffer, n);
    return n > 0;
}

bool qelFileExists(const qelValue& name)
{
    std::string path = qelPlatformPath(name);
    return !path.empty() && platform::File::exists(path);
}

bool qelDeleteFile(const qelValue& name)
{
    std::string path = qelPlatformPath(name);
    return !path.empty() && platform::File::remove(path);
}
