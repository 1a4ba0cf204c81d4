#pragma once

// The review of the year's data, shared by its home screen, its page and the list chooser
// ("RetroDlg"). A review set is three files located on the disk:
//
//   <data>.DAT        archive; item n is the article record number n
//   <categories>.DTT  archive whose item 0 is a table: section key -> int list of record numbers,
//                     in display order
//   <titles>.IDX      index: article title -> record number
//
// The "Retro" set uses "Retro", "RTCatLst" and "RTTitulo"; the "Retro98" set "Retro98",
// "RTCLst98" and "RTTit98". An article record is a list whose element 0 is its own record
// number and whose elements 1 to 7 are: category (1..10), region (1 "Brasil", 2 "Mundo"),
// month (1..12), title, heading (rich text), body (rich text), and a list of picture file names
// or nil. A section key is a category 1..10, or 10 + a month (11..22).

#include "framework/runtime/Value.h"

#include <cstdint>

// Positions of an article record's elements.
namespace review {
constexpr int32_t categoryElement = 1;
constexpr int32_t regionElement = 2;
constexpr int32_t monthElement = 3;
constexpr int32_t titleElement = 4;
constexpr int32_t headingElement = 5;
constexpr int32_t bodyElement = 6;
constexpr int32_t picturesElement = 7;
// Month keys follow the ten categories.
constexpr int32_t monthKeyBase = 10;
} // namespace review

struct ReviewSetFiles {
    const char* data;
    const char* categories;
    const char* titles;
};

// The file names of the "Retro98" set when use98, else of the "Retro" set.
const ReviewSetFiles& reviewSetFiles(bool use98);

// "Janeiro".."Dezembro" for 1..12, nil outside (cp1252).
qelValue reviewMonthName(int32_t month);
// "Acidentes".."Violência" for 1..10, nil outside (cp1252).
qelValue reviewCategoryName(int32_t category);

// The located file opened as an archive (read-only); nil when the disk does not have it.
qelValue reviewOpenFile(const char* name, const char* extension);

// Item 0 of the set's category-list archive (the file is closed again); nil when it does not
// open or holds no table there.
qelValue reviewSectionTable(bool use98);

// Item n of an open data archive when it is an article record (a list); nil for a number the
// archive does not hold, so a damaged list never reads past the archive.
qelValue reviewRecord(const qelValue& archive, int32_t n);

// The list of heading and title strings of the articles filed under the section key (a category
// 1..10, or 10 + a month) for the region (1 "Brasil", 2 "Mundo") of the review set ("Retro98"
// when use98); nil when the set or the section has none. A heading (a month name under a
// category, a category name under a month) is added whenever the group changes from one listed
// article to the next; an article row is "->" followed by its title.
qelValue reviewCategoryList(int32_t sectionKey, int32_t region, bool use98);
