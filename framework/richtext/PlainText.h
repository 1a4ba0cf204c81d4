#pragma once

// Plain text from the parser's items, as copy and print take it: text, link text and struck text,
// characters given by code, "\n" for each paragraph end and "\t" for each tab; pictures, page
// breaks, markers and layout items give nothing.

#include "framework/runtime/Value.h"

qelValue qelPlainTextOfRuns(const qelValue& textRuns);
