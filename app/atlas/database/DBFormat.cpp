#include "app/atlas/database/DBFormat.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"

#include <cmath>
#include <charconv>
#include <string>

namespace {

// The formatters by field, one letter each: "-" none, L plain left, R plain right, T text right,
// I integer, 1 2 3 decimals, K thousands.
constexpr const char* stateFormats = "-L21KLLLIIII22TTILIILLLLR3L1L2III2L1T2LII2LILLILTL";
constexpr const char* countryFormats
    = "-L1IIILLLLLLLL1LIL22ILI11I2I111L3LLIL11ILLIILLRIIILILLLLLI11111LIII1I1IIII11LILLLLIIILI";

static_assert(std::char_traits<char>::length(stateFormats) == 50, "fields 0-49 of the states");
static_assert(std::char_traits<char>::length(countryFormats) == 87, "fields 0-86 of the countries");

DBFormatter formatterOf(char letter)
{
    switch (letter) {
    case 'L':
        return DBFormatter::PlainLeft;
    case 'R':
        return DBFormatter::PlainRight;
    case 'T':
        return DBFormatter::TextRight;
    case 'I':
        return DBFormatter::Integer;
    case '1':
        return DBFormatter::Decimals1;
    case '2':
        return DBFormatter::Decimals2;
    case '3':
        return DBFormatter::Decimals3;
    case 'K':
        return DBFormatter::Thousands;
    default:
        return DBFormatter::None;
    }
}

// The digits of a whole number with "," between groups of three.
std::string grouped(const std::string& digits)
{
    std::string out;
    size_t lead = digits.size() % 3;
    if (lead == 0)
        lead = 3;
    out.append(digits, 0, lead);
    for (size_t i = lead; i < digits.size(); i += 3) {
        out += ',';
        out.append(digits, i, 3);
    }
    return out;
}

// x with the decimals (rounded), blank-padded on the left to the width; locale-free.
std::string printed(int width, int precision, double x)
{
    // Why: a float32 is below 3.5e38, so its whole digits and nine decimals fit well within this.
    char buffer[96];
    auto [end, failed] = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, precision);
    std::string text = failed == std::errc() ? std::string(buffer, end) : std::string("n.d.");
    if (int(text.size()) < width)
        text.insert(0, size_t(width) - text.size(), ' ');
    return text;
}

} // namespace

qelValue formatDBNumber(const qelValue& value, int32_t decimals, float divisor)
{
    if (value.isString())
        return value;
    float x = float(qelFloatValue(value));
    if (x == dbMissingSentinel)
        return qelValue("n.d.");
    x = x / divisor;
    if (x == 0.0f)
        return qelValue("-");
    // Why: more than 9 decimals is not a format of this table; it is taken as none.
    if (decimals > 9 || decimals < 1)
        decimals = 0;
    if (!std::isfinite(x))
        return qelValue("n.d.");
    if (x < 0.0f) {
        std::string text = decimals == 0 ? printed(0, 0, std::trunc(double(x)) + 0.0)
                                         : printed(decimals + 4, decimals, double(x));
        return qelValue(text.c_str());
    }
    if (decimals == 0)
        return qelValue(grouped(printed(0, 0, std::trunc(double(x)) + 0.0)).c_str());
    // Rounded once to the decimals, then the whole part grouped.
    std::string text = printed(0, decimals, double(x));
    size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    if (whole.size() <= 3)
        return qelValue(printed(decimals + 4, decimals, double(x)).c_str());
    return qelValue((grouped(whole) + text.substr(point)).c_str());
}

DBFormatter dbFieldFormatter(int32_t stateDatabase, int32_t field)
{
    const char* table = stateDatabase ? stateFormats : countryFormats;
    int32_t count = stateDatabase ? 50 : 87;
    if (field < 0 || field >= count)
        return DBFormatter::None;
    return formatterOf(table[field]);
}

DBCellText dbCellText(const qelValue& record, int32_t stateDatabase, int32_t field)
{
    DBFormatter formatter = dbFieldFormatter(stateDatabase, field);
    if (formatter == DBFormatter::None)
        return {};
    qelValue value = field < qelCount(record) ? qelGet(record, field) : qelNil;
    switch (formatter) {
    case DBFormatter::PlainLeft:
        return { value, dbAlignLeft };
    case DBFormatter::PlainRight:
        return { value, dbAlignRight };
    case DBFormatter::TextRight:
        return { value.isNil() ? qelNil : qelValueToString(value), dbAlignRight };
    case DBFormatter::Integer:
        return { formatDBNumber(value, 0, 1.0f), dbAlignRight };
    case DBFormatter::Decimals1:
        return { formatDBNumber(value, 1, 1.0f), dbAlignRight };
    case DBFormatter::Decimals2:
        return { formatDBNumber(value, 2, 1.0f), dbAlignRight };
    case DBFormatter::Decimals3:
        return { formatDBNumber(value, 3, 1.0f), dbAlignRight };
    case DBFormatter::Thousands:
        return { formatDBNumber(value, 0, 1000.0f), dbAlignRight };
    case DBFormatter::None:
        break;
    }
    return {};
}
