#include "framework/richtext/TextView.h"

#include "framework/display/Cursor.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowObject.h"
#include "framework/richtext/RtfParser.h"
#include "framework/richtext/TextLayout.h"
#include "framework/richtext/TextMap.h"
#include "framework/richtext/TextMeasurer.h"
#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ListScrolling.h"

#include <algorithm>
#include <string>

namespace {

// The layout region of a scrolling view is this tall, so that the layout never breaks a page.
constexpr int32_t unbroken_height = 0x7FFFFFF;
// With "SometimesShowScroll", a text that overflows is laid out again this much narrower, to
// leave room for the scroll part that now shows.
constexpr int32_t shown_scroll_room = 16;
// The scroll width when the table gives neither a width nor a region to take one from.
constexpr int32_t default_scroll_width = 16;

// Screen layouts are at the screen's resolution.
constexpr int32_t screen_dpi = 96;

qelValue tableEntry(const qelValue& table, const char* key)
{
    return qelResolve(qelGet(table, qelValue(key)));
}

int32_t tableInt(const qelValue& table, const char* key, int32_t fallback)
{
    qelValue v = tableEntry(table, key);
    return v.type() == QEL_INT_TYPE ? v.payload() : fallback;
}

bool tableFlag(const qelValue& table, const char* key, bool fallback)
{
    qelValue v = tableEntry(table, key);
    return v.type() == QEL_BOOLEAN_TYPE ? v.payload() != 0 : fallback;
}

// A copy of the bytes of a string or buffer in a new buffer.
qelValue bufferCopy(const char* bytes, int32_t count)
{
    return qelBufferFromMemory(const_cast<char*>(bytes), count, 1);
}

} // namespace

qelValue qelRtfTextBuffer(const qelValue& text, bool stripped)
{
    if (stripped)
        return bufferCopy(qelCString(text), qelCount(text));
    std::string wrapped = "{\\par \\pard ";
    wrapped.append(qelCString(text), size_t(qelCount(text)));
    wrapped += "}";
    return bufferCopy(wrapped.data(), int32_t(wrapped.size()));
}

TextView::TextView(const qelValue& data)
    : qelMediaControlObject(data)
{
}

TextView::~TextView() = default;

void TextView::initialize()
{
    if (initialised)
        clearText();
    qelValue scroll = getProperty("Scroll");
    scrolling = scroll.type() == QEL_TABLE_TYPE;
    scrollImagesReady = false;
    if (scrolling) {
        scrollMin = tableInt(scroll, "Min", 0);
        scrollMax = tableInt(scroll, "Max", 0);
        scrollValue = tableInt(scroll, "Value", 0);
        pageInc = tableInt(scroll, "PageInc", 0);
        sometimesShowScroll = tableFlag(scroll, "SometimesShowScroll", false);
        defaultDraw = tableFlag(scroll, "DefaultDraw", false);
        scrollWidth = tableInt(scroll, "ScrollWidth", -1);
        buttonHeight = tableInt(scroll, "ButtonHeight", 16);
        thumbHeight = tableInt(scroll, "ThumbHeight", 16);
        qelValue given = tableEntry(scroll, "ScrollRegion");
        // -1 asks for the region's width; without a region there is none to take.
        if (scrollWidth == -1)
            scrollWidth = given.type() == QEL_REGION_TYPE ? qelWidth(given) : default_scroll_width;
        scrollValue = std::min(std::max(scrollValue, scrollMin), scrollMax);
    }
    font = getProperty("Font");
    if (font.isNil())
        font = qelFontValue(qelValue("Times New Roman"), 9, 0);
    hotSpotRegion = hotSpot();
    qelValue givenRegion = getProperty("TextRegion");
    bool hadRegion = givenRegion.type() == QEL_REGION_TYPE;
    textRegion = hadRegion ? givenRegion : hotSpotRegion;
    if (textRegion.type() != QEL_REGION_TYPE)
        textRegion = qelRectValue(0, 0, 0, 0);
    if (scrolling) {
        int32_t l = qelLeft(textRegion);
        int32_t t = qelTop(textRegion);
        int32_t w = qelWidth(textRegion);
        int32_t h = qelHeight(textRegion);
        if (!sometimesShowScroll) {
            textRegion = qelRectValue(l, t, w - scrollWidth, h);
            scrollClip = qelRectValue(l, t, w - scrollWidth, unbroken_height);
        } else {
            textRegion = qelCopyRegion(textRegion);
            scrollClip = qelRectValue(l, t, w, unbroken_height);
        }
        qelValue given = tableEntry(scroll, "ScrollRegion");
        scrollRegion = given.type() == QEL_REGION_TYPE ? given : qelRectValue(l + w, t, scrollWidth, h);
        int32_t x = qelLeft(scrollRegion);
        int32_t y = qelTop(scrollRegion);
        int32_t sw = qelWidth(scrollRegion);
        int32_t bottom = y + qelHeight(scrollRegion);
        upButton = qelRectValue(x, y, sw, buttonHeight);
        downButton = qelRectValue(x, bottom - buttonHeight, sw, buttonHeight);
        thumb = qelRectValue(x, y + buttonHeight, sw, thumbHeight);
    }
    hasForeColor = hasProperty(qelValue("ForegroundColor")) != 0;
    backColor = getInt("BackgroundColor", -1);
    foreColor = getInt("ForegroundColor", 1);
    boxColor = getInt("BoxColor", 0x808080);
    strippedRTF = getBool("StrippedRTF", 0) != 0;
    initialised = true;
    if (!hadRegion)
        setProperty(qelValue("TextRegion"), textRegion);
    text = getProperty("Text");
    setText(text);
}

void TextView::setText(const qelValue& given)
{
    if (given.isNil() || (given.isString() && qelCount(given) == 0))
        return;
    // Resolved before the text is dropped: the argument may be the text field itself.
    qelValue t = qelResolve(given);
    text = qelNil;
    preparedMap = false;
    if (t.isString()) {
        t = qelResolve(t);
        if (t.isString() && qelCount(t) > 0)
            loadBuffer(qelRtfTextBuffer(t, strippedRTF));
        else if (t.type() == QEL_BUFFER_TYPE)
            loadBuffer(bufferCopy(reinterpret_cast<const char*>(qelBufferData(t)), qelCount(t)));
    } else if (t.type() == QEL_BUFFER_TYPE) {
        loadBuffer(bufferCopy(reinterpret_cast<const char*>(qelBufferData(t)), qelCount(t)));
    } else if (qelTextMapOf(t)) {
        preparedMap = true;
        text = t;
    }
    currentPage = 1;
    if (qelTextMapOf(text)) {
        pageCount = qelTextMapPageCount(text);
        hotAreas = pageCount > 0 ? qelTextMapPageHotAreas(text, 0) : qelNil;
    } else {
        pageCount = 0;
        hotAreas = qelNil;
    }
    setScrollValue(scrollMin);
}

qelValue TextView::layOut(const qelValue& buffer, const qelValue& region)
{
    qelValue request = qelTable(4, 100, 75);
    qelPut(request, qelValue("Type"), qelValue("RTF"));
    qelPut(request, qelValue("Buffer"), buffer);
    qelValue bodyFont = getProperty("Font");
    qelPut(request, qelValue("Font"), bodyFont.isNil() ? qelFontValue(qelValue("Arial"), 9, 0) : bodyFont);
    qelValue parsed = qelParseRTF(request);
    if (parsed.type() != QEL_TABLE_TYPE)
        return qelNil;
    qelPut(parsed, qelValue("Images"), imageList);
    return qelLayoutText(parsed, region);
}

void TextView::loadBuffer(const qelValue& buffer)
{
    qelValue region = scrolling ? scrollClip : textRegion;
    qelValue result = layOut(buffer, region);
    if (result.type() != QEL_TABLE_TYPE)
        return;
    text = qelTextMapValue(qelWidth(region), qelHeight(region), qelGet(result, qelValue("Fonts")),
        qelGet(result, qelValue("Pages")));
    if (scrolling) {
        buildLineIndex();
        qelValue bodyFont = getProperty("Font");
        qelFontMeasurer measurer(screen_dpi);
        qelFontMeasures m = measurer.selectFont(bodyFont.isNil() ? qelFontValue(qelValue("Arial"), 9, 0) : bodyFont);
        lineHeight = m.ascent + m.descent + m.externalLeading;
        scrollMax = computeScrollMax();
        if (sometimesShowScroll && scrollMax > 0) {
            qelValue narrower = qelRectValue(
                qelLeft(region), qelTop(region), qelWidth(region) - shown_scroll_room, qelHeight(region));
            qelValue again = layOut(buffer, narrower);
            if (again.type() == QEL_TABLE_TYPE) {
                result = again;
                text = qelTextMapValue(qelWidth(narrower), qelHeight(narrower), qelGet(result, qelValue("Fonts")),
                    qelGet(result, qelValue("Pages")));
                buildLineIndex();
                scrollMax = computeScrollMax();
            }
        }
        pageInc = lineHeight > 0 ? qelHeight(textRegion) / lineHeight : 0;
        setScrollValue(0);
    }
    bitmaps = qelGet(result, qelValue("Bitmaps"));
    boxes = qelGet(result, qelValue("Boxes"));
    markers = qelGet(result, qelValue("Markers"));
}

void TextView::buildLineIndex()
{
    lineIndex = qelMakeList(4, 100, 0);
    qelValue runs = qelTextMapPageCount(text) > 0 ? qelTextMapPageRuns(text, 0) : qelNil;
    int32_t count = runs.type() == QEL_LIST_TYPE ? qelCount(runs) : 0;
    int32_t previousY = 0;
    for (int32_t i = 0; i < count; ++i) {
        int32_t y = qelIntValue(qelGet(qelGet(runs, i), 1));
        if (i == 0 || y != previousY) {
            qelValue entry = qelTable(2, 100, 75);
            qelPut(entry, qelValue("Run Num"), qelValue(i));
            qelPut(entry, qelValue("Run Y"), qelValue(y));
            qelAddItem(lineIndex, entry);
        }
        previousY = y;
    }
}

int32_t TextView::computeScrollMax()
{
    int32_t count = qelCount(lineIndex);
    if (count == 0 || lineHeight <= 0)
        return 0;
    int64_t lastY = qelGetInt(qelGet(lineIndex, count - 1), qelValue("Run Y"));
    int64_t overflow = lastY + lineHeight - qelTop(textRegion) - qelHeight(textRegion);
    if (overflow <= 0)
        return 0;
    // To the nearest line: a run's y lies a pixel below its line's top, and that pixel must not
    // make a text that fits scroll.
    return int32_t((overflow * 2 + lineHeight) / (2 * lineHeight));
}

void TextView::setScrollValue(int64_t value)
{
    if (value > scrollMax)
        value = scrollMax;
    if (value < scrollMin)
        value = scrollMin;
    scrollValue = int32_t(value);
    scrollOffset = int32_t(-int64_t(lineHeight) * scrollValue);
    placeThumb();
}

void TextView::clearText()
{
    if (viewBackground.type() == QEL_IMAGE_TYPE && hotSpotRegion.type() == QEL_REGION_TYPE) {
        if (qelWindowObject* port = qelMainPort())
            port->drawImage(viewBackground, qelLeft(hotSpotRegion), qelTop(hotSpotRegion), 0, 0, 0, 0);
        viewBackground = qelNil;
    }
    hotAreas = qelNil;
}

void TextView::setImageList(const qelValue& list)
{
    imageList = list.type() == QEL_TABLE_TYPE ? list : qelNil;
}

void TextView::previousPage()
{
    if (currentPage <= 1 || scrollShown())
        return;
    currentPage -= 1;
    hotAreas = qelTextMapPageHotAreas(text, currentPage - 1);
    draw();
    refreshShown();
}

void TextView::nextPage()
{
    if (currentPage >= pageCount || scrollShown())
        return;
    currentPage += 1;
    hotAreas = qelTextMapPageHotAreas(text, currentPage - 1);
    draw();
    refreshShown();
}

void TextView::scrollToRun(int32_t run)
{
    // A paged view has no lines to scroll by, and a view without text no runs.
    if (lineHeight <= 0 || !qelTextMapOf(text) || qelTextMapPageCount(text) == 0)
        return;
    qelValue runs = qelTextMapPageRuns(text, 0);
    int32_t count = qelCount(runs);
    if (count == 0)
        return;
    run = qelClampInt(run, 0, count - 1);
    int64_t y = qelIntValue(qelGet(qelGet(runs, run), 1));
    setScrollValue((y - (int64_t(qelTop(textRegion)) + 1)) / lineHeight);
}

qelValue TextView::perform(const qelValue& action, const qelValue& data)
{
    if (action == "Initialize") {
        initialize();
        return qelNil;
    }
    if (action == "PrevPage") {
        previousPage();
        return qelNil;
    }
    if (action == "NextPage") {
        nextPage();
        return qelNil;
    }
    if (action == "Draw") {
        draw();
        return qelNil;
    }
    if (action == "SetText") {
        setText(data);
        return qelNil;
    }
    if (action == "SetImageList") {
        setImageList(data);
        return qelNil;
    }
    if (action == "hotspotList")
        return hotAreas;
    if (action == "ClearText") {
        clearText();
        return qelNil;
    }
    if (action == "FlushBackground" || action == "DiscardBK") {
        viewBackground = qelNil;
        return qelNil;
    }
    if (action == "CurrentPage")
        return qelValue(shownPage());
    if (action == "TotalPages")
        return qelValue(totalPages());
    if (action == "GetContext")
        return hotPayload;
    if (action == "Print")
        return qelMakeBoolean(print(data));
    if (action == "SetValue") {
        setScrollValue(qelIntValue(data));
        return qelNil;
    }
    if (action == "GetValue")
        return qelValue(scrollValue);
    if (action == "SetTextRun") {
        scrollToRun(qelIntValue(data));
        return qelNil;
    }
    if (action == "GotoMarker") {
        if (markers.type() != QEL_TABLE_TYPE || !qelContainsKey(markers, data))
            return qelValue(-1);
        int32_t run = qelIntValue(qelGet(markers, data));
        scrollToRun(run);
        return qelValue(run);
    }
    struct Step {
        const char* verb;
        int32_t direction;
        bool page;
    };
    static constexpr Step steps[] = { { "LineUp", 0, false }, { "LineDown", 1, false }, { "PageUp", 0, true },
        { "PageDown", 1, true } };
    for (const Step& step : steps) {
        if (action == step.verb) {
            if (step.page)
                pageStep(step.direction);
            else
                lineStep(step.direction, 0);
            return qelNil;
        }
    }
    if (action == "Home" || action == "End") {
        setScrollValue(action == "Home" ? scrollMin : scrollMax);
        draw();
        refreshShown();
        return qelNil;
    }
    return qelMediaControlObject::perform(action, data);
}

int32_t TextView::key(int32_t code, int32_t)
{
    struct KeyVerb {
        int32_t code;
        const char* verb;
    };
    static constexpr KeyVerb keys[] = { { QEL_KEY_HOME, "Home" }, { QEL_KEY_END, "End" },
        { QEL_KEY_PAGE_UP, "PageUp" }, { QEL_KEY_PAGE_DOWN, "PageDown" }, { QEL_KEY_UP, "LineUp" },
        { QEL_KEY_DOWN, "LineDown" } };
    for (const KeyVerb& k : keys) {
        if (k.code == code) {
            perform(qelValue(k.verb), qelNil);
            break;
        }
    }
    return 0;
}

int32_t TextView::hitTest(int32_t x, int32_t y)
{
    if ((hotAreas.isNil() && !scrollShown()) || !isVisible() || !isEnabled())
        return 0;
    if (scrollShown() && hotSpotRegion.type() == QEL_REGION_TYPE
        && (y < qelTop(hotSpotRegion) || y > qelTop(hotSpotRegion) + qelHeight(hotSpotRegion)))
        return 0;
    // A prepared text map is drawn at the text region's corner, so it is hit there too.
    if (preparedMap)
        hotPayload = qelHitTextMap(hotAreas, x - qelLeft(textRegion), y - scrollOffset - qelTop(textRegion));
    else
        hotPayload = qelHitTextMap(hotAreas, x, y - scrollOffset);
    if (!hotPayload.isNil()) {
        hotFlag = true;
        return 1;
    }
    if (scrollShown() && qelContainsPoint(scrollRegion, x, y)) {
        hotFlag = true;
        return 1;
    }
    hotFlag = false;
    return qelContainsPoint(textRegion, x, y) ? 1 : 0;
}

qelValue TextView::getCursor()
{
    return hotFlag ? qelLoadResource("HandCursor") : qelIBeamCursor();
}

int32_t TextView::track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (scrollShown() && qelContainsPoint(scrollRegion, x, y)) {
        scrollPartClick(x, y);
        pressedPart = 0;
        draw();
        refreshShown();
        return 0;
    }
    return qelMediaControlObject::track(x, y, modifiers, clicks);
}

namespace {

qelNamedObject* textViewPrototype()
{
    return new TextView(qelNil);
}

} // namespace

void qelInstallTextView()
{
    qelSetControlPrototypeMaker("TextView", textViewPrototype);
}
