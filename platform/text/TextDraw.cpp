#include "platform/text/TextDraw.h"

#include <algorithm>
#include <string>
#include <vector>

namespace platform::text {

using gfx::Rect;

gfx::Size textExtent(const gfx::Font& font, std::string_view text)
{
    int64_t width = 0;
    for (char c : text)
        width += font.glyph(uint8_t(c)).advance;
    return { gfx::clampToInt(width + font.metrics().overhang), font.metrics().height };
}

gfx::Size textExtent(const gfx::Dc& dc, std::string_view text)
{
    if (!dc.font())
        return {};
    return textExtent(*dc.font(), text);
}

namespace {

    int advanceOf(const gfx::Font& font, std::string_view text)
    {
        int64_t width = 0;
        for (char c : text)
            width += font.glyph(uint8_t(c)).advance;
        return gfx::clampToInt(width);
    }

    // Draws the glyphs and the font's underline and strike-out; `underlineAt` additionally
    // underlines one character (a prefix mark), -1 for none.
    void drawRun(gfx::Dc& dc, const gfx::Font& font, int x, int y, std::string_view text, int underlineAt)
    {
        const gfx::TextMetrics& m = font.metrics();
        int baseline = y + m.ascent;
        int64_t pen = x;
        int64_t markLeft = 0;
        int64_t markRight = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            const gfx::Glyph& g = font.glyph(uint8_t(text[i]));
            if (!g.bits.empty())
                dc.drawMask(gfx::clampToInt(pen + g.left), baseline - g.top, g.width, g.height, g.bits.data(), g.pitch,
                    dc.textColor());
            if (int(i) == underlineAt) {
                markLeft = pen;
                markRight = pen + g.advance;
            }
            pen += g.advance;
        }
        gfx::Brush stroke { dc.textColor() };
        int thickness = font.strokeThickness();
        if (m.underline)
            dc.fillRect(
                Rect::fromSize(x, baseline + font.underlineOffset(), gfx::clampToInt(pen - x), thickness), stroke);
        if (m.strikeOut)
            dc.fillRect(
                Rect::fromSize(x, baseline + font.strikeOutOffset(), gfx::clampToInt(pen - x), thickness), stroke);
        if (markRight > markLeft)
            dc.fillRect(Rect::fromSize(gfx::clampToInt(markLeft), baseline + font.underlineOffset(),
                            gfx::clampToInt(markRight - markLeft), thickness),
                stroke);
    }

    void fillBackground(gfx::Dc& dc, const Rect& cell)
    {
        if (dc.bkMode() == gfx::BkMode::Opaque)
            dc.fillRect(cell, { dc.bkColor() });
    }

    struct Line {
        size_t start;
        size_t end;
    };

    bool isBreak(char c)
    {
        return c == '\r' || c == '\n';
    }

    // Splits a paragraph [start, end) into lines no wider than `width` (see drawText).
    void wrapParagraph(
        const gfx::Font& font, std::string_view text, size_t start, size_t end, int width, std::vector<Line>& lines)
    {
        size_t pos = start;
        do {
            // Take whole words while they fit; spaces between them count, spaces after the last do not.
            size_t fitEnd = pos;
            size_t scan = pos;
            int64_t scanWidth = 0;
            while (scan < end) {
                size_t wordEnd = scan;
                int64_t w = scanWidth;
                while (wordEnd < end && text[wordEnd] == ' ')
                    w += font.glyph(' ').advance, ++wordEnd;
                while (wordEnd < end && text[wordEnd] != ' ')
                    w += font.glyph(uint8_t(text[wordEnd])).advance, ++wordEnd;
                if (w > width && fitEnd > pos)
                    break;
                if (w > width) {
                    // The first word alone is too wide: keep as many characters as fit, at least one.
                    size_t cut = pos;
                    int64_t cw = 0;
                    while (cut < wordEnd) {
                        int a = font.glyph(uint8_t(text[cut])).advance;
                        if (cut > pos && cw + a > width)
                            break;
                        cw += a;
                        ++cut;
                    }
                    fitEnd = cut;
                    break;
                }
                fitEnd = wordEnd;
                scan = wordEnd;
                scanWidth = w;
            }
            size_t lineEnd = fitEnd;
            while (lineEnd > pos && text[lineEnd - 1] == ' ')
                --lineEnd;
            lines.push_back({ pos, lineEnd });
            // The spaces at a break belong to neither line.
            pos = fitEnd;
            while (pos < end && text[pos] == ' ')
                ++pos;
        } while (pos < end);
    }

    // Removes prefix marks: "&&" becomes "&", "&x" becomes x and records its position.
    std::string stripPrefixes(std::string_view text, int& marked)
    {
        std::string out;
        marked = -1;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '&' && i + 1 < text.size()) {
                ++i;
                if (text[i] != '&')
                    marked = int(out.size());
            } else if (text[i] == '&') {
                continue;
            }
            out += text[i];
        }
        return out;
    }

} // namespace

bool textOut(gfx::Dc& dc, int x, int y, std::string_view text)
{
    if (!dc.font())
        return false;
    const gfx::Font& font = *dc.font();
    gfx::Size size = textExtent(font, text);
    fillBackground(dc, Rect::fromSize(x, y, size.width, size.height));
    drawRun(dc, font, x, y, text, -1);
    return true;
}

int drawText(gfx::Dc& dc, std::string_view original, Rect& rect, unsigned format)
{
    if (!dc.font() || original.empty())
        return 0;
    const gfx::Font& font = *dc.font();
    int lineHeight = font.metrics().height;

    int marked = -1;
    std::string stripped;
    std::string_view text = original;
    if (!(format & drawTextNoPrefix)) {
        stripped = stripPrefixes(original, marked);
        text = stripped;
    }

    std::vector<Line> lines;
    if (format & drawTextSingleLine) {
        lines.push_back({ 0, text.size() });
    } else {
        // Paragraphs end at CR, LF or CR LF; a break at the very end starts no further line.
        size_t start = 0;
        while (true) {
            size_t end = start;
            while (end < text.size() && !isBreak(text[end]))
                ++end;
            if (format & drawTextWordBreak)
                wrapParagraph(font, text, start, end, rect.width(), lines);
            else
                lines.push_back({ start, end });
            if (end >= text.size())
                break;
            start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
            if (start >= text.size())
                break;
        }
    }

    int64_t total = int64_t(lineHeight) * int64_t(lines.size());
    if (format & drawTextCalcRect) {
        int64_t widest = 0;
        for (const Line& line : lines) {
            std::string_view shown = text.substr(line.start, line.end - line.start);
            if (format & drawTextSingleLine) {
                std::string kept;
                for (char c : shown)
                    if (!isBreak(c))
                        kept += c;
                widest = std::max<int64_t>(widest, advanceOf(font, kept));
            } else {
                widest = std::max<int64_t>(widest, advanceOf(font, shown));
            }
        }
        rect.right = gfx::clampToInt(int64_t(rect.left) + widest);
        rect.bottom = gfx::clampToInt(int64_t(rect.top) + total);
        return gfx::clampToInt(total);
    }

    Rect savedClip = dc.clipBox();
    if (!(format & drawTextNoClip))
        dc.intersectClipRect(rect);
    int64_t y = rect.top;
    if (format & drawTextSingleLine) {
        if (format & drawTextVCenter)
            y = rect.top + (int64_t(rect.height()) - lineHeight) / 2;
        else if (format & drawTextBottom)
            y = int64_t(rect.bottom) - lineHeight;
    }
    for (const Line& line : lines) {
        std::string shown(text.substr(line.start, line.end - line.start));
        int mark = (marked >= int(line.start) && marked < int(line.end)) ? marked - int(line.start) : -1;
        if (format & drawTextSingleLine) {
            // Line-break characters on a single line are left out.
            std::string kept;
            int keptMark = -1;
            for (size_t i = 0; i < shown.size(); ++i) {
                if (int(i) == mark)
                    keptMark = int(kept.size());
                if (!isBreak(shown[i]))
                    kept += shown[i];
            }
            shown = std::move(kept);
            mark = keptMark;
        }
        int64_t width = advanceOf(font, shown);
        int64_t x = rect.left;
        if (format & drawTextCenter)
            x = rect.left + (int64_t(rect.width()) - width) / 2;
        else if (format & drawTextRight)
            x = int64_t(rect.right) - width;
        int cx = gfx::clampToInt(x);
        int cy = gfx::clampToInt(y);
        fillBackground(dc, Rect::fromSize(cx, cy, textExtent(font, shown).width, lineHeight));
        drawRun(dc, font, cx, cy, shown, mark);
        y += lineHeight;
    }
    dc.selectClipRect(savedClip);
    return gfx::clampToInt(total);
}

} // namespace platform::text
