#pragma once

// The marked-item convention of the almanac's lists: an item text that begins with "**" is shown
// without the two stars and in the list's second set of colours. Where a mark comes from (a locked
// tour, for one) is decided where the list is made.

#include "framework/runtime/Value.h"

// The display text of an item (any value) with its mark removed; `marked` tells whether it had one.
qelValue shownMarkedText(const qelValue& item, bool& marked);
