// The program on the almanac's disk, run headless, with the internet menu's three items taken in
// turn at the start: the registration form is filled in, saved and printed through a script, then
// the home page and the download page are opened. Registro.dat holds the record byte for byte,
// the PDF holds its lines, and the two addresses are recorded as launches.

#include "app/AppHooks.h"
#include "app/Startup.h"
#include "app/VelarimApp.h"
#include "app/shell/ShellHooks.h"
#include "framework/runtime/Settings.h"
#include "framework/ui/DialogObject.h"
#include "platform/gfx/Png.h"
#include "tests/app/personal/RegistroFile.h"
#include "tests/support/CommandOutput.h"
#include "tests/support/GrayPage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The menu bar's internet menu, item by item.
class InternetMenuApp : public VelarimApp {
public:
    using VelarimApp::VelarimApp;
    void onStart() override
    {
        VelarimApp::onStart();
        qelDoDialog("RegistroDialog");
        for (const char* page : { "URLHomePage", "URLDownLoad" })
            velarimShellHooks().openInternetPage(qelGetSetting(page));
    }
};

void createApp(const qelValue& commandLine)
{
    velarimRunApplication(new InternetMenuApp(commandLine));
}

// The main menu fades in first; then the form, at (20, 20), is filled in: each click lands on a
// control and the text that follows goes into it.
const char* const script = R"(wait 2000
shot empty
click 134 114
text "Maria da Silva"
click 134 142
text "12/05/1970"
click 134 198
text "Rua das Flores, 100 {apto. 3}"
click 134 226
text "Belo Horizonte"
click 134 254
text "30130-000"
click 134 282
text "(031) 555-1234"
click 430 114
text "Compaq"
click 430 142
text "Presario"
click 430 170
text "200"
click 430 198
text "95"
click 225 171
click 385 317
click 265 345
click 405 373
wait 600
shot filled
click 384 428
click 244 428
text "registro"
key Enter
answer 1
shot printed
click 536 428
wait 100
close
wait 100
key Enter
)";

std::string fileText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

using qel::test::commandOutput;

// Whether two screenshots differ anywhere in the rectangle.
bool differs(const fs::path& shots, const char* a, const char* b, int x, int y, int w, int h)
{
    auto first = platform::gfx::readPng((shots / (std::string(a) + ".png")).string());
    auto second = platform::gfx::readPng((shots / (std::string(b) + ".png")).string());
    if (!first || !second) {
        ADD_FAILURE() << "missing screenshot";
        return false;
    }
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if ((first->pixel(i, j) & 0xFFFFFF) != (second->pixel(i, j) & 0xFFFFFF))
                return true;
    return false;
}

} // namespace

TEST(RegistroRun, TheFormIsFilledSavedAndPrintedAndTheInternetItemsOpenTheirPages)
{
    fs::path root = fs::temp_directory_path() / ("velarim-registro-" + std::to_string(std::random_device {}()));
    fs::create_directories(root / "user");
    fs::create_directories(root / "shots");
    std::ofstream(root / "input.script") << script;
    ::setenv("VELARIM_USER_DIR", (root / "user").c_str(), 1);

    velarimNameProgram();
    velarimInstallServices();
    qelAppHooks hooks = velarimHooks();
    hooks.CreateApplication = createApp;
    std::vector<std::string> args { "velarim", "--headless", "--disk", std::string(QEL_BUILD_DIR) + "/disk", "--script",
        (root / "input.script").string(), "--screens", (root / "shots").string() };
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    velarimOptions options;
    ASSERT_TRUE(velarimParseOptions(int(argv.size()), argv.data(), options));
    ASSERT_EQ(velarimRun(options, hooks), 0);

    // The record: the labels of the disk's form, the typed texts (braces as character codes) and the
    // choices pressed.
    std::string record = "{\\rtf1\\ansi {\\b Dados pessoais}\\par Nome: Maria da Silva\\par "
                         "Data de nascimento: 12/05/1970\\par Sexo: Feminino\\par "
                         "Endere\\'e7o: Rua das Flores, 100 \\'7bapto. 3\\'7d\\par Cidade: Belo Horizonte\\par "
                         "CEP: 30130-000\\par Telefone: (031) 555-1234\\par \\par {\\b Computador}\\par "
                         "Marca: Compaq\\par Modelo: Presario\\par Velocidade: 200 MHz\\par Processador: Pentium\\par "
                         "Mem\\'f3ria: 16Mb\\par CD-ROM: 8 velocidades\\par Impressora: \\par Windows: 95\\par }";
    EXPECT_EQ(fileText(root / "user" / "Registro.dat"), registrotest::registroFileBytes(record));

    // The printed page holds the record's lines.
    fs::path pdf = root / "user" / "registro.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_NE(commandOutput("pdfinfo '" + pdf.string() + "'").find("Pages:           1\n"), std::string::npos);
    // Rendered, the page shows the title and the record's seventeen lines (the two headings,
    // fifteen values and the blank line between the parts): eighteen bands of ink, one above the
    // other in the left half of the page.
    commandOutput("pdftoppm -gray -r 72 '" + pdf.string() + "' '" + (root / "page").string() + "'");
    qel::test::GrayPage page = qel::test::readPgm(root / "page-1.pgm");
    ASSERT_GT(page.width, 0);
    int bands = 0;
    bool inked = false;
    for (int y = 0; y < page.height; ++y) {
        bool row = page.darkIn(0, y, page.width / 2, y + 1) > 0;
        bands += row && !inked;
        inked = row;
    }
    EXPECT_EQ(bands, 18);

    // Filled in, the form shows the three actions enabled and the chosen buttons.
    fs::path shots = root / "shots";
    EXPECT_TRUE(differs(shots, "empty", "filled", 44, 412, 360, 32)) << "Limpar, Imprimir and Salvar";
    EXPECT_TRUE(differs(shots, "empty", "filled", 220, 163, 14, 14)) << "Feminino";
    EXPECT_FALSE(differs(shots, "filled", "printed", 20, 20, 600, 440)) << "the form after printing";

    // The home page, then the download page, each handed whole to the desktop.
    EXPECT_EQ(fileText(shots / "launches.txt"),
        "open http://www.velarim.com.br/\nopen http://www.velarim.com.br/atualizacoes/\n");
    EXPECT_EQ(fileText(root / "user" / "VL98.url"), "[InternetShortcut]\nURL=http://www.velarim.com.br/atualizacoes/");

    ::unsetenv("VELARIM_USER_DIR");
    fs::remove_all(root);
}
