#include "platform/gfx/Raster.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform::gfx::raster {

namespace {

    inline uint32_t combine(uint32_t dst, uint32_t src, RasterOp op)
    {
        switch (op) {
        case RasterOp::SrcCopy:
            return src;
        case RasterOp::SrcInvert:
            return dst ^ src;
        case RasterOp::SrcAnd:
            return dst & src;
        }
        return dst;
    }

    bool isKnown(RasterOp op)
    {
        return op == RasterOp::SrcCopy || op == RasterOp::SrcInvert || op == RasterOp::SrcAnd;
    }

    void combineRow(uint32_t* dst, const uint32_t* src, int count, RasterOp op)
    {
        switch (op) {
        case RasterOp::SrcCopy:
            std::copy(src, src + count, dst);
            return;
        case RasterOp::SrcInvert:
            for (int i = 0; i < count; ++i)
                dst[i] ^= src[i];
            return;
        case RasterOp::SrcAnd:
            for (int i = 0; i < count; ++i)
                dst[i] &= src[i];
            return;
        }
    }

    // For each destination column of `span` (relative to `to`), the source column it samples.
    std::vector<int> sampleMap(int toStart, int toLength, int fromStart, int fromLength, int first, int last)
    {
        std::vector<int> map;
        map.reserve(size_t(last - first));
        for (int d = first; d < last; ++d)
            map.push_back(int(fromStart + (int64_t(d) - toStart) * fromLength / toLength));
        return map;
    }

    // The XRGB colour of each index of an indexed bitmap; indexes past the table are black.
    //
    // Converting a 256-entry table costs about as much as drawing a 16 x 16 rectangle, and
    // pictures are drawn piece by piece with the same table, so the last converted table is
    // kept together with a copy of the entries it came from. Every blit compares the bitmap's
    // table with that copy (one 1 KB comparison) and converts again when they differ, so a
    // table changed between two blits, in place or by a new bitmap, is always the one used.
    class IndexColors {
    public:
        explicit IndexColors(const Dib& dib)
        {
            if (dib.header.bitCount > 8)
                return;
            Cache& cache = s_cache;
            size_t count = std::min(dib.colors.size(), cache.source.size());
            if (!cache.valid || cache.count != count
                || std::memcmp(cache.source.data(), dib.colors.data(), count * sizeof(RgbQuad)) != 0) {
                cache.lut.fill(0);
                for (size_t i = 0; i < count; ++i) {
                    const RgbQuad& q = dib.colors[i];
                    cache.lut[i] = xrgb(q.red, q.green, q.blue);
                }
                std::copy_n(dib.colors.begin(), count, cache.source.begin());
                cache.count = count;
                cache.valid = true;
            }
            m_lut = cache.lut.data();
        }
        const uint32_t* lut() const { return m_lut; }
        uint32_t operator[](unsigned index) const { return m_lut[index]; }

    private:
        struct Cache {
            std::array<RgbQuad, 256> source;
            std::array<uint32_t, 256> lut;
            size_t count = 0;
            bool valid = false;
        };
        // One per thread: drawing may happen on more than one.
        static thread_local Cache s_cache;
        const uint32_t* m_lut = nullptr;
    };
    thread_local IndexColors::Cache IndexColors::s_cache;

    // Picture rows counted from the top, with the bitmap's layout read once per blit.
    class DibRows {
    public:
        explicit DibRows(const Dib& dib)
            : m_base(dib.bits.data())
            , m_stride(ptrdiff_t(dib.stride()))
            , m_last(dib.height() - 1)
            , m_bottomUp(dib.isBottomUp())
        {
        }
        const uint8_t* operator()(int y) const { return m_base + ptrdiff_t(m_bottomUp ? m_last - y : y) * m_stride; }
        // The distance in bytes from a picture row to the one below it.
        ptrdiff_t step() const { return m_bottomUp ? -m_stride : m_stride; }

    private:
        const uint8_t* m_base;
        ptrdiff_t m_stride;
        int m_last;
        bool m_bottomUp;
    };

    void decode8(const uint8_t* __restrict r, int count, const uint32_t* __restrict lut, uint32_t* __restrict out)
    {
        for (int x = 0; x < count; ++x)
            out[x] = lut[r[x]];
    }

    // Converts pixels [x0, x1) of the picture row `r` to XRGB.
    void decodeRow(
        int bitCount, const uint8_t* __restrict r, const IndexColors& colors, int x0, int x1, uint32_t* __restrict out)
    {
        switch (bitCount) {
        case 8:
            decode8(r + x0, x1 - x0, colors.lut(), out);
            return;
        case 24:
            for (int x = x0; x < x1; ++x)
                *out++ = xrgb(r[3 * x + 2], r[3 * x + 1], r[3 * x]);
            return;
        case 32:
            for (int x = x0; x < x1; ++x)
                *out++ = xrgb(r[4 * x + 2], r[4 * x + 1], r[4 * x]);
            return;
        case 4:
            for (int x = x0; x < x1; ++x)
                *out++ = colors[(r[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
            return;
        case 1:
            for (int x = x0; x < x1; ++x)
                *out++ = colors[(r[x >> 3] >> (7 - (x & 7))) & 1];
            return;
        }
    }

} // namespace

void fillRect(Surface& dst, const Rect& clip, const Rect& rect, uint32_t pixel)
{
    Rect r = rect.intersected(clip);
    for (int y = r.top; y < r.bottom; ++y)
        std::fill(dst.row(y) + r.left, dst.row(y) + r.right, pixel);
}

void frameRect(Surface& dst, const Rect& clip, const Rect& rect, int penWidth, uint32_t pen, uint32_t fill)
{
    if (rect.isEmpty())
        return;
    int w = std::max(penWidth, 1);
    Rect inner { rect.left + w, rect.top + w, rect.right - w, rect.bottom - w };
    // The four bands of the outline, then the inside; a rectangle narrower than two pen
    // widths is all outline.
    if (inner.isEmpty()) {
        fillRect(dst, clip, rect, pen);
        return;
    }
    fillRect(dst, clip, { rect.left, rect.top, rect.right, inner.top }, pen);
    fillRect(dst, clip, { rect.left, inner.bottom, rect.right, rect.bottom }, pen);
    fillRect(dst, clip, { rect.left, inner.top, inner.left, inner.bottom }, pen);
    fillRect(dst, clip, { inner.right, inner.top, rect.right, inner.bottom }, pen);
    fillRect(dst, clip, inner, fill);
}

void line(Surface& dst, const Rect& clip, Point from, Point to, int penWidth, uint32_t pixel)
{
    int64_t dx = int64_t(to.x) - from.x;
    int64_t dy = int64_t(to.y) - from.y;
    bool xMajor = std::llabs(dx) >= std::llabs(dy);
    int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    if (steps == 0 || clip.isEmpty())
        return;
    int64_t minorDelta = xMajor ? dy : dx;
    int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    int64_t majorStart = xMajor ? from.x : from.y;
    int64_t minorStart = xMajor ? from.y : from.x;
    int w = std::max(penWidth, 1);
    // A wide pen covers w pixels across the line: w / 2 before the path, the rest after.
    int before = w / 2;
    // Walk only the steps whose major coordinate can touch the clip, so a line with far-away
    // ends costs no more than the part that is drawn.
    int64_t lo = xMajor ? clip.left : clip.top;
    int64_t hi = xMajor ? clip.right : clip.bottom;
    int64_t first = 0;
    int64_t last = steps;
    if (majorStep > 0) {
        first = std::max<int64_t>(first, lo - majorStart);
        last = std::min<int64_t>(last, hi - majorStart);
    } else {
        first = std::max<int64_t>(first, majorStart - (hi - 1));
        last = std::min<int64_t>(last, majorStart - lo + 1);
    }
    for (int64_t i = first; i < last; ++i) {
        int64_t major = majorStart + majorStep * i;
        // Minor offset rounded to the nearest pixel, halves towards the start.
        __int128 scaled = __int128(2) * (minorDelta < 0 ? -minorDelta : minorDelta) * i + steps - 1;
        int64_t offset = int64_t(scaled / (2 * steps));
        int64_t minor = minorStart + (minorDelta < 0 ? -offset : offset);
        if (minor - before >= (xMajor ? clip.bottom : clip.right)
            || minor - before + w <= (xMajor ? clip.top : clip.left))
            continue;
        int m = int(major);
        int n = int(minor);
        if (xMajor)
            fillRect(dst, clip, Rect { m, n - before, m + 1, n - before + w }, pixel);
        else
            fillRect(dst, clip, Rect { n - before, m, n - before + w, m + 1 }, pixel);
    }
}

bool blit(Surface& dst, const Rect& clip, const Rect& to, const Surface& src, int sx, int sy, RasterOp op)
{
    if (!isKnown(op) || to.isEmpty())
        return false;
    // Keep only destination pixels whose source pixel exists.
    Rect sourceArea = src.bounds().translated(int64_t(to.left) - sx, int64_t(to.top) - sy);
    Rect r = to.intersected(clip).intersected(sourceArea);
    if (r.isEmpty())
        return true;
    int count = r.width();
    // A copy within one surface may overlap: take the source rows first.
    std::vector<uint32_t> staged;
    if (&dst == &src) {
        staged.resize(size_t(count) * size_t(r.height()));
        for (int y = r.top; y < r.bottom; ++y)
            std::copy_n(src.row(int(int64_t(y) - to.top + sy)) + (int64_t(r.left) - to.left + sx), count,
                staged.data() + size_t(y - r.top) * size_t(count));
    }
    for (int y = r.top; y < r.bottom; ++y) {
        const uint32_t* s = staged.empty() ? src.row(int(int64_t(y) - to.top + sy)) + (int64_t(r.left) - to.left + sx)
                                           : staged.data() + size_t(y - r.top) * size_t(count);
        combineRow(dst.row(y) + r.left, s, count, op);
    }
    return true;
}

bool stretch(Surface& dst, const Rect& clip, const Rect& to, const Surface& src, const Rect& from, RasterOp op)
{
    if (!isKnown(op) || to.isEmpty() || from.isEmpty())
        return false;
    Rect r = to.intersected(clip);
    if (r.isEmpty())
        return true;
    Surface copy;
    const Surface* source = &src;
    if (&dst == &src) {
        copy = src;
        source = &copy;
    }
    std::vector<int> xs = sampleMap(to.left, to.width(), from.left, from.width(), r.left, r.right);
    for (int y = r.top; y < r.bottom; ++y) {
        int syRow = int(from.top + (int64_t(y) - to.top) * from.height() / to.height());
        if (syRow < 0 || syRow >= source->height())
            continue;
        const uint32_t* s = source->row(syRow);
        uint32_t* d = dst.row(y);
        for (int x = r.left; x < r.right; ++x) {
            int sxCol = xs[size_t(x - r.left)];
            if (sxCol >= 0 && sxCol < source->width())
                d[x] = combine(d[x], s[sxCol], op);
        }
    }
    return true;
}

int stretchDib(Surface& dst, const Rect& clip, const Rect& to, const Dib& src, const Rect& from, RasterOp op)
{
    if (!isKnown(op) || to.isEmpty() || from.isEmpty() || !src.isValid())
        return 0;
    Rect r = to.intersected(clip);
    if (r.isEmpty())
        return from.height();
    IndexColors colors(src);
    DibRows rows(src);
    int bitCount = src.header.bitCount;
    // Source columns actually sampled, cut to the picture: [first, last).
    int first = std::max(from.left, 0);
    int last = std::min(from.right, src.width());
    if (first >= last)
        return from.height();
    std::vector<uint32_t> decoded; // filled only when the pixels are combined or stretched
    bool oneToOne = to.width() == from.width();
    std::vector<int> xs;
    if (!oneToOne)
        xs = sampleMap(to.left, to.width(), from.left, from.width(), r.left, r.right);
    // One to one, the destination columns whose source column exists.
    int copyLeft = clampToInt(std::max<int64_t>(r.left, int64_t(to.left) + first - from.left));
    int copyRight = clampToInt(std::min<int64_t>(r.right, int64_t(to.left) + last - from.left));
    bool sameHeight = to.height() == from.height();
    if (oneToOne && sameHeight && op == RasterOp::SrcCopy) {
        // Row for row and column for column: the destination rows whose picture row exists,
        // walked with a pointer step each (what most blits are, so no per-row arithmetic).
        int64_t shift = int64_t(from.top) - to.top;
        int top = clampToInt(std::max<int64_t>(r.top, -shift));
        int bottom = clampToInt(std::min<int64_t>(r.bottom, int64_t(src.height()) - shift));
        if (copyLeft >= copyRight || top >= bottom)
            return from.height();
        int x0 = int(int64_t(copyLeft) - to.left + from.left);
        int x1 = int(int64_t(copyRight) - to.left + from.left);
        const uint8_t* s = rows(int(top + shift));
        uint32_t* d = dst.row(top) + copyLeft;
        // The pointers step only between rows, so they never point outside their pictures.
        for (int y = top;;) {
            if (bitCount == 8)
                decode8(s + x0, x1 - x0, colors.lut(), d);
            else
                decodeRow(bitCount, s, colors, x0, x1, d);
            if (++y == bottom)
                return from.height();
            s += rows.step();
            d += dst.stride();
        }
    }
    int decodedRow = -1;
    for (int y = r.top; y < r.bottom; ++y) {
        // One to one rows need no division (it would cost more than a small row's pixels).
        int syRow = sameHeight ? int(int64_t(from.top) + y - to.top)
                               : int(from.top + (int64_t(y) - to.top) * from.height() / to.height());
        if (syRow < 0 || syRow >= src.height())
            continue;
        uint32_t* d = dst.row(y);
        if (oneToOne && op == RasterOp::SrcCopy) {
            if (copyLeft < copyRight)
                decodeRow(bitCount, rows(syRow), colors, int(int64_t(copyLeft) - to.left + from.left),
                    int(int64_t(copyRight) - to.left + from.left), d + copyLeft);
            continue;
        }
        if (syRow != decodedRow) {
            decoded.resize(size_t(last - first));
            decodeRow(bitCount, rows(syRow), colors, first, last, decoded.data());
            decodedRow = syRow;
        }
        if (oneToOne) {
            if (copyLeft < copyRight)
                combineRow(d + copyLeft, decoded.data() + (int64_t(copyLeft) - to.left + from.left - first),
                    copyRight - copyLeft, op);
            continue;
        }
        for (int x = r.left; x < r.right; ++x) {
            int sxCol = xs[size_t(x - r.left)];
            if (sxCol >= first && sxCol < last)
                d[x] = combine(d[x], decoded[size_t(sxCol - first)], op);
        }
    }
    return from.height();
}

void mask(
    Surface& dst, const Rect& clip, int x, int y, int width, int height, const uint8_t* bits, int pitch, uint32_t pixel)
{
    Rect r = Rect::fromSize(x, y, width, height).intersected(clip);
    for (int py = r.top; py < r.bottom; ++py) {
        const uint8_t* row = bits + size_t(py - y) * size_t(pitch);
        uint32_t* d = dst.row(py);
        for (int px = r.left; px < r.right; ++px) {
            int bx = px - x;
            if (row[bx >> 3] & (0x80 >> (bx & 7)))
                d[px] = pixel;
        }
    }
}

} // namespace platform::gfx::raster
