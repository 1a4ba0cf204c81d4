#pragma once

// The agenda's year on the disk, from content/almanac/data/agenda.tbl:
// - "Agenda.dat": an archive of 366 content records, record n for day of the year n (a 365-day
//   year's record 365 is an empty day, so a leap year's clock still finds one). Each record is
//   [day of the year, date label "Qui, 01 Jan 1998", moon phase name ("Nova", "Crescente",
//   "Cheia", "Minguante": the last principal phase by the day's end, naming the picture
//   "Lua" + name), the day's text (holidays, feasts, the sign that begins; nil when none), the
//   moon text ("Lua Cheia às 14h24" on a phase's day, else ""), a flag (2 when the day has a
//   "você sabia", else 0) and the "você sabia" text ("" when none)];
// - "agferiad.tbl": the holidays as days of the year (the views' "Feriados");
// - "agsignos.tbl": the views' "Signos&Luas": the icon of each principal moon phase and of each
//   sign's first day, by day of the year, with their mask and offset;
// - PICTURES: the description (for `diskbuild pictures`) of the agenda's pictures in the
//   almanac's look: cells, day numbers, weekdays, moons, icons, buttons, backgrounds.

#include "framework/runtime/Value.h"

#include <cstdint>
#include <string>

// The date of Easter Sunday of a Gregorian year: month 1-12 and day.
void easterSunday(int32_t year, int32_t& month, int32_t& day);

bool buildAgenda(const std::string& sourcePath, const std::string& stylePath, const std::string& mediaFolder,
    const std::string& picturesPath,
    std::string& error);
