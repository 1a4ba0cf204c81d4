#include "platform/gfx/Bmp.h"

#include <cstring>

namespace platform::gfx {

const char* bmpErrorText(BmpError error)
{
    switch (error) {
    case BmpError::None:
        return "no error";
    case BmpError::Truncated:
        return "truncated bitmap data";
    case BmpError::BadHeaderSize:
        return "unsupported bitmap header size";
    case BmpError::BadPlanes:
        return "bitmap plane count is not 1";
    case BmpError::BadBitCount:
        return "unsupported bits per pixel";
    case BmpError::BadCompression:
        return "unsupported bitmap compression";
    case BmpError::BadDimensions:
        return "bad bitmap dimensions";
    case BmpError::TooLarge:
        return "bitmap too large";
    case BmpError::BadColorCount:
        return "bad colour count";
    case BmpError::SizeMismatch:
        return "bitmap sizes disagree with the data";
    case BmpError::RleOutOfBounds:
        return "run-length data writes outside the bitmap";
    case BmpError::RleMalformed:
        return "malformed run-length data";
    }
    return "unknown bitmap error";
}

namespace {

    constexpr size_t fileHeaderSize = 14;
    constexpr size_t infoHeaderSize = 40;

    uint16_t u16(const uint8_t* p)
    {
        return uint16_t(p[0] | (p[1] << 8));
    }
    uint32_t u32(const uint8_t* p)
    {
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    }

    void put16(std::vector<uint8_t>& out, uint16_t v)
    {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    }
    void put32(std::vector<uint8_t>& out, uint32_t v)
    {
        put16(out, uint16_t(v));
        put16(out, uint16_t(v >> 16));
    }

    constexpr uint32_t coreHeaderSize = 12;
    // BI_BITFIELDS: 16- or 32-bit pixels whose channels lie where three masks say.
    constexpr uint32_t bitFieldsCompression = 3;

    // One colour channel of a bit-field pixel: where its mask lies and how to widen it to 8 bits.
    struct Channel {
        uint32_t mask = 0;
        int shift = 0;
        uint64_t max = 0;

        explicit Channel(uint32_t m)
            : mask(m)
        {
            if (!mask)
                return;
            while (!((mask >> shift) & 1))
                ++shift;
            uint32_t bits = mask >> shift;
            int width = 0;
            while (width < 32 && (bits >> width))
                ++width;
            max = (uint64_t(1) << width) - 1;
        }
        uint8_t of(uint32_t pixel) const
        {
            if (!mask)
                return 0;
            return uint8_t(uint64_t((pixel & mask) >> shift) * 255 / max);
        }
    };

    // Rewrites 16- or 32-bit rows of bit-field pixels as 32-bit blue-green-red-zero rows, which
    // is what every other part of the system draws.
    void widenBitFields(const uint8_t* source, size_t sourceStride, int bits, const uint32_t masks[3], Dib& dib)
    {
        Channel red(masks[0]), green(masks[1]), blue(masks[2]);
        size_t rowBytes = dib.stride();
        int width = dib.width();
        int height = dib.height();
        dib.bits.assign(rowBytes * size_t(height), 0);
        for (int y = 0; y < height; ++y) {
            const uint8_t* in = source + size_t(y) * sourceStride;
            uint8_t* out = dib.bits.data() + size_t(y) * rowBytes;
            for (int x = 0; x < width; ++x) {
                uint32_t pixel = bits == 16 ? u16(in + 2 * size_t(x)) : u32(in + 4 * size_t(x));
                out[4 * x] = blue.of(pixel);
                out[4 * x + 1] = green.of(pixel);
                out[4 * x + 2] = red.of(pixel);
            }
        }
    }

    // Writes the pixels of one run into the expanded 4- or 8-bit row, refusing any pixel past the
    // right edge or above the top row (a run may not wrap to the next line).
    class RleWriter {
    public:
        explicit RleWriter(Dib& dib)
            : m_dib(dib)
            , m_width(dib.width())
            , m_height(dib.height())
        {
        }

        bool put(unsigned index)
        {
            if (m_x >= m_width || m_y >= m_height)
                return false;
            // Rows are stored bottom-up and run-length data always starts at the bottom row.
            uint8_t* row = m_dib.bits.data() + size_t(m_y) * m_dib.stride();
            if (m_dib.header.bitCount == 8) {
                row[m_x] = uint8_t(index);
            } else {
                uint8_t& byte = row[m_x >> 1];
                byte = (m_x & 1) ? uint8_t((byte & 0xF0) | (index & 0xF)) : uint8_t((byte & 0x0F) | (index << 4));
            }
            ++m_x;
            return true;
        }
        void endLine()
        {
            m_x = 0;
            ++m_y;
        }
        bool move(int dx, int dy)
        {
            // The position may reach the right edge or the row past the top, but never beyond:
            // a later pixel there is refused by put().
            if (m_x + dx > m_width || m_y + dy > m_height)
                return false;
            m_x += dx;
            m_y += dy;
            return true;
        }

    private:
        Dib& m_dib;
        int m_x = 0;
        int m_y = 0;
        int m_width;
        int m_height;
    };

    BmpError decodeRle(std::span<const uint8_t> data, Dib& dib)
    {
        bool four = dib.header.bitCount == 4;
        RleWriter writer(dib);
        size_t i = 0;
        while (i < data.size()) {
            // Every code is at least a pair; a lone last byte is a cut stream.
            if (data.size() - i < 2)
                return BmpError::Truncated;
            unsigned count = data[i];
            unsigned value = data[i + 1];
            i += 2;
            if (count > 0) {
                for (unsigned k = 0; k < count; ++k) {
                    unsigned index = four ? ((k & 1) ? value & 0xF : value >> 4) : value;
                    if (!writer.put(index))
                        return BmpError::RleOutOfBounds;
                }
                continue;
            }
            if (value == 0) {
                writer.endLine();
            } else if (value == 1) {
                return BmpError::None;
            } else if (value == 2) {
                if (data.size() - i < 2)
                    return BmpError::Truncated;
                if (!writer.move(data[i], data[i + 1]))
                    return BmpError::RleOutOfBounds;
                i += 2;
            } else {
                size_t bytes = four ? (value + 1) / 2 : value;
                size_t padded = (bytes + 1) & ~size_t(1);
                // The literal run and its padding must both be inside the stream.
                if (data.size() - i < padded)
                    return BmpError::Truncated;
                for (unsigned k = 0; k < value; ++k) {
                    unsigned index = four ? ((k & 1) ? data[i + k / 2] & 0xF : data[i + k / 2] >> 4) : data[i + k];
                    if (!writer.put(index))
                        return BmpError::RleOutOfBounds;
                }
                i += padded;
            }
        }
        // The declared data ended without an end-of-bitmap code: what was drawn stands.
        return BmpError::None;
    }

} // namespace

BmpError decodeBmp(std::span<const uint8_t> bytes, Dib& out)
{
    size_t total = bytes.size();
    size_t headerAt = 0;
    bool isFile = total >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    uint32_t fileSize = 0;
    uint32_t pixelOffset = 0;
    if (isFile) {
        if (total < fileHeaderSize)
            return BmpError::Truncated;
        fileSize = u32(&bytes[2]);
        pixelOffset = u32(&bytes[10]);
        // The file size must be present in full (bytes after it are ignored) and must at least
        // hold the file header, or the sizes below would be computed from a negative length.
        if (fileSize > total)
            return BmpError::Truncated;
        if (fileSize < fileHeaderSize)
            return BmpError::SizeMismatch;
        total = fileSize;
        headerAt = fileHeaderSize;
    }
    if (total - headerAt < 4)
        return BmpError::Truncated;
    const uint8_t* h = bytes.data() + headerAt;
    BitmapInfoHeader header;
    header.size = u32(h);
    // The 12-byte core header of the older format, the information header and its two longer
    // versions (whose colour masks and colour space follow the first 40 bytes).
    bool core = header.size == coreHeaderSize;
    if (!core && header.size != 40 && header.size != 108 && header.size != 124)
        return BmpError::BadHeaderSize;
    if (total - headerAt < header.size)
        return BmpError::Truncated;
    if (core) {
        header.width = u16(h + 4);
        header.height = u16(h + 6);
        header.planes = u16(h + 8);
        header.bitCount = u16(h + 10);
    } else {
        header.width = int32_t(u32(h + 4));
        header.height = int32_t(u32(h + 8));
        header.planes = u16(h + 12);
        header.bitCount = u16(h + 14);
        header.compression = u32(h + 16);
        header.sizeImage = u32(h + 20);
        header.xPelsPerMeter = int32_t(u32(h + 24));
        header.yPelsPerMeter = int32_t(u32(h + 28));
        header.clrUsed = u32(h + 32);
        header.clrImportant = u32(h + 36);
    }

    if (header.planes != 1)
        return BmpError::BadPlanes;
    int bits = header.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return BmpError::BadBitCount;
    auto compression = DibCompression(header.compression);
    bool bitFields = header.compression == bitFieldsCompression;
    if (compression != DibCompression::Rgb && !(compression == DibCompression::Rle8 && bits == 8)
        && !(compression == DibCompression::Rle4 && bits == 4) && !(bitFields && (bits == 16 || bits == 32)))
        return BmpError::BadCompression;
    bool rle = compression == DibCompression::Rle8 || compression == DibCompression::Rle4;
    // Masks: in the longer headers, or in three words after the 40-byte one; 16-bit pixels
    // without them are 5-5-5.
    uint32_t masks[3] = { 0x7C00, 0x03E0, 0x001F };
    size_t masksBytes = 0;
    if (bitFields) {
        if (header.size == 40) {
            masksBytes = 12;
            if (total - headerAt - header.size < masksBytes)
                return BmpError::Truncated;
        }
        for (int i = 0; i < 3; ++i)
            masks[i] = u32(h + 40 + 4 * i);
    }
    bool widen = bits == 16 || bitFields;
    // Sides are checked in 64 bits so that a height of INT32_MIN cannot overflow when negated.
    int64_t width = header.width;
    int64_t height = header.height < 0 ? -int64_t(header.height) : int64_t(header.height);
    if (width <= 0 || height == 0 || (rle && header.height < 0))
        return BmpError::BadDimensions;
    if (width > Dib::maxSide || height > Dib::maxSide || width * height > Dib::maxPixels)
        return BmpError::TooLarge;

    // A colour table larger than the depth can index is refused; 24- and 32-bit bitmaps may
    // carry an optional table of up to 256 entries.
    uint64_t colorCount = header.clrUsed;
    if (colorCount == 0 && bits <= 8)
        colorCount = uint64_t(1) << bits;
    if ((bits <= 8 && colorCount > (uint64_t(1) << bits)) || colorCount > 256)
        return BmpError::BadColorCount;
    size_t tableAt = headerAt + header.size + masksBytes;
    size_t entryBytes = core ? 3 : 4;
    size_t tableBytes = size_t(colorCount) * entryBytes;
    if (total - tableAt < tableBytes)
        return BmpError::Truncated;

    size_t pixelsAt = tableAt + tableBytes;
    if (isFile) {
        // The pixel rows may not start inside the headers or the colour table.
        if (pixelOffset < pixelsAt)
            return BmpError::SizeMismatch;
        if (pixelOffset > total)
            return BmpError::Truncated;
        pixelsAt = pixelOffset;
    }

    Dib dib;
    dib.header = header;
    dib.header.size = infoHeaderSize;
    dib.header.compression = uint32_t(DibCompression::Rgb);
    if (widen) {
        // The pixels are rewritten as 32-bit colours below; a colour table of theirs is only advice.
        dib.header.bitCount = 32;
        dib.header.clrUsed = 0;
        dib.header.clrImportant = 0;
    } else {
        dib.colors.resize(size_t(colorCount));
        for (size_t i = 0; i < colorCount; ++i) {
            const uint8_t* q = bytes.data() + tableAt + entryBytes * i;
            dib.colors[i] = { q[0], q[1], q[2], core ? uint8_t(0) : q[3] };
        }
    }
    size_t rowBytes = dib.stride();
    size_t imageBytes = rowBytes * size_t(height);
    size_t available = total - pixelsAt;
    if (rle) {
        // Run-length data has no size of its own: the header must give it, and it must be there.
        if (header.sizeImage == 0)
            return BmpError::SizeMismatch;
        if (header.sizeImage > available)
            return BmpError::Truncated;
        dib.bits.assign(imageBytes, 0);
        BmpError error = decodeRle(bytes.subspan(pixelsAt, header.sizeImage), dib);
        if (error != BmpError::None)
            return error;
    } else {
        // The rows as stored, before any widening.
        size_t sourceStride = ((size_t(width) * size_t(bits) + 31) / 32) * 4;
        size_t sourceBytes = sourceStride * size_t(height);
        if (available < sourceBytes)
            return BmpError::Truncated;
        // A stated image size smaller than the rows needs disagrees with the header.
        if (header.sizeImage != 0 && header.sizeImage < sourceBytes)
            return BmpError::SizeMismatch;
        if (widen)
            widenBitFields(bytes.data() + pixelsAt, sourceStride, bits, masks, dib);
        else
            dib.bits.assign(
                bytes.begin() + std::ptrdiff_t(pixelsAt), bytes.begin() + std::ptrdiff_t(pixelsAt + imageBytes));
    }
    dib.header.sizeImage = uint32_t(imageBytes);
    out = std::move(dib);
    return BmpError::None;
}

std::vector<uint8_t> encodeBmp(const Dib& dib, bool withFileHeader)
{
    std::vector<uint8_t> out;
    if (!dib.isValid())
        return out;
    size_t imageBytes = dib.stride() * size_t(dib.height());
    size_t pixelOffset = (withFileHeader ? fileHeaderSize : 0) + infoHeaderSize + 4 * dib.colors.size();
    size_t fileSize = pixelOffset + imageBytes;
    out.reserve(fileSize);
    if (withFileHeader) {
        out.push_back('B');
        out.push_back('M');
        put32(out, uint32_t(fileSize));
        put32(out, 0);
        put32(out, uint32_t(pixelOffset));
    }
    const BitmapInfoHeader& h = dib.header;
    put32(out, uint32_t(infoHeaderSize));
    put32(out, uint32_t(h.width));
    put32(out, uint32_t(h.height));
    put16(out, 1);
    put16(out, h.bitCount);
    put32(out, uint32_t(DibCompression::Rgb));
    put32(out, uint32_t(imageBytes));
    put32(out, uint32_t(h.xPelsPerMeter));
    put32(out, uint32_t(h.yPelsPerMeter));
    // The table written is the table held, so "colours used" states its length exactly.
    put32(out, uint32_t(dib.colors.size()));
    put32(out, h.clrImportant <= dib.colors.size() ? h.clrImportant : 0);
    for (const RgbQuad& q : dib.colors) {
        out.push_back(q.blue);
        out.push_back(q.green);
        out.push_back(q.red);
        out.push_back(q.reserved);
    }
    out.insert(out.end(), dib.bits.begin(), dib.bits.begin() + std::ptrdiff_t(imageBytes));
    return out;
}

} // namespace platform::gfx
