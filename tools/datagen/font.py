"""Builds data/Vostrel.ttf: TrueType outlines, family "Vostrel", weight 900.

Letters come from glyphs.py as straight-edged outlines; the "%" glyph is one
arm of the emblem, drawn with quadratic curves about the emblem's centre.
"""
from fontTools.agl import UV2AGL
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from shapely.geometry import MultiPolygon, Polygon
from shapely.geometry.polygon import orient

import emblem
from glyphs import CAP_HEIGHT, glyph_shape
from manifest import made_path

UNITS_PER_EM = 1000
SIDE_BEARING = 55
SPACE_ADVANCE = 300
EMBLEM_ADVANCE = 620
WEIGHT_BLACK = 900
FIXED_TIMESTAMP = 0x7C259DC0  # 2001-01-01, seconds since 1904: no build time in the file
FIRST_CODE, LAST_CODE = 32, 126
MIN_EDGE = 4
FAMILY = "Vostrel"


def glyph_name(code):
    return UV2AGL.get(code, f"uni{code:04X}")


def polygons(shape):
    if shape.is_empty:
        return []
    if isinstance(shape, Polygon):
        return [shape]
    if isinstance(shape, MultiPolygon):
        return list(shape.geoms)
    return [g for g in shape.geoms if isinstance(g, Polygon) and not g.is_empty]


def near(a, b):
    return abs(a[0] - b[0]) + abs(a[1] - b[1]) < MIN_EDGE


def draw_ring(pen, coords, dx):
    """Whole design units; slivers shorter than MIN_EDGE (left where strokes are cut to
    the glyph's box) are dropped, since the wire-frame would draw each as a stray rung."""
    points = []
    for x, y in list(coords)[:-1]:
        point = (round(x + dx), round(y))
        if not points or not near(point, points[-1]):
            points.append(point)
    while len(points) > 1 and near(points[0], points[-1]):
        points.pop()
    if len(points) < 3:
        return
    pen.moveTo(points[0])
    for point in points[1:]:
        pen.lineTo(point)
    pen.closePath()


def outline_glyph(shape, dx):
    """TrueType wants outer contours clockwise and holes counter-clockwise."""
    pen = TTGlyphPen(None)
    for polygon in polygons(shape.simplify(1.0, preserve_topology=True)):
        polygon = orient(polygon, sign=-1.0)
        draw_ring(pen, polygon.exterior.coords, dx)
        for hole in polygon.interiors:
            draw_ring(pen, hole.coords, dx)
    return pen.glyph()


def emblem_glyph():
    """One arm, leading edge and trailing edge as runs of off-curve points (TrueType's
    implied on-curve points make them smooth), inner arc likewise."""
    leading, trailing, arc = emblem.arm_edges(12)
    to_units = lambda p: (round(p[0] * UNITS_PER_EM), round(p[1] * UNITS_PER_EM))
    pen = TTGlyphPen(None)
    start = to_units(leading[0])
    tip = to_units(leading[-1])
    inner = to_units(trailing[-1])
    pen.moveTo(start)
    # Clockwise: the arc runs from the trailing edge's inner end to the leading one,
    # so the contour is start -> arc backwards -> trailing edge backwards -> tip -> leading.
    pen.qCurveTo(*[to_units(p) for p in reversed(arc[1:-1])], inner)
    pen.qCurveTo(*[to_units(p) for p in reversed(trailing[1:-1])], tip)
    pen.qCurveTo(*[to_units(p) for p in reversed(leading[1:-1])], start)
    pen.closePath()
    return pen.glyph()


def notdef_glyph():
    pen = TTGlyphPen(None)
    for x0, y0, x1, y1, clockwise in ((50, 0, 450, 700, True), (120, 70, 380, 630, False)):
        corners = [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]
        if not clockwise:
            corners.reverse()
        pen.moveTo(corners[0])
        for corner in corners[1:]:
            pen.lineTo(corner)
        pen.closePath()
    return pen.glyph()


def build_glyphs():
    glyphs = {".notdef": notdef_glyph()}
    advances = {".notdef": 500}
    for code in range(FIRST_CODE, LAST_CODE + 1):
        name = glyph_name(code)
        char = chr(code)
        if char == " ":
            glyphs[name] = TTGlyphPen(None).glyph()
            advances[name] = SPACE_ADVANCE
        elif char == "%":
            glyphs[name] = emblem_glyph()
            advances[name] = EMBLEM_ADVANCE
        else:
            shape, width = glyph_shape(char)
            glyphs[name] = outline_glyph(shape, SIDE_BEARING)
            advances[name] = width + 2 * SIDE_BEARING
    return glyphs, advances


def build_font():
    glyphs, advances = build_glyphs()
    order = list(glyphs)
    builder = FontBuilder(UNITS_PER_EM, isTTF=True)
    builder.setupGlyphOrder(order)
    builder.setupCharacterMap({code: glyph_name(code) for code in range(FIRST_CODE, LAST_CODE + 1)})
    builder.setupGlyf(glyphs)
    glyf = builder.font["glyf"]
    metrics = {}
    for name in order:
        glyph = glyf[name]
        glyph.recalcBounds(glyf)
        metrics[name] = (advances[name], getattr(glyph, "xMin", 0))
    builder.setupHorizontalMetrics(metrics)
    ascent, descent = 900, -250
    builder.setupHorizontalHeader(ascent=ascent, descent=descent)
    builder.setupNameTable({
        "familyName": FAMILY, "styleName": "Regular", "uniqueFontIdentifier": "Vostrel 1.1",
        "fullName": FAMILY, "psName": "Vostrel-Black", "version": "Version 1.100",
        "typographicFamily": FAMILY, "typographicSubfamily": "Black",
        "copyright": "Made for Vostrel ScreenSaver by its own generator.",
    })
    builder.setupOS2(version=4, usWeightClass=WEIGHT_BLACK, usWidthClass=5, sTypoAscender=ascent,
                     sTypoDescender=descent, sTypoLineGap=0, usWinAscent=950, usWinDescent=280,
                     sxHeight=530, sCapHeight=CAP_HEIGHT, achVendID="VSTR", fsType=0,
                     fsSelection=0x00C0, ulUnicodeRange1=1, ulCodePageRange1=1)
    builder.setupPost()
    builder.setupHead(unitsPerEm=UNITS_PER_EM, created=FIXED_TIMESTAMP,
                      modified=FIXED_TIMESTAMP, fontRevision=1.1)
    font = builder.font
    font.recalcTimestamp = False
    return font


def write_font(install_dir):
    path = made_path(install_dir, "OutlineFont")
    build_font().save(str(path))
    return path

