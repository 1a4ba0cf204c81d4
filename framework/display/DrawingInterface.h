#pragma once

// The drawing operations forms, controls and the application call. Each acts on the main port
// (the current environment's main window) at the moment of the call and forwards to one port
// operation; coordinates are port coordinates. Without a main port they do nothing and answer 0
// or nil.

#include "framework/runtime/Value.h"
#include "platform/gfx/Dc.h"

#include <cstdint>

class qelWindowObject;

// The window value the drawing operations use; the environment sets it when it makes its main
// window, and nil clears it.
void qelSetMainPort(const qelValue& window);
qelValue qelMainPortValue();
qelWindowObject* qelMainPort();

// A blank context image of the size (a region or a list of width and height), or a copy of an
// image that can be drawn on.
qelValue qelMakeContext(const qelValue& size);
int32_t qelSetColor(int32_t color);
int32_t qelSetBackColor(int32_t color);
int32_t qelSetLineWidth(int32_t width);
// A font value, or a font resource name resolved through the resource hook (nil when it names
// nothing, which selects the default font). Answers the previous font value.
qelValue qelSetFont(const qelValue& fontOrName);
void qelDrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void qelDrawPolyline(int32_t count, const int32_t* points);
// Draws the rectangle in the colour and puts the port's colour back.
void qelRectangle(int32_t x, int32_t y, int32_t width, int32_t height, int32_t color);
int32_t qelDrawTextMap(const qelValue& textMap, int32_t x, int32_t y, int32_t page, int32_t keepColors);
int32_t qelDrawTextMapEx(
    const qelValue& textMap, int32_t x, int32_t y, int32_t page, int32_t keepColors, int32_t start);
void qelDrawTextInRect(
    const qelValue& text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t alignment, int32_t wrap);
int32_t qelSetAutoRefresh(int32_t flag);
void qelShowCaret(int32_t x, int32_t y, int32_t width, int32_t height);
void qelHideCaret();
void qelMeasureString(const qelValue& text, const qelValue& fontOrName, int32_t* width, int32_t* height);
void qelStringWidth(const qelValue& text, int32_t* width, int32_t* height);
void qelDrawTextMeasure(const qelValue& text, const qelValue& fontOrName, int32_t* width, int32_t* height);
void qelClipRect(int32_t x, int32_t y, int32_t width, int32_t height);
void qelResetClip();
// Both answer the previous origin through the out arguments (when given).
void qelSetOrigin(int32_t x, int32_t y, int32_t* previousX = nullptr, int32_t* previousY = nullptr);
void qelSetOriginXY(int32_t x, int32_t y, int32_t* previousX = nullptr, int32_t* previousY = nullptr);
int32_t qelOriginX();
int32_t qelOriginY();
// "MediaWidth" (640) and "MediaHeight" (480).
int32_t qelMediaWidth();
int32_t qelMediaHeight();
// The offscreen buffer's device context.
platform::gfx::Dc* qelMainWindowDC();
// Selects the font, reads its metrics into the out arguments that are given ("Cannot select
// font: " + the font when it has none) and puts the previous font back.
void qelFontMetrics(const qelValue& fontOrName, int32_t* ascent, int32_t* descent, int32_t* maxCharWidth,
    int32_t* internalLeading, int32_t* externalLeading, int32_t* overhang);
qelValue qelMainWindowPalette();
void qelInvalidateMain(int32_t x, int32_t y, int32_t width, int32_t height);

// How font names are resolved: the resource loader installs its resolver; without one a name
// resolves to nothing.
using qelFontResolver = qelValue (*)(const qelValue& name);
void qelSetFontResolver(qelFontResolver resolver);
