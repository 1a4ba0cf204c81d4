#include "tools/diskbuild/Curio.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/TextNotation.h"
#include "framework/runtime/ValuePrinter.h"
#include "tools/diskbuild/Pictures.h"
#include "tools/diskbuild/Sources.h"

#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// The word search's section bit of the curiosities (the search dialog's "Curiosidades" box).
constexpr int32_t curioSection = 4;
constexpr int32_t shortLayout = 1;
constexpr int32_t longLayout = 2;

// The categories in their numbers' order (cp1252), with the colour and the picture of each.
struct Category {
    const char* name;
    const char* colour;
    // Shapes of the category's picture on a 120 x 120 ground (Pictures.h "Shapes").
    const char* shapes;
};
const Category categories[] = {
    { "Artes", "(rgb 176 48 96)",
        "(list \"ellipse\" (rgb 236 200 150) 14 22 92 76) (list \"ellipse\" (rgb 255 252 236) 70 62 18 16)"
        " (list \"ellipse\" (rgb 200 40 40) 30 36 14 14) (list \"ellipse\" (rgb 40 96 200) 52 30 14 14)"
        " (list \"ellipse\" (rgb 40 160 72) 74 38 14 14) (list \"ellipse\" (rgb 240 200 40) 30 62 14 14)" },
    { "Astronomia", "(rgb 32 40 112)",
        "(list \"ellipse\" (rgb 240 176 64) 36 36 48 48) (list \"polygon\" (rgb 255 232 160) 6 66 114 46 114 54 6 74)"
        " (list \"ellipse\" (rgb 255 255 255) 14 14 5 5) (list \"ellipse\" (rgb 255 255 255) 96 20 4 4)"
        " (list \"ellipse\" (rgb 255 255 255) 24 96 4 4) (list \"ellipse\" (rgb 255 255 255) 92 94 5 5)" },
    { "Ecologia", "(rgb 40 128 56)",
        "(list \"polygon\" (rgb 120 200 96) 20 100 30 50 60 20 100 16 96 60 70 94)"
        " (list \"polygon\" (rgb 32 96 40) 24 102 90 26 94 30 30 104)" },
    { "Esportes", "(rgb 200 96 16)",
        "(list \"ellipse\" (rgb 255 255 255) 20 20 80 80) (list \"polygon\" (rgb 24 24 24) 60 44 76 56 70 74 50 74 44 56)"
        " (list \"polygon\" (rgb 24 24 24) 22 52 32 46 36 60 24 70) (list \"polygon\" (rgb 24 24 24) 98 52 88 46 84 60 96 70)" },
    { "Geografia", "(rgb 24 112 136)",
        "(list \"polygon\" (rgb 96 128 72) 0 104 40 40 64 76 84 52 120 104)"
        " (list \"polygon\" (rgb 255 255 255) 40 40 50 56 32 54) (list \"ellipse\" (rgb 255 208 64) 84 12 24 24)"
        " (list \"polygon\" (rgb 64 144 208) 0 104 120 104 120 120 0 120)" },
    { "Hist\xF3ria", "(rgb 128 88 40)",
        "(list \"polygon\" (rgb 236 224 196) 24 24 96 24 90 34 30 34) (list \"polygon\" (rgb 236 224 196) 34 36 46 36 46 92 34 92)"
        " (list \"polygon\" (rgb 236 224 196) 54 36 66 36 66 92 54 92) (list \"polygon\" (rgb 236 224 196) 74 36 86 36 86 92 74 92)"
        " (list \"polygon\" (rgb 236 224 196) 24 94 96 94 100 104 20 104)" },
    { "L\xEDnguas", "(rgb 64 80 160)",
        "(list \"ellipse\" (rgb 255 255 255) 12 18 76 52) (list \"polygon\" (rgb 255 255 255) 28 62 40 66 20 84)"
        " (list \"ellipse\" (rgb 255 224 120) 46 52 64 44) (list \"polygon\" (rgb 255 224 120) 92 88 82 92 102 106)" },
    { "Maiores", "(rgb 160 40 40)",
        "(list \"polygon\" (rgb 255 255 255) 16 104 36 104 36 76 16 76) (list \"polygon\" (rgb 255 255 255) 44 104 64 104 64 56 44 56)"
        " (list \"polygon\" (rgb 255 255 255) 72 104 92 104 92 30 72 30) (list \"polygon\" (rgb 255 208 64) 82 8 86 18 96 18 88 24 92 34 82 28 72 34 76 24 68 18 78 18)" },
    { "Misticismo", "(rgb 96 40 120)",
        "(list \"ellipse\" (rgb 255 232 160) 24 20 72 72) (list \"ellipse\" (rgb 96 40 120) 44 12 72 72)"
        " (list \"polygon\" (rgb 255 255 255) 90 70 94 80 104 80 96 86 100 96 90 90 80 96 84 86 76 80 86 80)" },
    { "Sa\xFA" "de", "(rgb 24 136 120)",
        "(list \"polygon\" (rgb 255 255 255) 48 20 72 20 72 48 100 48 100 72 72 72 72 100 48 100 48 72 20 72 20 48 48 48)" },
};
constexpr int32_t categoryCount = int32_t(std::size(categories));

// The curiosities' look (content/style, "curio").
const char* const band = "(rgb 128 64 0)";
const char* const bandInk = "(rgb 255 250 230)";
const char* const accent = "(rgb 255 208 64)";
const char* const ground = "(rgb 252 240 200)";
const char* const panel = "(rgb 255 252 236)";
const char* const ink = "(rgb 88 40 0)";

// A text as the notation writes it, quoted.
std::string quoted(const std::string& text)
{
    return qelCString(qelPrintValue(qelStringValueN(text.data(), int32_t(text.size())), 1));
}

std::string size(int w, int h)
{
    return "(\"Width\" " + std::to_string(w) + ") (\"Height\" " + std::to_string(h) + ")";
}

void drawPictures(const std::string& media)
{
    const std::string folder = media + "/";
    // The home screen: the section's band, its ground and a line under the band.
    drawTo("(table " + size(640, 480) + " (\"Color\" " + ground + ") (\"Boxes\" (list (list 0 0 640 56 " + band
            + ") (list 0 56 640 4 " + accent + ") (list 0 448 640 32 " + band + ")))"
            + " (\"Shapes\" (list (list \"ellipse\" " + accent + " 262 10 18 18) (list \"polygon\" " + accent
            + " 265 28 277 28 276 36 266 36)))"
            + " (\"Texts\" (list (list \"Curiosidades\" 20 12 (font \"Arial\" 26 2) " + bandInk + ")"
            + " (list \"Escolha um assunto: as curiosidades aparecem uma a uma.\" 60 66 (font \"Arial\" 14 0) " + ink + ")"
            + " (list \"Velarim 98\" 20 456 (font \"Arial\" 13 2) " + bandInk + "))))",
        folder + "curiohf.bmp");
    // The viewer: a panel with a band; the pictures of the category go on it.
    drawTo("(table " + size(560, 380) + " (\"Color\" " + panel + ") (\"Border\" " + band + ") (\"BorderWidth\" 3)"
            + " (\"Boxes\" (list (list 3 3 554 34 " + band + ") (list 3 37 554 3 " + accent + ") (list 3 324 554 3 " + accent + ")))"
            + " (\"Texts\" (list (list \"Curiosidades\" 14 9 (font \"Arial\" 17 2) " + bandInk + "))))",
        folder + "curdlg.bmp");
    // The long layout's ground: the panel over the photo and the short side bar.
    drawTo("(table " + size(528, 228) + " (\"Color\" " + panel + "))", folder + "cucompl.bmp");
    // The arrows, in the button look.
    struct State {
        const char* suffix;
        const char* face;
        int shift;
    };
    const State states[] = { { "up", "(rgb 212 208 200)", 0 }, { "down", "(rgb 184 180 172)", 1 },
        { "over", "(rgb 244 228 170)", 0 } };
    for (const State& state : states) {
        std::string common = "(table " + size(72, 32) + " (\"Color\" " + state.face + ") (\"Border\" (rgb 40 40 48))";
        int s = state.shift;
        auto point = [s](int x, int y) { return std::to_string(x + s) + " " + std::to_string(y + s); };
        drawTo(common + " (\"Shapes\" (list (list \"polygon\" " + ink + " " + point(24, 16) + " " + point(46, 6) + " "
                + point(46, 26) + "))))",
            folder + "cuant_" + state.suffix + ".bmp");
        drawTo(common + " (\"Shapes\" (list (list \"polygon\" " + ink + " " + point(48, 16) + " " + point(26, 6) + " "
                + point(26, 26) + "))))",
            folder + "cuprox_" + state.suffix + ".bmp");
    }
    for (int32_t c = 0; c < categoryCount; ++c) {
        const Category& category = categories[c];
        std::string n = std::to_string(c);
        drawTo("(table " + size(120, 120) + " (\"Color\" " + category.colour + ") (\"Border\" " + ink + ") (\"Shapes\" (list "
                + category.shapes + ")))",
            folder + "cufoto" + n + ".bmp");
        drawTo("(table " + size(200, 24) + " (\"Color\" " + category.colour + ") (\"Border\" " + bandInk
                + ") (\"Texts\" (list (list " + quoted(category.name) + " -1 -1 (font \"Arial\" 14 2) (rgb 255 255 255)))))",
            folder + "cusel" + n + ".bmp");
        drawTo("(table " + size(528, 36) + " (\"Color\" " + panel + ") (\"Boxes\" (list (list 0 0 528 36 " + category.colour
                + ") (list 3 3 522 30 " + panel + "))))",
            folder + "cutitulo" + n + ".bmp");
        drawTo("(table " + size(6, 224) + " (\"Color\" " + category.colour + ") (\"Boxes\" (list (list 2 0 2 224 " + accent
                + "))))",
            folder + "cubarra" + n + ".bmp");
        // The home screen's buttons: the category's colour and picture's ground at the left.
        struct Face {
            const char* suffix;
            const char* colour;
            int shift;
        };
        const Face faces[] = { { "up", panel, 0 }, { "down", "(rgb 240 224 176)", 1 }, { "over", "(rgb 255 236 170)", 0 } };
        for (const Face& face : faces) {
            std::string x = std::to_string(64 + face.shift);
            drawTo("(table " + size(250, 52) + " (\"Color\" " + face.colour + ") (\"Border\" " + ink
                    + ") (\"Boxes\" (list (list 4 4 44 44 " + category.colour + ")))"
                    + " (\"Texts\" (list (list " + quoted(category.name) + " " + x + " -1 (font \"Arial\" 17 2) " + ink + "))))",
                folder + "cubt" + n + "_" + face.suffix + ".bmp");
        }
    }
}

struct Curiosity {
    int32_t category;
    int32_t layout;
    std::string title;
    std::string text;
};

std::vector<Curiosity> readCuriosities(const std::string& dataFolder)
{
    std::vector<Curiosity> out;
    std::set<std::string> titles;
    for (const std::string& path : tableFamily(dataFolder, "curio")) {
        std::string error;
        qelValue table = readNotationFile(path, error);
        if (!error.empty())
            throw Failure { error };
        qelValue items = field(table, "Curiosidades");
        if (items.type() != QEL_LIST_TYPE)
            throw Failure { path + ": \"Curiosidades\" must be a list" };
        for (int32_t i = 0; i < qelCount(items); ++i) {
            qelValue item = qelGet(items, i);
            std::string where = path + ": curiosity " + std::to_string(i + 1);
            qelValue name = field(item, "Categoria");
            qelValue title = field(item, "Titulo");
            qelValue text = field(item, "Texto");
            if (!title.isString() || !text.isString() || qelCount(title) == 0)
                throw Failure { where + ": \"Titulo\" and \"Texto\" must be texts" };
            int32_t category = -1;
            for (int32_t c = 0; c < categoryCount && name.isString(); ++c) {
                if (std::string(qelCString(name)) == categories[c].name)
                    category = c;
            }
            if (category < 0)
                throw Failure { where + ": \"Categoria\" must name one of the ten categories" };
            Curiosity curiosity { category, qelIsTrue(field(item, "Longa")) ? longLayout : shortLayout,
                qelCString(title), qelCString(text) };
            // Why: the title is the key of the title index and of the search's names.
            if (!titles.insert(curiosity.title).second)
                throw Failure { where + ": the title is given twice" };
            out.push_back(curiosity);
            // Why: the record number is the low 16 bits of the index's value and the search's id.
            if (out.size() > 0xFFFF)
                throw Failure { where + ": more curiosities than a record number can count" };
        }
    }
    return out;
}

void build(const std::string& dataFolder, const std::string& media, const std::string& sources)
{
    std::vector<Curiosity> curiosities = readCuriosities(dataFolder);
    std::vector<qelValue> records;
    std::vector<qelValue> lists;
    for (int32_t c = 0; c < categoryCount; ++c)
        lists.push_back(qelMakeList(8, 100, QEL_INT_LIST));
    std::string index = "(table\n";
    for (size_t n = 0; n < curiosities.size(); ++n) {
        const Curiosity& curiosity = curiosities[n];
        int32_t number = int32_t(n);
        records.push_back(qelListOf({ qelValue(number), qelValue(curiosity.layout), qelValue(curiosity.category),
            qelValue(curiosity.title.c_str()), qelStringValueN(curiosity.text.data(), int32_t(curiosity.text.size())) }));
        qelListObjectOf(lists[size_t(curiosity.category)])->appendInt(number);
        index += "  (" + std::string(qelCString(qelPrintValue(qelValue(curiosity.title.c_str()), 1))) + " "
            + std::to_string(curiosity.category * 65536 + number) + ")\n";
    }
    index += ")\n";
    writeArchive(media + "/DBCurio.dat", records);
    writeArchive(media + "/CVSbCatL.dtt", lists);
    writeNotationFile(sources + "/CDBIDLST.tbl", index);
    drawPictures(media);
}

} // namespace

bool buildCurio(const std::string& dataFolder, const std::string& mediaFolder, const std::string& sourcesFolder,
    std::string& error)
{
    try {
        build(dataFolder, mediaFolder, sourcesFolder);
        return true;
    } catch (const Failure& failure) {
        error = qelToUtf8(failure.message);
        return false;
    }
}

bool curioSearchNames(const std::string& dataFolder, std::vector<std::pair<int32_t, std::string>>& names,
    std::string& error)
{
    try {
        std::vector<Curiosity> curiosities = readCuriosities(dataFolder);
        for (size_t n = 0; n < curiosities.size(); ++n)
            names.emplace_back((curioSection << 16) | int32_t(n), "Curiosidades: " + curiosities[n].title);
        return true;
    } catch (const Failure& failure) {
        error = qelToUtf8(failure.message);
        return false;
    }
}
