#pragma once

// The curiosities, from content/almanac/data/curio.tbl (and any curio-<part>.tbl after it): a
// list "Curiosidades" of tables with "Categoria" (one of the ten category names), "Titulo",
// "Texto" (rich text) and optionally "Longa" (true: the long layout, for longer texts).
// Record numbers count from 0 in the order of the files.
//
//   into MEDIA:
//     DBCurio.dat         item n: [n, layout kind (1 short, 2 long), category, title, text]
//     CVSbCatL.dtt        item c (0..9): the record numbers of category c
//     cufoto<c>.bmp, cusel<c>.bmp, cutitulo<c>.bmp, cubarra<c>.bmp
//                         the viewer's four pictures of each category (photo, label, title
//                         box, side bar)
//     cubt<c>_up.bmp, _down.bmp, _over.bmp
//                         the home screen's category buttons
//     curiohf.bmp, curdlg.bmp, cucompl.bmp, cuant_*.bmp, cuprox_*.bmp
//                         the home screen, the viewer, its long layout's ground and its arrows
//   into SOURCES:
//     CDBIDLST.tbl        title -> category * 65536 + record number, for qelidx
//
// The build stops at an unknown category, a title given twice, a text that is not a string or
// more records than the low 16 bits can number.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

bool buildCurio(const std::string& dataFolder, const std::string& mediaFolder, const std::string& sourcesFolder,
    std::string& error);

// The word search's names of the curiosities: packed id (4 << 16 | record number) and
// "Curiosidades: " followed by the title (cp1252). False with the reason on bad content.
bool curioSearchNames(const std::string& dataFolder, std::vector<std::pair<int32_t, std::string>>& names,
    std::string& error);
