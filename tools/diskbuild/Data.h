#pragma once

// The almanac's content data, derived from the tables in which each fact is written once
// (content/almanac/data: verbetes.tbl, midias.tbl with any midias-<part>.tbl, atlas.tbl):
//
//   into MEDIA, with the framework's archive writer:
//     Verbetes.DAT   entry records in name order: [list id, heading, name, sub-category, text,
//                    see also, nil, nil, picture names]
//     Midias.DAT     media records in name order: [media id, name, title, kind, caption, file,
//                    thumbnail, content, nil, header, related entries]; the content is the text
//                    of kinds 3, 7, 9, for kinds 2, 4, 8 the picture of the media folder that the
//                    file names (drawn there before), for kinds 0 and 10 the still ("Quadro")
//                    when given; title ("Titulo") and header ("Cabecalho") are optional texts; a
//                    flag's (kind 2) thumbnail is its picture, the others' nil
//     Atlas.DAT      atlas records in source order: [atlas id, name, category, flag, map,
//                    anthem, text, more, x, y]
//     IDCatLst.DTT   item 0 every entry's list id, item n those of sub-category n (name order)
//     IDMidLst.DTT   item 0 every media id, item k + 1 those of kind k (name order)
//     ATCatLst.DTT   item 0 every atlas id, item n those of category n
//   into SOURCES, one table in text notation (UTF-8) per index file, for qelidx:
//     VDBLstID  list id -> record number        VDBNList  list id -> name
//     VDBIDLst  name, lower-cased -> list id    VDBName   heading -> record number
//     MDBLstID  media id -> record number       MDBName   media id -> name
//     MDBIDLst  name, lower-cased -> media id   MDBIDLt2  file, lower-cased -> media id
//     MDBNList  file -> record number           MDBFName  media id -> file
//     ATNamLst  atlas id -> name                ATIDList  name, lower-cased -> atlas id
//     GNRNList  packed id (section bit << 16 | id) -> "Section: heading" (an entry's heading
//               without its note in braces), with the curiosities' titles of curio.tbl (Curio.h)
//               the timeline's events (ltempo.tbl, Timeline.h) under "Linha do Tempo: " and
//               the review's articles (retro.tbl, Retro.h) under "Retrospectiva: "
//
// The build stops, saying where, at content that would make a wrong disk: an entry of a
// sub-category that "Categorias" does not declare, a picture no media record has, a media
// picture missing from the media folder, a key that would name two things.

#include <string>

bool buildData(const std::string& dataFolder, const std::string& mediaFolder, const std::string& sourcesFolder,
    std::string& error);
