#include "framework/runtime/ValuePrinter.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Value.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::string display(const qelValue& value)
{
    return qelCString(qelValueToString(value));
}

std::string quoted(const qelValue& value)
{
    return qelCString(qelPrintValue(value, 1));
}

struct Plain : qelObject { };

// An object that prints itself, as lists and tables do.
struct Printing : qelObject {
    qelValue printString(int32_t typeCode, int32_t quotedFlag) const override
    {
        return quotedFlag ? "(quoted)" : "(display)";
    }
};

} // namespace

TEST(ValuePrinter, Immediates)
{
    const struct {
        qelValue value;
        const char* text;
    } cases[] = {
        { qelNil, "QEL_NIL" },
        { qelTrue, "true" },
        { qelFalse, "false" },
        { 0, "0" },
        { -42, "-42" },
        { INT_MIN, "-2147483648" },
        { qelMakeFloat(3.0f), "3" },
        { qelMakeFloat(2.5f), "2.5" },
        { qelMakeFloat(0.1f), "0.1" },
        { qelMakeFloat(1234567.0f), "1.23457e+06" },
        { qelMakeFloat(0.0001f), "0.0001" },
        { qelMakeFloat(0.00001f), "1e-05" },
        { qelMakeFloat(-0.5f), "-0.5" },
        { qelMakeValue(QEL_UNIQUE_TYPE, 7), "#<unique 7>" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(display(c.value), c.text);
        EXPECT_EQ(quoted(c.value), c.text);
    }
}

TEST(ValuePrinter, StringsAreThemselvesOrQuoted)
{
    qelValue text = qelStringValue("caf\xe9 \"x\"");
    qelValue shown = qelValueToString(text);
    EXPECT_EQ(shown.object(), text.object()); // a string is its own display text
    EXPECT_EQ(quoted(text), "\"caf\\xe9 \\\"x\\\"\"");
    EXPECT_EQ(display(qelMakeObjectValue(QEL_STRING_TYPE, nullptr)), "");
}

TEST(ValuePrinter, ObjectsPrintThemselves)
{
    qelValue plainImage = qelMakeObjectValue(QEL_IMAGE_TYPE, new Plain);
    qelValue plainForm = qelMakeObjectValue(QEL_FORM_TYPE, new Plain);
    EXPECT_EQ(display(plainImage), "<image object>");
    EXPECT_EQ(quoted(plainImage), "<image>");
    EXPECT_EQ(display(plainForm), "<application-defined object>");
    EXPECT_EQ(display(qelMakeObjectValue(QEL_SOUND_TYPE, nullptr)), "<sound object>");

    qelValue list = qelMakeObjectValue(QEL_LIST_TYPE, new Printing);
    EXPECT_EQ(display(list), "(display)");
    EXPECT_EQ(quoted(list), "(quoted)");
}
