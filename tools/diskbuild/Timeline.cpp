#include "tools/diskbuild/Timeline.h"

#include "app/reference/LinhaTempoForm.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "tools/diskbuild/Sources.h"

#include <climits>
#include <cstdlib>
#include <fstream>

namespace {

// The eras' buttons as the timeline's screen names them, in era order.
constexpr int32_t eraCount = LinhaTempoForm::eraCount;
// The characters of the screen's widest line, date and text together.
constexpr size_t maxLineLength = 78;

std::string textOf(const qelValue& value)
{
    return std::string(qelCString(value), size_t(qelCount(value)));
}

// A year: an integer, or decimal text for a date beyond 32 bits.
int64_t yearOf(const qelValue& value, const std::string& where)
{
    if (value.type() == QEL_INT_TYPE)
        return int32_t(value.payload());
    if (value.isString()) {
        std::string text = textOf(value);
        char* end = nullptr;
        long long year = std::strtoll(text.c_str(), &end, 10);
        if (!text.empty() && end && *end == '\0')
            return year;
    }
    throw Failure { where + ": the year must be an integer or a decimal text" };
}

// The label of a year: "1500", "500 a.C.".
std::string yearLabel(int64_t year)
{
    return year < 0 ? std::to_string(-year) + " a.C." : std::to_string(year);
}

void checkScreen(const std::string& screenPath, const std::vector<std::pair<int32_t, int32_t>>& ranges)
{
    std::string error;
    qelValue screen = readNotationFile(screenPath, error);
    if (!error.empty())
        throw Failure { error };
    for (int32_t era = 0; era < eraCount; ++era) {
        std::string where = screenPath + ": the button " + qelToUtf8(LinhaTempoForm::eraName(era));
        qelValue control = field(screen, LinhaTempoForm::eraName(era));
        qelEncodedFields fields;
        if (control.type() != QEL_CONTROL_TYPE || !qelFieldsOf(control, fields))
            throw Failure { where + " is missing" };
        auto number = [&](const char* key) {
            qelValue value = field(fields.values[0], key);
            return value.type() == QEL_INT_TYPE ? int32_t(value.payload()) : INT32_MIN;
        };
        auto [begin, end] = ranges[size_t(era)];
        if (number("TypeID") != era || number("Begin") != begin || number("End") != end)
            throw Failure { where + " must hold (\"TypeID\" " + std::to_string(era) + ") (\"Begin\" "
                + std::to_string(begin) + ") (\"End\" " + std::to_string(end) + ")" };
    }
}

void readEvents(const std::string& sourcePath, std::vector<TimelineEvent>& events, std::vector<qelValue>* items)
{
    std::string error;
    qelValue source = readNotationFile(sourcePath, error);
    if (!error.empty())
        throw Failure { error };
    qelValue eras = field(source, "Eras");
    if (!qelListObjectOf(eras) || qelCount(eras) != eraCount)
        throw Failure { sourcePath + ": \"Eras\" must be a list of the six eras" };
    int64_t previousYear = INT64_MIN;
    for (int32_t era = 0; era < eraCount; ++era) {
        qelValue table = qelGet(eras, era);
        qelValue name = field(table, "Nome");
        std::string where = sourcePath + ": era " + std::to_string(era + 1);
        if (!name.isString() || textOf(name) != LinhaTempoForm::eraName(era))
            throw Failure { where + ": \"Nome\" must be " + qelToUtf8(LinhaTempoForm::eraName(era)) };
        qelValue list = field(table, "Eventos");
        if (!qelListObjectOf(list) || qelCount(list) == 0)
            throw Failure { where + ": \"Eventos\" must be a list of events" };
        for (int32_t n = 0; n < qelCount(list); ++n) {
            std::string at = where + " event " + std::to_string(n + 1);
            qelValue event = qelGet(list, n);
            int32_t count = qelListObjectOf(event) ? qelCount(event) : 0;
            if (count != 2 && count != 3)
                throw Failure { at + ": an event is (list year text) or (list year date text)" };
            int64_t year = yearOf(qelGet(event, 0), at);
            if (year < previousYear)
                throw Failure { at + ": earlier than the event before it" };
            previousYear = year;
            qelValue text = qelGet(event, count - 1);
            qelValue date = count == 3 ? qelGet(event, 1) : qelNil;
            if (!text.isString() || (count == 3 && !date.isString()))
                throw Failure { at + ": the date and the text must be strings" };
            std::string label = count == 3 ? textOf(date) : yearLabel(year);
            int32_t item = int32_t(events.size());
            // Why: the word search numbers an event in the low 16 bits of its packed id.
            if (item > 0xFFFF)
                throw Failure { sourcePath + ": more events than the word search can number" };
            // Why: dates of deep time lie beyond 32 bits; held at the limit they still come
            // first, as the scan of a year search needs.
            int32_t stored = int32_t(year < -INT32_MAX ? -INT32_MAX : year > INT32_MAX ? INT32_MAX : year);
            std::string line = label + " \x96 " + textOf(text);
            // Why: each event is one row of the list, whose rows are a fixed height; a longer
            // line would wrap over the next row.
            if (line.size() > maxLineLength)
                throw Failure { at + ": the line is longer than " + std::to_string(maxLineLength) + " characters" };
            events.push_back({ item, stored, era + 1, line });
            if (items) {
                qelValue value = qelMakeList(6, 100, QEL_GENERAL_LIST);
                qelListObjectOf(value)->append(qelValue(item));
                qelListObjectOf(value)->append(qelValue(stored));
                qelListObjectOf(value)->append(qelStringValue(label.c_str()));
                qelListObjectOf(value)->append(qelStringValueN(line.data(), int32_t(line.size())));
                qelListObjectOf(value)->append(qelValue(era + 1));
                items->push_back(value);
            }
        }
    }
}

} // namespace

bool readTimeline(const std::string& sourcePath, std::vector<TimelineEvent>& events, std::string& error)
{
    try {
        readEvents(sourcePath, events, nullptr);
    } catch (const Failure& failure) {
        error = failure.message;
        return false;
    }
    return true;
}

bool readDiskTimeline(const std::string& dataFolder, std::vector<TimelineEvent>& events, std::string& error)
{
    std::string path = dataFolder + "/ltempo.tbl";
    return !std::ifstream(path) || readTimeline(path, events, error);
}

bool buildTimeline(
    const std::string& sourcePath, const std::string& screenPath, const std::string& mediaFolder, std::string& error)
{
    try {
        std::vector<TimelineEvent> events;
        std::vector<qelValue> items;
        readEvents(sourcePath, events, &items);
        std::vector<std::pair<int32_t, int32_t>> ranges(eraCount, { -1, -1 });
        for (const TimelineEvent& event : events) {
            auto& range = ranges[size_t(event.era - 1)];
            if (range.first < 0)
                range.first = event.item;
            range.second = event.item;
        }
        checkScreen(screenPath, ranges);
        if (!writeArchiveFile(mediaFolder + "/TimeLine.dat", items, error))
            return false;
    } catch (const Failure& failure) {
        error = failure.message;
        return false;
    }
    return true;
}
