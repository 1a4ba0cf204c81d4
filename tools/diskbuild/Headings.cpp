#include "tools/diskbuild/Headings.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "tools/diskbuild/Sources.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The database's look (content/style: the "bdados" band and its ink, the dialogs' panel).
constexpr const char* band = "(rgb 64 48 112)";
constexpr const char* bandInk = "(rgb 246 240 255)";
constexpr const char* panel = "(rgb 240 236 250)";
constexpr int headingHeight = 53;
constexpr int nameBandHeight = 34;
constexpr int defaultWidth = 96;
// A name longer than this many characters goes on two lines.
constexpr size_t oneLineLength = 13;

std::string textItem(const std::string& utf8, int y)
{
    return "(list " + notationQuoted(utf8) + " -1 " + std::to_string(y) + " (font \"Arial\" 12 2) " + bandInk + ")";
}

// The name on one line, or on two split at the blank nearest its middle.
std::vector<std::string> nameLines(const std::string& cp1252)
{
    if (cp1252.size() <= oneLineLength || cp1252.find(' ') == std::string::npos)
        return { cp1252 };
    size_t best = std::string::npos;
    for (size_t i = 0; i < cp1252.size(); ++i) {
        if (cp1252[i] != ' ')
            continue;
        auto distance = [&](size_t at) { return at > cp1252.size() / 2 ? at - cp1252.size() / 2 : cp1252.size() / 2 - at; };
        if (best == std::string::npos || distance(i) < distance(best))
            best = i;
    }
    return { cp1252.substr(0, best), cp1252.substr(best + 1) };
}

std::string heading(const std::string& file, const std::string& name, int width)
{
    std::vector<std::string> lines = nameLines(name);
    std::string texts;
    if (lines.size() == 1) {
        texts = textItem(qelToUtf8(lines[0]), 9);
    } else {
        texts = textItem(qelToUtf8(lines[0]), 2) + " " + textItem(qelToUtf8(lines[1]), 17);
    }
    return "  (" + notationQuoted(file) + " (table (\"Width\" " + std::to_string(width) + ") (\"Height\" "
        + std::to_string(headingHeight) + ") (\"Color\" " + panel + ") (\"Border\" " + band + ")\n    (\"Boxes\" (list (list 0 0 "
        + std::to_string(width) + " " + std::to_string(nameBandHeight) + " " + band + ")))\n    (\"Texts\" (list " + texts
        + "))))\n";
}

// The sort mark: a small triangle pointing up (ascending) or down (descending).
std::string mark(const std::string& file, bool up)
{
    std::string triangle = up ? "7 3 12 11 2 11" : "2 3 12 3 7 11";
    return "  (" + notationQuoted(file) + " (table (\"Width\" 14) (\"Height\" 14) (\"Color\" " + std::string(band)
        + ")\n    (\"Shapes\" (list (list \"polygon\" " + bandInk + " " + triangle + ")))))\n";
}

bool family(const qelValue& layout, const qelValue& columns, const char* fieldsKey, const char* widthsKey,
    const char* nameKey, const char* prefix, std::string& out, std::string& error)
{
    qelValue fields = qelGet(layout, fieldsKey);
    qelValue widths = qelGet(columns, widthsKey);
    qelValue keyName = qelGet(qelGet(columns, "Nomes"), nameKey);
    if (fields.type() != QEL_LIST_TYPE || !qelTableOf(widths) || !keyName.isString()) {
        error = std::string("bdados.tbl or bdcolunas.tbl lacks \"") + fieldsKey + "\", \"" + widthsKey + "\" or \"" + nameKey
            + "\"";
        return false;
    }
    for (int32_t i = 0; i < qelCount(fields); ++i) {
        qelValue name = qelGet(fields, i);
        int width = qelContainsKey(widths, name) ? qelIntValue(qelGet(widths, name)) : defaultWidth;
        std::string shown = i == 0 ? qelCString(keyName) : qelCString(name);
        out += heading(prefix + std::to_string(i + 1) + ".bmp", shown, width);
    }
    return true;
}

} // namespace

bool writeHeadingPictures(const std::string& dataFolder, const std::string& output, std::string& error)
{
    qelValue layout = readNotationFile(dataFolder + "/bdados.tbl", error);
    if (!error.empty())
        return false;
    qelValue columns = readNotationFile(dataFolder + "/bdcolunas.tbl", error);
    if (!error.empty())
        return false;
    std::string text = "; Written by diskbuild headings from content/almanac/data/bdados.tbl and bdcolunas.tbl.\n(table\n";
    if (!family(layout, columns, "Campos Paises", "Larguras Paises", "Nome Paises", "PHeading", text, error)
        || !family(layout, columns, "Campos Estados", "Larguras Estados", "Nome Estados", "EHeading", text, error))
        return false;
    text += mark("Ascen.bmp", true);
    text += mark("Desc.bmp", false);
    text += ")\n";
    FILE* file = std::fopen(output.c_str(), "wb");
    if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
        if (file)
            std::fclose(file);
        error = output + ": cannot be written";
        return false;
    }
    if (std::fclose(file) != 0) {
        error = output + ": cannot be written";
        return false;
    }
    return true;
}
