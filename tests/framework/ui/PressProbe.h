#pragma once

// Presses on one control of a form, driven by a headless script: a form that records the
// controls it handles, and a wrapper over any control class that probes one screen pixel when a
// press starts, after each change the press draws, and when it ends.

#include "ScreenProbe.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/Perform.h"

#include <string>
#include <vector>

class HandlingForm : public qelFormObject {
public:
    using qelFormObject::qelFormObject;
    void handleControl(const qelValue&) override { ++handled; }
    int handled = 0;
};

// A current form over the controls, drawn.
inline HandlingForm* currentFormWith(std::initializer_list<qelValue> controls, qelValue& keep)
{
    auto* form = new HandlingForm(qelNil);
    form->controls = qelListOf(controls);
    keep = qelFormValue(form);
    qelSetActiveForm(keep);
    form->drawControls();
    return form;
}

// The screen pixels of colour references.
inline std::vector<uint32_t> pixelsOf(const std::vector<uint32_t>& colours)
{
    std::vector<uint32_t> pixels;
    for (uint32_t colour : colours)
        pixels.push_back(pixelOf(colour));
    return pixels;
}

// Sets the control's "Hidden" and sends it "Draw".
inline void drawHidden(const qelValue& control, bool hidden)
{
    qelPut(control, "Hidden", hidden ? qelTrue : qelFalse);
    qelPerform(control, "Draw", qelNil);
}

template<typename Control> class Probing : public Control {
public:
    Probing(const qelValue& data, UiFixture& ui, int x, int y)
        : Control(data)
        , m_ui(ui)
        , m_x(x)
        , m_y(y)
    {
    }
    void trackStart() override { seen.push_back(m_ui.pixel(m_x, m_y)); }
    void trackChanged() override { seen.push_back(m_ui.pixel(m_x, m_y)); }
    void trackEnd() override { seen.push_back(m_ui.pixel(m_x, m_y)); }

    std::vector<uint32_t> seen;

private:
    UiFixture& m_ui;
    int m_x;
    int m_y;
};
