// Colour numbers read from content data: what counts as a colour, and that everything else,
// missing or malformed, gives the caller's default colour.

#include "framework/display/ColourValue.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextNotation.h"

#include <gtest/gtest.h>

TEST(ColourValue, ColourNumbersAreReadAndAnythingElseGivesTheDefault)
{
    constexpr int32_t fallback = 0x808080;
    struct Case {
        const char* notation; // the entry as a content file writes it
        int32_t expected;
    } cases[] = {
        { "8401936", 8401936 },
        { "-1", -1 },
        { "0", 0 },
        { "(rgb 16 32 48)", 0x302010 },
        { "8401936.0", 8401936 },
        { "\"8401936\"", 8401936 },
        { "\"  -1 \"", -1 },
        // Missing or of another kind.
        { "nil", fallback },
        { "true", fallback },
        { "(list 16 32 48)", fallback },
        { "(table (\"R\" 16))", fallback },
        // Words, numbers with something after them, and numbers no 32-bit colour holds.
        { "\"\"", fallback },
        { "\"azul\"", fallback },
        { "\"12abc\"", fallback },
        { "\"0xFF0000\"", fallback },
        { "\"99999999999\"", fallback },
        { "1.0e20", fallback },
    };
    for (const Case& c : cases)
        EXPECT_EQ(qelColourValue(qelDecodeText(qelStringValue(c.notation)), fallback), c.expected) << c.notation;
    // A string with a byte 0 after its digits is not a number either.
    EXPECT_EQ(qelColourValue(qelStringValueN("255\0x", 5), fallback), fallback);
}
