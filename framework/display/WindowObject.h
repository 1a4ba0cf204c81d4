#pragma once

// qelWindowObject: the application window's drawing port. Drawing goes into an offscreen
// buffer of the media size (a memory context over a surface) or, while printing, into the
// alternate context; every drawing invalidates its refresh rectangle, and the window's paint
// copies invalidated areas from the offscreen buffer to the screen.
//
// Pens, brushes, the text colour and the font are applied to the target lazily, when a drawing
// needs them and they differ from what was applied last, or before every drawing when
// "DisableDrawingAttributeCaching" is true.

#include "framework/display/Port.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/MemoryDc.h"
#include "platform/gfx/Surface.h"

#include <memory>

class qelWindowObject : public qelPortObject {
public:
    qelWindowObject();
    ~qelWindowObject() override;

    // Window base operations.
    void onCreate() override;
    void onFocusGained() override;
    void onFocusLost() override;
    void blit(const platform::gfx::Rect& rect) override;
    qelValue palette() override { return m_palette; }
    void makeOffscreenBuffer() override;
    void freeOffscreenBuffer() override;

    // Drawing operations.
    qelValue drawingContext() override { return m_target; }
    qelValue newContext(const qelValue& size) override;
    void selectPalette(const qelValue& image, int32_t x, int32_t y, int32_t width, int32_t height) override;
    void drawImage(
        const qelValue& image, int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t width, int32_t height) override;
    void stretchImage(const qelValue& image, int32_t x, int32_t y, int32_t width, int32_t height) override;
    void update() override;
    qelValue grabImage(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void copyToImage(const qelValue& image, int32_t x, int32_t y, int32_t width, int32_t height) override;
    int32_t setColor(int32_t color) override;
    int32_t setBackColor(int32_t color) override;
    int32_t setLineWidth(int32_t width) override;
    qelValue setFont(const qelValue& font) override;
    void drawText(const qelValue& text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t alignment,
        int32_t wrap) override;
    int32_t drawTextMap(
        const qelValue& textMap, int32_t page, int32_t x, int32_t y, int32_t keepColors, int32_t start) override;
    void rectangle(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void polyline(int32_t count, const int32_t* points) override;
    void updateRect(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void measureString(const qelValue& text, const qelValue& font, int32_t* width, int32_t* height) override;
    void measureTextBox(const qelValue& text, const qelValue& font, int32_t* width, int32_t* height) override;
    void showCaret(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void hideCaret() override;
    void clipRect(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void resetClip() override;
    int32_t setOrigin(int32_t x, int32_t y) override;
    qelValue setAlternateContext(const qelValue& context) override;
    int32_t useAlternateContext(int32_t flag) override;

    // The refresh rectangle of a drawing at (x, y, w, h): origin and media offset added, one
    // pixel wider and taller. refresh() invalidates it when auto-refresh is on.
    platform::gfx::Rect refreshRect(int32_t x, int32_t y, int32_t width, int32_t height) const;
    void refresh(int32_t x, int32_t y, int32_t width, int32_t height);
    // Invalidates a window rectangle without erasing; the next paint copies it to the screen.
    virtual void invalidateWindow(const platform::gfx::Rect& rect);

    // The device context drawing goes to, and the offscreen buffer's (null without a buffer).
    platform::gfx::Dc* target() const;
    platform::gfx::MemoryDc* offscreenDc() const { return m_offscreenDc.get(); }
    const platform::gfx::Surface* offscreen() const { return m_offscreen.get(); }
    qelValue offscreenContext() const { return m_offscreenContext; }
    qelValue previousPalette() const { return m_previousPalette; }
    int32_t lineWidth() const { return m_lineWidth; }
    int32_t cachingDisabled() const { return m_cachingDisabled; }
    int32_t paletteDisplay() const { return m_paletteDisplay; }
    platform::gfx::Rect caretRect() const { return m_caret; }
    // The clip rectangle (port origin included).
    struct ClipField {
        int32_t left = 0;
        int32_t top = 0;
        int32_t width = 0;
        int32_t height = 0;
    };
    ClipField clipField() const { return m_clip; }

    // How many pens and brushes the port has made (each made pen or brush is selected at once).
    int32_t pensMade = 0;
    int32_t brushesMade = 0;
    int32_t textColorsApplied = 0;

private:
    void makePenCurrent();
    void makeBrushCurrent();
    void makeTextColorCurrent();
    // Drops the applied-attribute caches: the next drawing applies everything to the new target.
    void targetChanged();
    void selectFontInto(platform::gfx::Dc& dc, const qelValue& font);

    std::unique_ptr<platform::gfx::Surface> m_offscreen;
    std::unique_ptr<platform::gfx::MemoryDc> m_offscreenDc;
    qelValue m_offscreenContext;
    qelValue m_alternateContext;
    qelValue m_target;
    qelValue m_palette;
    qelValue m_previousPalette;
    bool m_hasPen = false;
    bool m_hasBrush = false;
    int32_t m_lineWidth = 0;
    int32_t m_penWidthCache = -1;
    int32_t m_brushColorCache = -1;
    int32_t m_penColorCache = -1;
    int32_t m_textColorCache = -1;
    bool m_textColorApplied = false;
    platform::gfx::Rect m_caret;
    int32_t m_paletteDisplay = 0;
    ClipField m_clip;
    int32_t m_cachingDisabled = 1;
};

// Makes the window maker of qelCreateMainWindow build drawing ports.
void qelInstallWindowObjectMaker();
