// diskbuild: the sample disk's builders.
//
//   diskbuild pictures DESCRIPTION OUTDIR   draws every picture the description table (text
//                                           notation, UTF-8) names into OUTDIR: ".bmp" files as
//                                           24-bit bitmaps, ".dib" files as 8-bit bitmaps with
//                                           their palette, ".cur" files as cursors and
//                                           ".ico" files as icons
//   diskbuild text IN OUT                   copies a UTF-8 text file as cp1252
//   diskbuild data DATADIR MEDIADIR SOURCESDIR
//                                           the content archives and category lists into
//                                           MEDIADIR, the index sources into SOURCESDIR (Data.h)
//   diskbuild database DATADIR MEDIADIR     the country and state database into MEDIADIR
//                                           (Database.h)
//   diskbuild headings DATADIR PICTURES     the description of the database's column headings
//                                           (Headings.h)
//   diskbuild keywords DATADIR MEDIADIR     the word search's keyword files (Keywords.h)
//   diskbuild global SOURCE SCREENS -o OUT  the globals table SOURCE compiled, with "ValidInfos"
//                                           (the infographic pages of the registration list
//                                           SCREENS, lower-cased) when SOURCE has none
//   diskbuild look STYLE OUTDIR             the pictures of the almanac's look (Look.h)
//   diskbuild quiz SOURCE MEDIADIR SOURCESDIR
//                                           the quiz game's questions, pictures and sounds into
//                                           MEDIADIR, its index source into SOURCESDIR (Quiz.h)
//   diskbuild retro SOURCE MEDIADIR SOURCESDIR
//                                           one set of the review of the year (the one SOURCE
//                                           names): its articles and category lists into
//                                           MEDIADIR, its title index source into SOURCESDIR
//                                           (Retro.h)
//   diskbuild intro DESCRIPTION SOURCES OUTDIR
//                                           the intro's movies and music and the credits'
//                                           picture, mask and music (Intro.h); SOURCES is
//                                           content/SOURCES.md, whose data sets the credits list
//   diskbuild entryscreen NAME CLASS LOOK SOURCE ENTRIES -o OUT
//                                           the entry page's screen with the entries'
//                                           categories added (EntryScreen.h)
//   diskbuild screen NAME CLASS LOOK [SOURCE] -o OUT
//                                           the compiled resource of a registered screen: its
//                                           authored SOURCE, or a placeholder (Screens.h)
//   diskbuild curio DATADIR MEDIADIR SOURCESDIR
//                                           the curiosities' archives and pictures into MEDIADIR,
//                                           their title index's source into SOURCESDIR (Curio.h)
//   diskbuild atlas MAPS SHAPES OUTDIR     the atlas's country and continent maps (Atlas.h)
//   diskbuild agenda SOURCE STYLE MEDIADIR PICTURES
//                                           the agenda's year: Agenda.dat, its holidays and
//                                           icons, and the description of its pictures (Agenda.h)
//   diskbuild ltempo SOURCE SCREEN MEDIADIR the timeline's events (TimeLine.dat), checked
//                                           against the era buttons of its screen (Timeline.h)
//
// Errors print a message on stderr and end with status 1.

#include "app/Startup.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/TextNotation.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/Dib.h"
#include "tools/diskbuild/Agenda.h"
#include "tools/diskbuild/Atlas.h"
#include "tools/diskbuild/Bytes.h"
#include "tools/diskbuild/Curio.h"
#include "tools/diskbuild/Data.h"
#include "tools/diskbuild/Database.h"
#include "tools/diskbuild/EntryScreen.h"
#include "tools/diskbuild/Headings.h"
#include "tools/diskbuild/Intro.h"
#include "tools/diskbuild/Keywords.h"
#include "tools/diskbuild/Look.h"
#include "tools/diskbuild/Pictures.h"
#include "tools/diskbuild/Quiz.h"
#include "tools/diskbuild/Retro.h"
#include "tools/diskbuild/Screens.h"
#include "tools/diskbuild/Sources.h"
#include "tools/diskbuild/Timeline.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

int fail(const std::string& message)
{
    std::fprintf(stderr, "diskbuild: %s\n", message.c_str());
    return 1;
}

std::optional<std::string> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A cursor file of one 24-bit image with its 1-bit AND mask (set where the picture shows the
// screen), laid out as the window layer's cursor reader takes it.
// A cursor (type 2) keeps its hot spot in the directory entry; an icon (type 1) keeps its planes
// and bits per pixel there.
std::vector<uint8_t> encodeCursor(const platform::gfx::Surface& surface, bool icon, int hotX, int hotY, uint32_t transparent)
{
    int w = surface.width();
    int h = surface.height();
    uint32_t colorStride = uint32_t((w * 3 + 3) & ~3);
    uint32_t maskStride = uint32_t(((w + 31) / 32) * 4);
    uint32_t imageSize = 40 + (colorStride + maskStride) * uint32_t(h);
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, icon ? 1 : 2);
    put16(out, 1);
    out.push_back(uint8_t(w == 256 ? 0 : w));
    out.push_back(uint8_t(h == 256 ? 0 : h));
    out.push_back(0);
    out.push_back(0);
    put16(out, icon ? 1 : uint32_t(hotX));
    put16(out, icon ? 24 : uint32_t(hotY));
    put32(out, imageSize);
    put32(out, 6 + 16);
    put32(out, 40);
    put32(out, uint32_t(w));
    put32(out, uint32_t(h * 2));
    put16(out, 1);
    put16(out, 24);
    for (int i = 0; i < 6; ++i)
        put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            uint32_t pixel = surface.pixel(x, y);
            bool clear = (pixel & 0xFFFFFF) == transparent;
            out.push_back(clear ? 0 : uint8_t(pixel));
            out.push_back(clear ? 0 : uint8_t(pixel >> 8));
            out.push_back(clear ? 0 : uint8_t(pixel >> 16));
        }
        for (uint32_t pad = uint32_t(w * 3); pad < colorStride; ++pad)
            out.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < w; ++x) {
            if ((surface.pixel(x, y) & 0xFFFFFF) == transparent)
                row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// The framework's 0x00BBGGRR colour as a surface pixel 0x00RRGGBB.
uint32_t pixelOf(int32_t color)
{
    uint32_t c = uint32_t(color);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

bool endsWith(const std::string& text, const char* suffix)
{
    size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

int pictures(const std::string& descriptionPath, const std::string& folder)
{
    velarimInstallDisplayValues();
    std::string error;
    qelValue table = readNotationFile(descriptionPath, error);
    if (!error.empty())
        return fail(error);
    qelTableObject* entries = qelTableOf(table);
    if (!entries)
        return fail(descriptionPath + ": not a table of pictures");
    for (int32_t slot = entries->firstIndex(); slot >= 0; slot = entries->nextIndex(slot)) {
        qelValue key = entries->keyAt(slot);
        if (!key.isString())
            return fail(descriptionPath + ": a picture's name must be a string");
        std::string name = qelCString(key);
        // Why: the name becomes a path; it must stay inside the output folder.
        if (name.empty() || name.find('/') != std::string::npos || name.find('\\') != std::string::npos
            || name[0] == '.')
            return fail(descriptionPath + ": bad picture name " + qelToUtf8(name));
        qelValue description = entries->valueAt(slot);
        platform::gfx::Surface surface;
        std::string error;
        if (!drawPicture(description, surface, error))
            return fail(qelToUtf8(name) + ": " + error);
        std::string path = folder + "/" + name;
        if (endsWith(name, ".cur") || endsWith(name, ".ico")) {
            qelTableObject* fields = qelTableOf(description);
            auto intOr = [&](const char* k, int32_t d) {
                qelValue v = fields->get(k);
                return v.type() == QEL_INT_TYPE ? v.payload() : d;
            };
            // Why: the directory entry holds each side in one byte.
            if (surface.width() > 256 || surface.height() > 256)
                return fail(qelToUtf8(name) + ": a cursor or icon is at most 256 x 256");
            std::vector<uint8_t> bytes = encodeCursor(surface, endsWith(name, ".ico"), intOr("HotX", 0), intOr("HotY", 0),
                pixelOf(intOr("Transparent", 0xFF00FF)));
            if (!writeBytes(path, bytes.data(), bytes.size()))
                return fail("cannot write " + path);
            continue;
        }
        // ".dib" pictures are 8-bit with their palette, as the start picture is stored; so is
        // any picture whose description asks for 8 bits.
        qelValue bits = qelTableOf(description)->get("Bits");
        bool indexed = endsWith(name, ".dib") || (bits.type() == QEL_INT_TYPE && bits.payload() == 8);
        platform::gfx::Dib dib = indexed ? indexedDib(surface) : platform::gfx::dibFromSurface(surface);
        if (!dib.isValid())
            return fail(qelToUtf8(name) + ": more than 256 colours for an 8-bit picture");
        std::vector<uint8_t> bytes = platform::gfx::encodeBmp(dib);
        if (bytes.empty() || !writeBytes(path, bytes.data(), bytes.size()))
            return fail("cannot write " + path);
    }
    return 0;
}

int screen(int argc, char** argv)
{
    // NAME CLASS LOOK [SOURCE] -o OUT
    bool withSource = argc == 8;
    ScreenRegistration registration { argv[2], argv[3], argv[4] };
    std::string source = withSource ? argv[5] : "";
    std::string output = argv[argc - 1];
    std::string error;
    velarimInstallDisplayValues();
    if (!buildScreen(registration, source, output, error))
        return fail(error);
    return 0;
}

// The names of the registration list's infographic pages, lower-cased, in its order.
qelValue infographicNames(const std::string& screensPath, bool& ok)
{
    std::ifstream in(screensPath);
    ok = bool(in);
    qelValue names = qelMakeList(128, 100, QEL_GENERAL_LIST);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        std::string className;
        if (!(fields >> name >> className) || name[0] == '#' || className != "InfosForm")
            continue;
        for (char& c : name)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        qelListObjectOf(names)->append(qelValue(name.c_str()));
    }
    return names;
}

int global(const std::string& sourcePath, const std::string& screensPath, const std::string& output)
{
    velarimInstallDisplayValues();
    std::string error;
    qelValue table = readNotationFile(sourcePath, error);
    if (!error.empty())
        return fail(error);
    qelTableObject* entries = qelTableOf(table);
    if (!entries)
        return fail(sourcePath + ": not a table");
    if (entries->get("ValidInfos").isNil()) {
        bool ok = false;
        qelValue names = infographicNames(screensPath, ok);
        if (!ok)
            return fail("cannot read " + screensPath);
        entries->put("ValidInfos", names);
    }
    if (!writeEncoded(table, output))
        return fail("cannot write " + output);
    return 0;
}

int look(const std::string& stylePath, const std::string& folder)
{
    velarimInstallDisplayValues();
    std::string error;
    qelValue style = readNotationFile(stylePath, error);
    if (!error.empty())
        return fail(error);
    if (!drawLook(style, folder, error))
        return fail(stylePath + ": " + error);
    return 0;
}

int text(const std::string& in, const std::string& out)
{
    std::optional<std::string> source = readFile(in);
    if (!source)
        return fail("cannot read " + in);
    std::string cp1252 = qelFromUtf8(*source);
    if (!writeBytes(out, cp1252.data(), cp1252.size()))
        return fail("cannot write " + out);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // A framework error in a description (a bad font, a bad value) ends the build step.
    qelSetErrorHook([](const qelValue& message) {
        std::fprintf(stderr, "diskbuild: %s\n", qelToUtf8(qelCString(message)).c_str());
        std::exit(1);
        return 1;
    });
    if (argc == 4 && std::strcmp(argv[1], "pictures") == 0)
        return pictures(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "text") == 0)
        return text(argv[2], argv[3]);
    if (argc == 5 && std::strcmp(argv[1], "atlas") == 0) {
        velarimInstallDisplayValues();
        std::string error;
        if (!buildAtlasMaps(argv[2], argv[3], argv[4], error))
            return fail(error);
        return 0;
    }
    if (argc == 5 && std::strcmp(argv[1], "data") == 0) {
        velarimInstallDisplayValues();
        std::string error;
        return buildData(argv[2], argv[3], argv[4], error) ? 0 : fail(error);
    }
    if (argc == 4 && std::strcmp(argv[1], "database") == 0) {
        velarimInstallDisplayValues();
        std::string error;
        return buildDatabase(argv[2], argv[3], error) ? 0 : fail(error);
    }
    if (argc == 4 && std::strcmp(argv[1], "headings") == 0) {
        std::string error;
        return writeHeadingPictures(argv[2], argv[3], error) ? 0 : fail(error);
    }
    if (argc == 4 && std::strcmp(argv[1], "keywords") == 0) {
        std::string error;
        return buildKeywords(argv[2], argv[3], error) ? 0 : fail(error);
    }
    if (argc == 6 && std::strcmp(argv[1], "global") == 0 && std::strcmp(argv[4], "-o") == 0)
        return global(argv[2], argv[3], argv[5]);
    if (argc == 5 && std::strcmp(argv[1], "quiz") == 0) {
        velarimInstallDisplayValues();
        std::string error;
        return buildQuiz(argv[2], argv[3], argv[4], error) ? 0 : fail(error);
    }
    if (argc == 5 && std::strcmp(argv[1], "retro") == 0) {
        std::string error;
        return buildRetro(argv[2], argv[3], argv[4], error) ? 0 : fail(error);
    }
    if (argc == 5 && std::strcmp(argv[1], "curio") == 0) {
        velarimInstallDisplayValues();
        std::string error;
        return buildCurio(argv[2], argv[3], argv[4], error) ? 0 : fail(error);
    }
    if (argc == 5 && std::strcmp(argv[1], "intro") == 0) {
        velarimInstallDisplayValues();
        std::string error;
        return buildIntro(argv[2], argv[3], argv[4], error) ? 0 : fail(error);
    }
    if (argc == 5 && std::strcmp(argv[1], "ltempo") == 0) {
        velarimInstallDisplayValues();
        std::string error;
        return buildTimeline(argv[2], argv[3], argv[4], error) ? 0 : fail(error);
    }
    if (argc == 4 && std::strcmp(argv[1], "look") == 0)
        return look(argv[2], argv[3]);
    if (argc == 6 && std::strcmp(argv[1], "agenda") == 0) {
        velarimInstallDisplayValues();
        std::string error;
        return buildAgenda(argv[2], argv[3], argv[4], argv[5], error) ? 0 : fail(error);
    }
    if (argc == 9 && std::strcmp(argv[1], "entryscreen") == 0 && std::strcmp(argv[7], "-o") == 0) {
        std::string error;
        velarimInstallDisplayValues();
        return buildEntryScreen({ argv[2], argv[3], argv[4] }, argv[5], argv[6], argv[8], error) ? 0 : fail(error);
    }
    if ((argc == 7 || argc == 8) && std::strcmp(argv[1], "screen") == 0 && std::strcmp(argv[argc - 2], "-o") == 0)
        return screen(argc, argv);
    std::fprintf(stderr,
        "usage: diskbuild pictures DESCRIPTION OUTDIR\n       diskbuild text IN OUT\n"
        "       diskbuild data DATADIR MEDIADIR SOURCESDIR\n"
        "       diskbuild database DATADIR MEDIADIR\n"
        "       diskbuild headings DATADIR PICTURES\n"
        "       diskbuild atlas MAPS SHAPES OUTDIR\n"
        "       diskbuild quiz SOURCE MEDIADIR SOURCESDIR\n"
        "       diskbuild retro SOURCE MEDIADIR SOURCESDIR\n"
        "       diskbuild global SOURCE SCREENS -o OUT\n"
        "       diskbuild look STYLE OUTDIR\n"
        "       diskbuild screen NAME CLASS LOOK [SOURCE] -o OUT\n"
        "       diskbuild entryscreen NAME CLASS LOOK SOURCE ENTRIES -o OUT\n"
        "       diskbuild intro DESCRIPTION SOURCES OUTDIR\n"
        "       diskbuild keywords DATADIR MEDIADIR\n"
        "       diskbuild agenda SOURCE STYLE MEDIADIR PICTURES\n"
        "       diskbuild curio DATADIR MEDIADIR SOURCESDIR\n"
        "       diskbuild ltempo SOURCE SCREEN MEDIADIR\n");
    return 2;
}
