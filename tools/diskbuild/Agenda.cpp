#include "tools/diskbuild/Agenda.h"

#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "tools/diskbuild/MoonPhases.h"
#include "tools/diskbuild/Sources.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// cp1252 texts of the records and the table files.
const char* const weekdayAbbrev[] = { "Dom", "Seg", "Ter", "Qua", "Qui", "Sex", "Sab" };
const char* const monthAbbrev[] = { "Jan", "Fev", "Mar", "Abr", "Mai", "Jun", "Jul", "Ago", "Set", "Out", "Nov", "Dez" };
const char* const phaseNames[] = { "Nova", "Crescente", "Cheia", "Minguante" };
// UTF-8: the pictures' description is a source like the others.
const char* const weekdayNames[]
    = { "Domingo", "Segunda-feira", "Terça-feira", "Quarta-feira", "Quinta-feira", "Sexta-feira", "Sábado" };
const char* const monthButtons[] = { "Jan", "Fev", "Mar", "Abr", "Mai", "Jun", "Jul", "Ago", "Set", "Out", "Nov", "Dez" };

int32_t intOf(const qelValue& value, const std::string& what)
{
    if (value.type() != QEL_INT_TYPE)
        throw Failure { what + " must be a whole number" };
    return value.payload();
}

std::string textOf(const qelValue& value, const std::string& what)
{
    if (!value.isString())
        throw Failure { what + " must be a text" };
    return qelCString(value);
}

bool leap(int32_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

struct Day {
    int32_t month = 0; // 0-11
    int32_t day = 1;
    int32_t weekday = 0;
};

std::vector<Day> daysOf(int32_t year)
{
    const int32_t lengths[] = { 31, leap(year) ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    std::vector<Day> days;
    // 0h UT of 1 January; the Julian day + 1.5 counts weekdays from Sunday.
    int64_t first = int64_t(std::floor(julianDayOf(year, 1, 1) + 1.5));
    for (int32_t m = 0; m < 12; ++m) {
        for (int32_t d = 1; d <= lengths[m]; ++d) {
            int32_t weekday = int32_t((first + int64_t(days.size())) % 7);
            days.push_back({ m, d, weekday });
        }
    }
    return days;
}

qelValue cp(const std::string& text)
{
    return qelStringValueN(text.data(), int32_t(text.size()));
}

// A moment of a local day: the day of the year in `year` (-1 before it, the year's length after
// it) and the minutes into the day.
struct LocalMoment {
    int32_t dayOfYear;
    int32_t minutes;
};

LocalMoment localMoment(double julianDay, int32_t utcOffsetHours, int32_t year)
{
    // Rounded to the minute before the day is taken.
    double minutes = std::floor((julianDay - julianDayOf(year, 1, 1)) * 1440.0 + utcOffsetHours * 60.0 + 0.5);
    int32_t whole = int32_t(minutes);
    int32_t day = whole >= 0 ? whole / 1440 : -((-whole + 1439) / 1440);
    return { day, whole - day * 1440 };
}

// ---- The pictures' description ------------------------------------------------------------

struct Look {
    int32_t band, bandInk, accent, ground, panel, ink;
};

std::string rgb(int32_t color)
{
    uint32_t c = uint32_t(color);
    return "(rgb " + std::to_string(c & 0xFF) + " " + std::to_string((c >> 8) & 0xFF) + " " + std::to_string((c >> 16) & 0xFF)
        + ")";
}

std::string font(int size, int style)
{
    return "(font \"Arial\" " + std::to_string(size) + " " + std::to_string(style) + ")";
}

struct Description {
    std::string text = "; Written by diskbuild agenda from content/almanac/data/agenda.tbl.\n(table\n";

    void picture(const std::string& name, int w, int h, int32_t color, const std::string& rest)
    {
        text += "  (" + notationQuoted(name) + " (table (\"Width\" " + std::to_string(w) + ") (\"Height\" "
            + std::to_string(h) + ") (\"Color\" " + rgb(color) + ")" + rest + "))\n";
    }
};

std::string textItem(const std::string& characters, int x, int y, int size, int style, int32_t color)
{
    return "(list " + notationQuoted(characters) + " " + std::to_string(x) + " " + std::to_string(y) + " "
        + font(size, style) + " " + rgb(color) + ")";
}

std::string texts(const std::vector<std::string>& items)
{
    std::string out = " (\"Texts\" (list";
    for (const auto& item : items)
        out += " " + item;
    return out + "))";
}

std::string boxes(const std::vector<std::array<int32_t, 5>>& items)
{
    std::string out = " (\"Boxes\" (list";
    for (const auto& b : items)
        out += " (list " + std::to_string(b[0]) + " " + std::to_string(b[1]) + " " + std::to_string(b[2]) + " "
            + std::to_string(b[3]) + " " + rgb(b[4]) + ")";
    return out + "))";
}

std::string shapes(const std::vector<std::string>& items)
{
    std::string out = " (\"Shapes\" (list";
    for (const auto& item : items)
        out += " " + item;
    return out + "))";
}

std::string ellipse(int32_t color, int x, int y, int w, int h)
{
    return "(list \"ellipse\" " + rgb(color) + " " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w)
        + " " + std::to_string(h) + ")";
}

std::string polygon(int32_t color, const std::vector<int>& points)
{
    std::string out = "(list \"polygon\" " + rgb(color);
    for (int p : points)
        out += " " + std::to_string(p);
    return out + ")";
}

int32_t colorOf(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

// A moon of the phase in a square of `size`: the lit part as seen from the southern hemisphere
// (the waxing moon lit on its left); the dark part of a quarter is the sky.
void moonPicture(Description& d, const std::string& name, int phase, int size, int32_t sky)
{
    const int32_t lit = colorOf(250, 244, 210);
    const int32_t dark = colorOf(72, 80, 96);
    int m = size / 8;
    int s = size - 2 * m;
    int half = size / 2;
    std::vector<std::string> parts { ellipse(phase == 0 ? dark : lit, m, m, s, s) };
    if (phase == 1)
        parts.push_back(polygon(sky, { half, 0, size, 0, size, size, half, size }));
    if (phase == 3)
        parts.push_back(polygon(sky, { 0, 0, half, 0, half, size, 0, size }));
    d.picture(name, size, size, sky, shapes(parts));
}

// A button in four states: up, down (pressed), off (disabled: for the month buttons, the
// current month, marked), over. Every label in one size, small enough that the longest
// ("Calendário", "Lembretes") keeps a margin inside its button.
void buttonPictures(Description& d, const std::string& base, const std::string& label, int w, int h, const Look& look,
    const std::vector<std::string>& extra = {})
{
    struct State {
        const char* suffix;
        int32_t face, ink;
    } states[] = {
        { "_up", look.panel, look.ink },
        { "_down", look.band, look.bandInk },
        { "_off", look.accent, look.ink },
        { "_over", colorOf(244, 228, 170), look.ink },
    };
    for (const State& state : states) {
        std::string rest = " (\"Border\" " + rgb(look.band) + ")";
        if (!label.empty())
            rest += texts({ textItem(label, -1, -1, 12, 2, state.ink) });
        if (!extra.empty()) {
            std::vector<std::string> inked;
            for (std::string shape : extra) {
                size_t at = shape.find("INK");
                if (at != std::string::npos)
                    shape.replace(at, 3, rgb(state.ink));
                inked.push_back(shape);
            }
            rest += shapes(inked);
        }
        d.picture(base + state.suffix + ".bmp", w, h, state.face, rest);
    }
}

std::string inkPolygon(const std::vector<int>& points)
{
    std::string out = "(list \"polygon\" INK";
    for (int p : points)
        out += " " + std::to_string(p);
    return out + ")";
}

// The background of a view: the band with the section's title, the ground, the panels.
std::string viewBackground(const Look& look, const std::string& subtitle,
    const std::vector<std::array<int32_t, 5>>& panels, const std::vector<std::string>& more = {})
{
    std::vector<std::array<int32_t, 5>> all = { { 0, 0, 640, 56, look.band }, { 0, 56, 640, 4, look.accent } };
    all.insert(all.end(), panels.begin(), panels.end());
    std::vector<std::string> words = { textItem("Agenda", 20, 12, 26, 2, look.bandInk),
        textItem(subtitle, 154, 22, 17, 2, look.accent) };
    words.insert(words.end(), more.begin(), more.end());
    return boxes(all) + texts(words);
}

void writePictures(const std::string& path, const Look& look, const std::vector<std::string>& signs)
{
    Description d;
    const int32_t black = 0;
    const int32_t white = colorOf(255, 255, 255);
    const int32_t selected = colorOf(232, 112, 24);
    const int32_t holiday = colorOf(200, 32, 32);
    const int32_t line = colorOf(120, 160, 140);
    // Month and week cells, 78 x 50: the frame and the number show through the mask.
    for (int day = 1; day <= 31; ++day) {
        std::string n = std::to_string(day);
        std::string frame = " (\"Border\" " + rgb(line) + ") (\"BorderWidth\" 2)";
        d.picture("agm" + n + ".bmp", 78, 50, look.panel, frame + texts({ textItem(n, 6, 20, 18, 2, look.ink) }));
        d.picture("agm" + n + "msk.bmp", 78, 50, white,
            " (\"Border\" " + rgb(black) + ") (\"BorderWidth\" 2)" + texts({ textItem(n, 6, 20, 18, 2, black) }));
        // The day page's number.
        d.picture("agd" + n + ".bmp", 150, 84, look.ground, texts({ textItem(n, -1, -1, 64, 2, look.band) }));
        d.picture("agd" + n + "msk.bmp", 150, 84, white, texts({ textItem(n, -1, -1, 64, 2, black) }));
    }
    d.picture("agmsel.bmp", 78, 50, selected, "");
    d.picture("agmhol.bmp", 78, 50, holiday, "");
    for (int w = 0; w < 7; ++w) {
        d.picture("agds" + std::to_string(w + 1) + ".bmp", 180, 28, look.ground,
            texts({ textItem(weekdayNames[w], -1, -1, 17, 2, look.ink) }));
        d.picture("agcalw" + std::to_string(w) + ".bmp", 200, 32, look.accent,
            " (\"Border\" " + rgb(look.band) + ")" + texts({ textItem(weekdayNames[w], -1, -1, 17, 2, look.ink) }));
    }
    const int32_t sky = colorOf(24, 40, 72);
    for (int phase = 0; phase < 4; ++phase) {
        moonPicture(d, std::string("aglua") + phaseNames[phase] + ".bmp", phase, 48, sky);
        moonPicture(d, "agico_lua" + std::to_string(phase) + ".bmp", phase, 16, sky);
    }
    for (size_t s = 0; s < signs.size(); ++s)
        d.picture("agico_sig" + std::to_string(s + 1) + ".bmp", 16, 16, look.accent,
            texts({ textItem(signs[s], -1, -1, 8, 2, look.ink) }));
    d.picture("agicomsk.bmp", 16, 16, white, shapes({ ellipse(black, 0, 0, 16, 16) }));
    // The marks of the month view: the almanac's text, the user's entry.
    d.picture("agmarca_texto.bmp", 10, 10, colorOf(40, 96, 200), "");
    d.picture("agmarca_textomsk.bmp", 10, 10, black, "");
    d.picture("agmarca_compr.bmp", 10, 10, colorOf(32, 152, 64), "");
    d.picture("agmarca_comprmsk.bmp", 10, 10, white, shapes({ ellipse(black, 0, 0, 10, 10) }));
    d.picture("agtabuser.bmp", 592, 2, colorOf(32, 152, 64), "");
    d.picture("agvocesabia.bmp", 200, 24, look.accent, texts({ textItem("Você sabia?", 8, -1, 13, 2, look.ink) }));
    // Buttons.
    for (int m = 0; m < 12; ++m)
        buttonPictures(d, std::string("agbt") + monthButtons[m], monthButtons[m], 42, 22, look);
    buttonPictures(d, "agbtdia", "Dia", 72, 24, look);
    buttonPictures(d, "agbtmes", "Mês", 72, 24, look);
    buttonPictures(d, "agbtsemana", "Semana", 72, 24, look);
    buttonPictures(d, "agbtcalendario", "Calendário", 92, 24, look);
    buttonPictures(d, "agbtanterior", "", 32, 24, look, { inkPolygon({ 20, 5, 20, 19, 9, 12 }) });
    buttonPictures(d, "agbtseguinte", "", 32, 24, look, { inkPolygon({ 12, 5, 12, 19, 23, 12 }) });
    buttonPictures(d, "agbtdatas", "Datas", 94, 24, look);
    buttonPictures(d, "agbtlembretes", "Lembretes", 94, 24, look);
    // Scroll parts of the lists.
    d.picture("agsc_bit.bmp", 14, 14, look.ground, "");
    d.picture("agsc_thumb.bmp", 14, 14, look.band, "");
    d.picture("agsc_up.bmp", 14, 14, look.panel,
        " (\"Border\" " + rgb(look.band) + ")" + shapes({ polygon(look.band, { 3, 10, 11, 10, 7, 4 }) }));
    d.picture("agsc_down.bmp", 14, 14, look.panel,
        " (\"Border\" " + rgb(look.band) + ")" + shapes({ polygon(look.band, { 3, 4, 11, 4, 7, 10 }) }));
    // The bar over the menu bar while the agenda runs alone.
    d.picture("agsozinha.bmp", 576, 56, look.band,
        texts({ textItem("Agenda do Velarim 98", 16, 8, 22, 2, look.bandInk),
            textItem("Para ver o almanaque, siga um link com o CD-ROM no drive.", 18, 36, 12, 0, look.bandInk) }));
    // The views' backgrounds.
    std::vector<std::string> weekdayHeads;
    for (int w = 0; w < 7; ++w)
        weekdayHeads.push_back(textItem(std::string(weekdayNames[w]).substr(0, w == 6 ? 4 : 3), 44 + w * 80, 134, 13, 2,
            w == 0 ? holiday : look.ink));
    d.picture("agmes.bmp", 640, 480, look.ground,
        viewBackground(look, "Mês", { { 40, 130, 560, 20, look.panel }, { 40, 152, 560, 312, colorOf(236, 246, 240) } },
            weekdayHeads));
    d.picture("agsemana.bmp", 640, 480, look.ground,
        viewBackground(look, "Semana", { { 20, 124, 600, 344, colorOf(236, 246, 240) } }));
    d.picture("agdia.bmp", 640, 480, look.ground,
        viewBackground(look, "Dia", { { 16, 124, 208, 344, look.panel }, { 236, 124, 388, 344, look.panel } },
            { textItem("Compromissos", 244, 126, 13, 2, look.ink), textItem("Lembretes", 244, 372, 13, 2, look.ink) }));
    d.picture("agcalendario.bmp", 320, 220, look.panel,
        " (\"Border\" " + rgb(look.accent) + ")" + boxes({ { 0, 0, 320, 32, look.band } })
            + texts({ textItem("Calendário", 12, 6, 17, 2, look.bandInk),
                textItem("Digite uma data (dd/mm/aaaa)", -1, 44, 13, 0, look.ink),
                textItem("e tecle Enter para ver o dia da semana.", -1, 62, 13, 0, look.ink) }));
    d.text += ")\n";
    writeDiskFile(path, d.text);
}

} // namespace

void easterSunday(int32_t year, int32_t& month, int32_t& day)
{
    // The Gregorian computus (the anonymous algorithm of 1876).
    int32_t a = year % 19;
    int32_t b = year / 100;
    int32_t c = year % 100;
    int32_t d = b / 4;
    int32_t e = b % 4;
    int32_t f = (b + 8) / 25;
    int32_t g = (b - f + 1) / 3;
    int32_t h = (19 * a + b - d - g + 15) % 30;
    int32_t i = c / 4;
    int32_t k = c % 4;
    int32_t l = (32 + 2 * e + 2 * i - h - k) % 7;
    int32_t m = (a + 11 * h + 22 * l) / 451;
    month = (h + l - 7 * m + 114) / 31;
    day = (h + l - 7 * m + 114) % 31 + 1;
}

bool buildAgenda(const std::string& sourcePath, const std::string& stylePath, const std::string& mediaFolder,
    const std::string& picturesPath, std::string& error)
{
    try {
        qelValue source = readNotationFile(sourcePath, error);
        if (!error.empty())
            return false;
        qelValue style = readNotationFile(stylePath, error);
        if (!error.empty())
            return false;
        qelValue agendaLook = field(field(style, "Looks"), "agenda");
        if (agendaLook.type() != QEL_TABLE_TYPE)
            throw Failure { stylePath + ": no look \"agenda\"" };
        auto color = [&](const char* key) { return intOf(field(agendaLook, key), std::string("the look's ") + key); };
        Look look { color("Band"), color("BandInk"), color("Accent"), color("Ground"), color("Panel"), color("Ink") };

        int32_t year = intOf(field(source, "Year"), "\"Year\"");
        // Why: the calendar rules and the moon series hold for these years.
        if (year < 1900 || year > 2099)
            throw Failure { "\"Year\" must lie between 1900 and 2099" };
        int32_t offset = intOf(field(source, "UtcOffset"), "\"UtcOffset\"");
        if (offset < -12 || offset > 14)
            throw Failure { "\"UtcOffset\" must lie between -12 and 14" };
        std::vector<Day> days = daysOf(year);
        int32_t length = int32_t(days.size());
        auto dayOfYear = [&](int32_t month, int32_t day) {
            for (int32_t n = 0; n < length; ++n) {
                if (days[size_t(n)].month == month - 1 && days[size_t(n)].day == day)
                    return n;
            }
            throw Failure { "no day " + std::to_string(day) + "/" + std::to_string(month) + " in " + std::to_string(year) };
        };

        std::vector<std::string> dayTexts(static_cast<size_t>(length));
        auto addText = [&](int32_t n, const std::string& text) {
            std::string& t = dayTexts[size_t(n)];
            t += (t.empty() ? "" : "\\par ") + text;
        };
        std::vector<int32_t> holidays;
        qelValue fixed = field(source, "Feriados");
        for (int32_t i = 0; i < qelCount(fixed); ++i) {
            qelValue row = qelGet(fixed, i);
            int32_t n = dayOfYear(intOf(qelGet(row, 0), "a holiday's month"), intOf(qelGet(row, 1), "a holiday's day"));
            addText(n, textOf(qelGet(row, 2), "a holiday's name"));
            holidays.push_back(n);
        }
        int32_t easterMonth = 0;
        int32_t easterDay = 0;
        easterSunday(year, easterMonth, easterDay);
        int32_t easter = dayOfYear(easterMonth, easterDay);
        qelValue moveable = field(source, "Moveis");
        for (int32_t i = 0; i < qelCount(moveable); ++i) {
            qelValue row = qelGet(moveable, i);
            int32_t n = easter + intOf(qelGet(row, 0), "a feast's distance from Easter");
            if (n < 0 || n >= length)
                throw Failure { "a moveable feast falls outside the year" };
            addText(n, textOf(qelGet(row, 1), "a feast's name"));
            if (qelIsTrue(qelGet(row, 2)))
                holidays.push_back(n);
        }
        std::map<int32_t, std::string> icons;
        std::vector<std::string> signAbbrevs;
        qelValue signs = field(source, "Signos");
        for (int32_t i = 0; i < qelCount(signs); ++i) {
            qelValue row = qelGet(signs, i);
            int32_t n = dayOfYear(intOf(qelGet(row, 0), "a sign's month"), intOf(qelGet(row, 1), "a sign's day"));
            addText(n, "In\xed" "cio do signo de " + textOf(qelGet(row, 2), "a sign's name"));
            signAbbrevs.push_back(qelToUtf8(textOf(qelGet(row, 3), "a sign's abbreviation")));
            icons[n] = "agico_sig" + std::to_string(i + 1) + ".bmp";
        }

        // The moon: the phase in force at each day's end, and the day's own phase with its time.
        std::vector<MoonEvent> events = moonPhasesOfYear(year - 1);
        std::vector<MoonEvent> thisYear = moonPhasesOfYear(year);
        std::vector<MoonEvent> nextYear = moonPhasesOfYear(year + 1);
        events.insert(events.end(), thisYear.begin(), thisYear.end());
        events.insert(events.end(), nextYear.begin(), nextYear.end());
        std::vector<std::string> moonTexts(size_t(length) + 1);
        std::vector<int> phaseOfDay(size_t(length) + 1, -1);
        int current = -1;
        size_t next = 0;
        for (int32_t n = 0; n <= length; ++n) {
            while (next < events.size()) {
                LocalMoment at = localMoment(events[next].julianDay, offset, year);
                if (at.dayOfYear > n)
                    break;
                current = int(events[next].phase);
                if (at.dayOfYear == n && n < length) {
                    char when[16];
                    std::snprintf(when, sizeof when, "%02dh%02d", at.minutes / 60, at.minutes % 60);
                    moonTexts[size_t(n)] = std::string("Lua ") + phaseNames[current] + " \xe0s " + when;
                    icons[n] = "agico_lua" + std::to_string(current) + ".bmp";
                }
                ++next;
            }
            phaseOfDay[size_t(n)] = current;
        }

        qelValue facts = field(source, "VoceSabia");
        std::vector<qelValue> records;
        // Why 366: a leap year's clock reads day 365 too; the last record of a common year is empty.
        for (int32_t n = 0; n < 366; ++n) {
            if (n >= length) {
                records.push_back(qelListOf({ qelMakeInt(n), qelEmptyString(),
                    cp(phaseNames[phaseOfDay[size_t(length)] < 0 ? 0 : phaseOfDay[size_t(length)]]), qelNil,
                    qelEmptyString(), qelMakeInt(0), qelEmptyString() }));
                continue;
            }
            const Day& day = days[size_t(n)];
            char label[32];
            std::snprintf(label, sizeof label, "%s, %02d %s %04d", weekdayAbbrev[day.weekday], day.day,
                monthAbbrev[day.month], year);
            char key[8];
            std::snprintf(key, sizeof key, "%02d-%02d", day.month + 1, day.day);
            qelValue fact = qelTableOf(facts) ? qelTableOf(facts)->get(key) : qelNil;
            std::string factText = fact.isString() ? qelCString(fact) : "";
            if (!factText.empty() && factText.rfind("...", 0) != 0)
                throw Failure { std::string("the text of ") + key + " must begin with \"...\"" };
            int phase = phaseOfDay[size_t(n)] < 0 ? 0 : phaseOfDay[size_t(n)];
            records.push_back(qelListOf({ qelMakeInt(n), cp(label), cp(phaseNames[phase]),
                dayTexts[size_t(n)].empty() ? qelNil : cp(dayTexts[size_t(n)]), cp(moonTexts[size_t(n)]),
                qelMakeInt(factText.empty() ? 0 : 2), cp(factText) }));
        }
        std::string archivePath = mediaFolder + "/Agenda.dat";
        if (!writeArchiveFile(archivePath, records, error))
            throw Failure { error };

        std::string holidayText = "; The agenda's holidays of " + std::to_string(year) + ", days of the year.\n(list";
        for (int32_t n : holidays)
            holidayText += " " + std::to_string(n);
        writeDiskFile(mediaFolder + "/agferiad.tbl", holidayText + ")\n");
        std::string signText = "; The agenda's icons of " + std::to_string(year)
            + " by day of the year: the moon's phases and the signs' first days.\n(table (\"Mask\" (reference "
              "\"agicomsk.bmp\")) (\"XDisp\" 58) (\"YDisp\" 30)";
        for (const auto& [n, icon] : icons)
            signText += "\n  (\"" + std::to_string(n) + "\" (reference \"" + icon + "\"))";
        writeDiskFile(mediaFolder + "/agsignos.tbl", signText + ")\n");
        writePictures(picturesPath, look, signAbbrevs);
    } catch (const Failure& failure) {
        error = failure.message;
        return false;
    }
    return true;
}
