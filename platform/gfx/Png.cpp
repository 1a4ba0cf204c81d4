#include "platform/gfx/Png.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <png.h>

namespace platform::gfx {

namespace {

    void appendBytes(png_structp png, png_bytep data, png_size_t length)
    {
        auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
        out->insert(out->end(), data, data + length);
    }

    void flushNothing(png_structp)
    {
    }

    struct Reader {
        std::span<const uint8_t> bytes;
        size_t offset = 0;
    };

    void readBytes(png_structp png, png_bytep data, png_size_t length)
    {
        auto* in = static_cast<Reader*>(png_get_io_ptr(png));
        // A short file ends the decode through libpng's error path, never a read past the buffer.
        if (length > in->bytes.size() - in->offset)
            png_error(png, "truncated PNG");
        std::memcpy(data, in->bytes.data() + in->offset, length);
        in->offset += length;
    }

    // libpng reports problems through longjmp; warnings are not worth printing.
    void ignoreWarning(png_structp, png_const_charp)
    {
    }

} // namespace

// The libpng calls sit in these two helpers: every object they fill lives in the caller, so
// nothing local to the function that calls setjmp changes between setjmp and a longjmp.
static bool writeRows(std::vector<uint8_t>& out, png_uint_32 width, png_uint_32 height, png_bytep* rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, ignoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

struct Decoded {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    std::vector<uint8_t> rgb;
    std::vector<png_bytep> rows;
};

static bool readRows(Reader& reader, Decoded& decoded)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, ignoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, readBytes);
    // Guards the allocation below: libpng refuses larger images before any row is read.
    png_set_user_limits(png, Surface::maxSide, Surface::maxSide);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    decoded.width = png_get_image_width(png, info);
    decoded.height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != size_t(decoded.width) * 3)
        png_error(png, "unexpected row layout");
    decoded.rgb.resize(size_t(decoded.width) * size_t(decoded.height) * 3);
    decoded.rows.resize(decoded.height);
    for (png_uint_32 y = 0; y < decoded.height; ++y)
        decoded.rows[y] = decoded.rgb.data() + size_t(y) * size_t(decoded.width) * 3;
    png_read_image(png, decoded.rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

std::vector<uint8_t> encodePng(const Surface& surface)
{
    std::vector<uint8_t> out;
    if (surface.isEmpty())
        return out;
    size_t rowBytes = size_t(surface.width()) * 3;
    std::vector<uint8_t> rgb(rowBytes * size_t(surface.height()));
    std::vector<png_bytep> rows(size_t(surface.height()));
    for (int y = 0; y < surface.height(); ++y) {
        const uint32_t* src = surface.row(y);
        uint8_t* dst = rgb.data() + size_t(y) * rowBytes;
        rows[size_t(y)] = dst;
        for (int x = 0; x < surface.width(); ++x) {
            dst[3 * x] = uint8_t(src[x] >> 16);
            dst[3 * x + 1] = uint8_t(src[x] >> 8);
            dst[3 * x + 2] = uint8_t(src[x]);
        }
    }
    if (!writeRows(out, png_uint_32(surface.width()), png_uint_32(surface.height()), rows.data()))
        out.clear();
    return out;
}

std::optional<Surface> decodePng(std::span<const uint8_t> bytes)
{
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
        return std::nullopt;
    Reader reader { bytes, 0 };
    Decoded decoded;
    if (!readRows(reader, decoded))
        return std::nullopt;
    Surface surface(int(decoded.width), int(decoded.height));
    for (int y = 0; y < surface.height(); ++y) {
        const uint8_t* src = decoded.rows[size_t(y)];
        uint32_t* dst = surface.row(y);
        for (int x = 0; x < surface.width(); ++x)
            dst[x] = xrgb(src[3 * x], src[3 * x + 1], src[3 * x + 2]);
    }
    return surface;
}

bool writePng(const Surface& surface, const std::string& path)
{
    std::vector<uint8_t> bytes = encodePng(surface);
    if (bytes.empty())
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out.flush());
}

std::optional<Surface> readPng(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decodePng(bytes);
}

} // namespace platform::gfx
