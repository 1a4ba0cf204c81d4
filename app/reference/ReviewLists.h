#pragma once

// The article lists of the review of the year, as the list chooser ("RetroDlg") shows them.

#include "framework/runtime/Value.h"

#include <cstdint>

// The list of heading and title strings of the articles filed under the section key (a category
// 1..10, or 10 + a month) for the region (1 "Brasil", 2 "Mundo") of the review set ("Retro98"
// when use98); nil when the set or the section has none.
qelValue reviewCategoryList(int32_t sectionKey, int32_t region, bool use98);
