#pragma once

// The layout engine: places the parser's intermediate items into a text area, line by line and
// page by page, in device pixels of a given resolution.
//
// Request (a table): "TextRuns" and "ListFonts" from the parser; "Images" a table of pictures by
// lower-case name; the ints "ForeColor" (1), "BackColor" (-1), "HotColor" (0xFF), "DPI" (96);
// "Title" (when present, a title block is kept free on the first page) measured in "TitleFont";
// the booleans "NoBitmaps" and "NoBoxes".
//
// Result: {"Pages": [[runs, hot areas]...], "Fonts": the ListFonts, "Bitmaps": [[rect, picture,
// page]...], "Markers": {name: run index on its page as decimal text}, "Boxes": [[rect, page]...]}
// with runs [x, y, text, font index, fore colour, back colour] and hot areas [rect, target].
//
// Distances in the items are twips: pixels = twips div (1440 div DPI); pictures are scaled by
// DPI div 96. Lines break after spaces and hyphens; a piece wider than a line stands alone on the
// next line. Pictures named by {img} that are taller than the line float: the following lines
// start right of them until they have passed.
//
// Alignment (\qc, \ql, \qr) is paragraph state, set back to left by \pard; each line is aligned
// when it is closed, its runs moved to a common baseline and, for centring and right alignment,
// moved with their hot areas by the line's free space (or half of it).

#include "framework/richtext/TextMeasurer.h"
#include "framework/runtime/Value.h"

// The request above in the region (a rectangle or polygon region value), measured with the
// platform fonts at the request's resolution.
qelValue qelLayoutText(const qelValue& request, const qelValue& region);
// The same with a measurer of the caller's.
qelValue qelLayoutTextWith(const qelValue& request, const qelValue& region, qelTextMeasurer& measurer);

// Where pictures named in the text come from: a loader from name to picture value. Until one is
// installed every name is missing (its alternative text is placed, if it has one).
using qelPictureLoader = qelValue (*)(const qelValue& name);
qelPictureLoader qelSetPictureLoader(qelPictureLoader loader);
// Installs the resource loader (qelLoadResource) as the picture loader.
void qelUseResourcePictures();
