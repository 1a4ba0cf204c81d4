#!/usr/bin/env python3
"""Writes the atlas's content from the country database and Natural Earth's country shapes:

  content/almanac/maps/formas.tbl       every country's outline (rings of longitude, latitude in
                                        hundredths of a degree), from which `diskbuild atlas`
                                        draws the country and continent maps
  content/almanac/data/atlas.tbl        the atlas records: the continents, the world, every
                                        country of data/paises.tbl and two regional maps
  content/almanac/data/midias-atlas.tbl the maps' and flags' media items
  content/almanac/pictures-atlas.tbl    the flags, drawn from the descriptions below

Run once by hand, never by the build; the output is committed:

    npm pack world-atlas@2.0.2 i18n-iso-countries@7.14.0   (and unpack both)
    tools/convert-atlas.py world-atlas/countries-50m.json world-atlas/countries-10m.json \
        i18n-iso-countries/codes.json content/almanac

The shapes are Natural Earth's 1:50m countries (public domain, packaged by world-atlas under the
ISC licence); a country too small for that scale (Tuvalu) comes from the 1:10m set. Shared
borders are simplified once, on the arcs, so neighbours keep meeting.
"""

import json
import math
import re
import sys

from topology_shapes import decode_arcs, polygons_of, ring_points

TOLERANCE = 0.03  # degrees: finer than a pixel on the smallest country maps that still show land

# The atlas's categories: 1 the world and the continents, then one per continent.
CATEGORIES = ["Continentes", "Europa", "Ásia", "África", "América do Norte", "América do Sul", "Oceania"]
CONTINENT_MAPS = [
    # name, file, (west, south, east, north)
    ("Europa", "m_europa.bmp", (-25.0, 34.0, 45.0, 72.0)),
    ("Ásia", "m_asia.bmp", (25.0, -11.0, 150.0, 60.0)),
    ("África", "m_africa.bmp", (-20.0, -36.0, 55.0, 38.0)),
    ("América do Norte", "m_amnort.bmp", (-170.0, 5.0, -50.0, 75.0)),
    ("América do Sul", "m_amsul.bmp", (-82.0, -56.0, -34.0, 13.0)),
    ("Oceania", "m_oceani.bmp", (110.0, -48.0, 180.0, 0.0)),
]
# The regional maps of the two largest countries, opened from their country's page.
REGIONAL_MAPS = [
    ("Estados Unidos, costa leste", "US", "m_us_l.bmp", (-92.0, 24.0, -66.0, 48.0),
     "A costa atlântica, da Nova Inglaterra à Flórida.", (-77.0, 38.9)),
    ("Federação Russa, parte ocidental", "RU", "m_ru_o.bmp", (26.0, 42.0, 62.0, 70.0),
     "A Rússia européia, do mar Báltico aos montes Urais.", (37.6, 55.8)),
]
# Atlas names that differ from the database's.
ATLAS_NAMES = {"RU": "Federação Russa"}
# Countries whose database record lacks the continent.
CONTINENTS = {"TL": "Ásia"}

# The locator under and beside the screen's small world map (content/almanac/screens/AtlasFrm.frm):
# the x marker slides along the row below it, the y marker along the column at its right.
LOCATOR_X, LOCATOR_Y, LOCATOR_W, LOCATOR_H = 24, 328, 192, 96
MARKER = 9  # the markers' size; they point at the place with their middle


def marker_place(lon, lat):
    x = LOCATOR_X + round((lon + 180.0) / 360.0 * LOCATOR_W) - MARKER // 2
    y = LOCATOR_Y + round((90.0 - lat) / 180.0 * LOCATOR_H) - MARKER // 2
    return x, y


def simplify(points, tolerance):
    if len(points) < 3:
        return points
    keep = [False] * len(points)
    keep[0] = keep[-1] = True
    stack = [(0, len(points) - 1)]
    while stack:
        first, last = stack.pop()
        ax, ay = points[first]
        bx, by = points[last]
        dx, dy = bx - ax, by - ay
        length = math.hypot(dx, dy)
        best, index = -1.0, -1
        for i in range(first + 1, last):
            px, py = points[i]
            if length == 0.0:
                d = math.hypot(px - ax, py - ay)
            else:
                d = abs(dy * (px - ax) - dx * (py - ay)) / length
            if d > best:
                best, index = d, i
        if index >= 0 and best > tolerance:
            keep[index] = True
            stack.append((first, index))
            stack.append((index, last))
    return [p for p, k in zip(points, keep) if k]


def rings_of(geometry, arcs):
    rings = []
    for polygon in polygons_of(geometry):
        for ring in polygon:
            quantized = []
            for lon, lat in ring_points(ring, arcs):
                q = (round(lon * 100), round(lat * 100))
                if not quantized or quantized[-1] != q:
                    quantized.append(q)
            if len(quantized) > 1 and quantized[0] == quantized[-1]:
                quantized.pop()
            if len(set(quantized)) >= 3:
                rings.append(quantized)
    return rings


def ring_area(ring):
    return abs(sum(ring[i][0] * ring[i - 1][1] - ring[i - 1][0] * ring[i][1] for i in range(len(ring)))) / 2.0


def country_centre(rings):
    # The middle of the largest ring's box: where the locator points.
    ring = max(rings, key=ring_area)
    xs = [p[0] for p in ring]
    ys = [p[1] for p in ring]
    return (min(xs) + max(xs)) / 200.0, (min(ys) + max(ys)) / 200.0


def read_countries(path):
    text = open(path, encoding="utf-8").read()
    countries = []
    for line in text.splitlines():
        line = line.strip()
        if not line.startswith("(table (\"Nome\""):
            continue
        fields = dict(re.findall(r'\("([^"]+)" ("[^"]*"|[-0-9.]+)\)', line))
        country = {k: (v[1:-1] if v.startswith('"') else v) for k, v in fields.items()}
        country.setdefault("Continente", CONTINENTS.get(country.get("Sigla"), ""))
        countries.append(country)
    return countries


def rtf(text):
    return text.replace("\\", "\\\\\\\\").replace("{", "\\\\{").replace("}", "\\\\}")


def thousands(value):
    number = float(value)
    # Below one unit (the Vatican's area) the decimals are the figure.
    if 0 < number < 1:
        return ("%.2f" % number).replace(".", ",")
    return "{:,}".format(int(number)).replace(",", ".")


def country_text(c, name):
    lines = ["{\\\\b %s}" % rtf(name)]
    if c.get("Capital"):
        lines.append("Capital: %s" % rtf(c["Capital"]))
    if c.get("População"):
        lines.append("População: %s hab. (2018)" % thousands(c["População"]))
    if c.get("Área"):
        # The database rounds to the square kilometre: a 0 there is a country smaller than one.
        area = "menos de 1" if float(c["Área"]) == 0 else thousands(c["Área"])
        lines.append("Área: %s km²" % area)
    lines.append("Continente: %s" % rtf(c["Continente"]))
    return "\\\\par ".join(lines)


def more_text(c, name):
    lines = ["{\\\\b %s: outros dados}" % rtf(name)]
    for key, label in [("Região", "Região"), ("Moeda", "Moeda (código)"), ("Domínio", "Domínio na Internet"),
                       ("DDI", "Código telefônico internacional"), ("Sem saída para o mar", "Sem saída para o mar"),
                       ("Blocos econômicos", "Blocos econômicos")]:
        if c.get(key):
            value = c[key]
            if key == "DDI":
                value = "+" + value
            lines.append("%s: %s" % (label, rtf(value)))
    return "\\\\par ".join(lines)


# ---- Flags ----------------------------------------------------------------------------------

W, H = 72, 48

COLORS = {
    "red": (206, 17, 38), "white": (255, 255, 255), "blue": (0, 56, 147), "green": (0, 122, 61),
    "yellow": (252, 209, 22), "black": (0, 0, 0), "gold": (255, 206, 0), "orange": (255, 130, 0),
    "sky": (65, 137, 221), "navy": (0, 40, 104), "maroon": (158, 48, 57), "lightblue": (0, 161, 222),
    "darkred": (200, 16, 46), "teal": (0, 119, 139),
}


def rgb(c):
    c = COLORS.get(c, c)
    return "(rgb %d %d %d)" % c


def box(x, y, w, h, c):
    return "(list %d %d %d %d %s)" % (x, y, w, h, rgb(c))


def horizontal(*colors, weights=None):
    weights = weights or [1] * len(colors)
    total = sum(weights)
    boxes, y = [], 0
    for c, w in zip(colors, weights):
        h = round((y + w) * H / total) - round(y * H / total)
        boxes.append(box(0, round(y * H / total), W, h, c))
        y += w
    return boxes, []


def vertical(*colors):
    boxes = []
    for i, c in enumerate(colors):
        x0, x1 = round(i * W / len(colors)), round((i + 1) * W / len(colors))
        boxes.append(box(x0, 0, x1 - x0, H, c))
    return boxes, []


def star(cx, cy, r, c, rotation=-90.0):
    points = []
    for i in range(10):
        radius = r if i % 2 == 0 else r * 0.382
        angle = math.radians(rotation + i * 36.0)
        points.append("%d %d" % (round(cx + radius * math.cos(angle)), round(cy + radius * math.sin(angle))))
    return '(list "polygon" %s %s)' % (rgb(c), " ".join(points))


def polygon(c, *xy):
    return '(list "polygon" %s %s)' % (rgb(c), " ".join(str(round(v)) for v in xy))


def ellipse(c, x, y, w, h):
    return '(list "ellipse" %s %d %d %d %d)' % (rgb(c), x, y, w, h)


def nordic(field, cross, inner=None):
    t = H // 4 if inner else H // 5
    x = W * 5 // 14
    boxes = [box(0, 0, W, H, field), box(x, 0, t, H, cross), box(0, (H - t) // 2, W, t, cross)]
    if inner:
        i = t // 2
        boxes += [box(x + (t - i) // 2, 0, i, H, inner), box(0, (H - i) // 2, W, i, inner)]
    return boxes, []


def with_shapes(base, shapes):
    return base[0], base[1] + shapes


def us():
    boxes = [box(0, round(i * H / 13), W, round((i + 1) * H / 13) - round(i * H / 13), "darkred" if i % 2 == 0 else "white")
             for i in range(13)]
    cw, ch = W * 2 // 5, round(7 * H / 13)
    boxes.append(box(0, 0, cw, ch, "navy"))
    shapes = []
    for row in range(9):
        for col in range(6 if row % 2 == 0 else 5):
            x = (col * 2 + (1 if row % 2 == 0 else 2)) * cw / 12.0
            y = (row + 1) * ch / 10.0
            shapes.append(star(x, y, 1.6, "white"))
    return boxes, shapes


def greece():
    boxes = [box(0, round(i * H / 9), W, round((i + 1) * H / 9) - round(i * H / 9), "lightblue" if i % 2 == 0 else "white")
             for i in range(9)]
    c = round(5 * H / 9)
    t = round(H / 9)
    boxes += [box(0, 0, c, c, "lightblue"), box(2 * t, 0, t, c, "white"), box(0, 2 * t, c, t, "white")]
    return boxes, []


FLAGS = {
    "DE": horizontal("black", "red", "gold"),
    "AT": horizontal("red", "white", "red"),
    "NL": horizontal((174, 28, 40), "white", (33, 70, 139)),
    "RU": horizontal("white", (0, 57, 166), (213, 43, 30)),
    "HU": horizontal((205, 42, 62), "white", (67, 111, 77)),
    "BG": horizontal("white", (0, 150, 110), (214, 38, 18)),
    "EE": horizontal((0, 114, 206), "black", "white"),
    "LT": horizontal((253, 185, 19), (0, 106, 68), (193, 39, 45)),
    "LV": horizontal((158, 48, 57), "white", (158, 48, 57), weights=[2, 1, 2]),
    "UA": horizontal((0, 87, 183), (255, 215, 0)),
    "PL": horizontal("white", (220, 20, 60)),
    "ID": horizontal("red", "white"),
    "MC": horizontal("red", "white"),
    "YE": horizontal("red", "white", "black"),
    "AM": horizontal((217, 0, 18), (0, 51, 160), (242, 168, 0)),
    "CO": horizontal((252, 209, 22), (0, 56, 147), (206, 17, 38), weights=[2, 1, 1]),
    "GA": horizontal((0, 158, 96), (252, 209, 22), (58, 117, 196)),
    "SL": horizontal((30, 181, 58), "white", (0, 114, 198)),
    "LU": horizontal((237, 41, 57), "white", (0, 161, 222)),
    "BO": horizontal((213, 43, 30), (249, 228, 0), (0, 122, 51)),
    "MU": horizontal((234, 40, 57), (26, 32, 110), (255, 213, 0), (0, 165, 81)),
    "TH": horizontal((165, 25, 49), "white", (45, 42, 74), "white", (165, 25, 49), weights=[1, 1, 2, 1, 1]),
    "GM": horizontal((206, 17, 38), "white", (12, 28, 140), "white", (58, 119, 40), weights=[6, 1, 4, 1, 6]),
    "BW": horizontal((108, 172, 228), "white", "black", "white", (108, 172, 228), weights=[9, 1, 4, 1, 9]),
    "FR": vertical((0, 35, 149), "white", (237, 41, 57)),
    "IT": vertical((0, 146, 70), "white", (206, 43, 55)),
    "IE": vertical((22, 155, 98), "white", (255, 136, 62)),
    "BE": vertical("black", (253, 218, 36), (239, 51, 64)),
    "RO": vertical((0, 43, 127), (252, 209, 22), (206, 17, 38)),
    "TD": vertical((0, 38, 100), (254, 203, 0), (198, 12, 48)),
    "ML": vertical((20, 181, 58), (252, 209, 22), (206, 17, 38)),
    "GN": vertical((206, 17, 38), (252, 209, 22), (0, 148, 96)),
    "NG": vertical((0, 135, 81), "white", (0, 135, 81)),
    "CI": vertical((247, 127, 0), "white", (0, 158, 96)),
    "PE": vertical((217, 16, 35), "white", (217, 16, 35)),
    "SE": nordic((0, 106, 167), (254, 204, 0)),
    "DK": nordic((200, 16, 46), "white"),
    "FI": nordic("white", (0, 47, 108)),
    "NO": nordic((186, 12, 47), "white", (0, 32, 91)),
    "IS": nordic((2, 82, 156), "white", (220, 30, 53)),
    "BD": ([box(0, 0, W, H, (0, 106, 78))], [ellipse((244, 42, 65), 22, 12, 24, 24)]),
    "PW": ([box(0, 0, W, H, (0, 153, 218))], [ellipse((255, 222, 0), 18, 12, 24, 24)]),
    "LA": with_shapes(horizontal((206, 17, 38), (0, 40, 104), (206, 17, 38), weights=[1, 2, 1]),
                      [ellipse("white", 24, 12, 24, 24)]),
    "CH": ([box(0, 0, W, H, (218, 41, 28)), box(31, 10, 10, 28, "white"), box(22, 19, 28, 10, "white")], []),
    "GR": greece(),
    "VN": ([box(0, 0, W, H, (218, 37, 29))], [star(36, 24, 15, (255, 255, 0))]),
    "CN": ([box(0, 0, W, H, (238, 28, 37))],
           [star(12, 12, 7, (255, 255, 0)), star(24, 5, 2.4, (255, 255, 0)), star(29, 10, 2.4, (255, 255, 0)),
            star(29, 17, 2.4, (255, 255, 0)), star(24, 22, 2.4, (255, 255, 0))]),
    "SO": ([box(0, 0, W, H, (65, 137, 221))], [star(36, 24, 12, "white")]),
    "GH": with_shapes(horizontal((206, 17, 38), (252, 209, 22), (0, 107, 63)), [star(36, 24, 8, "black")]),
    "CM": with_shapes(vertical((0, 122, 94), (206, 17, 38), (252, 209, 22)), [star(36, 24, 7, (252, 209, 22))]),
    "SN": with_shapes(vertical((0, 133, 63), (253, 239, 66), (227, 27, 35)), [star(36, 24, 7, (0, 133, 63))]),
    "TR": ([box(0, 0, W, H, (227, 10, 23))],
           [ellipse("white", 14, 12, 24, 24), ellipse((227, 10, 23), 20, 14, 20, 20), star(42, 24, 6, "white", 180.0)]),
    "US": us(),
    "CL": ([box(0, H // 2, W, H - H // 2, (213, 43, 30)), box(0, 0, W, H // 2, "white"), box(0, 0, H // 2, H // 2, (0, 57, 166))],
           [star(H // 4, H // 4, 6, "white")]),
    "CU": with_shapes(horizontal((0, 42, 143), "white", (0, 42, 143), "white", (0, 42, 143)),
                      [polygon((207, 20, 43), 0, 0, 41, 24, 0, 48), star(13, 24, 6, "white")]),
    "CZ": with_shapes(horizontal("white", (215, 20, 26)), [polygon((17, 69, 126), 0, 0, 36, 24, 0, 48)]),
    "BS": with_shapes(horizontal((0, 119, 139), (255, 199, 44), (0, 119, 139)), [polygon("black", 0, 0, 31, 24, 0, 48)]),
    "AE": ([box(0, 0, W, 16, (0, 115, 47)), box(0, 16, W, 16, "white"), box(0, 32, W, 16, "black"), box(0, 0, 18, H, (255, 0, 0))], []),
    "KW": with_shapes(horizontal((0, 122, 61), "white", (206, 17, 38)), [polygon("black", 0, 0, 18, 16, 18, 32, 0, 48)]),
    "ES": horizontal((170, 21, 27), (241, 191, 0), (170, 21, 27), weights=[1, 2, 1]),
    "PT": ([box(0, 0, 29, H, (0, 102, 0)), box(29, 0, W - 29, H, (255, 0, 0))],
           [ellipse((255, 255, 0), 17, 12, 24, 24), ellipse((255, 0, 0), 22, 17, 14, 14), polygon("white", 25, 20, 33, 20, 33, 28, 29, 32, 25, 28)]),
    "IN": with_shapes(horizontal((255, 153, 51), "white", (19, 136, 8)),
                      [ellipse((0, 0, 128), 29, 17, 14, 14), ellipse("white", 31, 19, 10, 10), ellipse((0, 0, 128), 34, 22, 4, 4)]),
    "JM": ([box(0, 0, W, H, (254, 209, 0))],
           [polygon((0, 155, 58), 6, 0, 66, 0, 36, 20), polygon((0, 155, 58), 6, 48, 66, 48, 36, 28),
            polygon("black", 0, 4, 0, 44, 30, 24), polygon("black", 72, 4, 72, 44, 42, 24)]),
    "SR": with_shapes(horizontal((55, 126, 63), "white", (180, 10, 45), "white", (55, 126, 63), weights=[2, 1, 4, 1, 2]),
                      [star(36, 24, 7, (236, 200, 29))]),
}


def flag_description(code):
    boxes, shapes = FLAGS[code]
    text = '    (table ("Width" %d) ("Height" %d) ("Color" (rgb 255 255 255))\n' % (W, H)
    text += '      ("Boxes" (list %s))' % " ".join(boxes)
    if shapes:
        text += '\n      ("Shapes" (list %s))' % " ".join(shapes)
    return text + ")"


# ---- The screens' pictures -------------------------------------------------------------------

GROUND = (214, 234, 214)
PANEL = (246, 252, 240)
INK = (16, 56, 32)
BAND_INK = (240, 255, 240)
ACCENT = (200, 224, 96)
# Each category's band and the colour of the map's name on it.
CATEGORY_BANDS = [(16, 80, 48), (32, 64, 120), (128, 48, 24), (136, 96, 16), (24, 96, 104), (56, 104, 32), (16, 96, 144)]
CATEGORY_INKS = [(240, 255, 240), (232, 240, 255), (255, 236, 220), (255, 244, 208), (224, 252, 252), (236, 255, 220), (224, 244, 255)]


def font(size, style=2):
    return '(font "Arial" %d %d)' % (size, style)


def text_item(text, x, y, size, color, style=2):
    return '(list "%s" %d %d %s %s)' % (text, x, y, font(size, style), rgb(color))


def picture(name, w, h, color, boxes=(), shapes=(), texts=(), border=None, bits8=False):
    out = '  ("%s"\n    (table ("Width" %d) ("Height" %d) ("Color" %s)' % (name, w, h, rgb(color))
    if bits8:
        out += ' ("Bits" 8)'
    if border:
        out += ' ("Border" %s)' % rgb(border)
    if boxes:
        out += '\n      ("Boxes" (list %s))' % " ".join(boxes)
    if shapes:
        out += '\n      ("Shapes" (list %s))' % " ".join(shapes)
    if texts:
        out += '\n      ("Texts" (list %s))' % " ".join(texts)
    return out + "))\n"


def button(stem, label, w, h):
    states = [("up", (212, 208, 200), (0, 0, 0)), ("down", (184, 180, 172), (0, 0, 96)),
              ("off", (212, 208, 200), (150, 146, 140)), ("over", (244, 228, 170), (0, 0, 0))]
    out = ""
    for state, face, ink in states:
        light, shadow = ((128, 128, 128), (255, 255, 255)) if state == "down" else ((255, 255, 255), (128, 128, 128))
        boxes = [box(1, 1, w - 2, 1, light), box(1, 1, 1, h - 2, light), box(1, h - 2, w - 2, 1, shadow), box(w - 2, 1, 1, h - 2, shadow)]
        out += picture("%s_%s.bmp" % (stem, state), w, h, face, boxes, (), [text_item(label, -1, -1, 12, ink)], border=(40, 40, 48))
    return out


# The screens' buttons: file stem, label, size.
BUTTONS = [
    ("at_anterior", "< Anterior", 92, 28), ("at_proximo", "Próximo >", 92, 28), ("at_maisdados", "Mais dados", 104, 28),
    ("at_vermapa", "Ver o mapa", 104, 28), ("at_copiar", "Copiar", 104, 28), ("at_imprimir", "Imprimir", 104, 28),
    ("at_verbete", "Verbete", 104, 24), ("at_hino", "Hino", 104, 24), ("at_costaleste", "Costa leste", 104, 24),
    ("at_ocidental", "Parte oeste", 104, 24),
    ("at_indice", "Índice", 104, 28), ("at_asia", "Ásia", 88, 24), ("at_africa", "África", 88, 24),
    ("at_europa", "Europa", 88, 24), ("at_oceania", "Oceania", 88, 24), ("at_brasil", "Brasil", 104, 28),
    ("at_mundo", "Mundo", 104, 28), ("at_fechar", "Fechar", 104, 28), ("at_temas", "Temas", 84, 28),
]

# The home screen's pop-up menus: their items, drawn by the menu as text on a plain ground, one
# line of its face apart.
MENU_ITEM_HEIGHT = 12


def screen_pictures():
    out = ""
    for i, (band, ink) in enumerate(zip(CATEGORY_BANDS, CATEGORY_INKS)):
        boxes = [box(0, 0, 640, 56, band), box(0, 56, 640, 3, ACCENT), box(12, 64, 224, 372, INK), box(13, 65, 222, 370, PANEL),
                 box(238, 62, 396, 300, INK), box(239, 63, 394, 298, (168, 208, 236)),
                 box(0, 440, 640, 40, band), box(0, 438, 640, 2, ACCENT), box(22, 326, 196, 100, INK)]
        texts = [text_item(CATEGORIES[i], 250, 372, 17, INK), text_item("Atlas do Velarim 98", 250, 398, 12, INK, 0)]
        out += picture("at_fundo%d.bmp" % (i + 1), 640, 480, GROUND, boxes, (), texts, bits8=True)
    out += picture("at_home.bmp", 640, 480, GROUND,
                   [box(0, 0, 640, 56, CATEGORY_BANDS[0]), box(0, 56, 640, 3, ACCENT), box(78, 98, 484, 244, INK),
                    box(0, 440, 640, 40, CATEGORY_BANDS[0]), box(0, 438, 640, 2, ACCENT)],
                   (), [text_item("Atlas", 20, 12, 26, BAND_INK), text_item("Escolha um continente, o índice ou um tema", -1, 352, 13, INK, 0)],
                   bits8=True)
    out += picture("at_secao.bmp", 220, 30, GROUND, (), (), [text_item("Mapas do mundo", 0, 4, 17, INK)])
    out += picture("at_marcx.bmp", 9, 9, PANEL, (), [polygon((200, 32, 32), 4, 0, 8, 8, 0, 8)])
    out += picture("at_marcy.bmp", 9, 9, PANEL, (), [polygon((200, 32, 32), 0, 4, 8, 0, 8, 8)])
    out += picture("at_semband.bmp", W, H, (232, 232, 226), (),
                   (), [text_item("Sem", -1, 8, 11, (96, 96, 96), 0), text_item("bandeira", -1, 24, 11, (96, 96, 96), 0)],
                   border=(150, 146, 140))
    for stem, label, w, h in BUTTONS:
        out += button(stem, label, w, h)
    for name, items in HOME_MENUS:
        out += picture("at_menu_%s.bmp" % name, 180, 10 + MENU_ITEM_HEIGHT * len(items), PANEL, (), (), (), border=INK)
    out += picture("at_contlst.bmp", 180, 190, PANEL, (), (), (), border=INK)
    # The map page's theme menu ("Temas"), drawn like the home screen's.
    out += picture("at_menu_temas.bmp", 180, 10 + MENU_ITEM_HEIGHT * len(THEME_MENU), PANEL, (), (), (), border=INK)
    return out


# The home screen's pop-up menus other than the lists: (button name, items).
HOME_MENUS = [
    ("brasil", ["Político", "Regiões", "Relevo", "Clima", "Hidrografia", "Vegetação", "Brasil"]),
    ("mundo", ["MPolítico", "Ecológico", "Continentes", "Mundo", "Climas e Correntes"]),
]


# The map page's theme menu ("Temas"): the themes of both home menus.
THEME_MENU = ["Político", "Regiões", "Relevo", "Clima", "Hidrografia", "Vegetação", "MPolítico", "Ecológico",
              "Climas e Correntes"]


# ---- Output ---------------------------------------------------------------------------------

def main(source50, source10, codes_path, content):
    codes = {c[0]: c[2] for c in json.load(open(codes_path))}
    numeric_to_alpha = {v: k for k, v in codes.items()}
    countries = read_countries(content + "/data/paises.tbl")

    shapes = []
    seen = set()
    for path in (source50, source10):
        topology = json.load(open(path))
        raw = decode_arcs(topology)
        arcs = [simplify(a, TOLERANCE) for a in raw]
        for geometry in topology["objects"]["countries"]["geometries"]:
            numeric = geometry.get("id")
            alpha = numeric_to_alpha.get(numeric, "") if numeric else ""
            key = alpha or geometry["properties"]["name"]
            if key in seen or (path == source10 and alpha != "TV"):
                continue
            rings = rings_of(geometry, arcs) or rings_of(geometry, raw)
            if not rings:
                continue
            seen.add(key)
            shapes.append((alpha, rings))

    with open(content + "/maps/formas.tbl", "w", encoding="utf-8") as f:
        f.write("; The countries' outlines for the atlas's maps: Natural Earth's 1:50m countries (public domain;\n")
        f.write("; Tuvalu from the 1:10m set), as packaged by world-atlas 2.0.2 (ISC); each item is the ISO\n")
        f.write("; code (\"\" for a territory without one) and its rings of longitude, latitude in hundredths\n")
        f.write("; of a degree. Written by tools/convert-atlas.py. Do not edit.\n(table\n  (\"Formas\"\n    (list\n")
        for alpha, rings in shapes:
            f.write('      (list "%s"' % alpha)
            for ring in rings:
                f.write(" (list %s)" % " ".join("%d %d" % p for p in ring))
            f.write(")\n")
        f.write(")))\n")

    outlines = {alpha: rings for alpha, rings in shapes if alpha}
    records, media, maps = [], [], []
    records.append(('Mundo', 1, "noflag", "mundo.bmp", "{\\\\b O mundo}\\\\par Os países e os oceanos.", "", marker_place(0, 0)))
    for name, file, bounds in CONTINENT_MAPS:
        west, south, east, north = bounds
        maps.append((file, "", bounds))
        media.append((name + ", mapa", 8, file, "O continente e seus países."))
        records.append((name, 1, "noflag", file, "{\\\\b %s}\\\\par Mapa político do continente." % rtf(name), "",
                        marker_place((west + east) / 2, (south + north) / 2)))
    category_of = {name: i + 1 for i, name in enumerate(CATEGORIES)}
    for c in countries:
        alpha = c["Sigla"]
        name = ATLAS_NAMES.get(alpha, c["Nome"])
        category = category_of[c["Continente"]]
        file = "mapbras.bmp" if alpha == "BR" else "m_%s.bmp" % alpha.lower()
        if alpha != "BR":
            maps.append((file, alpha, None))
            media.append((name + ", mapa", 8, file, "Mapa de localização: o país e seus vizinhos."))
        if alpha == "BR":
            flag = "bandbras.bmp"
        elif alpha == "JP":
            flag = "bandjap.bmp"
        elif alpha in FLAGS:
            flag = "b_%s.bmp" % alpha.lower()
            media.append((name + ", bandeira", 2, flag, "A bandeira nacional (desenho ilustrativo)."))
        else:
            flag = "noflag"
        lon, lat = country_centre(outlines[alpha])
        records.append((name, category, flag, file, country_text(c, name), more_text(c, name), marker_place(lon, lat)))
        for regional, country, rfile, bounds, text, (rlon, rlat) in REGIONAL_MAPS:
            if country == alpha:
                maps.append((rfile, alpha, bounds))
                media.append((regional + ", mapa", 8, rfile, rtf(text)))
                records.append((regional, category, flag, rfile, "{\\\\b %s}\\\\par %s" % (rtf(regional), rtf(text)), "",
                                marker_place(rlon, rlat)))

    with open(content + "/data/atlas.tbl", "w", encoding="utf-8") as f:
        f.write("""; The atlas: written by tools/convert-atlas.py from data/paises.tbl (do not edit by hand; change
; the script). The build derives the archive "Atlas", its indexes and the category lists. Each
; item's atlas id is its record number (its position here, from 0).
;   "Nome"       the map's name
;   "Categoria"  1 the world and the continents, 2 Europe, 3 Asia, 4 Africa, 5 North and Central
;                America, 6 South America, 7 Oceania (category 1 has the "BLoc" markers)
;   "Bandeira"   the flag's media file, or "noflag"
;   "Mapa"       the map's media file
;   "Hino"       the anthem's sound, "" for none
;   "Texto"      the country's data in rich text; "Mais" further data, "" for none
;   "X", "Y"     the locator markers' places on the screen: x of the one under the small world
;                map, y of the one beside it
(table
  ("Atlas"
    (list
""")
        for name, category, flag, file, text, more, (x, y) in records:
            f.write('      (table ("Nome" "%s") ("Categoria" %d) ("Bandeira" "%s") ("Mapa" "%s") ("Hino" "")\n'
                    '        ("Texto" "%s")\n        ("Mais" "%s") ("X" %d) ("Y" %d))\n'
                    % (name, category, flag, file, text, more, x, y))
        f.write(")))\n")

    with open(content + "/data/midias-atlas.tbl", "w", encoding="utf-8") as f:
        f.write("""; The atlas's maps (kind 8, drawn by `diskbuild atlas` from maps/formas.tbl) and flags (kind 2,
; drawn by pictures-atlas.tbl). Written by tools/convert-atlas.py; the layout is data/midias.tbl's.
(table
  ("Midias"
    (list
""")
        for name, kind, file, caption in media:
            f.write('      (table ("Nome" "%s") ("Tipo" %d) ("Arquivo" "%s")\n        ("Legenda" "%s") ("Verbetes" ""))\n'
                    % (name, kind, file, caption))
        f.write(")))\n")

    with open(content + "/maps/atlas.tbl", "w", encoding="utf-8") as f:
        f.write("""; The atlas's maps for `diskbuild atlas`: each file's country (its ISO code, "" for a continent)
; and the box shown (west, south, east, north in degrees; none: the country's own, with a margin).
; Written by tools/convert-atlas.py.
(table
  ("Mapas"
    (list
""")
        f.write('      (list "at_loc.bmp" "" (list -180 -90 180 90) %d %d)\n' % (LOCATOR_W, LOCATOR_H))
        for file, alpha, bounds in maps:
            box_text = "(list %s)" % " ".join("%g" % b for b in bounds) if bounds else "nil"
            f.write('      (list "%s" "%s" %s)\n' % (file, alpha, box_text))
        f.write(")))\n")

    with open(content + "/pictures-atlas.tbl", "w", encoding="utf-8") as f:
        f.write("; The atlas's flags, drawn from the descriptions in tools/convert-atlas.py (illustrations in\n")
        f.write("; the flags' proportions of 3:2). Written by that script; the layout is pictures.tbl's.\n(table\n")
        for code in sorted(FLAGS):
            f.write('  ("b_%s.bmp"\n%s)\n' % (code.lower(), flag_description(code)))
        f.write("  ; The atlas's screens: grounds, buttons, markers, menus.\n")
        f.write(screen_pictures())
        f.write(")\n")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit("usage: convert-atlas.py countries-50m.json countries-10m.json codes.json CONTENT")
    main(*sys.argv[1:])
