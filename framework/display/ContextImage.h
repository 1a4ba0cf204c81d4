#pragma once

// Context images: a picture held in a device context. An owning one has its own pixels (a
// surface and a memory context over it) and is made by copying from another context or by
// drawing another image; a non-owning one wraps a context that lives elsewhere (the port's
// offscreen buffer) and leaves it alone.

#include "framework/display/Image.h"
#include "platform/gfx/MemoryDc.h"
#include "platform/gfx/Surface.h"

#include <memory>

class qelContextImageObject final : public qelImageObject {
public:
    // A copy of (x, y, w, h) of the context's pixels (outside them: black).
    qelContextImageObject(const qelValue& context, int32_t x, int32_t y, int32_t w, int32_t h);
    // A blank (black) owning image of w x h.
    qelContextImageObject(int32_t w, int32_t h);
    // Wraps a context without owning it; w x h is the size it answers.
    qelContextImageObject(platform::gfx::Dc* dc, int32_t w, int32_t h);

    bool validate() override { return true; }
    qelValue palette() override { return paletteValue; }
    void renderIntoContext(platform::gfx::Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy,
        const qelValue& mask, platform::gfx::RasterOp op) override;
    void stretchIntoContext(platform::gfx::Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy,
        int32_t sw, int32_t sh, const qelValue& mask, platform::gfx::RasterOp op) override;
    const char* typeName() const override { return "context"; }
    // A 24-bit packed DIB of the picture.
    qelValue bits() override;

    platform::gfx::Dc* dc() const { return m_dc; }
    int32_t owns() const { return m_pixels ? 1 : 0; }

private:
    void makeOwned(int32_t w, int32_t h);

    // The pixels of an owning image; its context value shares them.
    struct Pixels {
        explicit Pixels(int32_t w, int32_t h)
            : surface(w, h, 0)
            , dc(surface)
        {
        }
        platform::gfx::Surface surface;
        platform::gfx::MemoryDc dc;
    };
    std::shared_ptr<Pixels> m_pixels;
    platform::gfx::Dc* m_dc = nullptr;
};

qelContextImageObject* qelContextImageOf(const qelValue& value);
// A blank context image of the size (a region's width and height, or an int for a square),
// compatible with the port.
qelValue qelMakeContextImage(int32_t width, int32_t height);
