#pragma once

// The timeline's content, from content/almanac/data/ltempo.tbl: six eras in order, each a table
// with "Nome" (its button on the screen) and "Eventos", the era's events in time order, each
// (list year text) or (list year date text). The year is an integer, negative before Christ, or
// a decimal text for dates of deep time beyond 32 bits (held at the 32-bit limit on the disk,
// where they still come first); the date is the line's label, by default the year itself
// ("1500", "500 a.C.").
//
//   diskbuild ltempo SOURCE SCREEN MEDIA
//
// writes MEDIA/TimeLine.dat: item n the n-th event, [n, year, date, "date - text", era 1-6], and
// checks that the era buttons of the timeline's screen SCREEN ("TypeID", "Begin", "End") hold
// the eras as the table numbers them. The build stops at an era out of order, an event earlier
// than the one before it, a line longer than the screen's row, a button that does not match its
// era, or more events than the word search can number.

#include <cstdint>
#include <string>
#include <vector>

struct TimelineEvent {
    // The event's item in TimeLine.dat, and its number in the word search's section.
    int32_t item;
    int32_t year;
    // The era, 1 to 6.
    int32_t era;
    // The line as the screen shows it (cp1252).
    std::string line;
};

// The word search's section of the timeline's events ("Linha do Tempo").
constexpr int32_t timelineSection = 8;

// The events of the table SOURCE in order; false with the reason when the table is not as above.
bool readTimeline(const std::string& sourcePath, std::vector<TimelineEvent>& events, std::string& error);
// The events of the data folder's "ltempo.tbl"; none, and true, for a disk without a timeline.
bool readDiskTimeline(const std::string& dataFolder, std::vector<TimelineEvent>& events, std::string& error);

bool buildTimeline(
    const std::string& sourcePath, const std::string& screenPath, const std::string& mediaFolder, std::string& error);
