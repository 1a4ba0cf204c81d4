#include "platform/jpeg/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace platform::jpeg {

namespace {

    // A progressive picture may hold any number of scans, each a pass over the whole image; more
    // than this is a damaged or hostile file, not a photograph.
    constexpr int maximumScans = 256;

    struct ErrorManager {
        jpeg_error_mgr base;
        std::jmp_buf jump;
        bool endOfData = false;
    };

    [[noreturn]] void exitByJump(j_common_ptr info)
    {
        auto* manager = reinterpret_cast<ErrorManager*>(info->err);
        std::longjmp(manager->jump, 1);
    }

    // Warnings are not printed; a picture that ends before its last row is remembered as damaged
    // (the library would fill the missing rows with grey and carry on).
    void noteMessage(j_common_ptr info, int level)
    {
        auto* manager = reinterpret_cast<ErrorManager*>(info->err);
        if (level < 0 && manager->base.msg_code == JWRN_JPEG_EOF)
            manager->endOfData = true;
    }

    void limitScans(j_common_ptr info)
    {
        auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
        if (decompress->input_scan_number > maximumScans)
            exitByJump(info);
    }

    struct Session {
        jpeg_decompress_struct info;
        ErrorManager errors;
        jpeg_progress_mgr progress;
    };

    bool acceptable(const jpeg_decompress_struct& info)
    {
        if (info.image_width == 0 || info.image_height == 0)
            return false;
        // Sides and pixel count are checked before the library allocates anything for the pixels.
        if (info.image_width > unsigned(gfx::Dib::maxSide) || info.image_height > unsigned(gfx::Dib::maxSide)
            || int64_t(info.image_width) * info.image_height > gfx::Dib::maxPixels)
            return false;
        if (info.num_components == 1)
            return info.jpeg_color_space == JCS_GRAYSCALE;
        if (info.num_components == 3)
            return info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB;
        return false;
    }

    // Every libjpeg call sits in this function, after the one setjmp; its locals are plain data
    // that no jump leaves half-made. `out` is filled only when `decodeRows` is set.
    bool run(Session& s, std::span<const uint8_t> bytes, JpegInfo& info, gfx::Dib* out)
    {
        s.info.err = jpeg_std_error(&s.errors.base);
        s.errors.base.error_exit = exitByJump;
        s.errors.base.emit_message = noteMessage;
        if (setjmp(s.errors.jump)) {
            jpeg_destroy_decompress(&s.info);
            return false;
        }
        jpeg_create_decompress(&s.info);
        s.progress.progress_monitor = limitScans;
        s.info.progress = &s.progress;
        jpeg_mem_src(&s.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        if (jpeg_read_header(&s.info, TRUE) != JPEG_HEADER_OK || !acceptable(s.info)) {
            jpeg_destroy_decompress(&s.info);
            return false;
        }
        info.width = int(s.info.image_width);
        info.height = int(s.info.image_height);
        info.components = s.info.num_components;
        info.progressive = s.info.progressive_mode != 0;
        if (!out) {
            jpeg_destroy_decompress(&s.info);
            return true;
        }
        s.info.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&s.info);
        // Rows go from the end of the pixel array backwards: the bitmap is stored bottom-up.
        size_t stride = out->stride();
        while (s.info.output_scanline < s.info.output_height) {
            JSAMPROW row = out->bits.data() + size_t(info.height - 1 - int(s.info.output_scanline)) * stride;
            if (jpeg_read_scanlines(&s.info, &row, 1) != 1)
                break;
            if (s.errors.endOfData)
                break;
        }
        bool complete = s.info.output_scanline == s.info.output_height && !s.errors.endOfData;
        if (complete)
            jpeg_finish_decompress(&s.info);
        jpeg_destroy_decompress(&s.info);
        return complete;
    }

} // namespace

std::optional<JpegInfo> inspect(std::span<const uint8_t> bytes)
{
    if (bytes.empty())
        return std::nullopt;
    Session session {};
    JpegInfo info;
    if (!run(session, bytes, info, nullptr))
        return std::nullopt;
    return info;
}

bool decode(std::span<const uint8_t> bytes, gfx::Dib& out)
{
    std::optional<JpegInfo> info = inspect(bytes);
    if (!info)
        return false;
    gfx::Dib dib = gfx::Dib::create(info->width, info->height, 24);
    if (!dib.isValid())
        return false;
    Session session {};
    JpegInfo again;
    if (!run(session, bytes, again, &dib))
        return false;
    out = std::move(dib);
    return true;
}

namespace {

    struct EncodeSession {
        jpeg_compress_struct info;
        ErrorManager errors;
        unsigned char* output = nullptr;
        unsigned long size = 0;
    };

    // As run(): every libjpeg call after the one setjmp; `row` is filled per scanline.
    bool compress(EncodeSession& s, const gfx::Surface& surface, int quality, bool progressive, bool grey,
        std::vector<uint8_t>& row)
    {
        s.info.err = jpeg_std_error(&s.errors.base);
        s.errors.base.error_exit = exitByJump;
        s.errors.base.emit_message = noteMessage;
        if (setjmp(s.errors.jump)) {
            jpeg_destroy_compress(&s.info);
            return false;
        }
        jpeg_create_compress(&s.info);
        jpeg_mem_dest(&s.info, &s.output, &s.size);
        s.info.image_width = JDIMENSION(surface.width());
        s.info.image_height = JDIMENSION(surface.height());
        s.info.input_components = 3;
        s.info.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&s.info);
        if (grey)
            jpeg_set_colorspace(&s.info, JCS_GRAYSCALE);
        jpeg_set_quality(&s.info, quality, TRUE);
        // Full-resolution colour: no subsampling, so flat areas keep their colour up to their edges.
        for (int c = 0; c < s.info.num_components; ++c) {
            s.info.comp_info[c].h_samp_factor = 1;
            s.info.comp_info[c].v_samp_factor = 1;
        }
        if (progressive)
            jpeg_simple_progression(&s.info);
        jpeg_start_compress(&s.info, TRUE);
        while (s.info.next_scanline < s.info.image_height) {
            const uint32_t* pixels = surface.row(int(s.info.next_scanline));
            for (int x = 0; x < surface.width(); ++x) {
                row[size_t(3 * x)] = uint8_t(pixels[x]);
                row[size_t(3 * x + 1)] = uint8_t(pixels[x] >> 8);
                row[size_t(3 * x + 2)] = uint8_t(pixels[x] >> 16);
            }
            JSAMPROW rows[1] = { row.data() };
            jpeg_write_scanlines(&s.info, rows, 1);
        }
        jpeg_finish_compress(&s.info);
        jpeg_destroy_compress(&s.info);
        return true;
    }

} // namespace

std::vector<uint8_t> encode(const gfx::Surface& surface, int quality, bool progressive, bool grey)
{
    std::vector<uint8_t> out;
    if (surface.isEmpty())
        return out;
    std::vector<uint8_t> row(size_t(surface.width()) * 3);
    EncodeSession session {};
    bool ok = compress(session, surface, quality, progressive, grey, row);
    if (ok && session.output)
        out.assign(session.output, session.output + session.size);
    std::free(session.output);
    return out;
}

} // namespace platform::jpeg
