#pragma once

// The port's text colour, background colour and font for a printout: black on no background in
// the font given, and what the port had put back when the printout ends by any path.

#include "framework/display/DrawingInterface.h"
#include "framework/runtime/Value.h"

#include <cstdint>

class qelPortState {
public:
    explicit qelPortState(const qelValue& font)
    {
        m_color = qelSetColor(0);
        m_back = qelSetBackColor(-1);
        m_font = qelSetFont(font);
    }
    ~qelPortState()
    {
        qelSetFont(m_font);
        qelSetBackColor(m_back);
        qelSetColor(m_color);
    }
    qelPortState(const qelPortState&) = delete;
    qelPortState& operator=(const qelPortState&) = delete;

private:
    int32_t m_color;
    int32_t m_back;
    qelValue m_font;
};
