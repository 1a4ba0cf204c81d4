#pragma once

// Menu: a pop-up menu that sits on a form as a control and shows nothing while idle. A press in
// its hot spot opens a box of "Items" beside the pointer; the item under the pointer is
// highlighted and, when "CascadingItems" maps it to a list, a second box (the cascade) opens
// beside it. A press (or a release after a drag) on an item chooses it, a press elsewhere cancels,
// a key chooses the highlighted item and still reaches the form. The screen is put back and the
// choice is read with "GetResult".
//
//   "Items"                    list of texts (a menu without items opens nothing)
//   "CascadingItems"           table: item text -> list of texts
//   "Results"                  list parallel to "Items", answered instead of the texts (no cascades)
//   "Font", "Background"       font; image cut to each box's size (else plain grey)
//   "FixedX", "FixedY", "CascadeFixedX", "CascadeFixedY"   text area corners
//   "ForegroundColor" (1), "BackgroundColor" (-1), "SelectedForegroundColor" (0xFFFFFF),
//   "SelectedBackgroundColor" (1)

#include "framework/ui/MediaControlObject.h"

#include <cstdint>

class Menu : public qelMediaControlObject {
public:
    // One box's text area and rows: left L, top T, widest text W, item height H, n items.
    struct BoxGeometry {
        int32_t left = 0;
        int32_t top = 0;
        int32_t width = 0;
        int32_t height = 0;
        int32_t itemWidth = 0;
        int32_t itemHeight = 0;
        int32_t count = 0;
        int32_t highlightLeft = 0;
        int32_t highlightTop = 0;
    };
    struct Rect {
        int32_t x = 0;
        int32_t y = 0;
        int32_t w = 0;
        int32_t h = 0;
        bool contains(int32_t px, int32_t py) const { return px >= x && py >= y && px < x + w && py < y + h; }
        bool operator==(const Rect&) const = default;
    };

    explicit Menu(const qelValue& data);
    ~Menu() override;

    const char* className() const override { return "Menu"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new Menu(data); }
    void initialize() override { init(); }
    qelValue perform(const qelValue& action, const qelValue& data) override;
    // 1 when a choice was made.
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;

    virtual void init();
    virtual void placeMenu(int32_t x, int32_t y);
    virtual void measureItems();
    virtual void drawMenu();
    virtual void drawCascade();
    virtual void placeCascade();
    virtual void measureCascade();
    virtual void drawFrame(int32_t x, int32_t y, int32_t width, int32_t height);

    // The geometry rules of a box.
    static Rect rowRect(const BoxGeometry& box, int32_t i);
    static Rect drawnBox(const BoxGeometry& box);
    static Rect mainHitRegion(const BoxGeometry& box);
    static Rect highlightBar(const BoxGeometry& box, int32_t i);
    // The row under y, limited to the box's rows; -1 for a box without rows.
    static int32_t rowIndexAt(const BoxGeometry& box, int32_t y);

    qelValue result;
    int32_t currentItem = -1;
    BoxGeometry mainBox;
    qelValue savedMain;
    qelValue savedHighlight;
    int32_t cascading = 0;
    int32_t currentCascadeItem = -1;
    qelValue cascadeOwner;
    qelValue savedCascade;
    qelValue savedCascadeHighlight;
    BoxGeometry cascadeBox;
    int32_t cascadeOpen = 0;
    Rect ownerRow;
    int32_t hasBackground = 0;
    int32_t foregroundColor = 1;
    int32_t backgroundColor = -1;
    int32_t selectedForegroundColor = 0xFFFFFF;
    int32_t selectedBackgroundColor = 1;
    uint32_t clickGuard = 0;

private:
    qelValue font();
    qelValue items();
    qelValue cascadeList();
    // The list of texts a main item opens, nil when it opens none.
    qelValue cascadeOf(const qelValue& item);
    void measure(const qelValue& list, BoxGeometry& box);
    void drawBox(const BoxGeometry& box, const qelValue& list, qelValue& saved, bool framed);
    void highlight(BoxGeometry& box, const qelValue& list, int32_t i, qelValue& saved);
    void restore(qelValue& saved, int32_t x, int32_t y);
    void openCascade(int32_t i);
    void closeCascade();
    void hover(int32_t x, int32_t y);
    bool inCascade(int32_t x, int32_t y) const;
};
