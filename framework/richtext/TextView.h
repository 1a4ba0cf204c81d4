#pragma once

// TextView: the control that shows a rich text on a form. It parses and lays out its text into
// its text region, keeps the result as a text map, and shows it page by page or, when its
// "Scroll" property is a table, as one tall page moved line by line with its own scroll part.
// It finds the hot area (a link) under the pointer, answers a table of verbs and prints.
//
//   "Text"                string, buffer or text map (references followed)
//   "Font"                the body font (screen default Arial 9, print default Times New Roman 9)
//   "Hot Spot"            the control's area; "TextRegion" where the text goes (default the Hot Spot)
//   "BackgroundColor" -1, "ForegroundColor" 1 (when present every run takes it), "BoxColor" 0x808080
//   "StrippedRTF"         the text comes without its wrapping group
//   "Scroll"              a table: "ScrollRegion", "Min", "Max", "Value", "PageInc",
//                         "SometimesShowScroll", "DefaultDraw", "ScrollWidth" (-1: the region's
//                         width), "ButtonHeight" 16, "ThumbHeight" 16, and the images
//                         "ScrollImage", "ScrollBit", "UpImage", "UpHighlight", "DownImage",
//                         "DownHighlight", "ThumbImage", "ThumbHighlight" (images, references
//                         or resource names; missing ones are taken from the screen at the
//                         first draw)
//
// Verbs: "Initialize", "PrevPage", "NextPage", "Draw", "SetText", "SetImageList",
// "hotspotList", "ClearText", "FlushBackground"/"DiscardBK", "CurrentPage", "TotalPages",
// "GetContext", "Print" (options table), "SetValue", "GetValue", "SetTextRun", "GotoMarker",
// "LineUp", "LineDown", "PageUp", "PageDown", "Home", "End".

#include "framework/ui/MediaControlObject.h"

#include <cstdint>
#include <functional>

class TextView : public qelMediaControlObject {
public:
    explicit TextView(const qelValue& data);
    ~TextView() override;

    const char* className() const override { return "TextView"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new TextView(data); }
    void initialize() override;
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    // Home, End, Page Up, Page Down, Up and Down scroll; the form is never told (always 0).
    int32_t key(int32_t code, int32_t modifiers) override;
    int32_t hitTest(int32_t x, int32_t y) override;
    // The hand over a link or the shown scroll part, else the I-beam.
    qelValue getCursor() override;
    qelValue cursorAt(int32_t, int32_t) override { return getCursor(); }
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;

    virtual void previousPage();
    virtual void nextPage();
    virtual void setText(const qelValue& text);
    virtual void clearText();
    virtual void setImageList(const qelValue& list);
    virtual int32_t shownPage() { return currentPage; }
    virtual int32_t totalPages() { return pageCount; }
    // Prints a text (the options' "Text") laid out for the printer; false when nothing printed.
    virtual bool print(const qelValue& options);

    // Drawing pieces that printing shares; page -1 means every page.
    void drawBoxes(int32_t page);
    void drawBitmaps(const qelValue& list, const qelValue& region, int32_t dpi, int32_t page);
    void drawScrolled();
    // The line entry at which scrolled drawing starts.
    qelValue topLine();

    // The scroll part.
    void lineStep(int32_t direction, int32_t highlight);
    void pageStep(int32_t direction);
    void placeThumb();
    void moveThumbTo(int32_t y);
    int32_t valueFromThumb();
    int32_t trackTop();
    int32_t trackBottom();
    int32_t inAboveThumb(int32_t x, int32_t y);
    int32_t inBelowThumb(int32_t x, int32_t y);
    void repeatLine(int32_t direction, int32_t x, int32_t y);
    void repeatPage(int32_t direction, int32_t x, int32_t y);
    void dragThumb(int32_t y);
    void scrollToRun(int32_t run);
    void scrollPartClick(int32_t x, int32_t y);
    void prepareScrollImages();
    void drawScrollButtons();
    void drawScrollTrack();
    void drawThumb(int32_t pressed);
    void drawUpButton(int32_t pressed);
    void drawDownButton(int32_t pressed);
    void drawBevelBox(const qelValue& rect, int32_t pressed);
    // An arrow button: its image, or a bevel box with an arrow pointing up or down.
    void drawArrowButton(const qelValue& button, int32_t pressed, int32_t up);
    // Whether the text is longer than the view, so that the scroll part shows and works.
    bool scrollShown() const { return scrolling && scrollMax > scrollMin; }

    qelValue text;
    qelValue font;
    qelValue hotPayload;
    qelValue hotAreas;
    qelValue hotSpotRegion;
    qelValue bitmaps;
    qelValue boxes;
    qelValue markers;
    qelValue textRegion;
    qelValue imageList;
    int32_t backColor = -1;
    int32_t foreColor = 1;
    int32_t boxColor = 0x808080;
    bool strippedRTF = true;
    bool preparedMap = false;
    bool hasForeColor = false;
    // The form's background under the Hot Spot, grabbed at the first draw.
    qelValue viewBackground;
    int32_t currentPage = 0;
    int32_t pageCount = 0;
    bool initialised = false;

    qelValue lineIndex;
    qelValue scrollClip;
    int32_t lineHeight = 0;
    bool scrolling = false;
    bool sometimesShowScroll = false;
    bool defaultDraw = false;
    int32_t scrollWidth = 0;
    int32_t buttonHeight = 0;
    int32_t thumbHeight = 0;
    int32_t scrollOffset = 0;
    int32_t scrollMin = 0;
    int32_t scrollMax = 0;
    int32_t scrollValue = 0;
    int32_t pageInc = 0;
    qelValue scrollRegion;
    qelValue upButton;
    qelValue downButton;
    qelValue thumb;
    bool scrollImagesReady = false;
    bool hotFlag = false;
    // The scroll part element held down: 0 none, 1 up button, 2 down button, 3 thumb.
    int32_t pressedPart = 0;

private:
    // Parses and lays out an RTF buffer into the layout region; the layout result.
    qelValue layOut(const qelValue& buffer, const qelValue& region);
    void loadBuffer(const qelValue& buffer);
    void buildLineIndex();
    int32_t computeScrollMax();
    // scrollValue clamped (max first, then min), the offset following and the thumb placed.
    void setScrollValue(int64_t value);
    void refreshShown();
    void waitRelease();
    // Follows the held button until its release: `dragged` for every move, `repeat` after
    // 250 ms and then every 50 ms.
    void repeatWhileHeld(
        const std::function<void(int32_t x, int32_t y)>& dragged, const std::function<void()>& repeat);
    // Calls `draw` with the region of every entry [region, ..., page] of the list on the page
    // (-1: on every page); `pageElement` is where the entries hold their page.
    void forEachOnPage(const qelValue& list, int32_t pageElement, int32_t page,
        const std::function<void(const qelValue& entry, const qelValue& region)>& draw);
    // The "Scroll" table's image under the key, references followed and names loaded.
    qelValue scrollImage(const char* key);
};

// The bytes of a text string in a new buffer for the parser: wrapped in "{\par \pard " and "}"
// unless the text comes stripped of its wrapping group.
qelValue qelRtfTextBuffer(const qelValue& text, bool stripped);

// Registers TextView as the prototype of the class name "TextView".
void qelInstallTextView();
