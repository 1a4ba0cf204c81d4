// The almanac's sample disk as the build wrote it: every name the program registers has its
// screen resource, which decodes and names the class of its registration; the globals the shell
// reads; the settings file; the start picture.
//
// The registrations are the program's own table (app/shell/Registrations.h), which its test
// checks against the rules by which the names are made, so a slip in content/almanac/screens.txt
// shows here.

#include "ErrorRecorder.h"

#include "app/shell/Registrations.h"

#include "framework/display/DisplayMakers.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/Dib.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path diskFolder()
{
    return fs::path(QEL_BUILD_DIR) / "disk";
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The media folder's files by lower-cased name, as the program finds content without regard
// to case.
std::map<std::string, fs::path> mediaFiles()
{
    std::map<std::string, fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(diskFolder() / "Media"))
        files[lower(entry.path().filename().string())] = entry.path();
    return files;
}

qelValue decodeFile(const fs::path& path)
{
    qelValue stream = qelOpenFileStream(qelStringValue(path.string().c_str()), 1, 1);
    if (stream.isNil())
        return qelNil;
    return qelDecode(stream);
}

std::string stringEntry(const qelValue& table, const char* key)
{
    qelValue value = qelTableOf(table) ? qelTableOf(table)->get(key) : qelNil;
    return value.isString() ? qelCString(value) : std::string();
}

class AlmanacDisk : public ::testing::Test {
protected:
    void SetUp() override { qelInstallDisplayMakers(); }
    ErrorRecorder errors;
};

TEST_F(AlmanacDisk, EveryRegisteredScreenDecodesAndNamesItsClass)
{
    std::map<std::string, fs::path> files = mediaFiles();
    for (const VelarimRegistration& row : velarimRegistrations) {
        auto found = files.find(lower(row.file) + ".etn");
        ASSERT_NE(found, files.end()) << row.name << ": no " << row.file << ".etn";
        qelValue table = decodeFile(found->second);
        ASSERT_TRUE(qelTableOf(table)) << row.file << ".etn does not decode to a table";
        EXPECT_EQ(stringEntry(table, "Class"), std::string(row.className)) << row.name;
    }
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();
}

TEST_F(AlmanacDisk, GlobalsHoldWhatTheShellReads)
{
    qelValue globals = decodeFile(diskFolder() / "Media" / "global.etn");
    qelTableObject* table = qelTableOf(globals);
    ASSERT_TRUE(table);
    for (const char* key : { "GlobalTable", "FadeTime", "VelarimMenuMF", "VelarimMenu", "MarcadorMenu", "InternetMenu",
             "AjudaMenu", "Lista de Marcados", "DisabledMenuItemsTable", "ValidInfos", "Copiando", "Imprimindo" })
        EXPECT_FALSE(table->get(key).isNil()) << key;

    qelValue preferences = qelGet(table->get("GlobalTable"), qelValue("Preferences"));
    EXPECT_EQ(qelIntValue(qelGet(preferences, qelValue("Volume"))), 75);
    EXPECT_EQ(table->get("FadeTime").type(), QEL_INT_TYPE);

    // A menu without a size cannot be shown: each has its items and either a size or a picture.
    for (const char* menu : { "VelarimMenuMF", "VelarimMenu", "MarcadorMenu", "InternetMenu", "AjudaMenu" }) {
        qelValue value = table->get(menu);
        EXPECT_GT(qelCount(qelGet(value, qelValue("Items"))), 0) << menu;
        bool sized = qelGet(value, qelValue("Width")).type() == QEL_INT_TYPE
            && qelGet(value, qelValue("Height")).type() == QEL_INT_TYPE;
        EXPECT_TRUE(sized || !qelGet(value, qelValue("Background")).isNil()) << menu;
    }

    // "ValidInfos" names every infographic page the disk has, lower-cased.
    std::set<std::string> valid;
    qelValue infos = table->get("ValidInfos");
    for (int32_t i = 0; i < qelCount(infos); ++i)
        valid.insert(qelCString(qelGet(infos, i)));
    for (const VelarimRegistration& row : velarimRegistrations) {
        if (std::string(row.className) == "InfosForm") {
            EXPECT_TRUE(valid.count(lower(row.name))) << row.name;
        }
    }
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(AlmanacDisk, SettingsNameTheDiskAsSourceDisk)
{
    std::ifstream in(diskFolder() / "VL98.ini");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("[QELENVIRONMENT]"), std::string::npos);
    EXPECT_NE(text.find("SourceDisk=" + diskFolder().string() + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("MediaPath=Media\n"), std::string::npos);
}

TEST_F(AlmanacDisk, StartPictureIsAnEightBitScreen)
{
    std::map<std::string, fs::path> files = mediaFiles();
    ASSERT_TRUE(files.count("indeo41.dib"));
    std::ifstream in(files["indeo41.dib"], std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    platform::gfx::Dib dib;
    ASSERT_EQ(platform::gfx::decodeBmp(bytes, dib), platform::gfx::BmpError::None);
    EXPECT_EQ(dib.width(), 640);
    EXPECT_EQ(dib.height(), 480);
    EXPECT_EQ(dib.header.bitCount, 8);
    EXPECT_GT(dib.colors.size(), 4u);
}

TEST_F(AlmanacDisk, TheEntryPageNamesEveryEntrysCategoryAndTheLookOfEachList)
{
    std::map<std::string, fs::path> files = mediaFiles();
    qelValue page = decodeFile(diskFolder() / "Media" / "VrbtForm.etn");
    ASSERT_TRUE(qelTableOf(page));
    qelValue mains = qelTableOf(page)->get("MCategs");
    qelValue entries = qelOpenArchive(qelStringValue((diskFolder() / "Media" / "Verbetes.DAT").string().c_str()), 0);
    ASSERT_GT(qelCount(entries), 0);
    std::set<int32_t> kinds { 6, 7, 8 };
    for (int32_t r = 0; r < qelCount(entries); ++r) {
        qelValue entry = qelGet(entries, r);
        int32_t subcategory = qelIntValue(qelGet(entry, 3));
        SCOPED_TRACE(qelCString(qelGet(entry, 2)));
        // The path "main/sub" the page shows: both names are there.
        qelValue category = qelTableOf(page)->get(("Cat" + std::to_string(subcategory)).c_str());
        ASSERT_EQ(qelCount(category), 2);
        int32_t main = qelIntValue(qelGet(category, 0));
        ASSERT_TRUE(main >= 1 && main <= qelCount(mains));
        EXPECT_TRUE(qelGet(mains, main - 1).isString());
        EXPECT_TRUE(qelGet(category, 1).isString());
        kinds.insert(main);
    }
    // Every list kind the page can take has its ground on the disk and its path colour.
    for (int32_t kind : kinds) {
        std::string key = "Cat" + std::to_string(kind);
        std::string ground = stringEntry(page, (key + " BkImage").c_str());
        EXPECT_TRUE(files.count(lower(ground))) << key << " BkImage " << ground;
        EXPECT_EQ(qelTableOf(page)->get((key + " TxColor").c_str()).type(), QEL_INT_TYPE) << key;
    }
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();
}

TEST_F(AlmanacDisk, EveryContinentPageIsAuthoredListedAndReachedFromTheWorldMap)
{
    std::map<std::string, fs::path> files = mediaFiles();
    qelValue globals = decodeFile(diskFolder() / "Media" / "global.etn");
    ASSERT_TRUE(qelTableOf(globals));
    auto names = [](const qelValue& list) {
        std::set<std::string> out;
        for (int32_t i = 0; i < qelCount(list); ++i)
            if (qelGet(list, i).isString())
                out.insert(qelCString(qelGet(list, i)));
        return out;
    };
    std::set<std::string> validInfos = names(qelTableOf(globals)->get("ValidInfos"));
    std::set<std::string> validForms = names(qelTableOf(globals)->get("ValidForms"));
    // The world's political map: its continent names are hot spots whose entries name the pages.
    qelValue world = decodeFile(diskFolder() / "Media" / "mdmundi.etn");
    qelTableObject* spots = qelTableOf(qelTableOf(world) ? qelTableOf(world)->get("PopUpList") : qelNil);
    ASSERT_TRUE(spots);
    std::set<std::string> fromWorld;
    for (int32_t slot = spots->firstIndex(); slot >= 0; slot = spots->nextIndex(slot))
        if (spots->valueAt(slot).isString())
            fromWorld.insert(qelCString(spots->valueAt(slot)));

    for (const char* page : { "mmantar", "mmeurop", "mmamnor", "mmamcen", "mmamsul", "mmafric", "mmocean", "mmasia" }) {
        SCOPED_TRACE(page);
        const VelarimRegistration* row = nullptr;
        for (const VelarimRegistration& r : velarimRegistrations)
            if (std::string(r.name) == page)
                row = &r;
        ASSERT_TRUE(row) << "registered";
        EXPECT_STREQ(row->className, "InfosForm");
        ASSERT_TRUE(files.count(lower(row->file) + ".etn"));
        qelValue screen = decodeFile(files[lower(row->file) + ".etn"]);
        ASSERT_TRUE(qelTableOf(screen));
        // Authored, not the placeholder: its own full-screen picture on the disk, its history
        // text, and the buttons that copy, print and go back.
        std::string picture = lower(stringEntry(screen, "Background Image"));
        EXPECT_EQ(picture, std::string(page) + ".bmp");
        ASSERT_TRUE(files.count(picture));
        std::ifstream in(files[picture], std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        platform::gfx::Dib dib;
        ASSERT_EQ(platform::gfx::decodeBmp(bytes, dib), platform::gfx::BmpError::None);
        EXPECT_EQ(dib.width(), 640);
        EXPECT_EQ(dib.height(), 480);
        EXPECT_EQ(stringEntry(screen, "History").rfind("Atlas: ", 0), 0u) << stringEntry(screen, "History");
        for (const char* button : { "Copiar", "Imprimir", "Voltar" })
            EXPECT_FALSE(qelTableOf(screen)->get(button).isNil()) << button;
        EXPECT_TRUE(validInfos.count(page)) << "links to it open it";
        EXPECT_TRUE(validForms.count(page)) << "a page's hot spot may go to it";
        EXPECT_TRUE(fromWorld.count(page)) << "the world map's continent name opens it";
    }
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();
}

// The labelled buttons of the look (bt*), the menu bar (bb*) and the agenda (agbt*), in all their
// states: a label too long for its button would run into the frame. The fourth column from
// either side (inside a 1-pixel frame and a 2-pixel bevel) holds only the face.
TEST_F(AlmanacDisk, EveryButtonsLabelKeepsClearOfItsFrame)
{
    const std::regex labelled("(bt|bb|agbt)[a-z0-9]*_(up|down|off|over)\\.bmp");
    int checked = 0;
    for (const auto& [name, path] : mediaFiles()) {
        if (!std::regex_match(name, labelled))
            continue;
        SCOPED_TRACE(name);
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
        platform::gfx::Dib dib;
        ASSERT_EQ(platform::gfx::decodeBmp(bytes, dib), platform::gfx::BmpError::None);
        const int w = dib.width(), h = dib.height();
        const uint32_t face = dib.pixel(3, 3);
        for (int y = 3; y < h - 3; ++y)
            for (int x : { 3, w - 4 })
                ASSERT_EQ(dib.pixel(x, y), face) << "label ink at " << x << ", " << y;
        ++checked;
    }
    EXPECT_GT(checked, 0) << "no labelled buttons on the disk";
}
} // namespace
