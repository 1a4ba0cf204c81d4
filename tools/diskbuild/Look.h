#pragma once

// The almanac's one look, drawn from the style table (content/style/style.tbl): for each section
// its header band and its "being prepared" screen and dialog, the labelled buttons in their four
// states, and the icons from their vector descriptions. Every picture takes its colours, faces
// and sizes from the style, so a change of the style changes every screen alike.

#include "framework/runtime/Value.h"

#include <string>

// Draws every picture of the style into `folder`; false with the reason on failure.
bool drawLook(const qelValue& style, const std::string& folder, std::string& error);
