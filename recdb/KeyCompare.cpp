#include "recdb/KeyCompare.h"

#include "recdb/Format.h"

#include <cstring>

namespace recdb {

namespace {

    template<typename T> T loadAs(const uint8_t* p)
    {
        T v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }

    uint8_t foldAscii(uint8_t c)
    {
        return (c >= 'a' && c <= 'z') ? static_cast<uint8_t>(c - 'a' + 'A') : c;
    }

    int compareBytes(const uint8_t* a, int aLength, const uint8_t* b, int bLength)
    {
        int common = aLength < bLength ? aLength : bLength;
        if (common > 0) {
            int r = std::memcmp(a, b, static_cast<size_t>(common));
            if (r)
                return r < 0 ? -1 : 1;
        }
        return threeWay(aLength, bLength);
    }

    int compareComposite(
        const uint8_t* a, int aLength, const uint8_t* b, int bLength, const uint8_t* segments, bool* unordered)
    {
        if (!segments) {
            *unordered = true;
            return 0;
        }
        // The key's own length byte bounds its segments.
        int aEnd = aLength > 0 && a[0] + 1 <= aLength ? a[0] + 1 : 0;
        int bEnd = bLength > 0 && b[0] + 1 <= bLength ? b[0] + 1 : 0;
        int aPos = 1;
        int bPos = 1;
        for (int i = 0; i < MaxSegments; ++i) {
            const uint8_t* d = segments + i * SegmentSize;
            if (d[0] == SegmentListEnd)
                return 0;
            int type = d[0] & 0x1F;
            // Why: a nested composite has no segment list of its own.
            if (type == KeyComposite) {
                *unordered = true;
                return 0;
            }
            int aSeg = keyLength(type, a + aPos, aEnd - aPos);
            int bSeg = keyLength(type, b + bPos, bEnd - bPos);
            // When either key runs out of bytes the keys are equal.
            if (aSeg < 0 || bSeg < 0)
                return 0;
            int r = compareKeys(type, a + aPos, aSeg, b + bPos, bSeg, nullptr, unordered);
            if (r)
                return d[9] ? -r : r;
            aPos += aSeg;
            bPos += bSeg;
        }
        return 0;
    }

} // namespace

int compareKeys(
    int type, const uint8_t* a, int aLength, const uint8_t* b, int bLength, const uint8_t* segments, bool* unordered)
{
    // Types 16..20 differ only so that programs can tell their indexes apart.
    if (type >= KeyCountedFirst && type <= MaxKeyType)
        type = KeyCounted;
    switch (type) {
    case KeyString:
        // The keys end with their NUL; comparing the lengths too orders a prefix first.
        return compareBytes(a, aLength, b, bLength);
    case KeyStringNoCase: {
        int common = aLength < bLength ? aLength : bLength;
        for (int i = 0; i < common; ++i) {
            uint8_t x = foldAscii(a[i]);
            uint8_t y = foldAscii(b[i]);
            if (x != y)
                return x < y ? -1 : 1;
        }
        return threeWay(aLength, bLength);
    }
    case KeyCounted:
        return compareBytes(a + 1, aLength - 1, b + 1, bLength - 1);
    // Integers compare three-way: a wrapped difference would make the order intransitive for
    // keys more than 2^31 apart.
    case KeyInt32:
    case KeySignedInt32:
        return threeWay(loadAs<int32_t>(a), loadAs<int32_t>(b));
    case KeyInt16:
        return threeWay(loadAs<int16_t>(a), loadAs<int16_t>(b));
    case KeyFloat:
        return threeWay(loadAs<float>(a), loadAs<float>(b));
    case KeyDouble:
        return threeWay(loadAs<double>(a), loadAs<double>(b));
    case KeyComposite:
        return compareComposite(a, aLength, b, bLength, segments, unordered);
    case KeySixBytes:
        return compareBytes(a, 6, b, 6);
    case KeyUInt16:
        return threeWay(loadAs<uint16_t>(a), loadAs<uint16_t>(b));
    default:
        *unordered = true;
        return 0;
    }
}

} // namespace recdb
