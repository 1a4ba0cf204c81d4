#include "framework/runtime/Encoding.h"

#include "framework/runtime/EncodingAccess.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/StringObject.h"

#include <bit>
#include <cstring>
#include <string>

namespace {

// Builds the whole encoding in memory and hands it to the stream in one write: the stream sees
// one transfer (so a short one is reported once), and no virtual call is made per field.
class Encoder {
public:
    std::string out;
    bool reported { false };

    void value(const qelValue& v);

private:
    void byte(int32_t b) { out.push_back(char(uint8_t(b))); }
    void int32(int32_t n)
    {
        auto u = uint32_t(n);
        char bytes[4] = { char(u), char(u >> 8), char(u >> 16), char(u >> 24) };
        out.append(bytes, 4);
    }
    void int16(int32_t n)
    {
        auto u = uint32_t(n);
        char bytes[2] = { char(u), char(u >> 8) };
        out.append(bytes, 2);
    }
    void fail(const std::string& message)
    {
        qelError(message.c_str());
        reported = true;
    }
    void noEncoding(int32_t type) { fail(std::string("Cannot encode this type: ") + qelTypeNameText(type)); }
    void integer(int32_t n);
    void string(const qelValue& v);
    void list(const qelValue& v);
    void table(const qelValue& v);
    void fielded(const qelValue& v);

    int32_t m_depth { 0 };
};

void Encoder::integer(int32_t n)
{
    if (n >= -127 && n <= 127) {
        byte(0x20);
        byte(n);
    } else if (n >= -32767 && n <= 32767) {
        byte(0x21);
        int16(n);
    } else {
        byte(QEL_INT_TYPE);
        int32(n);
    }
}

void Encoder::string(const qelValue& v)
{
    qelStringObject* s = qelStringOf(v);
    int32_t length = s ? s->length() : 0;
    if (length < 256) {
        byte(0x22);
        byte(length);
    } else {
        byte(QEL_STRING_TYPE);
        int32(length);
    }
    if (length)
        out.append(s->chars(), size_t(length));
}

void Encoder::list(const qelValue& v)
{
    int32_t kind = qelEncodingAccess::listKind(v);
    int32_t count = qelEncodingAccess::listCount(v);
    if (kind == 5 && qelEncodingAccess::listCapacity(v) < 256) {
        byte(0x23);
        byte(count);
    } else {
        byte(QEL_LIST_TYPE);
        int32(count);
        byte(kind);
    }
    if (kind == 3) {
        for (int32_t i = 0; i < count; ++i)
            int32(qelEncodingAccess::intAt(v, i));
        return;
    }
    for (int32_t i = 0; i < count; ++i)
        value(qelEncodingAccess::elementAt(v, i));
}

void Encoder::table(const qelValue& v)
{
    byte(QEL_TABLE_TYPE);
    int32(qelEncodingAccess::tableCapacity(v));
    int32(qelEncodingAccess::tableCount(v));
    for (int32_t slot = qelEncodingAccess::firstSlot(v); slot >= 0; slot = qelEncodingAccess::nextSlot(v, slot)) {
        value(qelEncodingAccess::keyAt(v, slot));
        value(qelEncodingAccess::valueAt(v, slot));
    }
}

void Encoder::fielded(const qelValue& v)
{
    int32_t type = v.type();
    byte(type);
    qelEncodedFields f;
    if (!qelFieldsOf(v, f)) {
        noEncoding(type);
        return;
    }
    switch (type) {
    case QEL_REGION_TYPE: {
        for (int32_t n : { f.ints[0], f.ints[1], f.ints[2], f.ints[3] })
            int32(n);
        // A polygon's last point repeats its first and is not written.
        int32_t points = int32_t(f.points.size() / 2);
        int32_t n = points <= 1 ? 0 : points - 1;
        int32(n);
        for (int32_t i = 0; i < 2 * n; ++i)
            int32(f.points[size_t(i)]);
        break;
    }
    case QEL_FONT_TYPE:
        value(f.values[0]);
        int32(f.ints[0]);
        int32(f.ints[1]);
        break;
    case QEL_TEXTMAP_TYPE:
        int32(f.ints[0]);
        int32(f.ints[1]);
        value(f.values[0]);
        value(f.values[1]);
        break;
    case QEL_IMAGE_TYPE:
        if (f.values[0] == "context")
            fail("Cannot encode context images");
        value(f.values[0]);
        value(f.values[1]);
        break;
    case QEL_SOUND_TYPE:
        value(f.values[0]);
        int32(f.ints[0]);
        value(f.values[1]);
        break;
    case QEL_CONTROL_TYPE:
    case QEL_FORM_TYPE:
    case QEL_REFERENCE_TYPE:
        value(f.values[0]);
        break;
    case QEL_DATE_TYPE:
        int32(f.ints[0]);
        int32(f.ints[1]);
        break;
    }
}

void Encoder::value(const qelValue& v)
{
    int32_t type = v.type();
    switch (type) {
    case QEL_NIL_TYPE:
        byte(0);
        return;
    case QEL_BOOLEAN_TYPE:
        byte(v.payload() ? 0x1E : 0x1F);
        return;
    case QEL_INT_TYPE:
        integer(v.payload());
        return;
    case QEL_FLOAT_TYPE:
        byte(QEL_FLOAT_TYPE);
        int32(int32_t(v.bits()));
        return;
    case QEL_STRING_TYPE:
        string(v);
        return;
    case QEL_BUFFER_TYPE: {
        byte(QEL_BUFFER_TYPE);
        int32_t length = qelEncodingAccess::bufferLength(v);
        int32(length);
        if (length)
            out.append(reinterpret_cast<const char*>(qelEncodingAccess::bufferData(v)), size_t(length));
        return;
    }
    default:
        break;
    }

    bool nested = type == QEL_LIST_TYPE || type == QEL_TABLE_TYPE || type == QEL_REGION_TYPE || type == QEL_FONT_TYPE
        || type == QEL_TEXTMAP_TYPE || type == QEL_IMAGE_TYPE || type == QEL_SOUND_TYPE || type == QEL_CONTROL_TYPE
        || type == QEL_FORM_TYPE || type == QEL_REFERENCE_TYPE || type == QEL_DATE_TYPE;
    // Why: a value nested deeper than the decoder reads (or a list that holds itself) would write
    // bytes that can never be read back, or recurse without end.
    if (!nested || !v.object() || m_depth >= qelMaximumEncodingDepth) {
        byte(type);
        noEncoding(type);
        return;
    }
    ++m_depth;
    if (type == QEL_LIST_TYPE)
        list(v);
    else if (type == QEL_TABLE_TYPE)
        table(v);
    else
        fielded(v);
    --m_depth;
}

bool writeExactly(const qelValue& stream, const void* bytes, int32_t count, const char* message)
{
    qelStreamObject* s = qelStreamOf(stream);
    if (s && s->write(static_cast<const uint8_t*>(bytes), count) == count)
        return true;
    qelError(message);
    return false;
}

bool readExactly(const qelValue& stream, void* bytes, int32_t count, const char* message)
{
    qelStreamObject* s = qelStreamOf(stream);
    if (s && s->read(static_cast<uint8_t*>(bytes), count) == count)
        return true;
    qelError(message);
    return false;
}

int32_t littleEndian(const uint8_t* b, int count)
{
    uint32_t u = 0;
    for (int i = count - 1; i >= 0; --i)
        u = (u << 8) | b[i];
    return int32_t(u);
}

} // namespace

bool qelEncode(const qelValue& stream, const qelValue& value)
{
    Encoder encoder;
    encoder.value(value);
    bool written
        = writeExactly(stream, encoder.out.data(), int32_t(encoder.out.size()), "Cannot write QELBYTE to stream");
    return written && !encoder.reported;
}

bool qelWriteInt(const qelValue& stream, int32_t n)
{
    auto u = uint32_t(n);
    uint8_t b[4] = { uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24) };
    return writeExactly(stream, b, 4, "Cannot write QELINT to stream");
}

bool qelWriteShort(const qelValue& stream, int32_t n)
{
    auto u = uint32_t(n);
    uint8_t b[2] = { uint8_t(u), uint8_t(u >> 8) };
    return writeExactly(stream, b, 2, "Cannot write QELINT to stream");
}

bool qelWriteByte(const qelValue& stream, int32_t n)
{
    uint8_t b = uint8_t(n);
    return writeExactly(stream, &b, 1, "Cannot write QELBYTE to stream");
}

bool qelWriteFloat(const qelValue& stream, float f)
{
    auto u = std::bit_cast<uint32_t>(f);
    uint8_t b[4] = { uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24) };
    return writeExactly(stream, b, 4, "Cannot write QELFLOAT to stream");
}

int32_t qelReadInt(const qelValue& stream)
{
    uint8_t b[4];
    return readExactly(stream, b, 4, "Cannot read QELINT from stream") ? littleEndian(b, 4) : 0;
}

int32_t qelReadShort(const qelValue& stream)
{
    uint8_t b[2];
    return readExactly(stream, b, 2, "Cannot read QELINT from stream") ? int16_t(littleEndian(b, 2)) : 0;
}

int32_t qelReadByte(const qelValue& stream)
{
    uint8_t b;
    return readExactly(stream, &b, 1, "Cannot read QELBYTE from stream") ? b : 0;
}

float qelReadFloat(const qelValue& stream)
{
    uint8_t b[4];
    if (!readExactly(stream, b, 4, "Cannot read QELFLOAT from stream"))
        return 0;
    return std::bit_cast<float>(uint32_t(littleEndian(b, 4)));
}
