#include "platform/print/PdfDocument.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace platform::print {

struct PdfDocument::Cairo {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    ~Cairo()
    {
        if (cr)
            cairo_destroy(cr);
        if (surface)
            cairo_surface_destroy(surface);
    }
};

namespace {

    constexpr double pointsPerDot = 72.0 / PageFormat::dotsPerInch;
    constexpr uint32_t whitePixel = 0xFFFFFF;

    // The smallest rectangle holding every pixel that is not white; empty for a blank page.
    gfx::Rect inkBounds(const gfx::Surface& page)
    {
        gfx::Rect box { page.width(), page.height(), 0, 0 };
        for (int y = 0; y < page.height(); ++y) {
            const uint32_t* row = page.row(y);
            int first = 0;
            while (first < page.width() && (row[first] & 0xFFFFFF) == whitePixel)
                ++first;
            if (first == page.width())
                continue;
            int last = page.width() - 1;
            while ((row[last] & 0xFFFFFF) == whitePixel)
                --last;
            box.left = std::min(box.left, first);
            box.right = std::max(box.right, last + 1);
            box.top = std::min(box.top, y);
            box.bottom = y + 1;
        }
        return box.isEmpty() ? gfx::Rect {} : box;
    }

    void removeQuietly(const std::string& path)
    {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }

} // namespace

std::unique_ptr<PdfDocument> PdfDocument::create(const std::string& path, const std::string& title)
{
    std::unique_ptr<PdfDocument> document(new PdfDocument);
    document->m_path = path;
    document->m_temporary = path + ".part";
    auto c = std::make_unique<Cairo>();
    c->surface = cairo_pdf_surface_create(
        document->m_temporary.c_str(), PageFormat::width * pointsPerDot, PageFormat::height * pointsPerDot);
    if (cairo_surface_status(c->surface) != CAIRO_STATUS_SUCCESS) {
        removeQuietly(document->m_temporary);
        return nullptr;
    }
    if (!title.empty())
        cairo_pdf_surface_set_metadata(c->surface, CAIRO_PDF_METADATA_TITLE, title.c_str());
    c->cr = cairo_create(c->surface);
    document->m_cairo = std::move(c);
    return document;
}

PdfDocument::~PdfDocument()
{
    if (!m_done)
        abort();
}

bool PdfDocument::startPage()
{
    if (m_done || m_pageOpen)
        return false;
    m_dc.clearPage();
    m_pageOpen = true;
    return true;
}

bool PdfDocument::endPage()
{
    if (m_done || !m_pageOpen)
        return false;
    m_pageOpen = false;
    cairo_t* cr = m_cairo->cr;
    const gfx::Surface& page = m_dc.page();
    gfx::Rect ink = inkBounds(page);
    if (!ink.isEmpty()) {
        // Only the inked part of the page goes into the file; the pixel layout (0x00RRGGBB,
        // rows of width x 4 bytes) is cairo's RGB24.
        auto* first = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(page.row(ink.top) + ink.left));
        cairo_surface_t* image = cairo_image_surface_create_for_data(
            first, CAIRO_FORMAT_RGB24, ink.width(), ink.height(), int(page.pitch()));
        cairo_save(cr);
        cairo_scale(cr, pointsPerDot, pointsPerDot);
        cairo_set_source_surface(cr, image, ink.left, ink.top);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(image);
    }
    cairo_show_page(cr);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
        return false;
    ++m_pages;
    return true;
}

bool PdfDocument::end()
{
    if (m_done)
        return false;
    if (m_pageOpen)
        endPage();
    m_done = true;
    cairo_surface_finish(m_cairo->surface);
    bool written = cairo_surface_status(m_cairo->surface) == CAIRO_STATUS_SUCCESS;
    m_cairo.reset();
    std::error_code error;
    if (written)
        std::filesystem::rename(m_temporary, m_path, error);
    if (!written || error) {
        removeQuietly(m_temporary);
        return false;
    }
    return true;
}

void PdfDocument::abort()
{
    if (m_done)
        return;
    m_done = true;
    m_cairo.reset();
    removeQuietly(m_temporary);
}

} // namespace platform::print
