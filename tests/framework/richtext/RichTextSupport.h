#pragma once

// Helpers of the rich text tests: items written compactly ([1 0 1 -1 0] [2 "abc"] 5), parse
// requests, and the fixed-metric test font (every character 6 pixels wide, ascent 8, descent 2,
// external leading 2, so a line is 12 pixels high).

#include "framework/display/Font.h"
#include "framework/display/Region.h"
#include "framework/richtext/RtfParser.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/text/TestFontProvider.h"

#include <cstdio>
#include <string>

namespace richtext_test {

inline std::string describe(const qelValue& v)
{
    switch (v.type()) {
    case QEL_NIL_TYPE:
        return "nil";
    case QEL_INT_TYPE:
        return std::to_string(v.payload());
    case QEL_STRING_TYPE: {
        std::string out = "\"";
        const char* s = qelCString(v);
        for (int32_t i = 0; i < qelCount(v); ++i) {
            unsigned char c = (unsigned char)s[i];
            if (c < 32 || c >= 127) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02x", c);
                out += hex;
            } else {
                out += char(c);
            }
        }
        return out + "\"";
    }
    case QEL_LIST_TYPE: {
        std::string out = "[";
        for (int32_t i = 0; i < qelCount(v); ++i)
            out += (i ? " " : "") + describe(qelGet(v, i));
        return out + "]";
    }
    case QEL_REGION_TYPE: {
        qelRegionObject* r = qelRegionOf(v);
        return "(rect " + std::to_string(r->left) + " " + std::to_string(r->top) + " "
            + std::to_string(r->right - r->left) + " " + std::to_string(r->bottom - r->top) + ")";
    }
    default:
        return "<" + std::to_string(v.type()) + ">";
    }
}

// The items of a list, separated by blanks, without the outer brackets.
inline std::string describeItems(const qelValue& list)
{
    std::string out;
    for (int32_t i = 0; i < qelCount(list); ++i)
        out += (i ? " " : "") + describe(qelGet(list, i));
    return out;
}

inline qelValue parseRequest(const std::string& text)
{
    qelValue request = qelTable(8, 100, 75);
    qelPut(request, qelValue("Type"), qelValue("RTF"));
    // A buffer without a terminating NUL, so that reads past the end show.
    qelPut(request, qelValue("Buffer"), qelBufferFromMemory(const_cast<char*>(text.data()), int32_t(text.size()), 1));
    qelPut(request, qelValue("Font"), qelFontValue(qelValue("Arial"), 10, 0));
    return request;
}

inline qelValue parse(const std::string& text)
{
    return qelParseRTF(parseRequest(text));
}

inline void useTestFont()
{
    platform::text::TestFontMetrics metrics;
    metrics.charWidth = 6;
    metrics.ascent = 8;
    metrics.descent = 2;
    metrics.externalLeading = 2;
    qelSetFontProvider(std::make_shared<platform::text::TestFontProvider>(metrics));
}

} // namespace richtext_test
