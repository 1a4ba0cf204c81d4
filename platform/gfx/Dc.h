#pragma once

// A device context: drawing attributes (pen, brush, text colour, background mode and colour,
// clip rectangle, font, palette, current position) plus drawing operations. The attributes
// live here; the operations are virtual so that a second kind of device (a print surface) can
// implement them. MemoryDc draws into a Surface.
//
// Coordinates are device pixels. Rectangles exclude their right and bottom edges. Colours are
// colour references (0x00BBGGRR). The numeric constants are those of the drawing calls the
// display code was written against.

#include "platform/gfx/Color.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Palette.h"

#include <cstdint>
#include <memory>

namespace platform::gfx {

class Dib;
class Surface;

// Ternary raster operations of the blits.
enum class RasterOp : uint32_t {
    SrcCopy = 0xCC0020, // destination = source
    SrcInvert = 0x660046, // destination = destination XOR source
    SrcAnd = 0x8800C6, // destination = destination AND source
};

enum class BkMode : int {
    Transparent = 1,
    Opaque = 2,
};

// Device capability indexes and the raster-capability bit that says "palette device".
enum class DeviceCap : int {
    BitsPixel = 12,
    HorzRes = 8,
    VertRes = 10,
    RasterCaps = 38,
    LogPixelsX = 88,
    LogPixelsY = 90,
    SizePalette = 104,
};
constexpr int rasterCapsPalette = 0x0100;

enum class PenStyle : int {
    Solid = 0,
};

// A pen of width 0 or 1 draws one-pixel lines; wider pens are centred on the path.
struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    ColorRef color = 0;
    bool operator==(const Pen&) const = default;
};

struct Brush {
    ColorRef color = 0xFFFFFF;
    bool operator==(const Brush&) const = default;
};

class Dc {
public:
    virtual ~Dc() = default;

    // Attributes. Each setter returns the previous value.
    Pen selectPen(const Pen& pen);
    Brush selectBrush(const Brush& brush);
    std::shared_ptr<const Font> selectFont(std::shared_ptr<const Font> font);
    std::shared_ptr<const Palette> selectPalette(std::shared_ptr<const Palette> palette);
    ColorRef setTextColor(ColorRef color);
    ColorRef setBkColor(ColorRef color);
    BkMode setBkMode(BkMode mode);
    Point moveTo(int x, int y);

    const Pen& pen() const { return m_pen; }
    const Brush& brush() const { return m_brush; }
    const std::shared_ptr<const Font>& font() const { return m_font; }
    const std::shared_ptr<const Palette>& palette() const { return m_palette; }
    ColorRef textColor() const { return m_textColor; }
    ColorRef bkColor() const { return m_bkColor; }
    BkMode bkMode() const { return m_bkMode; }
    Point currentPosition() const { return m_position; }

    // Clipping: drawing touches only pixels inside the clip rectangle, which always lies
    // inside the device. intersectClipRect narrows it; selectClipRect replaces it (cut to the
    // device); resetClip makes it the whole device again.
    void intersectClipRect(const Rect& rect);
    void selectClipRect(const Rect& rect);
    void resetClip();
    Rect clipBox() const { return m_clip; }

    // The whole device in its own pixels.
    virtual Rect deviceBounds() const = 0;
    virtual int deviceCaps(DeviceCap cap) const = 0;
    // The pixels behind this context when it is a raster device, else null (not a blit source).
    virtual const Surface* surface() const = 0;

    // Fills `rect` with `brush`, ignoring the pen.
    virtual void fillRect(const Rect& rect, const Brush& brush) = 0;
    // Outline with the pen drawn inside [left, right) x [top, bottom), inside filled with the
    // brush. Swapped corners are put in order first.
    virtual void rectangle(int left, int top, int right, int bottom) = 0;
    // A line with the pen from the current position to (x, y), leaving out (x, y) itself; the
    // current position becomes (x, y).
    virtual void lineTo(int x, int y) = 0;
    // Copies w x h pixels of `source` at (sx, sy) to (x, y). False when the source has no
    // pixels, the operation is unknown or a size is not positive.
    virtual bool bitBlt(int x, int y, int w, int h, const Dc& source, int sx, int sy, RasterOp op) = 0;
    // Nearest-neighbour stretch of (sx, sy, sw, sh) of `source` to (x, y, w, h).
    virtual bool stretchBlt(int x, int y, int w, int h, const Dc& source, int sx, int sy, int sw, int sh, RasterOp op)
        = 0;
    // Nearest-neighbour stretch of a device-independent bitmap. For a bottom-up bitmap `sy`
    // counts rows from the bottom edge (the source rectangle is rows height - sy - sh up to
    // height - sy from the top); for a top-down one from the top. Returns the number of source
    // rows used, 0 when nothing could be drawn.
    virtual int stretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh, const Dib& dib, RasterOp op)
        = 0;
    // Paints the set bits of a one-bit-per-pixel mask (rows top-down, most significant bit
    // first, `pitch` bytes apart) in `color` with its top-left corner at (x, y).
    virtual void drawMask(int x, int y, int width, int height, const uint8_t* bits, int pitch, ColorRef color) = 0;

protected:
    // Call from the derived constructor once deviceBounds() answers.
    void initClip() { m_clip = deviceBounds(); }

private:
    Pen m_pen {};
    Brush m_brush {};
    std::shared_ptr<const Font> m_font;
    std::shared_ptr<const Palette> m_palette;
    ColorRef m_textColor = 0;
    ColorRef m_bkColor = 0xFFFFFF;
    BkMode m_bkMode = BkMode::Opaque;
    Point m_position {};
    Rect m_clip {};
};

} // namespace platform::gfx
