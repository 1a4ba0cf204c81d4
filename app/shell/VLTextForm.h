#pragma once

// The base of the almanac's text and media pages: a menu-bar screen holding the rich text
// control "Texto", whose hot text carries the page's links.

#include "app/shell/BarraMenuForm.h"

class VLTextForm : public BarraMenuForm {
    VELARIM_CLASS(VLTextForm, BarraMenuForm)
};
