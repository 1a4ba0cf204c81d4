#include "framework/richtext/TextLayout.h"

#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/richtext/RtfParser.h"
#include "framework/richtext/TextLayoutEngine.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"

#include <algorithm>
#include <string>

namespace {

qelValue noPicture(const qelValue&)
{
    return qelNil;
}

qelPictureLoader& pictureLoader()
{
    static qelPictureLoader loader = noPicture;
    return loader;
}

int32_t cut(int64_t n)
{
    return int32_t(std::clamp<int64_t>(n, INT32_MIN, INT32_MAX));
}

qelValue intValue(int64_t n)
{
    return qelMakeInt(cut(n));
}

int32_t intOr(const qelValue& table, const char* key, int32_t fallback)
{
    qelValue value = qelGet(table, qelValue(key));
    return value.type() == QEL_INT_TYPE ? value.payload() : fallback;
}

bool boolOr(const qelValue& table, const char* key, bool fallback)
{
    qelValue value = qelGet(table, qelValue(key));
    return value.type() == QEL_BOOLEAN_TYPE ? value.payload() != 0 : fallback;
}

// Element i of an item list, nil past its end.
qelValue element(qelListObject& list, int32_t i)
{
    return i < list.count ? list.cell(i) : qelNil;
}

// Indents and picture sizes are cut to this many pixels: far more than any page, small enough
// that sums of them stay exact.
constexpr int64_t largestDistance = int64_t(1) << 24;
// A box item stacks at most this many boxes.
constexpr int32_t mostBoxes = 64;

} // namespace

qelPictureLoader qelSetPictureLoader(qelPictureLoader loader)
{
    qelPictureLoader previous = pictureLoader();
    pictureLoader() = loader ? loader : noPicture;
    return previous;
}

qelValue qelLayoutText(const qelValue& request, const qelValue& region)
{
    int32_t dpi = intOr(request, "DPI", 96);
    qelFontMeasurer measurer(dpi > 0 ? dpi : 96);
    return qelLayoutTextWith(request, region, measurer);
}

qelValue qelLayoutTextWith(const qelValue& request, const qelValue& region, qelTextMeasurer& measurer)
{
    if (!qelRegionOf(region)) {
        qelArgTypeError("qelLayoutText(tbl,rgn)", 2);
        return qelNil;
    }
    qelTextLayout layout(request, region, measurer);
    return layout.run();
}

// Set-up --------------------------------------------------------------------------------------

qelTextLayout::qelTextLayout(const qelValue& request, const qelValue& region, qelTextMeasurer& measurer)
    : m_measurer(measurer)
    , m_request(request)
    , m_region(region)
{
    qelRegionObject* r = qelRegionOf(region);
    m_isRectangle = r->pointCount() == 0;
    m_left = r->left;
    m_top = r->top;
    m_right = r->right;
    m_bottom = r->bottom;

    m_fonts = qelGet(request, qelValue("ListFonts"));
    m_fontCount = m_fonts.type() == QEL_LIST_TYPE ? qelCount(m_fonts) : 0;
    m_widths.resize(size_t(m_fontCount) + 1);

    // A resolution of 0 or less would divide by zero: it is taken as the screen's. Above 1440
    // dots per inch a twip is less than a pixel; the divisor stays 1.
    m_dpi = intOr(request, "DPI", 96);
    if (m_dpi <= 0)
        m_dpi = 96;
    m_twipsPerPixel = std::max(1, 1440 / m_dpi);
    // Pictures keep at least their own size below 96 dots per inch.
    m_pictureScale = std::max(1, m_dpi / 96);
    m_fore = intOr(request, "ForeColor", 1);
    m_back = intOr(request, "BackColor", -1);
    m_hot = intOr(request, "HotColor", 0xFF);
    m_noBitmaps = boolOr(request, "NoBitmaps", false);
    m_noBoxes = boolOr(request, "NoBoxes", false);

    m_pages = qelMakeList(4, 100, QEL_GENERAL_LIST);
    m_pageRuns = qelMakeList(16, 100, QEL_GENERAL_LIST);
    m_pageHot = qelMakeList(4, 100, QEL_GENERAL_LIST);
    m_bitmaps = qelMakeList(4, 100, QEL_GENERAL_LIST);
    m_markers = qelTable(8, 100, 75);
    m_boxes = qelMakeList(4, 100, QEL_GENERAL_LIST);
}

qelValue qelTextLayout::run()
{
    if (qelContainsKey(m_request, qelValue("Title"))) {
        // The title's height is its font's (one line of text is as high as its font).
        qelFontMeasures measures = m_measurer.selectFont(qelGet(m_request, qelValue("TitleFont")));
        m_titleHeight = (3 * (int64_t(measures.ascent) + measures.descent)) / 2;
    }
    m_lineTop = m_top + m_titleHeight + 1;
    m_lineBottom = m_lineTop + 12;
    m_penX = m_left;
    m_lineHeight = 0;
    recomputeEdges();
    m_fontIndex = -1;
    selectFont(0);

    qelValue items = qelGet(m_request, qelValue("TextRuns"));
    if (qelListObject* list = qelListObjectOf(items); list && list->kind() == QEL_GENERAL_LIST) {
        for (int32_t i = 0; i < list->count; ++i) {
            qelValue item = list->cell(i);
            if (item.type() == QEL_INT_TYPE)
                bareItem(item.payload());
            else if (qelListObject* fields = qelListObjectOf(item); fields && fields->kind() == QEL_GENERAL_LIST)
                listItem(item, *fields);
            else
                unknownItem();
        }
    }
    // A last page is kept when anything was placed on it.
    if (qelCount(m_pageRuns) > 0 || m_pageHasObjects)
        newPage();
    else
        closeLine();

    qelValue result = qelTable(5, 100, 75);
    qelTableObject* table = qelTableOf(result);
    table->put(qelValue("Pages"), m_pages);
    table->put(qelValue("Fonts"), m_fonts);
    table->put(qelValue("Bitmaps"), m_bitmaps);
    table->put(qelValue("Markers"), m_markers);
    table->put(qelValue("Boxes"), m_boxes);
    return result;
}

void qelTextLayout::unknownItem()
{
    qelError("Unknown Intermediate Parse Type");
}

void qelTextLayout::selectFont(int32_t index)
{
    m_fontIndex = index;
    qelValue font = index >= 0 && index < m_fontCount ? qelGet(m_fonts, index) : qelNil;
    m_metrics = m_measurer.selectFont(font);
    raiseLineHeight();
}

void qelTextLayout::raiseLineHeight()
{
    // The line height only grows: it is the tallest font used so far.
    m_lineHeight
        = std::max<int64_t>(m_lineHeight, int64_t(m_metrics.ascent) + m_metrics.descent + m_metrics.externalLeading);
    m_lineBottom = m_lineTop + m_lineHeight;
}

// Items -----------------------------------------------------------------------------------------

void qelTextLayout::listItem(const qelValue& item, qelListObject& list)
{
    qelValue first = element(list, 0);
    if (first.type() != QEL_INT_TYPE) {
        unknownItem();
        return;
    }
    int32_t type = first.payload();
    qelValue value1 = element(list, 1);
    switch (type) {
    case QEL_RTF_FONT:
        // An index outside the font list keeps the current font.
        if (value1.type() == QEL_INT_TYPE && value1.payload() >= 0 && value1.payload() < m_fontCount
            && value1.payload() != m_fontIndex)
            selectFont(value1.payload());
        break;
    case QEL_RTF_TEXT:
    case QEL_RTF_LINK:
    case QEL_RTF_STRUCK:
    case QEL_RTF_STRUCK_LINK:
        if (value1.isString())
            placeText(std::string_view(qelCString(value1), size_t(qelCount(value1))), type, item);
        break;
    case QEL_RTF_CHAR:
        if (value1.type() == QEL_INT_TYPE) {
            char c = char(value1.payload() & 0xFF);
            placeText(std::string_view(&c, 1), QEL_RTF_TEXT, item);
        }
        break;
    case QEL_RTF_BMC:
    case QEL_RTF_IMG:
        picture(item, type);
        break;
    case QEL_RTF_LINKED_IMAGE:
        if (m_lastRect.type() == QEL_REGION_TYPE)
            qelListObjectOf(m_pageHot)->append(qelListOf({ m_lastRect, element(list, 2) }));
        m_lastRect = qelNil;
        break;
    case QEL_RTF_TAB_STOP:
    case QEL_RTF_RIGHT_TAB_STOP:
        if (value1.type() == QEL_INT_TYPE)
            m_tabStops.emplace_back(value1.payload() / m_twipsPerPixel, type == QEL_RTF_TAB_STOP ? 0 : 1);
        break;
    case QEL_RTF_MARKER: {
        qelValue target = element(list, 2);
        int32_t colon = target.isString() ? qelFindChar(target, ':', 0) : -1;
        if (colon >= 0) {
            qelValue name = qelStringValue(qelCString(target) + colon + 1);
            qelValue index = qelValueToString(qelMakeInt(qelCount(m_pageRuns) - 1));
            qelTableOf(m_markers)->put(name, index);
        }
        break;
    }
    case QEL_RTF_FIRST_INDENT:
    case QEL_RTF_LEFT_INDENT: {
        if (value1.type() != QEL_INT_TYPE)
            break;
        int64_t indent = std::clamp<int64_t>(value1.payload() / m_twipsPerPixel, -largestDistance, largestDistance);
        (type == QEL_RTF_FIRST_INDENT ? m_firstIndent : m_leftIndent) = indent;
        m_nextIndent = m_firstIndent + m_leftIndent;
        recomputeEdges();
        break;
    }
    case QEL_RTF_BOX:
        if (!m_noBoxes)
            box(value1.type() == QEL_INT_TYPE ? value1.payload() : 0);
        break;
    default:
        unknownItem();
        break;
    }
}

void qelTextLayout::bareItem(int32_t type)
{
    switch (type) {
    case QEL_RTF_PAGE:
        newPage();
        break;
    case QEL_RTF_PAR:
        if (newLine(true))
            newPage();
        break;
    case QEL_RTF_CENTER:
        m_alignMode = 1;
        break;
    case QEL_RTF_LEFT:
        m_alignMode = 0;
        break;
    case QEL_RTF_RIGHT:
        m_alignMode = 2;
        break;
    case QEL_RTF_TAB:
        tab();
        break;
    case QEL_RTF_PARD:
        if (m_fontIndex != 0)
            selectFont(0);
        m_tabStops.clear();
        m_firstIndent = m_leftIndent = m_nextIndent = 0;
        m_alignMode = 0;
        break;
    default:
        unknownItem();
        break;
    }
}

void qelTextLayout::tab()
{
    int32_t t = m_tabCounter;
    int64_t origin = m_tabOrigin;
    int64_t target;
    if (size_t(t) < m_tabStops.size()) {
        auto [stop, kind] = m_tabStops[size_t(t)];
        if (kind == 1) {
            m_pendingRightTab = std::max<int64_t>(0, stop + origin - m_penX);
            m_tabCounter = t + 1;
            return;
        }
        target = stop + origin;
    } else {
        target = origin + int64_t(m_dpi / 2) * (t + 1);
    }
    if (target < m_penX) {
        int64_t h = m_dpi / 2;
        target = m_penX + h - ((m_penX - origin + h) % m_dpi) / 2;
    }
    if (target >= m_lineRight) {
        int64_t leftBefore = m_lineLeft;
        if (newLine(false))
            newPage();
        m_penX = leftBefore;
    } else {
        m_penX = target;
    }
    ++m_tabCounter;
}

void qelTextLayout::box(int32_t count)
{
    int32_t n = std::clamp(count, 1, mostBoxes);
    for (int32_t k = 0; k < n; ++k) {
        Rect r { m_lineLeft, m_lineTop + k * m_lineHeight, m_lineRight - m_lineLeft, m_lineHeight };
        qelValue rect = rectValue(r);
        qelListObjectOf(m_boxes)->append(qelListOf({ rect, qelMakeInt(m_pageIndex) }));
        m_lastRect = rect;
    }
    m_pageHasObjects = true;
}

void qelTextLayout::picture(const qelValue& item, int32_t type)
{
    qelValue reference = element(*qelListObjectOf(item), 1);
    if (!reference.isString())
        return;
    std::string text(qelCString(reference), size_t(qelCount(reference)));
    size_t semicolon = text.find(';');
    std::string name = text.substr(0, semicolon);
    bool hasAlternative = semicolon != std::string::npos;
    std::string alternative = hasAlternative ? text.substr(semicolon + 1) : std::string();
    // A picture that is not placed shows its alternative text, if it has one.
    auto placeAlternative = [&] {
        if (hasAlternative)
            placeText(alternative, type, item);
    };
    if (m_noBitmaps) {
        placeAlternative();
        return;
    }
    qelValue nameValue = qelStringValueN(name.data(), int32_t(name.size()));
    qelValue image = pictureLoader()(nameValue);
    if (image.type() != QEL_IMAGE_TYPE) {
        qelValue images = qelGet(m_request, qelValue("Images"));
        if (images.type() == QEL_TABLE_TYPE)
            image = qelGet(images, qelLowerCase(nameValue));
    }
    int64_t width, height;
    if (image.type() == QEL_LIST_TYPE) {
        // [picture, width, height]: the size as given, not scaled.
        qelValue w = qelCount(image) > 1 ? qelGet(image, 1) : qelNil;
        qelValue h = qelCount(image) > 2 ? qelGet(image, 2) : qelNil;
        if (w.type() != QEL_INT_TYPE || h.type() != QEL_INT_TYPE) {
            placeAlternative();
            return;
        }
        width = w.payload();
        height = h.payload();
    } else if (image.type() == QEL_IMAGE_TYPE && image.object()) {
        width = int64_t(qelWidth(image)) * m_pictureScale;
        height = int64_t(qelHeight(image)) * m_pictureScale;
    } else {
        // A missing picture is skipped.
        placeAlternative();
        return;
    }
    width = std::clamp<int64_t>(width, 0, largestDistance);
    height = std::clamp<int64_t>(height, 0, largestDistance);

    if (m_penX + width >= m_lineRight && newLine(false))
        newPage();
    int64_t s = m_pictureScale;
    Rect r;
    if (type == QEL_RTF_IMG && height > m_lineHeight) {
        int64_t margin = m_metrics.maxCharWidth / 2;
        r = { m_penX, m_lineTop + 5 * s, width + margin, height + 10 * s };
        m_floats.push_back(r);
        m_penX += width + margin;
    } else {
        r = { m_penX, m_lineTop + 2 * s, width, height };
        m_penX += width;
    }
    qelValue rect = rectValue(r);
    qelListObjectOf(m_bitmaps)->append(qelListOf({ rect, image, qelMakeInt(m_pageIndex) }));
    m_lastRect = rect;
    m_pageHasObjects = true;
}

// Lines and pages -----------------------------------------------------------------------------

qelValue qelTextLayout::rectValue(const Rect& r) const
{
    return qelRectValue(cut(r.x), cut(r.y), cut(r.w), cut(r.h));
}

void qelTextLayout::recomputeEdges()
{
    m_lineLeft = lineLeft();
    m_lineRight = lineRight();
    m_penX = m_lineLeft;
    m_rightLimit = m_lineRight;
}

int64_t qelTextLayout::clampRow(int64_t y) const
{
    return std::clamp(y, m_top, m_bottom);
}

bool qelTextLayout::inside(int64_t x, int64_t y) const
{
    if (x < m_left || x > m_right)
        return false;
    if (m_isRectangle)
        return true;
    return qelContainsPoint(m_region, cut(x), cut(y)) != 0;
}

int64_t qelTextLayout::lineRight()
{
    int64_t y1 = clampRow(m_lineTop + 1);
    int64_t y2 = clampRow(m_lineBottom - 1);
    int64_t x = m_right;
    while (x > 0 && !(inside(x, y1) && inside(x, y2))) {
        // Left of the box nothing is inside: the walk would end at 0.
        if (x < m_left) {
            x = 0;
            break;
        }
        --x;
    }
    return x;
}

int64_t qelTextLayout::lineLeft()
{
    bool hadFloats = !m_floats.empty();
    int64_t y1 = clampRow(m_lineTop + 1);
    int64_t y2 = clampRow(m_lineBottom - 1);
    int64_t x = m_left;
    if (hadFloats) {
        int64_t sum = m_floats.front().x;
        for (const Rect& f : m_floats)
            sum += f.w;
        if (sum < m_right) {
            x = sum;
            // Every float is lowered by one line; the last goes once less than a line is left.
            for (size_t i = 0; i < m_floats.size();) {
                Rect& f = m_floats[i];
                if (f.h - m_lineHeight < m_lineHeight && i + 1 == m_floats.size()) {
                    m_floats.erase(m_floats.begin() + ptrdiff_t(i));
                    continue;
                }
                f.h -= m_lineHeight;
                ++i;
            }
        } else {
            Rect last = m_floats.back();
            m_floats.pop_back();
            y1 = clampRow(last.y + 1);
            y2 = clampRow(last.y + 1 + last.h);
        }
    }
    while (!(inside(x, y1) && inside(x, y2)) && x < m_right) {
        // Left of the box nothing is inside: go straight to its edge.
        if (x < m_left)
            x = m_left;
        else
            ++x;
    }
    m_tabOrigin = x;
    if (!hadFloats) {
        // An indent never moves the line's start out of the text area.
        x = std::clamp(x + m_nextIndent, x, std::max(x, m_right));
    }
    m_nextIndent = m_leftIndent;
    return x;
}

bool qelTextLayout::newLine(bool firstLineOfParagraph)
{
    closeLine();
    m_tabCounter = 0;
    m_nextIndent = m_leftIndent + (firstLineOfParagraph ? m_firstIndent : 0);
    m_lineTop = m_lineBottom;
    m_lineBottom = m_lineTop + m_lineHeight;
    recomputeEdges();
    return m_lineBottom > m_bottom;
}

void qelTextLayout::newPage()
{
    closeLine();
    ++m_pageIndex;
    m_tabCounter = 0;
    m_nextIndent = m_leftIndent + m_firstIndent;
    m_lineTop = m_top;
    m_lineBottom = m_top + m_lineHeight;
    recomputeEdges();
    qelListObjectOf(m_pages)->append(qelListOf({ m_pageRuns, m_pageHot }));
    m_pageRuns = qelMakeList(16, 100, QEL_GENERAL_LIST);
    m_pageHot = qelMakeList(4, 100, QEL_GENERAL_LIST);
    m_pageHasObjects = false;
    m_lineStart = 0;
    m_lineRuns.clear();
    m_lineHotAreas.clear();
}

void qelTextLayout::closeLine()
{
    alignLine(m_lineStart, m_alignMode);
    m_lineStart = qelCount(m_pageRuns);
    m_lineRuns.clear();
    m_lineHotAreas.clear();
}

void qelTextLayout::alignLine(int32_t start, int32_t mode)
{
    if (m_lineRuns.empty())
        return;
    int32_t top = 0;
    bool sameAscent = true;
    int64_t end = m_lineLeft;
    for (const LineRun& r : m_lineRuns) {
        top = std::max(top, r.ascent);
        sameAscent = sameAscent && r.ascent == m_lineRuns.front().ascent;
        end = std::max(end, r.x + r.width);
    }
    // The space the line uses runs from its left edge to the end of its runs, so that the gaps
    // tabs and pictures leave count too (the runs' widths alone would push a line with a tab out
    // of the text area). No line moves left of its start or past its right edge.
    int64_t used = end - m_lineLeft;
    int64_t slack = (m_lineRight - m_lineLeft) - used;
    int64_t offset = mode == 1 ? slack / 2 : mode == 2 ? slack : 0;
    offset = std::clamp<int64_t>(offset, 0, std::max<int64_t>(0, m_lineRight - end));
    if (offset == 0 && sameAscent)
        return;
    qelListObject* runs = qelListObjectOf(m_pageRuns);
    for (size_t i = 0; i < m_lineRuns.size(); ++i) {
        int32_t index = start + int32_t(i);
        if (index >= runs->count)
            break;
        qelListObject* run = qelListObjectOf(runs->cell(index));
        int64_t x = run->cell(0).payload();
        int64_t y = run->cell(1).payload();
        run->cell(0) = intValue(x + offset);
        run->cell(1) = intValue(y - m_lineRuns[i].ascent + top);
    }
    if (offset == 0)
        return;
    // The link pieces of the line move with their text.
    qelListObject* hot = qelListObjectOf(m_pageHot);
    for (int32_t index : m_lineHotAreas) {
        qelListObject* area = qelListObjectOf(hot->cell(index));
        qelRegionObject* r = qelRegionOf(area->cell(0));
        area->cell(0) = qelRectValue(cut(int64_t(r->left) + offset), r->top, r->right - r->left, r->bottom - r->top);
    }
}

// Text ----------------------------------------------------------------------------------------

int64_t qelTextLayout::pieceWidth(std::string_view piece)
{
    size_t slot = m_fontIndex >= 0 && m_fontIndex < m_fontCount ? size_t(m_fontIndex) : size_t(m_fontCount);
    WidthCache& cache = m_widths[slot];
    auto found = cache.find(piece);
    if (found != cache.end())
        return found->second;
    int32_t width = m_measurer.width(piece.data(), int32_t(piece.size()));
    cache.emplace(std::string(piece), width);
    return width;
}

qelTextLayout::Fit qelTextLayout::fitText(std::string_view text, int64_t available)
{
    Fit fit;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != ' ' && text[end] != '-')
            ++end;
        if (end < text.size())
            ++end; // the break character belongs to its piece
        int64_t width = pieceWidth(text.substr(start, end - start));
        if (fit.width + width > available) {
            if (start == 0) {
                fit.count = int32_t(end);
                fit.width = width;
                fit.mustBreak = true;
            }
            return fit;
        }
        fit.width += width;
        fit.count = int32_t(end);
        start = end;
    }
    return fit;
}

qelValue qelTextLayout::makeRun(int32_t fontIndex, std::string_view text, int32_t fore, int32_t back)
{
    qelValue run = qelMakeList(6, 100, QEL_GENERAL_LIST);
    qelListObject* list = qelListObjectOf(run);
    list->append(intValue(m_penX));
    list->append(intValue(m_lineTop));
    list->append(qelStringValueN(text.data(), int32_t(text.size())));
    list->append(qelMakeInt(fontIndex));
    list->append(qelMakeInt(fore));
    list->append(qelMakeInt(back));
    return run;
}

void qelTextLayout::placeText(std::string_view text, int32_t kind, const qelValue& item)
{
    while (!text.empty()) {
        Fit fit = fitText(text, m_rightLimit - m_penX);
        if (fit.count == 0 && fit.width == 0) {
            qelError("Wrap Error!");
            return;
        }
        if (m_pendingRightTab > 0 && m_pendingRightTab - fit.width > 0) {
            // A stop beyond the line's end puts the text at the end, not past it.
            int64_t room = std::max<int64_t>(0, m_rightLimit - m_penX - fit.width);
            m_penX += std::min(m_pendingRightTab - fit.width, room);
            m_pendingRightTab = 0;
        }
        bool full = false;
        if (fit.mustBreak && newLine(false)) {
            // The piece goes to the top of the next page, never below the text area.
            newPage();
        }
        int32_t fore = m_fore, back = m_back;
        if (kind == QEL_RTF_LINK) {
            fore = m_hot;
        } else if (kind == QEL_RTF_STRUCK) {
            fore = m_back;
            back = m_fore;
        } else if (kind == QEL_RTF_STRUCK_LINK) {
            fore = m_back;
            back = m_hot;
        }
        std::string_view piece = text.substr(0, size_t(fit.count));
        qelListObjectOf(m_pageRuns)->append(makeRun(m_fontIndex, piece, fore, back));
        m_lineRuns.push_back({ m_penX, fit.width, m_metrics.ascent });
        if (kind == QEL_RTF_LINK || kind == QEL_RTF_STRUCK_LINK) {
            qelListObject* item_ = qelListObjectOf(item);
            qelValue target = item_ ? element(*item_, 2) : qelNil;
            qelValue rect = rectValue({ m_penX, m_lineTop, fit.width, m_lineHeight });
            qelListObject* hot = qelListObjectOf(m_pageHot);
            hot->append(qelListOf({ rect, target }));
            m_lineHotAreas.push_back(hot->count - 1);
        }
        m_penX += fit.width;
        if (m_penX >= m_lineRight)
            full = newLine(false);
        text.remove_prefix(size_t(fit.count));
        if (full)
            newPage();
    }
}
