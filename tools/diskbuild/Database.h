#pragma once

// The country and state database (content/almanac/data: bdados.tbl, the layout and the states;
// paises.tbl, the countries), built into MEDIA with the framework's archive writer:
//
//   DBPaises.dat, DBEstado.dat  one item per record, in source order: a list of the database's
//                               field values (87 for the countries, 50 for the states); field 0
//                               and field 1 the name, "n.d." in every field a record lacks
//   DBPaises.idx, DBEstado.idx  one item: a table from field number (decimal text) to a table
//                               from each value's text to the int list of the records holding
//                               it, for the fields the layout indexes; a multi-valued text
//                               ("Mercosul; ALADI") is indexed under each part, blanks trimmed
//
// The build stops at a record naming a field the layout lacks, a layout of the wrong length or
// a record without a name.

#include <string>

bool buildDatabase(const std::string& dataFolder, const std::string& mediaFolder, std::string& error);
