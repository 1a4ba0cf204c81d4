// The record codec of the field layer: field lists checked, variables packed into a stored record
// and unpacked from one, and the index keys built from the variables.

#include "recdb/FieldCodec.h"

#include <cstring>

namespace recdb {

namespace {

    constexpr uint16_t EndMark = 65535;

    bool validType(uint8_t t)
    {
        switch (t) {
        case 'S':
        case 'B':
        case 'M':
        case 'X':
        case 'I':
        case 'L':
        case 'H':
        case 'U':
        case 'F':
        case 'D':
            return true;
        default:
            return false;
        }
    }

    size_t stringLength(const rdbField& f)
    {
        const char* s = static_cast<const char*>(f.variable);
        size_t n = 0;
        while (n <= f.length && s[n])
            ++n;
        return n;
    }

    // Field values as bytes in this machine's order, and their stored size.
    int numberSize(uint8_t type)
    {
        switch (type) {
        case 'D':
            return 8;
        case 'F':
        case 'I':
        case 'L':
            return 4;
        case 'H':
        case 'U':
            return 2;
        case 'M':
            return 6;
        default:
            return 0;
        }
    }

    bool isEmpty(const rdbField& f)
    {
        switch (f.type) {
        case 'X':
            return true;
        case 'S':
            return stringLength(f) == 0;
        case 'B':
            return f.length == 0;
        default: {
            const uint8_t* b = static_cast<const uint8_t*>(f.variable);
            for (int i = 0; i < numberSize(f.type); ++i) {
                if (b[i])
                    return false;
            }
            return true;
        }
        }
    }

    void clearVariable(const rdbField& f)
    {
        if (!f.variable)
            return;
        size_t size = f.type == 'S' ? size_t(f.length) + 1 : f.type == 'B' ? f.length : size_t(numberSize(f.type));
        std::memset(f.variable, 0, size);
    }

    void put16(std::vector<uint8_t>& out, uint16_t v, bool swap)
    {
        uint8_t b[2];
        store16(b, v);
        if (swap)
            swap16At(b);
        out.insert(out.end(), b, b + 2);
    }

    uint16_t get16(const uint8_t* p, bool swap)
    {
        uint8_t b[2] = { p[0], p[1] };
        if (swap)
            swap16At(b);
        return load16(b);
    }

    // Numbers are swapped for a file of the other byte order; 'M' is 6 plain bytes.
    void swapNumber(uint8_t* b, uint8_t type)
    {
        switch (numberSize(type)) {
        case 8:
            swap64At(b);
            break;
        case 4:
            swap32At(b);
            break;
        case 2:
            swap16At(b);
            break;
        default:
            break;
        }
    }

    uint16_t checkValue(const uint8_t* data, int length)
    {
        uint16_t c = 0;
        for (int i = 4; i < length; ++i)
            c = static_cast<uint16_t>((c + int8_t(data[i])) * 2);
        return c;
    }

    double numericValue(const rdbField& d)
    {
        const uint8_t* v = static_cast<const uint8_t*>(d.variable);
        switch (d.type) {
        case 'I':
        case 'L': {
            int32_t x;
            std::memcpy(&x, v, 4);
            return x;
        }
        case 'H': {
            int16_t x;
            std::memcpy(&x, v, 2);
            return x;
        }
        case 'U':
            return load16(v);
        case 'F': {
            float x;
            std::memcpy(&x, v, 4);
            return x;
        }
        case 'D': {
            double x;
            std::memcpy(&x, v, 8);
            return x;
        }
        default:
            return 0;
        }
    }

    // The bytes of a field as text: a string, or a 'B' field's bytes.
    void textOf(const rdbField& d, const uint8_t*& bytes, size_t& length)
    {
        bytes = static_cast<const uint8_t*>(d.variable);
        length = d.type == 'S' ? stringLength(d) : d.type == 'B' ? d.length : 0;
    }

    // Appends one value in the form of a key type; -26 when it passes 242 bytes.
    int32_t appendKeyPart(int type, const rdbField* d, int maxLength, uint8_t* key, int& pos)
    {
        const uint8_t* bytes = nullptr;
        size_t length = 0;
        if (d)
            textOf(*d, bytes, length);
        uint8_t number[8] = {};
        int size = 0;
        double x = d ? numericValue(*d) : 0;
        switch (type) {
        case KeyString:
        case KeyStringNoCase: {
            if (bytes) {
                const void* nul = std::memchr(bytes, 0, length);
                if (nul)
                    length = size_t(static_cast<const uint8_t*>(nul) - bytes);
            }
            length = length < size_t(maxLength) ? length : size_t(maxLength);
            if (pos + int(length) + 1 > MaxKeyLength)
                return RDB_FIELD_TOO_LONG;
            if (length)
                std::memcpy(key + pos, bytes, length);
            key[pos + int(length)] = 0;
            pos += int(length) + 1;
            return 0;
        }
        case KeyInt32:
        case KeySignedInt32:
            store32(number, static_cast<int32_t>(x));
            size = 4;
            break;
        case KeyInt16: {
            int16_t v = static_cast<int16_t>(x);
            std::memcpy(number, &v, 2);
            size = 2;
            break;
        }
        case KeyUInt16:
            store16(number, static_cast<uint16_t>(x));
            size = 2;
            break;
        case KeyFloat: {
            float v = static_cast<float>(x);
            std::memcpy(number, &v, 4);
            size = 4;
            break;
        }
        case KeyDouble:
            std::memcpy(number, &x, 8);
            size = 8;
            break;
        case KeySixBytes:
            if (d && d->type == 'M')
                std::memcpy(number, d->variable, 6);
            size = 6;
            break;
        default: { // 2, 11..20: a length byte and the bytes
            int cut = maxLength < 241 ? maxLength : 241;
            length = length < size_t(cut) ? length : size_t(cut);
            if (pos + 1 + int(length) > MaxKeyLength)
                return RDB_FIELD_TOO_LONG;
            key[pos] = static_cast<uint8_t>(length);
            if (length)
                std::memcpy(key + pos + 1, bytes, length);
            pos += 1 + int(length);
            return 0;
        }
        }
        if (pos + size > MaxKeyLength)
            return RDB_FIELD_TOO_LONG;
        std::memcpy(key + pos, number, size_t(size));
        pos += size;
        return 0;
    }

} // namespace

int fieldCount(const rdbField* f)
{
    int n = 0;
    while (n < MaxFields && f[n].type != 'E')
        ++n;
    return n;
}

bool isIndexed(const rdbField& f)
{
    return f.keyType != 'N' && f.index >= 1;
}

int32_t checkList(const Database& db, const rdbField* f, int count)
{
    for (int i = 0; i < count; ++i) {
        const rdbField& d = f[i];
        if (!validType(d.type))
            return RDB_BAD_FIELD_TYPE;
        if (d.order != 'U' && d.order != 'D' && d.order != 'N')
            return RDB_BAD_FIELD_ORDER;
        if (d.length >= 31233)
            return RDB_BAD_FIELD_LENGTH;
        if (d.index > 15 || (d.keyType != 'N' && d.index == 0))
            return RDB_BAD_INDEX;
        if (d.keyType != 'N') {
            int want = d.keyType == 'S' ? int(KeyString) : d.keyType;
            if (want > MaxKeyType || db.header.keyType(d.index) != want)
                return RDB_BAD_FIELD_KEY_TYPE;
        }
        if (d.type != 'X' && !d.variable)
            return RDB_BAD_FIELD_TYPE;
        if (d.type == 'S' && stringLength(d) > d.length)
            return RDB_FIELD_TOO_LONG;
    }
    return 0;
}

int32_t pack(const Database& db, const rdbField* f, int count, int32_t kind, std::vector<uint8_t>& out)
{
    bool swap = db.swap;
    out.assign(4, 0);
    out.push_back(static_cast<uint8_t>(kind));
    for (int i = 0; i < count; ++i) {
        const rdbField& d = f[i];
        if (!isIndexed(d) && isEmpty(d))
            continue;
        put16(out, static_cast<uint16_t>(i), swap);
        const uint8_t* v = static_cast<const uint8_t*>(d.variable);
        switch (d.type) {
        case 'X':
            break;
        case 'S':
            out.insert(out.end(), v, v + stringLength(d));
            out.push_back(0);
            break;
        case 'B':
            put16(out, d.length, swap);
            out.insert(out.end(), v, v + d.length);
            break;
        default: {
            uint8_t b[8];
            std::memcpy(b, v, size_t(numberSize(d.type)));
            if (swap)
                swapNumber(b, d.type);
            out.insert(out.end(), b, b + numberSize(d.type));
            break;
        }
        }
        if (out.size() > size_t(MaxRecord))
            return RDB_BUFFER_SHORT;
    }
    put16(out, EndMark, swap);
    if (out.size() > size_t(MaxRecord))
        return RDB_BUFFER_SHORT;
    uint8_t head[4];
    store16(head, rdbFieldSignature(f));
    store16(head + 2, checkValue(out.data(), int(out.size())));
    if (swap) {
        swap16At(head);
        swap16At(head + 2);
    }
    std::memcpy(out.data(), head, 4);
    return 0;
}

int32_t unpack(const Database& db, const rdbField* f, int count, const uint8_t* data, int length, int32_t* kind)
{
    bool swap = db.swap;
    // Why: the head, the kind and the end mark take 7 bytes; anything shorter is damaged.
    if (length < 7 || get16(data + 2, swap) != checkValue(data, length))
        return RDB_BAD_CHECK;
    if (get16(data, swap) != rdbFieldSignature(f))
        return RDB_BAD_FIELD_LIST;
    for (int i = 0; i < count; ++i)
        clearVariable(f[i]);
    int pos = 5;
    int last = -1;
    for (;;) {
        // Why: every field number, and the end mark, needs two bytes inside the record.
        if (pos + 2 > length)
            return RDB_BAD_CHECK;
        uint16_t number = get16(data + pos, swap);
        pos += 2;
        if (number == EndMark)
            break;
        if (int(number) <= last || number >= count)
            return RDB_BAD_FIELD_LIST;
        last = number;
        const rdbField& d = f[number];
        uint8_t* v = static_cast<uint8_t*>(d.variable);
        switch (d.type) {
        case 'X':
            break;
        case 'S': {
            // Why: the string must end inside the record; it is cut to the variable's length.
            const void* nul = std::memchr(data + pos, 0, size_t(length - pos));
            if (!nul)
                return RDB_BAD_CHECK;
            size_t n = size_t(static_cast<const uint8_t*>(nul) - (data + pos));
            std::memcpy(v, data + pos, n < d.length ? n : d.length);
            pos += int(n) + 1;
            break;
        }
        case 'B': {
            if (pos + 2 > length)
                return RDB_BAD_CHECK;
            int n = get16(data + pos, swap);
            pos += 2;
            // Why: the bytes must lie inside the record; the variable takes at most its length.
            if (pos + n > length)
                return RDB_BAD_CHECK;
            std::memcpy(v, data + pos, size_t(n < d.length ? n : d.length));
            pos += n;
            break;
        }
        default: {
            int n = numberSize(d.type);
            if (pos + n > length)
                return RDB_BAD_CHECK;
            uint8_t b[8];
            std::memcpy(b, data + pos, size_t(n));
            if (swap)
                swapNumber(b, d.type);
            std::memcpy(v, b, size_t(n));
            pos += n;
            break;
        }
        }
    }
    if (kind)
        *kind = data[4];
    return 0;
}

int32_t makeKey(const Database& db, const rdbField* f, int count, int i, uint8_t* key, int& length)
{
    int index = f[i].index;
    int type = db.header.keyType(index);
    length = 0;
    if (type != 8)
        return appendKeyPart(type, &f[i], MaxKeyLength, key, length);
    const uint8_t* segments = db.keys.segments[index];
    if (!segments)
        return RDB_BAD_SEGMENTS;
    int pos = 1;
    for (int s = 0; s < MaxSegments; ++s) {
        const uint8_t* d = segments + s * SegmentSize;
        if (d[0] == SegmentListEnd)
            break;
        int segType = d[0] & 0x1F;
        if (d[0] > MaxKeyType || segType == KeyComposite)
            return RDB_BAD_SEGMENTS;
        int32_t field = load32(d + 4);
        int maxLength = d[8] ? d[8] : MaxKeyLength;
        const rdbField* source = field >= 0 && field < count ? &f[field] : nullptr;
        int32_t status = appendKeyPart(segType, source, maxLength, key, pos);
        if (status)
            return status;
    }
    key[0] = static_cast<uint8_t>(pos - 1);
    length = pos;
    return 0;
}

int32_t keysOf(const Database& db, const rdbField* f, int count, std::vector<Key>& keys)
{
    keys.assign(size_t(count), Key {});
    for (int i = 0; i < count; ++i) {
        if (!isIndexed(f[i]))
            continue;
        int32_t status = makeKey(db, f, count, i, keys[size_t(i)].bytes, keys[size_t(i)].length);
        if (status)
            return status;
    }
    return 0;
}

// The index keys of a stored record: its fields unpacked into the scratch variables, then keyed.
int32_t storedKeys(const Database& db, Scratch& scratch, int count, const uint8_t* data, int length, int32_t* kind,
    std::vector<Key>& keys)
{
    int32_t status = unpack(db, scratch.fields.data(), count, data, length, kind);
    return status ? status : keysOf(db, scratch.fields.data(), count, keys);
}

Scratch::Scratch(const rdbField* f, int count)
{
    fields.assign(f, f + count + 1);
    storage.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        size_t size = f[i].type == 'S' ? size_t(f[i].length) + 1 : f[i].type == 'B' ? f[i].length : 8;
        storage[size_t(i)].assign(size + 1, 0);
        fields[size_t(i)].variable = storage[size_t(i)].data();
    }
}

} // namespace recdb
