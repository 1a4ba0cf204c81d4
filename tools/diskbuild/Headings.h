#pragma once

// The column headings of the database's result table, as a description of pictures for
// `diskbuild pictures`: "PHeading<n>.bmp" for field n of the countries and "EHeading<n>.bmp" for
// field n of the states (n from 1), from the fields of DATADIR/bdados.tbl and the widths of
// DATADIR/bdcolunas.tbl, in the database's look: the field's name on the section's band, and
// below it the light strip where the result table writes the column's criterion. The sort marks
// "Ascen.bmp" and "Desc.bmp" drawn over a heading's top right corner come with them.

#include <string>

bool writeHeadingPictures(const std::string& dataFolder, const std::string& output, std::string& error);
