#include "tools/diskbuild/Intro.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "platform/gfx/Surface.h"
#include "platform/video/AviWriter.h"
#include "tools/diskbuild/Bytes.h"
#include "tools/diskbuild/Pictures.h"
#include "tools/diskbuild/Sources.h"
#include "tools/diskbuild/Wave.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr int soundRate = 22050;
// Why: the movies and the credits picture are short sample media; the bounds keep a wrong
// description from writing huge files.
constexpr int maxFrames = 600;
constexpr int maxNotes = 2000;
constexpr int maxNoteMs = 5000;

int32_t intOf(const qelValue& table, const char* key, int32_t fallback = 0)
{
    qelValue value = qelGet(table, key);
    return value.type() == QEL_INT_TYPE ? value.payload() : fallback;
}

std::string textOf(const qelValue& table, const char* key)
{
    qelValue value = qelGet(table, key);
    return value.isString() ? qelCString(value) : "";
}

bool safeName(const std::string& name)
{
    return !name.empty() && name[0] != '.' && name.find('/') == std::string::npos
        && name.find('\\') == std::string::npos;
}

// Where a movie or sound named NAME is written: the media folder, or its plain subfolder
// "Folder" (made when missing). False, with the reason in `error`, for any other "Folder".
bool outputFolder(
    const qelValue& item, const std::string& name, const std::string& folder, std::string& into, std::string& error)
{
    into = folder;
    std::string subfolder = textOf(item, "Folder");
    if (subfolder.empty())
        return true;
    if (!safeName(subfolder)) {
        error = name + ": \"Folder\" must be a plain folder name";
        return false;
    }
    into += "/" + subfolder;
    std::filesystem::create_directories(into);
    return true;
}

// The picture with the slides at frame `frame` of `frames` added to its texts.
qelValue frameDescription(const qelValue& picture, const qelValue& slides, int frame, int frames)
{
    qelValue description = qelCopy(picture);
    qelValue texts = qelGet(description, "Texts");
    if (texts.type() != QEL_LIST_TYPE) {
        texts = qelMakeList(4, 100, QEL_GENERAL_LIST);
        qelPut(description, "Texts", texts);
    }
    int moving = frames * 3 / 4;
    double t = moving > 0 ? std::min(1.0, double(frame) / double(moving)) : 1.0;
    for (int32_t i = 0, n = slides.type() == QEL_LIST_TYPE ? qelCount(slides) : 0; i < n; ++i) {
        qelValue slide = qelGet(slides, i);
        if (slide.type() != QEL_LIST_TYPE || qelCount(slide) < 7)
            continue;
        auto at = [&](int k) { return double(qelIntValue(qelGet(slide, k))); };
        int x = int(std::lround(at(1) + (at(3) - at(1)) * t));
        int y = int(std::lround(at(2) + (at(4) - at(2)) * t));
        qelListObjectOf(texts)->append(qelListOf({ qelGet(slide, 0), x, y, qelGet(slide, 5), qelGet(slide, 6) }));
    }
    return description;
}

bool buildMovie(const qelValue& movie, const std::string& folder, std::string& error)
{
    std::string name = textOf(movie, "File");
    int width = intOf(movie, "Width");
    int height = intOf(movie, "Height");
    int fps = intOf(movie, "Fps", 10);
    int frames = intOf(movie, "Frames");
    if (!safeName(name) || frames < 1 || frames > maxFrames) {
        error = "a movie needs a plain \"File\" and 1 to " + std::to_string(maxFrames) + " \"Frames\"";
        return false;
    }
    std::string into;
    if (!outputFolder(movie, name, folder, into, error))
        return false;
    qelValue picture = qelGet(movie, "Picture");
    qelPut(picture, "Width", width);
    qelPut(picture, "Height", height);
    platform::video::AviWriter writer;
    if (!writer.open(into + "/" + name, platform::video::AviCodec::Cinepak, width, height, fps)) {
        error = name + ": " + writer.error();
        return false;
    }
    for (int frame = 0; frame < frames; ++frame) {
        platform::gfx::Surface surface;
        if (!drawPicture(frameDescription(picture, qelGet(movie, "Slides"), frame, frames), surface, error)) {
            error = name + ": " + error;
            return false;
        }
        if (!writer.addFrame(surface)) {
            error = name + ": " + writer.error();
            return false;
        }
    }
    if (!writer.finish()) {
        error = name + ": " + writer.error();
        return false;
    }
    return true;
}

std::vector<uint8_t> wavFile(const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> bytes;
    for (int16_t s : samples)
        put16(bytes, uint16_t(s));
    return monoWave(bytes, soundRate, 16);
}

// A note of the tune: its fundamental and two softer harmonics, rising over 10 ms and fading
// over the last third, so that notes join without clicks.
void addNote(std::vector<int16_t>& samples, int note, int ms)
{
    int count = soundRate * ms / 1000;
    double hz = 440.0 * std::pow(2.0, (note - 69) / 12.0);
    int attack = soundRate / 100;
    for (int i = 0; i < count; ++i) {
        double envelope = 1.0;
        if (i < attack)
            envelope = double(i) / attack;
        if (i > count * 2 / 3)
            envelope *= double(count - i) / double(count - count * 2 / 3);
        double value = 0;
        if (note > 0) {
            double phase = 2.0 * M_PI * hz * i / soundRate;
            value = std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.15 * std::sin(3 * phase);
        }
        samples.push_back(int16_t(std::lround(value * envelope * 9000.0)));
    }
}

bool buildSound(const qelValue& sound, const std::string& folder, std::string& error)
{
    std::string name = textOf(sound, "File");
    int noteMs = intOf(sound, "NoteMs", 250);
    qelValue notes = qelGet(sound, "Notes");
    int count = notes.type() == QEL_LIST_TYPE ? qelCount(notes) : 0;
    if (!safeName(name) || count < 1 || count > maxNotes || noteMs < 10 || noteMs > maxNoteMs) {
        error = "a sound needs a plain \"File\", 1 to " + std::to_string(maxNotes) + " \"Notes\" and a \"NoteMs\"";
        return false;
    }
    std::string into;
    if (!outputFolder(sound, name, folder, into, error))
        return false;
    std::vector<int16_t> samples;
    for (int i = 0; i < count; ++i)
        addNote(samples, qelIntValue(qelGet(notes, i)), noteMs);
    if (!writeBytes(into + "/" + name, wavFile(samples))) {
        error = "cannot write " + into + "/" + name;
        return false;
    }
    return true;
}

std::string trimmed(std::string text)
{
    std::string out;
    for (char c : text) {
        if (c != '`')
            out += c;
    }
    size_t first = out.find_first_not_of(' ');
    size_t last = out.find_last_not_of(' ');
    return first == std::string::npos ? "" : out.substr(first, last - first + 1);
}

// The lines of each row of the data sets' table of SOURCES.md (cp1252): the package and its
// version, then the parts of its licence.
std::vector<std::string> sourceLines(const std::string& sources)
{
    std::vector<std::string> lines;
    std::ifstream in(sources);
    std::string line;
    bool inTable = false;
    while (std::getline(in, line)) {
        if (line.rfind("| derived source", 0) == 0) {
            inTable = true;
            continue;
        }
        if (!inTable || line.rfind("|---", 0) == 0)
            continue;
        if (line.empty() || line[0] != '|')
            break;
        std::vector<std::string> cells;
        std::stringstream row(line.substr(1));
        std::string cell;
        while (std::getline(row, cell, '|'))
            cells.push_back(trimmed(cell));
        if (cells.size() < 4)
            continue;
        // The package's name without its note in brackets, then each part of the licence.
        std::string package = cells[1].substr(0, cells[1].find(" ("));
        lines.push_back(qelFromUtf8(package + " " + cells[2]));
        std::string licence = cells[3];
        for (size_t start = 0; start < licence.size();) {
            size_t end = licence.find("; ", start);
            lines.push_back(qelFromUtf8(licence.substr(start, end == std::string::npos ? end : end - start)));
            start = end == std::string::npos ? licence.size() : end + 2;
        }
    }
    return lines;
}

bool writePicture(const qelValue& name, const qelValue& description, const std::string& folder, std::string& error)
{
    std::string file = qelCString(name);
    if (!name.isString() || !safeName(file)) {
        error = "a picture needs a plain file name";
        return false;
    }
    platform::gfx::Surface surface;
    if (!drawPicture(description, surface, error)) {
        error = qelToUtf8(file) + ": " + error;
        return false;
    }
    return writeBitmapFile(surface, folder + "/" + file, error);
}

bool buildCredits(const qelValue& credits, const std::string& sources, const std::string& folder, std::string& error)
{
    std::string name = textOf(credits, "File");
    std::string maskName = textOf(credits, "Mask");
    qelValue picture = qelGet(credits, "Picture");
    if (!safeName(name) || !safeName(maskName) || picture.type() != QEL_TABLE_TYPE) {
        error = "the credits need plain \"File\" and \"Mask\" names and a \"Picture\"";
        return false;
    }
    picture = qelCopy(picture);
    qelPut(picture, "Color", 0);
    if (qelIsTrue(qelGet(credits, "Sources"))) {
        qelValue texts = qelGet(picture, "Texts");
        int y = 0;
        for (int32_t i = 0, n = qelCount(texts); i < n; ++i)
            y = std::max(y, qelIntValue(qelGet(qelGet(texts, i), 2)));
        int step = intOf(credits, "LineHeight", 20);
        for (const std::string& line : sourceLines(sources)) {
            y += step;
            qelListObjectOf(texts)->append(qelListOf({ qelStringValue(line.c_str()), -1, y,
                qelGet(credits, "SourcesFont"), qelGet(credits, "SourcesColor") }));
        }
        if (intOf(picture, "Height") < y + 2 * step)
            qelPut(picture, "Height", y + 2 * step);
    }
    platform::gfx::Surface surface;
    if (!drawPicture(picture, surface, error)) {
        error = name + ": " + error;
        return false;
    }
    platform::gfx::Surface mask(surface.width(), surface.height(), 0xFFFFFF);
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            if ((surface.pixel(x, y) & 0xFFFFFF) != 0)
                mask.setPixel(x, y, 0);
        }
    }
    // 8 bits with a colour table when the few colours of the texts allow it: a quarter of the size.
    return writeBitmapFile(surface, folder + "/" + name, error)
        && writeBitmapFile(mask, folder + "/" + maskName, error);
}

} // namespace

bool buildIntro(const std::string& descriptionPath, const std::string& sources, const std::string& folder,
    std::string& error)
{
    qelValue description = readNotationFile(descriptionPath, error);
    if (!error.empty())
        return false;
    if (description.type() != QEL_TABLE_TYPE) {
        error = descriptionPath + ": not a table";
        return false;
    }
    qelValue movies = qelGet(description, "Movies");
    for (int32_t i = 0, n = movies.type() == QEL_LIST_TYPE ? qelCount(movies) : 0; i < n; ++i) {
        if (!buildMovie(qelGet(movies, i), folder, error))
            return false;
    }
    qelValue sounds = qelGet(description, "Sounds");
    for (int32_t i = 0, n = sounds.type() == QEL_LIST_TYPE ? qelCount(sounds) : 0; i < n; ++i) {
        if (!buildSound(qelGet(sounds, i), folder, error))
            return false;
    }
    if (qelTableObject* pictures = qelTableOf(qelGet(description, "Pictures"))) {
        for (int32_t slot = pictures->firstIndex(); slot >= 0; slot = pictures->nextIndex(slot)) {
            if (!writePicture(pictures->keyAt(slot), pictures->valueAt(slot), folder, error))
                return false;
        }
    }
    qelValue credits = qelGet(description, "Credits");
    if (credits.type() == QEL_TABLE_TYPE && !buildCredits(credits, sources, folder, error))
        return false;
    return true;
}
