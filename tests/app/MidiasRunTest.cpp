// The media library on the almanac's disk, run headless: from the main menu to the library's
// home, a photograph chosen in the item dialog, the next one, its page printed to a PDF, a flag
// and a video that plays to its end; then one item of every kind shown in turn by the viewer's
// "Próximo" through a list that mixes the kinds. The screenshots are probed where each kind
// puts its picture, its still or its texts.

#include "app/AppHooks.h"
#include "app/Startup.h"
#include "app/VelarimApp.h"
#include "app/shell/CategoryLists.h"
#include "app/shell/DBLists.h"
#include "framework/runtime/Builtins.h"
#include "framework/ui/History.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/gfx/Png.h"
#include "tests/support/CommandOutput.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Rgb {
    int r, g, b;
};

class Shots {
public:
    explicit Shots(fs::path folder)
        : m_folder(std::move(folder))
    {
    }
    bool near(const char* shot, int x, int y, Rgb c) const
    {
        auto image = platform::gfx::readPng((m_folder / (std::string(shot) + ".png")).string());
        if (!image)
            return false;
        uint32_t p = image->pixel(x, y);
        int r = (p >> 16) & 0xFF;
        int g = (p >> 8) & 0xFF;
        int b = p & 0xFF;
        // Pictures are stored with 8 bits: their colours come back within a few steps.
        return std::abs(r - c.r) <= 12 && std::abs(g - c.g) <= 12 && std::abs(b - c.b) <= 12;
    }
    // Dark pixels (text) in the rectangle.
    int ink(const char* shot, int x, int y, int w, int h) const
    {
        auto image = platform::gfx::readPng((m_folder / (std::string(shot) + ".png")).string());
        if (!image)
            return -1;
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) {
                uint32_t p = image->pixel(i, j);
                n += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 200;
            }
        return n;
    }
    bool same(const char* a, const char* b, int x, int y, int w, int h) const
    {
        auto first = platform::gfx::readPng((m_folder / (std::string(a) + ".png")).string());
        auto second = platform::gfx::readPng((m_folder / (std::string(b) + ".png")).string());
        if (!first || !second)
            return false;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                if ((first->pixel(i, j) & 0xFFFFFF) != (second->pixel(i, j) & 0xFFFFFF))
                    return false;
        return true;
    }

private:
    fs::path m_folder;
};

// One item of each kind, in kind order, as the viewer's current list.
const char* const oneOfEachKind[] = { "voo do 14-bis", "bandeira da cruz vermelha", "capitais brasileiras, 1549-1960",
    "tucano-toco", "batucada", "dom casmurro", "estrada real, minas gerais", "planetas do sistema solar",
    "carnaval no rio" };

class KindsTourApp : public VelarimApp {
public:
    using VelarimApp::VelarimApp;
    void onStart() override
    {
        VelarimApp::onStart();
        qelValue list = qelMakeList(16, 100, QEL_INT_LIST);
        for (const char* name : oneOfEachKind)
            qelAddItem(list, qelMakeInt(DBLists::instance().idListGet(1, qelValue(name))));
        setCachedIDList(list, 1);
        qelValue data = qelTable(4, 100, 75);
        qelPut(data, "Index", qelMakeInt(0));
        qelHistoryGoTo("MidiasForm", data);
    }
};

void createKindsTour(const qelValue& commandLine)
{
    velarimRunApplication(new KindsTourApp(commandLine));
}

struct HeadlessRun {
    HeadlessRun()
    {
        root = fs::temp_directory_path() / ("velarim-midias-" + std::to_string(std::random_device {}()));
        fs::create_directories(root / "user");
        fs::create_directories(root / "shots");
        ::setenv("VELARIM_USER_DIR", (root / "user").c_str(), 1);
    }
    ~HeadlessRun()
    {
        ::unsetenv("VELARIM_USER_DIR");
        // Set to a folder, the run's screenshots are kept there for a look.
        if (const char* keep = std::getenv("VELARIM_KEEP_SHOTS"))
            fs::copy(root / "shots", keep, fs::copy_options::overwrite_existing | fs::copy_options::recursive);
        fs::remove_all(root);
    }
    int play(const std::string& script, void (*create)(const qelValue&) = nullptr)
    {
        std::ofstream(root / "input.script") << script;
        velarimNameProgram();
        velarimInstallServices();
        qelAppHooks hooks = velarimHooks();
        if (create)
            hooks.CreateApplication = create;
        std::vector<std::string> args { "velarim", "--headless", "--disk", std::string(QEL_BUILD_DIR) + "/disk",
            "--script", (root / "input.script").string(), "--screens", (root / "shots").string() };
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        velarimOptions options;
        if (!velarimParseOptions(int(argv.size()), argv.data(), options))
            return -1;
        return velarimRun(options, hooks);
    }

    fs::path root;
};

using qel::test::commandOutput;

// The main menu's Mídias button, the home's tiles, the item dialog's picture, the viewer's
// buttons (Próximo, Imprimir, Tocar, Voltar); the print set-up's Enter keeps the proposed file.
const char* const libraryScript = R"(wait 2000
click 320 118
wait 2000
shot home
click 175 118
wait 500
shot dialog
click 330 150
wait 2000
shot foto
click 194 456
wait 1000
shot foto2
click 194 400
wait 300
key Enter
answer 1
wait 500
click 572 456
wait 2000
click 465 118
wait 500
click 330 150
wait 2000
shot bandeira
click 572 456
wait 2000
click 175 250
wait 500
click 330 150
wait 2000
shot video
click 446 400
wait 500
shot playing
wait 5000
shot ended
close
wait 100
key Enter
)";

} // namespace

TEST(MidiasRun, TheLibraryIsBrowsedAPhotoPrintedAndAVideoPlayedToItsEnd)
{
    HeadlessRun run;
    ASSERT_EQ(run.play(libraryScript), 0);
    Shots shots(run.root / "shots");

    // The item dialog shows the first photograph's thumbnail (the macaw's green) beside its caption.
    EXPECT_TRUE(shots.near("dialog", 310, 200, { 40, 96, 56 })) << "thumbnail";
    EXPECT_GT(shots.ink("dialog", 390, 130, 150, 60), 20) << "caption";
    // The photograph, taller than the room, is cut to it from the band's foot; the next one
    // (Baía de Guanabara, 320 x 200) is centred.
    EXPECT_TRUE(shots.near("foto", 170, 70, { 40, 96, 56 }));
    EXPECT_TRUE(shots.near("foto2", 165, 130, { 170, 214, 240 })) << "its sky";
    EXPECT_TRUE(shots.near("foto2", 20, 300, { 36, 36, 44 })) << "the photographs' ground";

    // The printed page: one page, small.
    fs::path pdf = run.root / "user" / "VL98 - Midias.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_LT(fs::file_size(pdf), 2u * 1024 * 1024);
    EXPECT_NE(commandOutput("pdfinfo '" + pdf.string() + "'").find("Pages:           1\n"), std::string::npos);

    // The first flag of its category by name (Alemanha: its red band), centred below the name.
    EXPECT_TRUE(shots.near("bandeira", 320, 238, { 206, 17, 38 }));
    EXPECT_GT(shots.ink("bandeira", 160, 66, 320, 24), 50) << "the name under the band";

    // The video's still, then Tocar off while it plays, and on again at its end.
    EXPECT_TRUE(shots.near("video", 170, 130, { 60, 20, 80 }));
    EXPECT_FALSE(shots.same("video", "playing", 386, 384, 120, 32)) << "Tocar while playing";
    EXPECT_TRUE(shots.same("video", "ended", 386, 384, 120, 32)) << "Tocar after the end";
}

TEST(MidiasRun, EveryKindLaysOutOnItsGround)
{
    HeadlessRun run;
    std::string script = "wait 2000\nshot k0\n";
    for (int i = 1; i < 9; ++i)
        script += "click 194 456\nwait 800\nshot k" + std::to_string(i) + "\n";
    script += "close\nwait 100\nkey Enter\n";
    ASSERT_EQ(run.play(script, createKindsTour), 0);
    Shots shots(run.root / "shots");

    // Animation: its still in the frame on the movies' ground.
    EXPECT_TRUE(shots.near("k0", 170, 130, { 176, 208, 236 }));
    EXPECT_TRUE(shots.near("k0", 20, 300, { 20, 36, 48 }));
    // Flag: centred at 170, 138.
    EXPECT_TRUE(shots.near("k1", 320, 238, { 237, 28, 36 }));
    EXPECT_TRUE(shots.near("k1", 175, 143, { 255, 255, 255 }));
    // Chronology: its title, then its lines below it on the panel.
    EXPECT_GT(shots.ink("k2", 40, 92, 560, 56), 50) << "title";
    EXPECT_GT(shots.ink("k2", 40, 148, 546, 228), 200) << "lines";
    // Photograph: 400 x 300 centred at 120, 70 on the dark ground.
    EXPECT_TRUE(shots.near("k3", 285, 225, { 10, 10, 10 }));
    EXPECT_TRUE(shots.near("k3", 20, 300, { 36, 36, 44 }));
    // Sound: the loudspeaker of its ground.
    EXPECT_TRUE(shots.near("k4", 270, 230, { 24, 72, 96 }));
    // Book: its title and its text.
    EXPECT_GT(shots.ink("k5", 40, 92, 560, 56), 50) << "title";
    EXPECT_GT(shots.ink("k5", 40, 148, 546, 228), 200) << "text";
    // Map: scaled into 360 x 280 at 140, 96.
    EXPECT_TRUE(shots.near("k6", 150, 200, { 214, 230, 190 }));
    EXPECT_TRUE(shots.near("k6", 130, 200, { 196, 222, 236 })) << "the maps' ground beside it";
    // Table: 400 wide, centred, below its title and header.
    EXPECT_GT(shots.ink("k7", 40, 92, 560, 100), 100) << "title and header";
    EXPECT_GT(shots.ink("k7", 120, 192, 400, 184), 200) << "rows";
    EXPECT_EQ(shots.ink("k7", 40, 200, 70, 170), 0) << "left of the table, 400 wide at 120";
    // Video: its still.
    EXPECT_TRUE(shots.near("k8", 170, 130, { 60, 20, 80 }));
}
