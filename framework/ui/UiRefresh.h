#pragma once

// Small services of the main window that forms and controls share.

#include "framework/runtime/Value.h"

#include <cstdint>

// The window carries out its pending repaints now (what a refresh of an empty area does).
void qelUiUpdateWindow();
// Makes the cursor current (nil: the arrow).
void qelUiSetCursor(const qelValue& cursor);
