#pragma once

// The review of the year, from content/almanac/data/retro.tbl ("Artigos": a list of tables with
// "Titulo", "Categoria" (a category name of the review), "Regiao" ("Brasil" or "Mundo"), "Dia",
// "Mes" (1..12) and "Texto", the body in rich text):
//
//   into MEDIA:
//     Retro.DAT      item n the article record n: (n, category, region, month, title, heading,
//                    body, nil); item 0 is the first article
//     RTCatLst.DTT   item 0: section key -> int list of record numbers; a category's articles
//                    by date, a month's (key 10 + month) by category, then by day
//   into SOURCES:
//     RTTitulo.tbl   title -> record number, for qelidx
//
// The build stops at an unknown category or region, a day or month out of range, an empty text
// and a title given twice (the title index keys the articles).

#include <string>

bool buildRetro(const std::string& sourcePath, const std::string& mediaFolder, const std::string& sourcesFolder,
    std::string& error);
