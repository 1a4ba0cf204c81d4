#pragma once

// JPEG images: the bytes of a JPEG file, decoded again into a 24-bit bottom-up bitmap whenever
// they are drawn or their bits are asked for (nothing is cached). Validation reads only the
// header; a picture whose later data is damaged validates but draws nothing.

#include "framework/display/Image.h"
#include "platform/gfx/Dib.h"

#include <optional>

class qelJPEGImageObject final : public qelImageObject {
public:
    bool validate() override;
    qelValue palette() override { return qelNil; }
    void renderIntoContext(platform::gfx::Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy,
        const qelValue& mask, platform::gfx::RasterOp op) override;
    void stretchIntoContext(platform::gfx::Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy,
        int32_t sw, int32_t sh, const qelValue& mask, platform::gfx::RasterOp op) override;
    const char* typeName() const override { return "jpg"; }
    qelValue bits() override;

private:
    std::optional<platform::gfx::Dib> decode() const;
};

// 1 with the picture's size when the bytes hold a JPEG picture that can be decoded, else 0.
int32_t qelJPEGQuery(const uint8_t* data, int32_t length, int32_t* width, int32_t* height);
// qelJPEGQuery, reporting "Invalid JPEG file" when it fails.
void qelCheckJPEG(const uint8_t* data, int32_t length, int32_t* width, int32_t* height);
// The bitmap a picture of that size decodes into: 24 bits per pixel on a true-colour display.
qelValue qelJPEGTargetDIB(int32_t width, int32_t height);
// Decodes the JPEG buffer into the DIB buffer (of the picture's size); 1 on success, else 0.
int32_t qelJPEGDecode(const qelValue& jpeg, const qelValue& dib);
// The picture as a DIB buffer, or nil when it cannot be inspected or decoded.
qelValue qelJPEGToDIB(const qelValue& jpeg);
