#pragma once

// The atlas's maps, drawn from the countries' outlines (content/almanac/maps/formas.tbl: items
// (list code ring ring ...), each ring (list lon lat lon lat ...) in hundredths of a degree) as
// the map list (content/almanac/maps/atlas.tbl: items (list file code box [width height])) asks: a country's map
// shows it in its own colour among its neighbours, framed with a margin (the main landmass and
// what lies near it; a country too small to see gets a ring around it); a map with a box
// (west south east north, in degrees) shows that box, every country in the soft tones of the
// world map. Each map is an 8-bit bitmap (384 x 288 unless the list gives a size), run-length encoded, in the almanac's map look:
// sea, a graticule every 10 degrees, land and borders.

#include <string>

bool buildAtlasMaps(const std::string& mapsPath, const std::string& shapesPath, const std::string& outFolder,
    std::string& error);
