#!/usr/bin/env python3
"""Converts the country shapes of the npm package "world-atlas" (Natural Earth, public domain;
the package under the ISC licence) into a picture description for diskbuild: a political world
map, each country a filled polygon on the ocean, in a plate carree projection.

Run once by hand, never by the build; the output is committed:

    npm pack world-atlas@2.0.2 && tar xzf world-atlas-2.0.2.tgz
    tools/convert-world-atlas.py package/countries-110m.json content/almanac/maps/mundo.tbl

Country colours cycle through a few soft tones of the atlas look by the country's numeric code,
so the map is the same from run to run.
"""

import json
import sys

from topology_shapes import decode_arcs, polygons_of, ring_points

WIDTH = 480
HEIGHT = 240
OCEAN = (168, 208, 236)
LANDS = [(214, 226, 160), (236, 214, 150), (200, 222, 190), (236, 196, 170), (220, 204, 226)]
INK = (16, 56, 32)


def project(lon, lat):
    x = round((lon + 180.0) / 360.0 * WIDTH)
    y = round((90.0 - lat) / 180.0 * HEIGHT)
    return x, min(max(y, 0), HEIGHT)


def polygon(points):
    # A ring that crosses the date line is drawn whole past the right edge (the picture clips
    # it) rather than as a band across the map.
    if any(abs(a[0] - b[0]) > 180.0 for a, b in zip(points, points[1:])):
        points = [(lon + 360.0 if lon < 0 else lon, lat) for lon, lat in points]
    out = []
    for lon, lat in points:
        p = project(lon, lat)
        if not out or out[-1] != p:
            out.append(p)
    if len(out) > 1 and out[0] == out[-1]:
        out.pop()
    return out if len(set(out)) >= 3 else None


def rgb(color):
    return "(rgb %d %d %d)" % color


def main(source, output):
    with open(source, encoding="utf-8") as f:
        topology = json.load(f)
    arcs = decode_arcs(topology)
    shapes = []
    for geometry in topology["objects"]["countries"]["geometries"]:
        code = int(geometry.get("id", "0") or 0) if str(geometry.get("id", "0")).isdigit() else 0
        color = LANDS[code % len(LANDS)]
        for rings in polygons_of(geometry):
            # The outer ring only: the few holes of this scale are filled by the country
            # drawn inside them.
            points = polygon(ring_points(rings[0], arcs))
            if points:
                coords = " ".join("%d %d" % p for p in points)
                shapes.append('(list "polygon" %s %s)' % (rgb(color), coords))
    with open(output, "w", encoding="utf-8") as f:
        f.write("; A political world map drawn from Natural Earth's country shapes (public domain), as\n")
        f.write("; packaged by world-atlas 2.0.2 (ISC); written by tools/convert-world-atlas.py. Do not edit.\n")
        f.write("(table\n  (\"mundo.bmp\"\n    (table (\"Width\" %d) (\"Height\" %d) (\"Bits\" 8) (\"Color\" %s)\n"
                % (WIDTH, HEIGHT, rgb(OCEAN)))
        f.write("      (\"Shapes\" (list\n")
        for shape in shapes:
            f.write("        %s\n" % shape)
        f.write("      ))\n")
        f.write("      (\"Texts\" (list (list \"Fonte: Natural Earth\" 4 226 (font \"Arial\" 10 0) %s))))))\n"
                % rgb(INK))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: convert-world-atlas.py countries-110m.json OUTPUT.tbl")
    main(sys.argv[1], sys.argv[2])
