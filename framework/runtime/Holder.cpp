#include "framework/runtime/Holder.h"

#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"

#include <string>

namespace {

std::string number(int32_t n)
{
    return std::to_string(n);
}

// Width and height of a box, in 32-bit wrap-around arithmetic like the fields themselves.
int32_t span(int32_t from, int32_t to)
{
    return int32_t(uint32_t(to) - uint32_t(from));
}

std::string printRegion(const qelEncodedFields& f)
{
    if (f.points.empty()) {
        if (f.ints[0] == f.ints[2] && f.ints[1] == f.ints[3])
            return "(rect " + number(f.ints[0]) + " " + number(f.ints[1]) + ")";
        return "(rect " + number(f.ints[0]) + " " + number(f.ints[1]) + " " + number(span(f.ints[0], f.ints[2])) + " "
            + number(span(f.ints[1], f.ints[3])) + ")";
    }
    // The closing copy of the first point is not written.
    std::string text = "(region";
    size_t pairs = f.points.size() / 2;
    for (size_t i = 0; i + 1 < pairs; ++i)
        text += " (" + number(f.points[2 * i]) + " " + number(f.points[2 * i + 1]) + ")";
    return text + ")";
}

std::string printFont(const qelEncodedFields& f)
{
    if (f.values[0].isNil())
        return "(font ANSI_VAR_FONT)";
    return "(font \"" + std::string(qelCString(qelValueToString(f.values[0]))) + "\" " + number(f.ints[0]) + " "
        + number(f.ints[1]) + ")";
}

// Forms and controls print as their table with the keyword in place of "table".
std::string printWithTable(const char* keyword, const qelEncodedFields& f, int32_t quoted)
{
    std::string table = qelCString(qelPrintValue(f.values[0], quoted));
    const std::string prefix = "(table ";
    if (table.compare(0, prefix.size(), prefix) == 0)
        return std::string("(") + keyword + " " + table.substr(prefix.size());
    return std::string("(") + keyword + " " + table + ")";
}

} // namespace

qelValue qelHolderObject::printString(int32_t typeCode, int32_t quoted) const
{
    switch (m_type) {
    case QEL_REGION_TYPE:
        return qelStringValue(printRegion(m_fields).c_str());
    case QEL_FONT_TYPE:
        return qelStringValue(printFont(m_fields).c_str());
    case QEL_FORM_TYPE:
        return qelStringValue(printWithTable("form", m_fields, quoted).c_str());
    case QEL_CONTROL_TYPE:
        return qelStringValue(printWithTable("control", m_fields, quoted).c_str());
    default:
        return qelObject::printString(typeCode, quoted);
    }
}

qelValue qelMakeHolderValue(int32_t type, qelEncodedFields fields)
{
    return qelMakeObjectValue(type, new qelHolderObject(type, std::move(fields)));
}

const qelHolderObject* qelHolderOf(const qelValue& value)
{
    return dynamic_cast<const qelHolderObject*>(value.object());
}
