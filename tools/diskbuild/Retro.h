#pragma once

// A review of the year, from content/almanac/data/retro.tbl or retro98.tbl: "Conjunto" the set
// it makes ("Retro" or "Retro98"), "Ano" the year its headings name, and "Artigos", a list of
// tables with "Titulo", "Categoria" (a category name of the review), "Regiao" ("Brasil" or
// "Mundo"), "Dia", "Mes" (1..12), "Texto" (the body in rich text) and, optionally, "Fotos" (the
// files of the pictures the body shows, each a media file of data/midias*.tbl):
//
//   into MEDIA (the "Retro98" set's names in brackets):
//     Retro.DAT      [Retro98.DAT] item n the article record n: (n, category, region, month,
//                    title, heading, body, picture files or nil); item 0 is the first article
//     RTCatLst.DTT   [RTCLst98.DTT] item 0: section key -> int list of record numbers; a
//                    category's articles by date, a month's (key 10 + month) by category, then
//                    by day
//   into SOURCES:
//     RTTitulo.tbl   [RTTit98.tbl] title -> record number, for qelidx
//
// The build stops at an unknown set, category or region, a year, day or month out of range, an
// empty text, a picture that is no media file and a title given twice (the title index keys the
// articles).

#include <cstdint>
#include <string>
#include <vector>

bool buildRetro(const std::string& sourcePath, const std::string& mediaFolder, const std::string& sourcesFolder,
    std::string& error);

// An article of the "Retro" set (DATADIR/retro.tbl) as the word search finds it: its packed id
// (32 << 16 | record number), its title (named "Retrospectiva: <title>" in the general name
// list) and its body (whose words the keyword files hold).
struct RetroSearchItem {
    int32_t id;
    std::string title;
    std::string text;
};
bool retroSearchItems(const std::string& dataFolder, std::vector<RetroSearchItem>& items, std::string& error);
