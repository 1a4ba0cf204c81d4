"""Reads the country shapes of world-atlas's TopoJSON files (Natural Earth's countries), for the
scripts that draw the atlas's maps from them (convert-atlas.py, convert-world-atlas.py).

A topology keeps every border once, as an arc of quantized points; a country's ring is a list
of arc indexes, a negative index ~i standing for arc i walked backwards.
"""


def decode_arcs(topology):
    """Every arc as its points of (longitude, latitude) in degrees."""
    scale_x, scale_y = topology["transform"]["scale"]
    shift_x, shift_y = topology["transform"]["translate"]
    arcs = []
    for arc in topology["arcs"]:
        x = y = 0
        points = []
        for dx, dy in arc:
            x += dx
            y += dy
            points.append((x * scale_x + shift_x, y * scale_y + shift_y))
        arcs.append(points)
    return arcs


def polygons_of(geometry):
    """The geometry's polygons, each a list of rings (its outline first, then its holes); none
    for a geometry that is not a polygon."""
    if geometry["type"] == "Polygon":
        return [geometry["arcs"]]
    if geometry["type"] == "MultiPolygon":
        return geometry["arcs"]
    return []


def ring_points(ring, arcs):
    """The ring's points, arc after arc."""
    points = []
    for index in ring:
        arc = arcs[index] if index >= 0 else list(reversed(arcs[~index]))
        # Consecutive arcs share their joining point.
        points.extend(arc if not points else arc[1:])
    return points
