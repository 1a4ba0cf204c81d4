#pragma once

// How the database's figures become cell texts: formatDBNumber writes a number with thousands
// separators and a fixed count of decimals, and the formatter table says for every field of each
// database how its cell is written and aligned.
//
// formatDBNumber(value, n, divisor): a string passes through unchanged ("n.d." stays "n.d.");
// otherwise x = the value as a 32-bit float; the float missing-value sentinel -9999999 gives
// "n.d." (tested before dividing, so a thousands column shows it too); x / divisor equal to 0
// gives "-". n above 9 counts as 0. Without decimals the whole part is written (truncated, not
// rounded); with n decimals the number is rounded to n decimals once and then split into groups,
// so 1999.996 with two decimals gives 2,000.00 (not 1,1000.00). From 1000 up the groups of three
// digits are separated by ","; below 1000 a number with decimals is blank-padded to n + 4
// characters; negative numbers are written without separators.

#include "framework/runtime/Value.h"

#include <cstdint>

qelValue formatDBNumber(const qelValue& value, int32_t decimals, float divisor);

// The float that stands for a missing figure.
constexpr float dbMissingSentinel = -9999999.0f;

enum class DBFormatter : uint8_t {
    None,       // field 0: nothing drawn
    PlainLeft,  // the value as it is, left
    PlainRight, // the value as it is, right
    TextRight,  // the value's display text, right
    Integer,    // formatDBNumber(v, 0, 1), right
    Decimals1,
    Decimals2,
    Decimals3,
    Thousands, // formatDBNumber(v, 0, 1000), right
};

// Alignment codes of the text-in-rectangle drawing.
constexpr int32_t dbAlignLeft = 0;
constexpr int32_t dbAlignRight = 2;

// The formatter of a field: the state table for fields 0 to 49, the country table for 0 to 86;
// None outside.
DBFormatter dbFieldFormatter(int32_t stateDatabase, int32_t field);

struct DBCellText {
    qelValue text; // nil when the formatter draws nothing
    int32_t alignment { dbAlignLeft };
};

// The text and alignment of a record's cell for the field.
DBCellText dbCellText(const qelValue& record, int32_t stateDatabase, int32_t field);
