#pragma once

// The state of one layout pass (qelLayoutText makes one on the stack). Coordinates are kept in
// 64 bits so that no text, indent or picture size can overflow them; they are cut to 32 bits
// where they become values.

#include "framework/richtext/TextMeasurer.h"
#include "framework/runtime/Value.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class qelListObject;

class qelTextLayout {
public:
    qelTextLayout(const qelValue& request, const qelValue& region, qelTextMeasurer& measurer);
    qelValue run();

    struct Fit {
        int32_t count = 0;
        int64_t width = 0;
        bool mustBreak = false;
    };

    void alignLine(int32_t start, int32_t mode);
    int64_t lineLeft();
    int64_t lineRight();
    bool newLine(bool firstLineOfParagraph);
    void newPage();
    void placeText(std::string_view text, int32_t kind, const qelValue& item);
    Fit fitText(std::string_view text, int64_t available);
    qelValue makeRun(int32_t fontIndex, std::string_view text, int32_t fore, int32_t back);

private:
    struct Rect {
        int64_t x, y, w, h;
    };
    struct LineRun {
        int64_t x;
        int64_t width;
        int32_t ascent;
    };
    struct PieceHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view> {}(s); }
    };
    using WidthCache = std::unordered_map<std::string, int32_t, PieceHash, std::equal_to<>>;

    void listItem(const qelValue& item, qelListObject& list);
    void bareItem(int32_t type);
    void unknownItem();
    void selectFont(int32_t index);
    void raiseLineHeight();
    void picture(const qelValue& item, int32_t type);
    void tab();
    void box(int32_t count);
    void closeLine();
    void recomputeEdges();
    bool inside(int64_t x, int64_t y) const;
    int64_t clampRow(int64_t y) const;
    int64_t pieceWidth(std::string_view piece);
    qelValue rectValue(const Rect& r) const;

    qelTextMeasurer& m_measurer;
    qelValue m_request;
    qelValue m_fonts;
    int32_t m_fontCount = 0;

    // The region: its box (right and bottom inclusive) and, for a polygon, the region itself.
    qelValue m_region;
    bool m_isRectangle = true;
    int64_t m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;

    int32_t m_dpi = 96;
    int32_t m_twipsPerPixel = 15;
    int32_t m_pictureScale = 1;
    int32_t m_fore = 1, m_back = -1, m_hot = 0xFF;
    bool m_noBitmaps = false, m_noBoxes = false;
    int64_t m_titleHeight = 0;

    std::vector<std::pair<int64_t, int32_t>> m_tabStops;
    int32_t m_tabCounter = 0;
    int64_t m_pendingRightTab = 0;
    int32_t m_pageIndex = 0;
    qelValue m_pages, m_pageRuns, m_pageHot, m_bitmaps, m_markers, m_boxes;
    bool m_pageHasObjects = false;
    std::vector<Rect> m_floats;

    int64_t m_lineLeft = 0, m_lineRight = 0, m_tabOrigin = 0, m_lineHeight = 0;
    int64_t m_firstIndent = 0, m_leftIndent = 0, m_nextIndent = 0;
    int64_t m_penX = 0, m_lineTop = 0, m_rightLimit = 0, m_lineBottom = 0;
    qelValue m_lastRect;
    int32_t m_fontIndex = -1;
    qelFontMeasures m_metrics;
    int32_t m_alignMode = 0;

    // The runs of the line being filled (their first index on the page, widths and ascents) and
    // the hot areas of its link pieces (indexes into the page's hot areas).
    int32_t m_lineStart = 0;
    std::vector<LineRun> m_lineRuns;
    std::vector<int32_t> m_lineHotAreas;

    // Piece widths per font index; the last slot serves fonts outside the font list.
    std::vector<WidthCache> m_widths;
};
