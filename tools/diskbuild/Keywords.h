#pragma once

// The word search's keyword files, from the texts of every item the disk holds that the search
// can find (content/almanac/data):
//
//   verbetes.tbl   each entry's heading, name, text and "see also" (packed id 64 << 16 | list id)
//   midias.tbl     each media item's name, caption and text (16 << 16 | media id)
//   atlas.tbl      each atlas item's name, text and further data (2 << 16 | atlas id)
//   curio.tbl      each curiosity's title and text (4 << 16 | record number)
//   ltempo.tbl     each timeline event's line (8 << 16 | its item in TimeLine.dat)
//   retro.tbl      each review article's title and text (32 << 16 | its record in Retro.DAT)
//
// The ids are those of Data.h (the general name list names the same items). Written into MEDIA:
// "KeyWord.idx" (folded word -> archive item) and "KeyWord.dat" (item n: the strictly ascending
// packed ids of one word; the key "all" lists every item).

#include <string>

bool buildKeywords(const std::string& dataFolder, const std::string& mediaFolder, std::string& error);
