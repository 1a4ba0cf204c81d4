#pragma once

// The abstract drawing port: the drawing operations of the application window, over the window
// base. Coordinates are port coordinates: the port adds its drawing origin. qelWindowObject
// draws them into an offscreen buffer that maps 1:1 onto the window's media area.

#include "framework/display/AppWindow.h"
#include "framework/runtime/Value.h"

#include <cstdint>

class qelPortObject : public qelWindowBase {
public:
    // A copy of the context drawing goes to.
    virtual qelValue drawingContext() = 0;
    // A blank context image compatible with the target, of the size value's size (a region, or
    // a list of width and height).
    virtual qelValue newContext(const qelValue& size) = 0;
    // Shows an image as the screen's background with its palette (the system palette without one).
    virtual void selectPalette(const qelValue& image, int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void drawImage(
        const qelValue& image, int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t width, int32_t height)
        = 0;
    virtual void stretchImage(const qelValue& image, int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void update() = 0;
    virtual qelValue grabImage(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void copyToImage(const qelValue& image, int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual int32_t setColor(int32_t color) = 0;
    virtual int32_t setBackColor(int32_t color) = 0;
    virtual int32_t setLineWidth(int32_t width) = 0;
    virtual qelValue setFont(const qelValue& font) = 0;
    virtual void drawText(
        const qelValue& text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t alignment, int32_t wrap)
        = 0;
    virtual int32_t drawTextMap(
        const qelValue& textMap, int32_t page, int32_t x, int32_t y, int32_t keepColors, int32_t start)
        = 0;
    virtual void rectangle(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    // `points` holds `count` pairs of x, y.
    virtual void polyline(int32_t count, const int32_t* points) = 0;
    virtual void updateRect(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void measureString(const qelValue& text, const qelValue& font, int32_t* width, int32_t* height) = 0;
    virtual void measureTextBox(const qelValue& text, const qelValue& font, int32_t* width, int32_t* height) = 0;
    virtual void showCaret(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void hideCaret() = 0;
    virtual void clipRect(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void resetClip() = 0;
    virtual int32_t setOrigin(int32_t x, int32_t y) = 0;
    virtual qelValue setAlternateContext(const qelValue& context) = 0;
    virtual int32_t useAlternateContext(int32_t flag) = 0;

    // Back colour (-1: transparent text background) and colour, 0x00BBGGRR.
    int32_t backColor = -1;
    int32_t color = 0xFFFFFF;
    // The selected font value; nil is the default font.
    qelValue font;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t autoRefresh = 1;
};

// The port of a window value, or null.
qelPortObject* qelPortOf(const qelValue& window);
