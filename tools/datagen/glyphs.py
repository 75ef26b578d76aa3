"""Glyph shapes of the Vostrel face: a black, chamfered geometric display design.

Each glyph is drawn as centre lines of a constant heavy stroke; the strokes are
thickened with mitred joins and flat ends, merged into clean outlines and cut
to the glyph's box, so every letter is a few simple contours with straight
edges: that keeps the extruded wire-frame letters of the show crisp. Lower case
is set as small capitals, which suits a display face and keeps all letters on
the baseline.
"""
from shapely.affinity import rotate, scale
from shapely.geometry import LineString, Polygon, box
from shapely.ops import unary_union

STROKE = 150
CAP_HEIGHT = 700
SMALL_HEIGHT = 530
SMALL_WIDTH = 0.88
CHAMFER = 120
ABOVE = 760
BELOW = -130


class Pen:
    """Builds one glyph inside its ink box [0, w] x [0, h]."""

    def __init__(self, w, h, stroke=STROKE):
        self.w, self.h, self.s = w, h, stroke
        half = stroke / 2
        self.L, self.R, self.B, self.T = half, w - half, half, h - half
        self.M = h / 2
        self.c = CHAMFER * min(1.0, h / CAP_HEIGHT)
        self.parts = []
        self.clip = (0, 0, w, h)

    def line(self, *points, stroke=None):
        width = (stroke or self.s) / 2
        self.parts.append(LineString(points).buffer(width, cap_style=2, join_style=2,
                                                    mitre_limit=4.0))

    def ring(self, *points, stroke=None):
        width = (stroke or self.s) / 2
        outer = Polygon(points).buffer(width, join_style=2, mitre_limit=4.0)
        inner = Polygon(points).buffer(-width, join_style=2, mitre_limit=4.0)
        self.parts.append(outer.difference(inner))

    def solid(self, *points):
        self.parts.append(Polygon(points))

    def rect(self, x0, y0, x1, y1):
        self.parts.append(box(x0, y0, x1, y1))

    def octagon(self, x0, y0, x1, y1, c=None):
        c = self.c if c is None else c
        return [(x0 + c, y0), (x1 - c, y0), (x1, y0 + c), (x1, y1 - c), (x1 - c, y1),
                (x0 + c, y1), (x0, y1 - c), (x0, y0 + c)]

    def shape(self):
        merged = unary_union(self.parts)
        return merged.intersection(box(*self.clip))


def mirrored(shape, w):
    return scale(shape, xfact=-1, yfact=1, origin=(w / 2, 0))


def turned(shape, w, h):
    return rotate(shape, 180, origin=(w / 2, h / 2))


# Letters: each function draws into a Pen of the given size. -------------------------


def letter_a(p):
    p.line((p.L, -200), (p.L, p.T - p.c), (p.L + p.c, p.T), (p.R - p.c, p.T),
           (p.R, p.T - p.c), (p.R, -200))
    p.line((p.L, p.M - 20), (p.R, p.M - 20))


def letter_b(p):
    top = p.R - 40
    mid = p.M + 10
    p.line((p.L, -10), (p.L, p.h + 10))
    p.line((p.L, p.T), (top - p.c * 0.7, p.T), (top, p.T - p.c * 0.7), (top, mid + p.c * 0.5),
           (top - p.c * 0.5, mid), (p.L, mid))
    p.line((p.L, mid), (p.R - p.c * 0.7, mid), (p.R, mid - p.c * 0.7), (p.R, p.B + p.c),
           (p.R - p.c, p.B), (p.L, p.B))


def letter_c(p):
    p.line((p.w + 50, p.T), (p.L + p.c, p.T), (p.L, p.T - p.c), (p.L, p.B + p.c),
           (p.L + p.c, p.B), (p.w + 50, p.B))


def letter_d(p):
    p.ring((p.L, p.B), (p.R - p.c, p.B), (p.R, p.B + p.c), (p.R, p.T - p.c),
           (p.R - p.c, p.T), (p.L, p.T))


def letter_e(p):
    p.line((p.w + 50, p.T), (p.L, p.T), (p.L, p.B), (p.w + 50, p.B))
    p.line((p.L, p.M), (p.w - 50, p.M))


def letter_f(p):
    p.line((p.w + 50, p.T), (p.L, p.T), (p.L, -50))
    p.line((p.L, p.M - 10), (p.w - 50, p.M - 10))


def letter_g(p):
    p.line((p.w + 50, p.T), (p.L + p.c, p.T), (p.L, p.T - p.c), (p.L, p.B + p.c),
           (p.L + p.c, p.B), (p.R, p.B), (p.R, p.M - 10), (p.w * 0.48, p.M - 10))


def letter_h(p):
    p.line((p.L, -50), (p.L, p.h + 50))
    p.line((p.R, -50), (p.R, p.h + 50))
    p.line((p.L, p.M), (p.R, p.M))


def letter_i(p):
    p.line((p.L, -50), (p.L, p.h + 50))


def letter_j(p):
    p.line((p.R, p.h + 50), (p.R, p.B + p.c), (p.R - p.c, p.B), (p.L, p.B), (p.L, p.h * 0.36))


def letter_k(p):
    p.line((p.L, -50), (p.L, p.h + 50))
    p.line((p.L, p.M - 30), (p.w + 90, p.h + 160))
    p.line((p.L + p.s * 0.9, p.M + 40), (p.w + 90, -160))


def letter_l(p):
    p.line((p.L, p.h + 50), (p.L, p.B), (p.w + 50, p.B))


def letter_m(p):
    p.line((p.L, -50), (p.L, p.h + 50))
    p.line((p.R, -50), (p.R, p.h + 50))
    p.line((p.L - 20, p.h + 40), (p.w / 2, p.M - 70))
    p.line((p.R + 20, p.h + 40), (p.w / 2, p.M - 70))


def letter_n(p):
    p.line((p.L, -50), (p.L, p.h + 50))
    p.line((p.R, -50), (p.R, p.h + 50))
    p.line((p.L - 10, p.h + 60), (p.R + 10, -60))


def letter_o(p):
    p.ring(*p.octagon(p.L, p.B, p.R, p.T))


def letter_p(p):
    mid = p.M - 30
    p.line((p.L, -50), (p.L, p.h + 50))
    p.line((p.L, p.T), (p.R - p.c, p.T), (p.R, p.T - p.c), (p.R, mid + p.c * 0.7),
           (p.R - p.c * 0.7, mid), (p.L, mid))


def letter_q(p):
    letter_o(p)
    p.line((p.w * 0.55, p.B + p.h * 0.22), (p.w + 60, -140))
    p.clip = (0, -90, p.w + 40, p.h)


def letter_r(p):
    letter_p(p)
    p.line((p.w * 0.42, p.M - 30), (p.w + 80, -140))


def letter_s(p):
    k = p.c * 0.6
    p.line((p.w + 50, p.T), (p.L + p.c, p.T), (p.L, p.T - p.c), (p.L, p.M + k),
           (p.L + k, p.M), (p.R - k, p.M), (p.R, p.M - k), (p.R, p.B + p.c),
           (p.R - p.c, p.B), (-50, p.B))


def letter_t(p):
    p.line((-50, p.T), (p.w + 50, p.T))
    p.line((p.w / 2, -50), (p.w / 2, p.T))


def letter_u(p):
    p.line((p.L, p.h + 50), (p.L, p.B + p.c), (p.L + p.c, p.B), (p.R - p.c, p.B),
           (p.R, p.B + p.c), (p.R, p.h + 50))


def letter_v(p):
    p.line((p.L - 20, p.h + 80), (p.w / 2, -90))
    p.line((p.R + 20, p.h + 80), (p.w / 2, -90))


def letter_w(p):
    letter_u(p)
    p.line((p.w / 2, p.B), (p.w / 2, p.h * 0.72))


def letter_x(p):
    p.line((p.L - 30, p.h + 60), (p.R + 30, -60))
    p.line((p.R + 30, p.h + 60), (p.L - 30, -60))


def letter_y(p):
    p.line((p.L - 30, p.h + 80), (p.w / 2, p.M - 30))
    p.line((p.R + 30, p.h + 80), (p.w / 2, p.M - 30))
    p.line((p.w / 2, -50), (p.w / 2, p.M - 30))


def letter_z(p):
    p.line((-50, p.T), (p.w + 50, p.T))
    p.line((-50, p.B), (p.w + 50, p.B))
    p.line((p.R, p.T - 20), (p.L, p.B + 20))


LETTERS = {
    "A": (letter_a, 620), "B": (letter_b, 620), "C": (letter_c, 580), "D": (letter_d, 630),
    "E": (letter_e, 540), "F": (letter_f, 530), "G": (letter_g, 620), "H": (letter_h, 630),
    "I": (letter_i, STROKE), "J": (letter_j, 540), "K": (letter_k, 610), "L": (letter_l, 520),
    "M": (letter_m, 760), "N": (letter_n, 640), "O": (letter_o, 640), "P": (letter_p, 600),
    "Q": (letter_q, 640), "R": (letter_r, 620), "S": (letter_s, 590), "T": (letter_t, 580),
    "U": (letter_u, 630), "V": (letter_v, 660), "W": (letter_w, 820), "X": (letter_x, 640),
    "Y": (letter_y, 640), "Z": (letter_z, 580),
}


# Digits. ------------------------------------------------------------------------------


def digit_0(p):
    p.ring(*p.octagon(p.L, p.B, p.R, p.T))
    p.line((p.L + 60, p.B + 110), (p.R - 60, p.T - 110), stroke=p.s * 0.6)


def digit_1(p):
    x = p.w - p.s / 2
    p.line((x, -50), (x, p.h + 50))
    p.line((x, p.T - 10), (0, p.T - 190))
    p.clip = (0, 0, p.w, p.h)


def digit_2(p):
    k = p.c * 0.6
    p.line((-50, p.T), (p.R - p.c, p.T), (p.R, p.T - p.c), (p.R, p.M + k), (p.R - k, p.M),
           (p.L + k, p.M), (p.L, p.M - k), (p.L, p.B), (p.w + 50, p.B))


def digit_3(p):
    k = p.c * 0.6
    p.line((-50, p.T), (p.R - p.c, p.T), (p.R, p.T - p.c), (p.R, p.M + k), (p.R - k, p.M),
           (p.R, p.M - k), (p.R, p.B + p.c), (p.R - p.c, p.B), (-50, p.B))
    p.line((p.R - k, p.M), (p.w * 0.3, p.M))


def digit_4(p):
    x = p.R - 20
    p.line((x, -50), (x, p.h + 50))
    p.line((p.L, p.h + 50), (p.L, p.M - 60), (p.w + 50, p.M - 60))


def digit_5(p):
    top = p.M + 40
    p.line((p.w + 50, p.T), (p.L, p.T), (p.L, top), (p.R - p.c, top), (p.R, top - p.c),
           (p.R, p.B + p.c), (p.R - p.c, p.B), (-50, p.B))


def digit_6(p):
    k = p.c * 0.7
    top = p.M + 30
    p.line((p.w + 50, p.T), (p.L + p.c, p.T), (p.L, p.T - p.c), (p.L, p.B + p.c),
           (p.L + p.c, p.B), (p.R - p.c, p.B), (p.R, p.B + p.c), (p.R, top - k),
           (p.R - k, top), (p.L, top))


def digit_7(p):
    p.line((-50, p.T), (p.R, p.T))
    p.line((p.R, p.T), (p.w * 0.28, -100))
    p.line((p.R, p.T + 60), (p.R, p.T - 40))


def digit_8(p):
    mid = p.M + 20
    p.ring(*p.octagon(p.L + 25, mid, p.R - 25, p.T, p.c * 0.7))
    p.ring(*p.octagon(p.L, p.B, p.R, mid))


def digit_9(p):
    digit_6(p)
    p.parts = [turned(unary_union(p.parts), p.w, p.h)]


DIGITS = {
    "0": (digit_0, 580), "1": (digit_1, 420), "2": (digit_2, 570), "3": (digit_3, 560),
    "4": (digit_4, 600), "5": (digit_5, 570), "6": (digit_6, 580), "7": (digit_7, 550),
    "8": (digit_8, 590), "9": (digit_9, 580),
}


# Punctuation and symbols, drawn at cap height. ------------------------------------------


def mark_exclam(p):
    p.line((p.L, p.h + 50), (p.L, 250))
    p.rect(0, 0, p.s, p.s)


def mark_quotedbl(p):
    p.line((p.L, p.h + 50), (p.L, p.h - 230), stroke=p.s * 0.8)
    p.line((p.R, p.h + 50), (p.R, p.h - 230), stroke=p.s * 0.8)


def mark_numbersign(p):
    thin = p.s * 0.7
    for x in (p.w * 0.32, p.w * 0.68):
        p.line((x - 40, 40), (x + 40, p.h - 40), stroke=thin)
    for y in (p.h * 0.34, p.h * 0.66):
        p.line((0, y), (p.w, y), stroke=thin)


def mark_dollar(p):
    inner = Pen(p.w, p.h, p.s * 0.85)
    inner.B, inner.T = p.s * 0.85 / 2 + 60, p.h - p.s * 0.85 / 2 - 60
    inner.M = p.h / 2
    letter_s(inner)
    p.parts.append(inner.shape())
    p.line((p.w / 2, -120), (p.w / 2, 40), stroke=p.s * 0.7)
    p.line((p.w / 2, p.h - 40), (p.w / 2, p.h + 80), stroke=p.s * 0.7)
    p.clip = (0, -100, p.w, p.h + 60)


def mark_ampersand(p):
    mid = p.M + 40
    p.ring(*p.octagon(p.L + 30, mid, p.R - 150, p.T, p.c * 0.6))
    p.line((p.R - 20, mid - 40), (p.R - 20, p.B + p.c), (p.R - 20 - p.c, p.B),
           (p.L + p.c, p.B), (p.L, p.B + p.c), (p.L, mid - 30))
    p.line((p.L + 60, mid), (p.w + 80, -90))
    p.line((p.R - 20, mid - 40), (p.w + 40, mid - 40))


def mark_quotesingle(p):
    p.line((p.L, p.h + 50), (p.L, p.h - 230), stroke=p.s * 0.8)


def mark_parenleft(p):
    top, bottom = ABOVE - p.s / 2, BELOW + p.s / 2
    p.line((p.w + 50, top), (p.L + p.c, top), (p.L, top - p.c), (p.L, bottom + p.c),
           (p.L + p.c, bottom), (p.w + 50, bottom))
    p.clip = (0, BELOW, p.w, ABOVE)


def mark_parenright(p):
    mark_parenleft(p)
    p.parts = [mirrored(p.shape(), p.w)]


def mark_asterisk(p):
    cx, cy, arm = p.w / 2, p.h - 200, 200
    for angle in (0, 60, 120):
        stroke = LineString([(cx, cy - arm), (cx, cy + arm)])
        p.parts.append(rotate(stroke, angle, origin=(cx, cy)).buffer(
            p.s * 0.27, cap_style=2, join_style=2))


def mark_plus(p):
    cy = 330
    p.line((0, cy), (p.w, cy))
    p.line((p.w / 2, cy - p.w / 2), (p.w / 2, cy + p.w / 2))


def mark_comma(p):
    p.solid((0, p.s), (p.s, p.s), (p.s, -20), (p.s * 0.35, -170), (0, -170), (p.s * 0.3, 0),
            (0, 0))
    p.clip = (0, -170, p.w, p.h)


def mark_hyphen(p):
    p.line((0, 320), (p.w, 320))


def mark_period(p):
    p.rect(0, 0, p.s, p.s)


def mark_slash(p):
    p.line((-60, -120), (p.w + 60, p.h + 120))


def mark_colon(p):
    p.rect(0, 0, p.s, p.s)
    p.rect(0, 420, p.s, 420 + p.s)


def mark_semicolon(p):
    mark_comma(p)
    p.rect(0, 420, p.s, 420 + p.s)


def mark_less(p):
    cy = 330
    p.line((p.w + 60, cy + 280), (p.L, cy), (p.w + 60, cy - 280))


def mark_equal(p):
    p.line((0, 230), (p.w, 230), stroke=p.s * 0.85)
    p.line((0, 450), (p.w, 450), stroke=p.s * 0.85)


def mark_greater(p):
    mark_less(p)
    p.parts = [mirrored(p.shape(), p.w)]


def mark_question(p):
    k = p.c * 0.6
    p.line((-50, p.T), (p.R - p.c, p.T), (p.R, p.T - p.c), (p.R, p.M + k), (p.R - k, p.M),
           (p.w / 2, p.M), (p.w / 2, 250))
    p.rect(p.w / 2 - p.s / 2, 0, p.w / 2 + p.s / 2, p.s)


def mark_at(p):
    thin = p.s * 0.7
    half = thin / 2
    p.line((p.w + 50, half), (p.c + half, half), (half, p.c + half), (half, p.h - p.c - half),
           (p.c + half, p.h - half), (p.w - p.c - half, p.h - half),
           (p.w - half, p.h - p.c - half), (p.w - half, 170), stroke=thin)
    x0, y0, x1, y1 = p.w * 0.33, 210, p.w - half, p.h * 0.66
    p.line((x1, y1), (x0, y1), (x0, y0), (x1, y0), stroke=thin)


def mark_bracketleft(p):
    top, bottom = ABOVE - p.s / 2, BELOW + p.s / 2
    p.line((p.w + 50, top), (p.L, top), (p.L, bottom), (p.w + 50, bottom))
    p.clip = (0, BELOW, p.w, ABOVE)


def mark_backslash(p):
    mark_slash(p)
    p.parts = [mirrored(p.shape(), p.w)]


def mark_bracketright(p):
    mark_bracketleft(p)
    p.parts = [mirrored(p.shape(), p.w)]


def mark_asciicircum(p):
    p.line((0, p.h * 0.45), (p.w / 2, p.h + 30), (p.w, p.h * 0.45), stroke=p.s * 0.8)
    p.clip = (0, 0, p.w, p.h)


def mark_underscore(p):
    p.rect(0, BELOW, p.w, BELOW + p.s * 0.8)
    p.clip = (0, BELOW, p.w, p.h)


def mark_grave(p):
    p.line((0, p.h + 20), (p.w, p.h - 160), stroke=p.s * 0.8)


def mark_braceleft(p):
    top, bottom = ABOVE - p.s / 2, BELOW + p.s / 2
    x = p.w * 0.5
    p.line((p.w + 50, top), (x, top), (x, 340), (-50, 300), (x, 260), (x, bottom),
           (p.w + 50, bottom), stroke=p.s * 0.85)
    p.clip = (0, BELOW, p.w, ABOVE)


def mark_bar(p):
    p.line((p.L, BELOW), (p.L, ABOVE))
    p.clip = (0, BELOW, p.w, ABOVE)


def mark_braceright(p):
    mark_braceleft(p)
    p.parts = [mirrored(p.shape(), p.w)]


def mark_asciitilde(p):
    p.line((0, 300), (p.w * 0.3, 400), (p.w * 0.7, 260), (p.w, 360), stroke=p.s * 0.75)


MARKS = {
    "!": (mark_exclam, STROKE), '"': (mark_quotedbl, 380), "#": (mark_numbersign, 640),
    "$": (mark_dollar, 590), "&": (mark_ampersand, 680), "'": (mark_quotesingle, STROKE),
    "(": (mark_parenleft, 300), ")": (mark_parenright, 300), "*": (mark_asterisk, 460),
    "+": (mark_plus, 520), ",": (mark_comma, STROKE), "-": (mark_hyphen, 380),
    ".": (mark_period, STROKE), "/": (mark_slash, 480), ":": (mark_colon, STROKE),
    ";": (mark_semicolon, STROKE), "<": (mark_less, 460), "=": (mark_equal, 520),
    ">": (mark_greater, 460), "?": (mark_question, 540), "@": (mark_at, 760),
    "[": (mark_bracketleft, 300), "\\": (mark_backslash, 480), "]": (mark_bracketright, 300),
    "^": (mark_asciicircum, 520), "_": (mark_underscore, 560), "`": (mark_grave, 260),
    "{": (mark_braceleft, 320), "|": (mark_bar, STROKE), "}": (mark_braceright, 320),
    "~": (mark_asciitilde, 560),
}


def glyph_shape(char):
    """The ink of one glyph (a shapely geometry) and its ink width; None for '%' and ' '."""
    if char in LETTERS:
        draw, width = LETTERS[char]
        height = CAP_HEIGHT
    elif char.upper() in LETTERS and char.islower():
        draw, width = LETTERS[char.upper()]
        height = SMALL_HEIGHT
        if width > STROKE:
            width = round(width * SMALL_WIDTH)
    elif char in DIGITS:
        draw, width = DIGITS[char]
        height = CAP_HEIGHT
    elif char in MARKS:
        draw, width = MARKS[char]
        height = CAP_HEIGHT
    else:
        return None, 0
    pen = Pen(width, height)
    draw(pen)
    return pen.shape(), width
