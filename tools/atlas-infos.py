#!/usr/bin/env python3
"""Writes the atlas's thematic pages and the world outline of its climates-and-currents movie and its continent pages from
the countries' outlines already on the disk's sources (content/almanac/maps/formas.tbl, Natural
Earth's 1:50m countries, public domain):

  content/almanac/pictures-atlas-infos.tbl   the pages' pictures: Brazil's political map,
                                             regions, relief, climate, rivers and vegetation; the
                                             world's political map and its great zones; the eight
                                             continents, each with its countries, highest point
                                             and longest river
  content/almanac/screens/<page>.frm         the pages' screens (InfosForm), one per page
  content/almanac/midias-filmes.tbl          the outline of "an0058.avi" between its two marker
                                             lines (the rest of that file is hand-written)

Run once by hand, never by the build; the output is committed:

    tools/atlas-infos.py content/almanac

The zones drawn on Brazil (regions, climates, vegetation, relief) are simplified: each is a few
longitude/latitude boxes cut to the country's outline, enough to show where they lie. The
rivers are polylines through a handful of public places along their course.
"""

import math
import re
import sys
import textwrap

# ---- The look (tools/convert-atlas.py's atlas colours) ------------------------------------------

GROUND = (214, 234, 214)
PANEL = (246, 252, 240)
INK = (16, 56, 32)
BAND = (16, 80, 48)
BAND_INK = (240, 255, 240)
ACCENT = (200, 224, 96)
SEA = (168, 208, 236)
LAND = (236, 226, 190)
RIVER = (40, 96, 200)


def rgb(c):
    return "(rgb %d %d %d)" % c


def font(size, style=0):
    return '(font "Arial" %d %d)' % (size, style)


def text(t, x, y, size, color, style=0):
    return '(list "%s" %d %d %s %s)' % (t, x, y, font(size, style), rgb(color))


def box(x, y, w, h, c):
    return "(list %d %d %d %d %s)" % (x, y, w, h, rgb(c))


def polygon(c, points):
    return '(list "polygon" %s %s)' % (rgb(c), " ".join("%d %d" % (round(x), round(y)) for x, y in points))


def ellipse(c, x, y, w, h):
    return '(list "ellipse" %s %d %d %d %d)' % (rgb(c), x, y, w, h)


# ---- Shapes ---------------------------------------------------------------------------------------

def read_shapes(path):
    """ISO code -> list of rings of (longitude, latitude) in degrees."""
    source = open(path, encoding="utf-8").read()
    shapes = {}
    for match in re.finditer(r'\(list "([A-Z]*)" ((?:\(list [-0-9 ]+\) ?)+)\)', source):
        rings = []
        for ring in re.findall(r"\(list ([-0-9 ]+)\)", match.group(2)):
            v = [int(n) / 100.0 for n in ring.split()]
            rings.append(list(zip(v[0::2], v[1::2])))
        shapes.setdefault(match.group(1), []).extend(rings)
    return shapes


def simplify(points, tolerance):
    if len(points) < 3:
        return points
    (x1, y1), (x2, y2) = points[0], points[-1]
    dx, dy = x2 - x1, y2 - y1
    length = math.hypot(dx, dy) or 1e-9
    worst, index = 0.0, 0
    for i in range(1, len(points) - 1):
        x, y = points[i]
        d = abs(dy * x - dx * y + x2 * y1 - y2 * x1) / length
        if d > worst:
            worst, index = d, i
    if worst <= tolerance:
        return [points[0], points[-1]]
    return simplify(points[: index + 1], tolerance)[:-1] + simplify(points[index:], tolerance)


def simplify_ring(ring, tolerance):
    """A closed ring simplified as two open halves split at the point farthest from its first."""
    if len(ring) <= 3:
        return ring
    x0, y0 = ring[0]
    far = max(range(len(ring)), key=lambda i: (ring[i][0] - x0) ** 2 + (ring[i][1] - y0) ** 2)
    first = simplify(ring[: far + 1], tolerance)
    second = simplify(ring[far:] + ring[:1], tolerance)
    return first[:-1] + second[:-1]


def ring_area(ring):
    return abs(sum(x1 * y2 - x2 * y1 for (x1, y1), (x2, y2) in zip(ring, ring[1:] + ring[:1]))) / 2


def clip(ring, west, south, east, north):
    """The ring cut to a longitude/latitude box (Sutherland-Hodgman: any ring, a convex window)."""
    edges = [(lambda p: p[0] >= west, lambda a, b: cross_x(a, b, west)),
             (lambda p: p[0] <= east, lambda a, b: cross_x(a, b, east)),
             (lambda p: p[1] >= south, lambda a, b: cross_y(a, b, south)),
             (lambda p: p[1] <= north, lambda a, b: cross_y(a, b, north))]
    out = ring
    for inside, cross in edges:
        if not out:
            break
        points, out = out, []
        for i, p in enumerate(points):
            q = points[i - 1]
            if inside(p):
                if not inside(q):
                    out.append(cross(q, p))
                out.append(p)
            elif inside(q):
                out.append(cross(q, p))
    return out


def cross_x(a, b, x):
    t = (x - a[0]) / (b[0] - a[0])
    return (x, a[1] + t * (b[1] - a[1]))


def cross_y(a, b, y):
    t = (y - a[1]) / (b[1] - a[1])
    return (a[0] + t * (b[0] - a[0]), y)


class Projection:
    """Plate carrée with the longitudes shortened by the cosine of a middle latitude, fitted and
    centred in a screen rectangle."""

    def __init__(self, west, south, east, north, x, y, w, h, middle=0.0):
        self.k = math.cos(math.radians(middle))
        self.west, self.north = west, north
        self.scale = min(w / ((east - west) * self.k), h / (north - south))
        self.x0 = x + (w - (east - west) * self.k * self.scale) / 2
        self.y0 = y + (h - (north - south) * self.scale) / 2

    def __call__(self, lon, lat):
        return (self.x0 + (lon - self.west) * self.k * self.scale, self.y0 + (self.north - lat) * self.scale)


class PolarProjection:
    """The south pole at the centre of a screen rectangle, the latitudes as circles at equal steps
    out to `edge` (azimuthal equidistant), longitude 0 straight up."""

    def __init__(self, edge, x, y, w, h):
        self.radius = 90.0 + edge
        self.scale = min(w, h) / 2 / self.radius
        self.cx, self.cy = x + w / 2, y + h / 2

    def __call__(self, lon, lat):
        r = (90.0 + lat) * self.scale
        a = math.radians(lon)
        return (self.cx + r * math.sin(a), self.cy - r * math.cos(a))


def land(rings, project, color, tolerance, min_area=0.0, window=None, wrap=True):
    shapes = []
    for ring in rings:
        if ring_area(ring) < min_area:
            continue
        if wrap and max(p[0] for p in ring) - min(p[0] for p in ring) > 270:
            # A ring across the 180th meridian: its western part goes on past 180, where the
            # window cuts it, so that no band runs across the whole map.
            ring = [(lon + 360 if lon < 0 else lon, lat) for lon, lat in ring]
            window = window or (-180, -90, 180, 90)
        if window:
            ring = clip(ring, *window)
        ring = simplify_ring(ring, tolerance)
        if len(ring) >= 3:
            shapes.append(polygon(color, [project(*p) for p in ring]))
    return shapes


def zones(rings, project, pieces, tolerance):
    """Each cut (colour, west, south, east, north) is the country clipped to that box."""
    shapes = []
    for color, *window in pieces:
        shapes += land(rings, project, color, tolerance, 0.5, window)
    return shapes


def line(points, project, color, width=2):
    """A river: thin quadrilaterals along the polyline."""
    shapes = []
    for (lon1, lat1), (lon2, lat2) in zip(points, points[1:]):
        x1, y1 = project(lon1, lat1)
        x2, y2 = project(lon2, lat2)
        length = math.hypot(x2 - x1, y2 - y1) or 1
        nx, ny = -(y2 - y1) / length * width / 2, (x2 - x1) / length * width / 2
        shapes.append(polygon(color, [(x1 + nx, y1 + ny), (x2 + nx, y2 + ny), (x2 - nx, y2 - ny), (x1 - nx, y1 - ny)]))
    return shapes


# ---- The pages ------------------------------------------------------------------------------------

# Brazil's map sits in the frame at the left, the legend and text in the panel at the right.
BRAZIL_FRAME = (12, 66, 380, 340)
BRAZIL_BOX = (-74.5, -34.2, -34.0, 5.8)
PANEL_FRAME = (400, 66, 228, 340)
# The world's map spans the page; the text runs under it.
WORLD_FRAME = (12, 66, 616, 256)
WORLD_TEXT = (12, 326, 616, 82)


def brazil_projection():
    x, y, w, h = BRAZIL_FRAME
    west, south, east, north = BRAZIL_BOX
    return Projection(west, south, east, north, x + 6, y + 6, w - 12, h - 12, -15.0)


def world_projection():
    x, y, w, h = WORLD_FRAME
    return Projection(-180.0, -58.0, 180.0, 84.0, x + 1, y + 1, w - 2, h - 2)


def frame(x, y, w, h, inside):
    return [box(x, y, w, h, INK), box(x + 1, y + 1, w - 2, h - 2, inside)]


def page_ground(title, subtitle):
    boxes = [box(0, 0, 640, 56, BAND), box(0, 56, 640, 3, ACCENT), box(0, 412, 640, 68, BAND), box(0, 410, 640, 2, ACCENT)]
    texts = [text(title, 20, 14, 22, BAND_INK, 2), text(subtitle, 20, 416, 12, BAND_INK, 0)]
    return boxes, texts


def legend(entries, x, y):
    """Colour squares with their names, one line each; returns the boxes, texts and next y."""
    boxes, texts = [], []
    for color, name in entries:
        boxes += [box(x, y + 2, 14, 12, INK), box(x + 1, y + 3, 12, 10, color)]
        texts.append(text(name, x + 20, y, 12, INK, 0))
        y += 18
    return boxes, texts, y


def paragraph(paragraphs, x, y, width, step=16):
    """Paragraphs wrapped to `width` characters (about 7 pixels each in the face used), a blank
    line between two."""
    texts = []
    for words in paragraphs:
        for line_text in textwrap.wrap(words, width):
            texts.append(text(line_text, x, y, 12, INK, 0))
            y += step
        y += step // 2
    return texts


def brazil_page(shapes, title, subtitle, heading, pieces, entries, lines, extra=(), labels=(), base=LAND):
    project = brazil_projection()
    rings = [r for r in shapes["BR"] if ring_area(r) > 0.05]
    boxes, texts = page_ground(title, subtitle)
    boxes += frame(*BRAZIL_FRAME, SEA) + frame(*PANEL_FRAME, PANEL)
    # The neighbours in a pale tone, so that Brazil stands out against them.
    neighbours = []
    for code in ("AR", "BO", "PY", "UY", "PE", "CO", "VE", "GY", "SR", "EC", "CL"):
        neighbours += land(shapes.get(code, []), project, (226, 226, 212), 0.08, 0.5, BRAZIL_BOX)
    body = land(rings, project, base, 0.04) + zones(rings, project, pieces, 0.04)
    marks = []
    for item in labels:
        name, lon, lat, dx, dy = item[:5]
        size = item[5] if len(item) > 5 else 10
        x, y = project(lon, lat)
        marks.append(ellipse(INK, round(x) - 2, round(y) - 2, 5, 5))
        texts.append(text(name, round(x) + dx, round(y) + dy, size, INK, 2))
    px, py, pw, ph = PANEL_FRAME
    texts.append(text(heading, px + 10, py + 8, 14, INK, 2))
    b, t, y = legend(entries, px + 10, py + 34)
    boxes += b
    texts += t
    texts += paragraph(lines, px + 10, y + 8, 29)
    texts.append(text("Mapa simplificado", BRAZIL_FRAME[0] + 8, BRAZIL_FRAME[1] + BRAZIL_FRAME[3] - 20, 10, INK, 0))
    return boxes, neighbours + body + list(extra(project) if callable(extra) else extra) + marks, texts


def world_page(shapes, title, subtitle, paint, entries, lines):
    project = world_projection()
    boxes, texts = page_ground(title, subtitle)
    boxes += frame(*WORLD_FRAME, SEA) + frame(*WORLD_TEXT, PANEL)
    body = paint(project)
    x, y, w, h = WORLD_TEXT
    b, t, _ = legend(entries, x + 10, y + 8)
    boxes += b
    texts += t
    texts += paragraph(lines, x + 190, y + 6, 56, 14)
    return boxes, body, texts


# Brazil's zones, simplified: (colour, west, south, east, north), later pieces over earlier ones.
REGIONS = [
    ((120, 184, 96), -75, -7.5, -46.2, 6), ((120, 184, 96), -66.6, -13.7, -60, -7.5), ((120, 184, 96), -74, -11.2, -66.6, -7.5),
    ((120, 184, 96), -50.6, -13.4, -45.6, -5),
    ((236, 176, 80), -46.2, -11, -34, -1), ((236, 176, 80), -46.6, -15, -37, -11), ((236, 176, 80), -41, -18.4, -38.6, -15),
    ((236, 176, 80), -48.6, -5, -45.6, -1),
    ((200, 120, 200), -46, -22.9, -39, -14.2), ((200, 120, 200), -51.2, -22.5, -46, -18.6), ((200, 120, 200), -53.2, -25.3, -44.2, -19.8),
    ((200, 120, 200), -44.9, -23.4, -40.8, -20.7),
    ((96, 160, 220), -58, -34, -48, -24.6), ((96, 160, 220), -54.7, -24.6, -49.3, -22.6),
]
REGION_ENTRIES = [((120, 184, 96), "Norte"), ((236, 176, 80), "Nordeste"), ((228, 220, 120), "Centro-Oeste"),
                  ((200, 120, 200), "Sudeste"), ((96, 160, 220), "Sul")]

CLIMATES = [
    ((40, 140, 80), -75, -10, -48, 6),
    ((236, 200, 96), -44, -11, -36.8, -4.6), ((236, 200, 96), -43.6, -15.4, -39.4, -11),
    ((96, 200, 180), -36.8, -10, -34, -5), ((96, 200, 180), -39.4, -17.8, -37.4, -10),
    ((176, 208, 112), -50, -24, -40, -18.6),
    ((120, 160, 224), -58, -34, -47, -24),
]
CLIMATE_ENTRIES = [((40, 140, 80), "Equatorial"), ((232, 150, 80), "Tropical"), ((236, 200, 96), "Semi-árido"),
                   ((96, 200, 180), "Litorâneo úmido"), ((176, 208, 112), "Tropical de altitude"), ((120, 160, 224), "Subtropical")]

VEGETATION = [
    ((32, 120, 56), -75, -9, -48, 6), ((32, 120, 56), -66, -13, -52, -9),
    ((216, 192, 120), -44, -11, -37, -4.6), ((216, 192, 120), -43.6, -15.4, -39.6, -11),
    ((72, 168, 96), -37, -10, -34, -5), ((72, 168, 96), -41, -18.6, -38, -10), ((72, 168, 96), -48.6, -25.4, -39.6, -19),
    ((48, 136, 128), -54.4, -28.4, -49, -24),
    ((168, 208, 120), -58, -34, -50, -28.4),
    ((120, 180, 200), -58.3, -20.6, -55.4, -15.8),
]
VEGETATION_ENTRIES = [((32, 120, 56), "Floresta Amazônica"), ((200, 180, 96), "Cerrado"), ((216, 192, 120), "Caatinga"),
                      ((72, 168, 96), "Mata Atlântica"), ((48, 136, 128), "Mata de Araucárias"), ((168, 208, 120), "Campos (Pampa)"),
                      ((120, 180, 200), "Pantanal")]

RELIEF = [
    ((136, 196, 120), -74, -7, -50, 0.8),
    ((180, 140, 96), -66, 1.2, -50, 5.5),
    ((136, 196, 120), -58.3, -20.6, -55.4, -15.8),
    ((160, 112, 80), -46, -23.6, -39.6, -13),
    ((196, 160, 112), -55.4, -30.6, -49, -21),
    ((136, 196, 120), -54, -34, -50, -30.6),
]
RELIEF_ENTRIES = [((136, 196, 120), "Planícies"), ((220, 196, 140), "Planalto Central"), ((180, 140, 96), "Planalto das Guianas"),
                  ((160, 112, 80), "Planalto Atlântico"), ((196, 160, 112), "Planalto Meridional")]

# The state capitals: (state, longitude, latitude, label offset x, y).
CAPITALS = [
    ("AC", -67.8, -9.97, 4, -4), ("AL", -35.7, -9.67, 5, -2), ("AP", -51.07, 0.03, 4, -12), ("AM", -60.02, -3.1, 4, -4),
    ("BA", -38.5, -12.97, 5, -4), ("CE", -38.54, -3.72, 4, -12), ("DF", -47.88, -15.79, 5, -4), ("ES", -40.34, -20.32, 5, -4),
    ("GO", -49.25, -16.68, -22, -4), ("MA", -44.3, -2.53, -8, -14), ("MT", -56.1, -15.6, 4, -4), ("MS", -54.65, -20.47, 4, -4),
    ("MG", -43.94, -19.92, -18, -2), ("PA", -48.5, -1.46, -20, 0), ("PB", -34.86, -7.12, 5, -8), ("PR", -49.27, -25.43, -18, -4),
    ("PE", -34.88, -8.05, 5, 0), ("PI", -42.8, -5.09, -16, -4), ("RJ", -43.2, -22.9, 4, 0), ("RN", -35.2, -5.79, 5, -10),
    ("RS", -51.23, -30.03, 4, -4), ("RO", -63.9, -8.76, 4, -4), ("RR", -60.67, 2.82, 4, -4), ("SC", -48.55, -27.6, 5, -4),
    ("SP", -46.63, -23.55, -4, 2), ("SE", -37.07, -10.91, 5, 0), ("TO", -48.33, -10.18, 4, -4),
]

RIVERS = [
    ("Amazonas", [(-69.9, -4.2), (-67.5, -3.0), (-64.5, -3.3), (-62, -3.5), (-60, -3.2), (-58, -3.2), (-55.5, -2.1), (-52.5, -1.6), (-50, -0.5)]),
    ("Negro", [(-67, 1.2), (-64.5, -0.3), (-62, -1.3), (-60, -3.1)]),
    ("Madeira", [(-65.3, -10.8), (-63.9, -8.76), (-61.5, -5.8), (-59.3, -3.5)]),
    ("Tapajós", [(-57.5, -8), (-56.5, -5), (-55, -2.5)]),
    ("Xingu", [(-53, -12), (-53, -7), (-52.2, -3.5), (-52, -1.6)]),
    ("Tocantins", [(-48.5, -15.5), (-48.3, -10.2), (-47.5, -6.5), (-49.3, -1.8)]),
    ("Araguaia", [(-52.5, -17.5), (-51, -14), (-50.2, -10), (-48.4, -5.5)]),
    ("Parnaíba", [(-45.5, -10), (-43.3, -6), (-42.8, -5.1), (-41.8, -2.9)]),
    ("São Francisco", [(-46.3, -20.3), (-45, -17.5), (-44, -15), (-43.2, -11.5), (-40.5, -9.4), (-38, -9.5), (-36.4, -10.5)]),
    ("Paraná", [(-51, -20), (-52.5, -22.3), (-54.3, -24.3), (-54.6, -25.6)]),
    ("Paraguai", [(-57.5, -16), (-57.7, -19), (-57.9, -22)]),
    ("Uruguai", [(-51.5, -27.5), (-53.7, -27.2), (-55.8, -28.5), (-57.6, -30.2)]),
]
RIVER_LABELS = [("Amazonas", -58, -3.2, -10, 2), ("Negro", -64.5, -0.3, -8, -14), ("Madeira", -62.5, -7, 4, -2),
                ("Tocantins", -47.8, -8, 4, -4), ("Araguaia", -51, -14, -50, -4), ("São Francisco", -43.2, -12, 4, -4),
                ("Paraná", -52.5, -22.3, 4, -4), ("Paraguai", -57.7, -19, -48, -4), ("Uruguai", -54, -27.6, -20, -14),
                ("Xingu", -53, -9, -30, -4), ("Parnaíba", -43.3, -6, -46, -6)]

MOUNTAINS = [("Pico da Neblina", -66.0, 0.8, -40, 4), ("Pico da Bandeira", -41.8, -20.4, -104, -2),
             ("Pantanal", -57, -18, -44, -4), ("Planalto Central", -49, -13, -30, 6)]


def pages(shapes):
    out = {}

    out["mbpolit"] = ("Brasil Político", "Atlas: Brasil político", brazil_page(
        shapes, "Brasil Político", "As unidades da federação e suas capitais", "Federação",
        [], [((228, 220, 120), "26 estados"), ((200, 60, 60), "Distrito Federal")],
        ["O Brasil é uma república federativa de 26 estados e o Distrito Federal, onde fica a capital, Brasília, "
         "inaugurada em 21 de abril de 1960.",
         "Com cerca de 8,5 milhões de km², é o quinto maior país do mundo. O maior estado é o Amazonas; o menor, Sergipe.",
         "No mapa, a sigla de cada estado marca a sua capital."],
        extra=lambda p: [ellipse((200, 60, 60), round(p(-47.88, -15.79)[0]) - 5, round(p(-47.88, -15.79)[1]) - 5, 11, 11)],
        labels=CAPITALS, base=(228, 220, 120)))

    out["mbregio"] = ("Regiões do Brasil", "Atlas: Regiões do Brasil", brazil_page(
        shapes, "Regiões do Brasil", "As cinco grandes regiões do IBGE", "As regiões",
        REGIONS, REGION_ENTRIES,
        ["Norte: AC, AM, AP, PA, RO, RR e TO. Nordeste: AL, BA, CE, MA, PB, PE, PI, RN e SE. Centro-Oeste: DF, GO, "
         "MS e MT. Sudeste: ES, MG, RJ e SP. Sul: PR, RS e SC.",
         "O Norte é a maior região em área; o Sudeste, a mais populosa."],
        labels=[("Norte", -62, -4, -14, -6, 13), ("Nordeste", -41, -7, -22, -6, 13), ("Centro-Oeste", -53, -14, -34, -6, 13),
                ("Sudeste", -45, -19.5, -20, -6, 13), ("Sul", -52, -28, -6, -6, 13)],
        base=(228, 220, 120)))

    out["mbrelev"] = ("Relevo do Brasil", "Atlas: Relevo do Brasil", brazil_page(
        shapes, "Relevo do Brasil", "Planaltos e planícies", "O relevo",
        RELIEF, RELIEF_ENTRIES,
        ["O relevo brasileiro é antigo e desgastado pela erosão: predominam planaltos e planícies, sem grandes "
         "cordilheiras.",
         "O ponto mais alto é o Pico da Neblina (AM), com 3.014 m; o segundo, o Pico da Bandeira (MG/ES), com 2.890 m."],
        labels=MOUNTAINS, base=(220, 196, 140)))

    out["mbclima"] = ("Clima do Brasil", "Atlas: Clima do Brasil", brazil_page(
        shapes, "Clima do Brasil", "Os tipos de clima do país", "Os climas",
        CLIMATES, CLIMATE_ENTRIES,
        ["Quase todo o Brasil fica na zona tropical: faz calor o ano inteiro e as chuvas se concentram no verão.",
         "No Sul, abaixo do trópico de Capricórnio, os invernos são frios e pode gear e até nevar nas serras."],
        base=(232, 150, 80)))

    out["mbhidro"] = ("Hidrografia do Brasil", "Atlas: Hidrografia do Brasil", brazil_page(
        shapes, "Hidrografia do Brasil", "Os grandes rios e suas bacias", "Os rios",
        [], [(RIVER, "Rios principais")],
        ["A bacia Amazônica é a maior do mundo. O Amazonas, com mais de 6.000 km, leva ao mar cerca de um quinto "
         "da água doce que os rios do planeta despejam.",
         "O São Francisco nasce em Minas Gerais e corre para o norte antes de chegar ao mar.",
         "No rio Paraná fica a usina de Itaipu, do Brasil e do Paraguai."],
        extra=lambda p: [s for _, points in RIVERS for s in line(points, p, RIVER)],
        labels=RIVER_LABELS))

    out["mbveget2"] = ("Vegetação do Brasil", "Atlas: Vegetação do Brasil", brazil_page(
        shapes, "Vegetação do Brasil", "As grandes formações vegetais", "A vegetação",
        VEGETATION, VEGETATION_ENTRIES,
        ["A Floresta Amazônica é a maior floresta tropical do mundo.",
         "A Mata Atlântica, que cobria o litoral, perdeu a maior parte da sua área desde a colonização."],
        base=(200, 180, 96)))

    palette = POLITICAL

    def political(project):
        out_shapes = []
        for i, code in enumerate(sorted(shapes)):
            out_shapes += land(shapes[code], project, palette[i % len(palette)], 0.6, 1.0, (-180, -58, 180, 84))
        return out_shapes

    out["mdmundi"] = ("O Mundo Político", "Atlas: O mundo político", world_page(
        shapes, "O Mundo Político", "Os países e os continentes: clique no nome de um continente para ver o seu mapa.",
        political,
        [(palette[0], "Países (cores só"), (palette[1], "para distingui-los)")],
        ["A superfície da Terra tem cerca de 510 milhões de km²; as terras ocupam menos de um terço dela. Em "
         "1998 a ONU reunia 185 países-membros. O maior país é a Rússia; o mais populoso, a China."]))
    out["mdmundi"][2][2].extend(text(label, x, y, 10, INK, 2) for label, _, x, y, _, _ in world_spots())

    def belts(project):
        out_shapes = []
        for code in sorted(shapes):
            for color, south, north in ((ZONE_POLAR, 66.56, 84), (ZONE_TEMPERATE, 23.44, 66.56), (ZONE_TROPICAL, -23.44, 23.44),
                                        (ZONE_TEMPERATE, -58, -23.44)):
                out_shapes += land(shapes[code], project, color, 0.6, 1.0, (-180, south, 180, north))
        for lat in (66.56, 23.44, 0.0, -23.44):
            _, y = project(0, lat)
            out_shapes.append(polygon(INK if lat == 0.0 else (80, 96, 128), [(13, y), (627, y), (627, y + 1), (13, y + 1)]))
        return out_shapes

    out["mdecolo"] = ("As Zonas da Terra", "Atlas: As zonas da Terra", world_page(
        shapes, "As Zonas da Terra", "Zonas térmicas e grandes paisagens", belts,
        [(ZONE_TROPICAL, "Zona tropical"), (ZONE_TEMPERATE, "Zonas temperadas"), (ZONE_POLAR, "Zona polar")],
        ["Os trópicos (23°27') e os círculos polares (66°33') dividem a Terra em zonas. Entre os trópicos ficam "
         "florestas e savanas quentes; nas temperadas, campos e florestas de quatro estações; nas polares, tundra e gelo."]))
    return out


# ---- The continents -------------------------------------------------------------------------------

# The continent's map sits in the frame at the left, its figures in the panel at the right, as on
# the pages of Brazil.
CONTINENT_OTHER = (226, 226, 212)
PEAK = (200, 60, 60)
ICE = (244, 248, 252)
# The political maps' colours, only to tell neighbours apart (the world's and the continents').
POLITICAL = [(236, 200, 120), (176, 208, 128), (232, 168, 144), (200, 184, 224), (248, 224, 144), (160, 200, 184)]


class Continent:
    """One continent page: its countries (ISO codes, counted and coloured), countries drawn in
    colour but counted with another continent, the box shown, its highest point and its longest
    river, the panel's figures and a note on the band at the foot."""

    def __init__(self, name, file, title, note, members, box, middle, peak, river, facts,
                 shared=(), shift=False, labels=(), polar_edge=None):
        self.name, self.file, self.title, self.note = name, file, title, note
        self.members, self.shared = members.split(), shared
        self.box, self.middle, self.shift, self.polar_edge = box, middle, shift, polar_edge
        self.peak, self.river, self.facts, self.labels = peak, river, facts, labels


def continent_projection(c):
    x, y, w, h = BRAZIL_FRAME
    if c.polar_edge is not None:
        return PolarProjection(c.polar_edge, x + 6, y + 6, w - 12, h - 12)
    west, south, east, north = c.box
    return Projection(west, south, east, north, x + 6, y + 6, w - 12, h - 12, c.middle)


def shifted(rings):
    """The rings for a map across the 180th meridian: a ring that crosses it has its western
    longitudes carried past 180, a ring wholly in the western hemisphere moves whole; a ring
    across the prime meridian stays where it is."""
    out = []
    for ring in rings:
        lons = [lon for lon, _ in ring]
        if max(lons) - min(lons) > 180 or max(lons) < 0:
            ring = [(lon + 360 if lon < 0 else lon, lat) for lon, lat in ring]
        out.append(ring)
    return out


def continent_map(shapes, c, project):
    """The lands in the frame: the continent's countries in the palette's colours (a dot marks
    one too small to be seen), every other land pale."""
    # Half a pixel: the outlines keep every bend the screen can show.
    tolerance = 0.5 / project.scale
    window = (-180, -90, 180, c.polar_edge) if c.polar_edge is not None else c.box
    coloured = c.members + list(c.shared)
    body, dots = [], []
    for code in sorted(shapes):
        rings = shifted(shapes[code]) if c.shift else shapes[code]
        inside = code in coloured
        color = POLITICAL[coloured.index(code) % len(POLITICAL)] if inside else CONTINENT_OTHER
        if inside and c.polar_edge is not None:
            color = ICE
        drawn = land(rings, project, color, tolerance, 0.0, window, c.polar_edge is None)
        body += drawn
        if inside and rings:
            ring = max(rings, key=ring_area)
            points = [project(*p) for p in ring]
            size = max(max(p[0] for p in points) - min(p[0] for p in points), max(p[1] for p in points) - min(p[1] for p in points))
            lon = sum(p[0] for p in ring) / len(ring)
            lat = sum(p[1] for p in ring) / len(ring)
            west, south, east, north = window
            # Under 3 pixels across, an island state's outline is lost among the sea's pixels.
            if size < 3 and west <= lon <= east and south <= lat <= north:
                x, y = project(lon, lat)
                dots.append(ellipse(INK, round(x) - 2, round(y) - 2, 5, 5))
    return body + dots


def peak_mark(project, lon, lat):
    x, y = project(lon, lat)
    return polygon(PEAK, [(x, y - 6), (x + 6, y + 4), (x - 6, y + 4)])


def continent_page(shapes, c):
    project = continent_projection(c)
    boxes, texts = page_ground(c.title, c.note)
    boxes += frame(*BRAZIL_FRAME, SEA) + frame(*PANEL_FRAME, PANEL)
    body = continent_map(shapes, c, project)
    marks = []
    if c.river:
        name, points, dx, dy = c.river
        if c.shift:
            points = shifted([points])[0]
        marks += line(points, project, RIVER)
        x, y = project(*points[len(points) // 2])
        texts.append(text(name, round(x) + dx, round(y) + dy, 10, INK, 2))
    name, lon, lat, dx, dy = c.peak
    marks.append(peak_mark(project, lon, lat))
    x, y = project(lon, lat)
    texts.append(text(name, round(x) + dx, round(y) + dy, 10, INK, 2))
    for name, lon, lat, dx, dy in c.labels:
        x, y = project(lon, lat)
        texts.append(text(name, round(x) + dx, round(y) + dy, 10, INK, 0))
        if lat == -90:
            # The pole is a point, no outline's: a dot marks it.
            marks.append(ellipse(INK, round(x) - 2, round(y) - 2, 5, 5))
    px, py, pw, ph = PANEL_FRAME
    texts.append(text(c.title, px + 10, py + 8, 14, INK, 2))
    first = (ICE, "O continente gelado") if c.polar_edge is not None else (POLITICAL[0], "Países do continente")
    entries = [first, (CONTINENT_OTHER, "Outras terras"), (PEAK, "Ponto mais alto")]
    if c.river:
        entries.append((RIVER, "Rio mais longo"))
    b, t, y = legend(entries, px + 10, py + 32)
    boxes += b
    texts += t
    texts += paragraph(c.facts, px + 10, y + 6, 28, 15)
    texts.append(text("Mapa simplificado", BRAZIL_FRAME[0] + 8, BRAZIL_FRAME[1] + BRAZIL_FRAME[3] - 20, 10, INK, 0))
    return boxes, body + marks, texts


AFRICA = ("DZ AO BJ BW BF BI CV CM CF TD KM CG CD CI DJ EG GQ ER SZ ET GA GM GH GN GW KE LS LR LY MG MW ML MR MU "
          "MA MZ NA NE NG RW ST SN SC SL SO ZA SS SD TZ TG TN UG ZM ZW")
EUROPE = ("AL DE AD AT BE BY BA BG HR DK SK SI ES EE FI FR GR HU IE IS IT LV LI LT LU MK MT MD MC ME NO NL PL PT GB "
          "CZ RO RU SM RS SE CH UA VA")
ASIA = ("AF SA AM AZ BH BD BN BT KH QA KZ CN CY KP KR AE PH GE YE IN ID IR IQ IL JP JO KW LA LB MY MV MM MN NP OM PK "
        "KG SG SY LK TH TJ TL TR TM UZ VN")
NORTH_AMERICA = "CA US MX"
CENTRAL_AMERICA = "BZ CR SV GT HN NI PA AG BS BB CU DM GD HT JM DO LC KN VC TT"
SOUTH_AMERICA = "AR BO BR CL CO EC GY PY PE SR UY VE"
OCEANIA = "AU FJ KI MH FM NR NZ PW PG WS SB TO TV VU"

CONTINENTS = [
    Continent("mmafric", "Mmafric", "África", "O equador corta a África ao meio; ao norte fica o Saara, o maior deserto quente.",
              AFRICA, (-20, -36, 55, 38), 0,
              ("Kilimanjaro", 37.35, -3.07, 8, -6),
              ("Nilo", [(33.2, 0.4), (31.6, 4.85), (31.6, 9.5), (32.5, 15.6), (34.0, 17.7), (33.3, 19.5), (30.5, 19.2),
                        (31.3, 21.8), (32.9, 24.1), (32.6, 25.7), (31.2, 27.2), (31.2, 30.05), (31.0, 31.5)], 6, -4),
              ["Área: cerca de 30,3 milhões de km², um quinto das terras.",
               "Países: %d independentes." % len(AFRICA.split()),
               "Ponto mais alto: o Kilimanjaro, na Tanzânia, 5.895 m.",
               "Rio mais longo: o Nilo, cerca de 6.650 km.",
               "População: cerca de 1,3 bilhão (aproximada)."]),
    Continent("mmeurop", "Mmeurop", "Europa", "O segundo menor continente vai do Atlântico aos montes Urais.",
              EUROPE, (-25, 34, 62, 72), 52,
              ("Elbrus", 42.44, 43.35, -16, 6),
              ("Volga", [(32.9, 57.25), (35.9, 56.86), (39.9, 57.6), (44.0, 56.3), (49.1, 55.8), (50.1, 53.2), (46.0, 51.5),
                         (44.5, 48.7), (48.0, 46.35), (49.0, 45.8)], 6, -6),
              ["Área: cerca de 10 milhões de km², com a parte europeia da Rússia.",
               "Países: %d, com a Rússia; a conta varia com os que ficam entre a Europa e a Ásia." % len(EUROPE.split()),
               "Ponto mais alto: o Elbrus, no Cáucaso russo, 5.642 m.",
               "Rio mais longo: o Volga, cerca de 3.530 km.",
               "População: cerca de 740 milhões (aproximada)."]),
    Continent("mmasia", "Mmasia", "Ásia", "O maior continente da Terra: seis em cada dez pessoas do mundo vivem nele.",
              ASIA, (25, -11, 192, 78), 40,
              ("Everest", 86.93, 27.99, -52, 0),
              ("Yang-tsé", [(91.0, 33.4), (97.0, 33.0), (99.5, 28.5), (100.2, 26.9), (102.6, 26.1), (104.6, 28.8),
                            (106.5, 29.6), (111.3, 30.7), (114.3, 30.6), (117.0, 30.5), (118.8, 32.1), (121.5, 31.4)], -6, -20),
              ["Área: cerca de 44,6 milhões de km², quase um terço das terras.",
               "Países: %d, e a parte asiática da Rússia." % len(ASIA.split()),
               "Ponto mais alto: o Everest, no Himalaia, 8.848 m, o mais alto do mundo.",
               "Rio mais longo: o Yang-tsé, na China, cerca de 6.300 km.",
               "População: cerca de 4,5 bilhões (aproximada)."],
              shared=("RU",), shift=True),
    Continent("mmamnor", "Mmamnor", "América do Norte", "O Canadá é o segundo maior país do mundo em área.",
              NORTH_AMERICA, (-170, 14, -20, 84), 50,
              ("Denali", -151.0, 63.07, -12, 6),
              ("Mississípi-Missouri", [(-111.5, 45.9), (-109.0, 47.8), (-104.0, 48.0), (-100.8, 46.8), (-96.4, 42.5),
                                       (-94.6, 39.1), (-90.2, 38.8), (-89.2, 37.0), (-90.1, 35.1), (-91.1, 32.3),
                                       (-91.2, 30.45), (-90.07, 29.95), (-89.3, 29.1)], 6, -2),
              ["Área: cerca de 21,8 milhões de km², sem a Groenlândia (Dinamarca).",
               "Países: %d, Canadá, Estados Unidos e México." % len(NORTH_AMERICA.split()),
               "Ponto mais alto: o Denali (monte McKinley), no Alasca, 6.190 m.",
               "Rio mais longo: o Mississípi-Missouri, mais de 6.000 km.",
               "População: cerca de 490 milhões (aproximada)."],
              labels=(("Groenlândia", -42, 74, -30, -6),)),
    Continent("mmamcen", "Mmamcen", "América Central", "O canal do Panamá, aberto em 1914, liga o Atlântico ao Pacífico.",
              CENTRAL_AMERICA, (-93, 6, -59, 27), 17,
              ("Tajumulco", -91.9, 15.04, -24, 8),
              ("Coco", [(-86.6, 13.6), (-86.0, 14.0), (-85.0, 14.7), (-84.0, 14.8), (-83.15, 15.0)], -10, 4),
              ["Área: cerca de 750 mil km², no istmo e nas ilhas.",
               "Países: %d, sete no istmo e treze no Caribe." % len(CENTRAL_AMERICA.split()),
               "Ponto mais alto: o vulcão Tajumulco, na Guatemala, cerca de 4.200 m.",
               "Rio mais longo: o Coco, entre Honduras e Nicarágua, cerca de 680 km.",
               "População: cerca de 90 milhões (aproximada)."]),
    Continent("mmamsul", "Mmamsul", "América do Sul", "A cordilheira dos Andes acompanha toda a costa do Pacífico.",
              SOUTH_AMERICA, (-82, -56, -34, 13), -20,
              ("Aconcágua", -70.01, -32.65, 8, -6),
              ("Amazonas", [(-72.6, -15.5), (-73.8, -11.0), (-74.5, -8.4), (-73.5, -4.5), (-73.25, -3.75), (-69.9, -4.2),
                            (-67.5, -3.0), (-64.5, -3.3), (-62, -3.5), (-60, -3.2), (-58, -3.2), (-55.5, -2.1),
                            (-52.5, -1.6), (-50, -0.5)], -20, 4),
              ["Área: cerca de 17,8 milhões de km²; o Brasil tem quase a metade.",
               "Países: %d, e a Guiana Francesa (França)." % len(SOUTH_AMERICA.split()),
               "Ponto mais alto: o Aconcágua, nos Andes argentinos, cerca de 6.960 m.",
               "Rio mais longo: o Amazonas, mais de 6.400 km.",
               "População: cerca de 420 milhões (aproximada)."]),
    Continent("mmocean", "Mmocean", "Oceania", "Milhares de ilhas no Pacífico: a Melanésia, a Micronésia e a Polinésia.",
              OCEANIA, (105, -50, 192, 4), -20,
              ("Puncak Jaya", 137.16, -4.08, -30, 6),
              ("Murray", [(148.2, -36.8), (146.9, -36.1), (144.7, -36.1), (143.6, -35.3), (142.2, -34.2), (140.8, -34.0),
                          (139.6, -34.1), (139.3, -34.9), (138.9, -35.55)], -14, 6),
              ["Área: cerca de 8,5 milhões de km²; quase nove décimos são da Austrália.",
               "Países: %d, muitos deles arquipélagos." % len(OCEANIA.split()),
               "Ponto mais alto: o Puncak Jaya, na Nova Guiné, 4.884 m.",
               "Rio mais longo: o Murray, na Austrália, cerca de 2.500 km.",
               "População: cerca de 40 milhões (aproximada)."],
              shift=True),
    Continent("mmantar", "Mmantar", "Antártida", "O Tratado da Antártida, de 1959, reserva o continente à paz e à ciência.",
              "AQ", None, 0,
              ("Maciço Vinson", -85.6, -78.53, -40, 6), None,
              ["Área: cerca de 14 milhões de km², quase toda sob o gelo.",
               "Países: nenhum; sete países reivindicam partes dela.",
               "Ponto mais alto: o maciço Vinson, 4.892 m.",
               "Rios: nenhum permanente; o gelo guarda a maior parte da água doce da Terra.",
               "População: nenhuma fixa; alguns milhares de cientistas nas bases (aproximada)."],
              labels=(("Polo Sul", 0, -90, 6, -6),), polar_edge=-52),
]


def continent_pages(shapes):
    out = {}
    for c in CONTINENTS:
        out[c.name] = (c.title, "Atlas: " + c.title, continent_page(shapes, c))
    return out


ZONE_TROPICAL = (120, 184, 80)
ZONE_TEMPERATE = (224, 208, 128)
ZONE_POLAR = (232, 240, 248)

# The continents' names on the world's political map, each a hot spot that opens the continent's
# page: (label, page, longitude, latitude of the label's middle). Antarctica lies south of the
# map's edge: its name sits on the bottom of the frame.
WORLD_LABELS = [("AMÉRICA DO NORTE", "mmamnor", -102, 50), ("AMÉRICA CENTRAL", "mmamcen", -118, 12),
                ("AMÉRICA DO SUL", "mmamsul", -60, -14), ("EUROPA", "mmeurop", 16, 54), ("ÁFRICA", "mmafric", 20, 4),
                ("ÁSIA", "mmasia", 95, 52), ("OCEANIA", "mmocean", 134, -26), ("ANTÁRTIDA", "mmantar", 0, -54)]


def world_spots():
    """The labels' places and their hot spots: (label, page, x, y, width, height), the text's
    corner at (x, y); a capital of the bold face is about 8 pixels wide and 14 high."""
    project = world_projection()
    spots = []
    for label, page, lon, lat in WORLD_LABELS:
        cx, cy = project(lon, lat)
        w, h = 8 * len(label) + 8, 18
        x = min(max(round(cx) - w // 2, WORLD_FRAME[0] + 2), WORLD_FRAME[0] + WORLD_FRAME[2] - w - 2)
        y = min(round(cy) - h // 2, WORLD_FRAME[1] + WORLD_FRAME[3] - h - 2)
        spots.append((label, page, x + 4, y + 2, w, h))
    return spots


# The pages' screens: (registered name, file base).
SCREENS = [("mbclima", "Mbclima"), ("mbhidro", "Mbhidro"), ("mbregio", "Mbregio"), ("mbrelev", "Mbrelev"),
           ("mbveget2", "Mbveget2"), ("mbpolit", "Mbpolit"), ("mdecolo", "mdecolo"), ("mdmundi", "mdmundi")] + \
    [(c.name, c.file) for c in CONTINENTS]

# The menu bar's icons along the band and the page's three buttons at the foot: (name, picture).
ICONS = [("MainHome", "icocasa"), ("Velarim", "icoestrela"), ("Busca", "icolupa"), ("Marcador", "icolivro"),
         ("Historico", "icoampulheta"), ("Internet", "icoglobo"), ("GoBack", "icovoltar")]
BUTTONS = [("Copiar", "btcopiar"), ("Imprimir", "btimprimir"), ("Voltar", "btvoltar")]


def controls(spots=()):
    out = ""
    for i, (name, icon) in enumerate(ICONS):
        out += ('  ("%s" (control ("Class" "Button") ("Name" "%s") ("Hot Spot" (rect %d 12 32 32)) ("UpImage" "%s.bmp")\n'
                '    ("DisabledImage" "%s.bmp")))\n' % (name, name, 340 + 40 * i, icon, icon))
    for i, (name, stem) in enumerate(BUTTONS):
        out += ('  ("%s" (control ("Class" "Button") ("Name" "%s") ("Hot Spot" (rect %d 436 120 32))\n'
                '    ("UpImage" "%s_up.bmp") ("DownImage" "%s_down.bmp")\n'
                '    ("DisabledImage" "%s_off.bmp") ("RolloverImage" "%s_over.bmp")))\n'
                % (name, name, 250 + 130 * i, stem, stem, stem, stem))
    names = [name for name, _ in ICONS + BUTTONS]
    # Hot spots whose "PopUpList" entry names another page: a click goes there.
    items = ""
    for i, (_, page, x, y, w, h) in enumerate(spots, 1):
        out += ('  ("Continente%d" (control ("Class" "HotSpot") ("Name" "Continente%d") ("Hot Spot" (rect %d %d %d %d))'
                ' ("PopUpId" %d)))\n' % (i, i, x - 4, y - 2, w, h, i))
        items += '      ("Item%d" "%s")\n' % (i, page)
        names.append("Continente%d" % i)
    if spots:
        out += '  ("PopUpList"\n    (table\n%s))\n' % items.rstrip("\n")
    return out + '  ("Control List" (list %s)))\n' % " ".join('(reference "%s")' % n for n in names)


def screen(name, title, history):
    kind = "continent" if name.startswith("mm") else "thematic"
    spots = world_spots() if name == "mdmundi" else ()
    more = ";\n; the continents' names open their pages (\"ValidForms\" lists them).\n" if spots else ".\n"
    return ("; The atlas's %s page \"%s\" (InfosForm): its picture, drawn by\n"
            "; pictures-atlas-infos.tbl (written by tools/atlas-infos.py), under the menu bar;\n"
            "; \"Copiar\" and \"Imprimir\" take the picture, \"Voltar\" goes back%s"
            "(table\n  (\"Class\" \"InfosForm\")\n  (\"Background Image\" \"%s.bmp\")\n  (\"History\" \"%s\")\n%s"
            % (kind, title, more, name, history, controls(spots)))


# ---- The movie ------------------------------------------------------------------------------------

MOVIE_BEGIN = "      ; Climas e Correntes: the world's outline written by tools/atlas-infos.py.\n"
MOVIE_END = "      ; End of Climas e Correntes.\n"


def movie(shapes):
    """an0058.avi: 320 x 240; the world between the title and the caption, warm currents (red)
    and cold ones (blue) as dots moving along the coasts, the trade winds and the westerlies as
    arrows over the oceans."""
    project = Projection(-180.0, -60.0, 180.0, 80.0, 0, 34, 320, 170)
    land_shapes = []
    for code in sorted(shapes):
        land_shapes += land(shapes[code], project, (112, 168, 88), 1.2, 4.0, (-180, -60, 180, 80))

    def at(lon, lat):
        x, y = project(lon, lat)
        return round(x) - 6, round(y) - 8

    warm, cold, wind = (220, 40, 32), (24, 64, 200), (255, 255, 255)
    slides = []
    for label, start, end, color in (
            ("\u2022 \u2022 \u2022", (-82, 25), (-30, 48), warm), ("\u2022 \u2022", (-35, -8), (-50, -36), warm),
            ("\u2022 \u2022", (124, 22), (160, 40), warm), ("\u2022 \u2022", (-76, -46), (-82, -8), cold),
            ("\u2022 \u2022", (10, -35), (6, -12), cold), ("\u2022 \u2022", (-130, 44), (-115, 20), cold),
            ("\u00ab \u00ab \u00ab", (-20, 14), (-62, 14), wind), ("\u00ab \u00ab \u00ab", (-100, 10), (-160, 10), wind),
            ("\u00bb \u00bb \u00bb", (-70, -48), (-10, -48), wind), ("\u00bb \u00bb \u00bb", (140, -46), (175, -46), wind)):
        (x1, y1), (x2, y2) = at(*start), at(*end)
        slides.append('(list "%s" %d %d %d %d %s %s)' % (label, x1, y1, x2, y2, font(14, 2), rgb(color)))
    texts = [text("Climas e Correntes", -1, 8, 16, (16, 48, 64), 2),
             text("\u2022 quentes", 20, 214, 12, warm, 2), text("\u2022 frias", 120, 214, 12, cold, 2),
             text("\u00bb ventos", 210, 214, 12, wind, 2)]
    return (MOVIE_BEGIN
            + '      (table ("File" "an0058.avi") ("Folder" "Movies") ("Width" 320) ("Height" 240) ("Fps" 10) ("Frames" 30)\n'
            + '        ("Picture" (table ("Color" (rgb 96 152 208)) ("Boxes" (list (list 0 0 320 32 (rgb 200 224 240)) (list 0 206 320 34 (rgb 16 48 64))))\n'
            + '                     ("Shapes" (list %s))\n' % " ".join(land_shapes)
            + '                     ("Texts" (list %s))))\n' % " ".join(texts)
            + '        ("Slides" (list %s)))\n' % " ".join(slides)
            + MOVIE_END)


# ---- Output ---------------------------------------------------------------------------------------

def picture(name, boxes, shapes, texts):
    return ('  ("%s.bmp"\n    (table ("Width" 640) ("Height" 480) ("Color" %s)\n      ("Boxes" (list %s))\n'
            '      ("Shapes" (list %s))\n      ("Texts" (list %s))))\n'
            % (name, rgb(GROUND), " ".join(boxes), " ".join(shapes), " ".join(texts)))


def main(content):
    shapes = read_shapes(content + "/maps/formas.tbl")
    built = pages(shapes)
    built.update(continent_pages(shapes))
    with open(content + "/pictures-atlas-infos.tbl", "w", encoding="utf-8") as f:
        f.write("; The atlas's thematic pages (InfosForm): Brazil's political map, regions, relief, climate,\n"
                "; rivers and vegetation, the world's political map and its great zones, and the eight\n"
                "; continents. Written by tools/atlas-infos.py from maps/formas.tbl; do not edit.\n(table\n")
        for name, _ in SCREENS:
            title, history, (boxes, body, texts) = built[name]
            f.write(picture(name, boxes, body, texts))
        f.write(")\n")
    for name, base in SCREENS:
        title, history, _ = built[name]
        with open("%s/screens/%s.frm" % (content, base), "w", encoding="utf-8") as f:
            f.write(screen(name, title, history))
    path = content + "/midias-filmes.tbl"
    source = open(path, encoding="utf-8").read()
    begin, end = source.find(MOVIE_BEGIN), source.find(MOVIE_END)
    if begin < 0 or end < begin:
        sys.exit("midias-filmes.tbl has no marker lines for an0058.avi")
    with open(path, "w", encoding="utf-8") as f:
        f.write(source[:begin] + movie(shapes) + source[end + len(MOVIE_END):])


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: atlas-infos.py CONTENT")
    main(sys.argv[1])
