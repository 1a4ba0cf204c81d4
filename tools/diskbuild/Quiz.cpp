#include "tools/diskbuild/Quiz.h"

#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/TextNotation.h"
#include "tools/diskbuild/Bytes.h"
#include "tools/diskbuild/Pictures.h"
#include "tools/diskbuild/Sources.h"
#include "tools/diskbuild/Wave.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

// The ids of the question buttons step by this, leaving room for the three levels.
constexpr int32_t idStep = 10;
constexpr int32_t levels = 3;
// The sounds: 8-bit mono samples at this rate keep them small.
constexpr int sampleRate = 11025;

// The quiz's colours (r, g, b), in the look of the game's section (content/style).
struct Rgb {
    int r, g, b;
};
constexpr Rgb band { 0, 96, 112 };
constexpr Rgb bandInk { 255, 255, 255 };
constexpr Rgb accent { 255, 128, 64 };
constexpr Rgb panel { 244, 255, 255 };
constexpr Rgb ink { 0, 56, 64 };
// Each scene's sky, in turn.
constexpr Rgb skies[] = { { 120, 196, 232 }, { 248, 208, 120 }, { 168, 220, 176 }, { 232, 168, 200 },
    { 176, 184, 240 }, { 240, 232, 160 } };
constexpr Rgb ground { 96, 160, 88 };

std::string rgb(Rgb c)
{
    return "(rgb " + std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b) + ")";
}

std::string two(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

// A panel with a title band: the dialogs' and pop-ups' ground. Lines follow under the band.
std::string panelPicture(int w, int h, const std::string& title, const std::vector<std::string>& lines,
    Rgb bandColour = band)
{
    std::string d = "(table (\"Width\" " + std::to_string(w) + ") (\"Height\" " + std::to_string(h) + ") (\"Color\" "
        + rgb(panel) + ") (\"Border\" " + rgb(ink) + ") (\"BorderWidth\" 2)";
    // Without a title the panel is a note: no band, the lines from the top.
    int y = 14;
    if (!title.empty()) {
        d += " (\"Boxes\" (list (list 2 2 " + std::to_string(w - 4) + " 30 " + rgb(bandColour) + ") (list 2 32 "
            + std::to_string(w - 4) + " 3 " + rgb(accent) + ")))";
        y = 44;
    }
    d += " (\"Texts\" (list";
    if (!title.empty())
        d += " (list " + notationQuoted(title) + " -1 8 (font \"Arial\" 17 2) " + rgb(bandInk) + ")";
    for (const std::string& line : lines) {
        d += " (list " + notationQuoted(line) + " 14 " + std::to_string(y) + " (font \"Arial\" 14 0) " + rgb(ink) + ")";
        y += 20;
    }
    return d + ")))";
}

// The text in lines of at most 30 characters, broken between words: the width of a scene's
// panel in its face.
std::vector<std::string> wrapped(const std::string& text)
{
    constexpr size_t width = 30;
    std::vector<std::string> lines;
    std::string line;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        std::string word = text.substr(start, end - start);
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

// A scene: sky, hills, the title band, the theme's sun (in the sky between the band and the
// panel, touching neither) and the scene's title and subtitle.
std::string scenePicture(int scene, const std::string& title, const std::string& subtitle)
{
    Rgb sky = skies[scene % std::size(skies)];
    std::string d = "(table (\"Width\" 640) (\"Height\" 480) (\"Color\" " + rgb(sky) + ") (\"Boxes\" (list (list 0 0 640 56 "
        + rgb(band) + ") (list 0 56 640 4 " + rgb(accent) + ") (list 0 400 640 80 " + rgb(ground)
        + ") (list 240 120 380 250 " + rgb(panel) + ")))";
    d += " (\"Shapes\" (list (list \"ellipse\" " + rgb(accent) + " 568 66 46 46) (list \"polygon\" (rgb 72 136 72) 0 400 120 330 240 400)"
         " (list \"polygon\" (rgb 72 136 72) 380 400 520 340 640 400)))";
    d += " (\"Texts\" (list (list " + notationQuoted(title) + " -1 14 (font \"Arial\" 26 2) " + rgb(bandInk) + ")";
    // The panel tells what the scene asks of the player: its subtitle, or how a scene of
    // questions is played.
    std::vector<std::string> lines = wrapped(subtitle.empty()
            ? "Clique numa pergunta, escolha o n\xEDvel e responda. Com todas respondidas, o bot\xE3o Pr\xF3ximo leva adiante."
            : subtitle);
    int y = 140;
    for (const std::string& line : lines) {
        d += " (list " + notationQuoted(line) + " 256 " + std::to_string(y) + " (font \"Arial\" 16 2) " + rgb(ink)
            + ")";
        y += 24;
    }
    if (scene >= 2 && scene <= 27)
        d += " (list " + notationQuoted("Tela " + std::to_string(scene)) + " 20 70 (font \"Arial\" 13 2) " + rgb(ink)
            + ")";
    return d + ")))";
}

// ---- Sounds ---------------------------------------------------------------------------------

// Notes of (frequency in Hz, length in ms); 0 Hz is a rest. Each note fades out, so the tones
// do not click.
std::vector<uint8_t> tune(const std::vector<std::pair<double, int>>& notes, double volume)
{
    std::vector<uint8_t> samples;
    for (auto [frequency, ms] : notes) {
        int count = sampleRate * ms / 1000;
        for (int i = 0; i < count; ++i) {
            double envelope = 1.0 - double(i) / count;
            double t = double(i) / sampleRate;
            double wave = frequency > 0 ? std::sin(2 * M_PI * frequency * t) : 0;
            samples.push_back(uint8_t(128 + std::lround(127 * volume * envelope * wave)));
        }
    }
    return monoWave(samples, sampleRate, 8);
}

// The frequency of the note n semitones above A 220 Hz.
double note(int n)
{
    return 220.0 * std::pow(2.0, n / 12.0);
}

void writeSounds(const std::string& folder, int scenes)
{
    std::filesystem::create_directories(folder);
    // A major arpeggio on a root of its own for every scene: the soundtrack; two notes of it:
    // the opening call.
    for (int scene = 0; scene < scenes; ++scene) {
        int root = (scene * 5) % 12;
        writeDiskFile(folder + "/JogST" + two(scene) + ".wav",
            tune({ { note(root), 220 }, { note(root + 4), 220 }, { note(root + 7), 220 }, { note(root + 12), 220 },
                     { note(root + 7), 220 }, { note(root + 4), 220 }, { 0, 240 } },
                0.35));
        writeDiskFile(folder + "/JogLoc" + two(scene) + ".wav",
            tune({ { note(root + 12), 160 }, { note(root + 19), 320 } }, 0.5));
    }
    writeDiskFile(folder + "/Acerto.wav", tune({ { note(15), 120 }, { note(19), 120 }, { note(22), 300 } }, 0.6));
    writeDiskFile(folder + "/Erro.wav", tune({ { note(-5), 220 }, { note(-6), 420 } }, 0.6));
}

// ---- Questions ----------------------------------------------------------------------------

std::string text(const qelValue& value)
{
    return value.isString() ? qelCString(value) : "";
}

qelValue record(int32_t key, const qelValue& question, const std::string& where)
{
    if (question.type() != QEL_LIST_TYPE || qelCount(question) != 5)
        throw Failure { where + ": a question is (list text option option option right)" };
    for (int32_t i = 0; i < 4; ++i) {
        if (!qelGet(question, i).isString())
            throw Failure { where + ": the question and its options are texts" };
    }
    qelValue right = qelGet(question, 4);
    if (right.type() != QEL_INT_TYPE || right.payload() < 1 || right.payload() > 3)
        throw Failure { where + ": the right option is 1, 2 or 3" };
    qelValue out = qelMakeList(6, 100, QEL_GENERAL_LIST);
    qelAddItem(out, qelMakeInt(key));
    for (int32_t i = 0; i < 5; ++i)
        qelAddItem(out, qelGet(question, i));
    return out;
}

void build(const std::string& sourcePath, const std::string& media, const std::string& sources)
{
    std::string error;
    qelValue source = readNotationFile(sourcePath, error);
    if (!error.empty())
        throw Failure { error };
    qelValue scenes = field(source, "Telas");
    if (scenes.type() != QEL_LIST_TYPE)
        throw Failure { sourcePath + ": no list \"Telas\"" };

    std::vector<qelValue> records;
    std::map<int32_t, int32_t> keys;
    auto add = [&](int32_t key, const qelValue& question, const std::string& where) {
        if (!keys.emplace(key, int32_t(records.size())).second)
            throw Failure { where + ": the key " + std::to_string(key) + " is given twice" };
        records.push_back(record(key, question, where));
    };

    int32_t button = 0;
    for (int32_t i = 0; i < qelCount(scenes); ++i) {
        qelValue scene = qelGet(scenes, i);
        qelValue number = field(scene, "Tela");
        if (number.type() != QEL_INT_TYPE)
            throw Failure { sourcePath + ": a scene without its \"Tela\"" };
        std::string where = sourcePath + ": tela" + two(number.payload());
        drawTo(scenePicture(number.payload(), text(field(scene, "Titulo")), text(field(scene, "Subtitulo"))),
            media + "/jogo" + two(number.payload()) + ".bmp");
        qelValue buttons = field(scene, "Perguntas");
        if (!buttons.isNil() && buttons.type() != QEL_LIST_TYPE)
            throw Failure { where + ": \"Perguntas\" is a list of question buttons" };
        for (int32_t b = 0; !buttons.isNil() && b < qelCount(buttons); ++b) {
            qelValue levelsOfButton = qelGet(buttons, b);
            if (levelsOfButton.type() != QEL_LIST_TYPE || qelCount(levelsOfButton) != levels)
                throw Failure { where + ": each question button has its three levels" };
            int32_t id = idStep * ++button;
            for (int32_t level = 1; level <= levels; ++level)
                add(id + level, qelGet(levelsOfButton, level - 1), where);
        }
    }
    qelValue shortcut = field(source, "Atalho");
    if (shortcut.type() != QEL_LIST_TYPE)
        throw Failure { sourcePath + ": no list \"Atalho\"" };
    for (int32_t i = 0; i < qelCount(shortcut); ++i)
        add(i + 1, qelGet(shortcut, i), sourcePath + ": Atalho");

    std::string archivePath = media + "/Jogo.DAT";
    writeArchive(archivePath, records);
    std::string index = "(table\n";
    for (auto [key, item] : keys)
        index += "  (\"" + std::to_string(key) + "\" " + std::to_string(item) + ")\n";
    index += ")\n";
    writeNotationFile(sources + "/JGIDList.tbl", index);

    qelTableObject* popUps = qelTableOf(field(source, "Quadros"));
    for (int32_t slot = popUps ? popUps->firstIndex() : -1; slot >= 0; slot = popUps->nextIndex(slot)) {
        std::vector<std::string> lines;
        qelValue list = popUps->valueAt(slot);
        if (list.type() != QEL_LIST_TYPE)
            throw Failure { sourcePath + ": a pop-up is a list of lines" };
        for (int32_t i = 0; i < qelCount(list); ++i)
            lines.push_back(text(qelGet(list, i)));
        drawTo(panelPicture(360, 120, "", lines), media + "/jgpop_" + text(popUps->keyAt(slot)) + ".bmp");
    }

    // The dialogs' grounds. The question's level shows in its band colour.
    const Rgb levelBands[] = { { 40, 140, 72 }, { 200, 120, 24 }, { 176, 32, 40 } };
    const char* const levelTitles[] = { "Pergunta - F\xE1" "cil (10 pontos)", "Pergunta - Dif\xED" "cil (20 pontos)",
        "Pergunta - Muito Dif\xED" "cil (30 pontos)" };
    for (int level = 0; level < levels; ++level)
        drawTo(panelPicture(560, 300, levelTitles[level], {}, levelBands[level]),
            media + "/jgnivel" + std::to_string(level + 1) + ".bmp");
    drawTo(panelPicture(360, 230, "Escolha o n\xEDvel", { "Quanto mais dif\xED" "cil, mais pontos:", "10, 20 ou 30." }),
        media + "/jgdlg_nivel.bmp");
    drawTo(panelPicture(400, 260, "Come\xE7" "ar o jogo", {}), media + "/jgdlg_entrar.bmp");
    drawTo(panelPicture(420, 220, "Sair do jogo", { "Guardar a partida para continuar depois?" }),
        media + "/jgdlg_sair.bmp");
    drawTo(panelPicture(360, 200, "Sua pontua\xE7\xE3o", {}), media + "/jgdlg_score.bmp");
    drawTo(panelPicture(480, 340, "Regras do jogo", {}), media + "/jgdlg_regras.bmp");
    drawTo("(table (\"Width\" 24) (\"Height\" 32) (\"Color\" (rgb 40 140 72)) (\"Shapes\" (list (list \"polygon\" "
           "(rgb 255 255 255) 4 16 10 24 20 6 22 9 10 28 2 18))))",
        media + "/jgok.bmp");

    writeSounds(media + "/Sounds", qelCount(scenes));
}

} // namespace

bool buildQuiz(const std::string& sourcePath, const std::string& mediaFolder, const std::string& sourcesFolder,
    std::string& error)
{
    try {
        build(sourcePath, mediaFolder, sourcesFolder);
        return true;
    } catch (const Failure& failure) {
        error = qelToUtf8(failure.message);
        return false;
    }
}
