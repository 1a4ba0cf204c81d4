#pragma once

// The geometry accessors: the position and size of any value that has them. Regions answer
// their box, images and text maps their size, movies, controls and forms their place through
// qelGeometryProtocol. Another type reports the argument type error and answers 0.

#include "framework/runtime/Value.h"

#include <cstdint>

// What movies, controls and forms offer the accessors.
class qelGeometryProtocol {
public:
    virtual ~qelGeometryProtocol() = default;
    virtual int32_t geometryLeft() = 0;
    virtual int32_t geometryTop() = 0;
    virtual int32_t geometryWidth() = 0;
    virtual int32_t geometryHeight() = 0;
};

// "qelLeft(ctrlFrmMov)": regions, movies, controls, forms.
int32_t qelLeft(const qelValue& value);
// "qelTop(ctrlFrmMov)"
int32_t qelTop(const qelValue& value);
// "qelWidth(imgMovTxtRgn)": also images and text maps.
int32_t qelWidth(const qelValue& value);
// "qelHeight(imgMovTxtRgn)"
int32_t qelHeight(const qelValue& value);
