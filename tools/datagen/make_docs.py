"""Makes the pictures of docs/data-folder.md from a freshly generated data folder.

    make_docs.py DOCS_DIR

The emblem picture is drawn two ways: filled by FreeType (Pillow's renderer) from
Vostrel.ttf with the three copies placed as the show places them, and as the
show's wire-frame (each contour at z = 0 and z = -0.1, joined at every point) under
its 45-degree perspective, so a change of the glyph shows up here first.
"""
import argparse
import math
import pathlib
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

import numpy as np  # noqa: E402
from fontTools.pens.basePen import BasePen  # noqa: E402
from fontTools.ttLib import TTFont  # noqa: E402
from PIL import Image, ImageChops, ImageDraw, ImageFont  # noqa: E402

import emblem  # noqa: E402
from make_data import make_data  # noqa: E402
from manifest import made_path  # noqa: E402
from pictures import save_png  # noqa: E402

EXTRUSION = 0.1
EMBLEM_SHIFT = (-0.117, -0.0215, -2.0)
FIELD_OF_VIEW = 45.0
VIEW = (640, 480)
BACKGROUND = (40, 40, 48)


class FlatteningPen(BasePen):
    """Collects a glyph's contours as point lists in em units, curves cut in steps."""

    def __init__(self, glyph_set, units_per_em, steps=8):
        super().__init__(glyph_set)
        self.scale = 1.0 / units_per_em
        self.steps = steps
        self.contours = []

    def _moveTo(self, point):
        self.contours.append([self._em(point)])

    def _lineTo(self, point):
        self.contours[-1].append(self._em(point))

    def _qCurveToOne(self, control, point):
        start = np.array(self.contours[-1][-1])
        c, end = np.array(self._em(control)), np.array(self._em(point))
        for i in range(1, self.steps + 1):
            t = i / self.steps
            point = (1 - t) ** 2 * start + 2 * (1 - t) * t * c + t * t * end
            self.contours[-1].append(tuple(point))

    def _closePath(self):
        pass

    def _em(self, point):
        return (point[0] * self.scale, point[1] * self.scale)


def glyph_contours(font, char):
    name = font.getBestCmap()[ord(char)]
    glyph_set = font.getGlyphSet()
    pen = FlatteningPen(glyph_set, font["head"].unitsPerEm)
    glyph_set[name].draw(pen)
    return pen.contours, glyph_set[name].width / font["head"].unitsPerEm


def turn_z(degrees):
    a = math.radians(degrees)
    return np.array([[math.cos(a), -math.sin(a), 0, 0], [math.sin(a), math.cos(a), 0, 0],
                     [0, 0, 1, 0], [0, 0, 0, 1]])


def move(x, y, z):
    m = np.eye(4)
    m[:3, 3] = (x, y, z)
    return m


def project(point, transform):
    x, y, z, _ = transform @ np.array([point[0], point[1], point[2], 1.0])
    focal = VIEW[1] / 2 / math.tan(math.radians(FIELD_OF_VIEW / 2))
    return (VIEW[0] / 2 + focal * x / -z, VIEW[1] / 2 - focal * y / -z)


def draw_wire(draw, contours, transform, colour):
    for contour in contours:
        for depth in (0.0, -EXTRUSION):
            points = [project((x, y, depth), transform) for x, y in contour]
            draw.line(points + points[:1], fill=colour, width=1)
        for x, y in contour:
            draw.line([project((x, y, 0.0), transform), project((x, y, -EXTRUSION), transform)],
                      fill=colour, width=1)


def emblem_wireframe(font, angle, caption=None):
    picture = Image.new("RGB", VIEW, (0, 0, 0))
    draw = ImageDraw.Draw(picture)
    if caption:
        pen = move(-2.8, -0.25, -5.1)
        for char in caption:
            contours, advance = glyph_contours(font, char)
            draw_wire(draw, contours, pen, (150, 170, 230))
            pen = pen @ move(advance, 0, 0)
    contours, _ = glyph_contours(font, "%")
    base = turn_z(angle) @ move(*EMBLEM_SHIFT)
    colours = ((255, 210, 120), (255, 150, 90), (140, 190, 255))
    for (dx, dy, degrees), colour in zip(emblem.PLACEMENTS, colours):
        draw_wire(draw, contours, base @ move(dx, dy, 0) @ turn_z(degrees), colour)
    return picture


def emblem_filled(font_path, size=480, em=420):
    """FreeType's own rendering of '%', three times, turned about each pen origin."""
    font = ImageFont.truetype(str(font_path), em)
    centre = (size / 2, size / 2)
    picture = Image.new("L", (size, size), 0)
    for dx, dy, degrees in emblem.PLACEMENTS:
        layer = Image.new("L", (size, size), 0)
        origin = (centre[0] + (EMBLEM_SHIFT[0] + dx) * em, centre[1] - (EMBLEM_SHIFT[1] + dy) * em)
        ImageDraw.Draw(layer).text(origin, "%", font=font, fill=255, anchor="ls")
        picture = ImageChops.lighter(picture, layer.rotate(degrees, center=origin,
                                                           resample=Image.BICUBIC))
    return picture.convert("RGB")


def contact_sheet(pictures, columns, cell, labels):
    rows = (len(pictures) + columns - 1) // columns
    sheet = Image.new("RGB", (columns * (cell + 12) + 12, rows * (cell + 34) + 12), BACKGROUND)
    draw = ImageDraw.Draw(sheet)
    for index, (picture, label) in enumerate(zip(pictures, labels)):
        x = 12 + (index % columns) * (cell + 12)
        y = 12 + (index // columns) * (cell + 34)
        picture = picture.convert("RGB")
        picture.thumbnail((cell, cell))
        sheet.paste(picture, (x, y))
        draw.text((x, y + cell + 6), label, fill=(230, 230, 230))
    return sheet


def specimen(font_path):
    font = ImageFont.truetype(str(font_path), 56)
    lines = ["ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz",
             "0123456789 !\"#$&'()*+,-./:;<=>?@[\\]^_`{|}~",
             "THIS IS WHEN IT ALL BEGAN", "FIVE FOUR THREE TWO ONE  CRITICAL COLLAPSE"]
    picture = Image.new("RGB", (1600, 90 * len(lines) + 30), (0, 0, 0))
    draw = ImageDraw.Draw(picture)
    for index, line in enumerate(lines):
        draw.text((24, 80 + index * 90), line, font=font, fill=(255, 255, 255), anchor="ls")
    return picture


def credits_preview(sheet_path):
    """Lines set as the show sets them: 16 x 16-unit glyph quads advancing 14 units in a
    640 x 480 space, added onto black."""
    sheet = np.asarray(Image.open(sheet_path).convert("L"), dtype=np.float64)
    cell = sheet.shape[1] // 16
    lines = ["-= The credits roll =-", "----------------------", " ",
             "Glyphs 16 units wide, 14 apart:", "Sphinx of black quartz, judge my vow!",
             "0123456789 (+-*/=) [<>] {~} #$&@ ^_`|", " ", "Made by our own generators."]
    canvas = np.zeros((480, 640))
    for row, text in enumerate(lines):
        y = 40 + row * 16
        for column, char in enumerate(text):
            index = ord(char) - 32
            glyph = sheet[(index // 16) * cell:(index // 16 + 1) * cell,
                          (index % 16) * cell:(index % 16 + 1) * cell]
            glyph = np.asarray(Image.fromarray(glyph.astype(np.uint8)).resize((16, 16),
                                                                          Image.BILINEAR))
            x = 2 + column * 14
            canvas[y:y + 16, x:x + 16] += glyph[:, :max(0, min(16, 640 - x))]
    return Image.fromarray(np.clip(canvas, 0, 255).astype(np.uint8)).convert("RGB")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("docs_dir", type=pathlib.Path)
    args = parser.parse_args()
    args.docs_dir.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        install = pathlib.Path(scratch)
        make_data(install)
        font_path = made_path(install, "OutlineFont")
        font = TTFont(str(font_path))
        roles = ["StarTexture", "SunTexture", "FireTexture", "StelleTexture", "Stelle2Texture",
                 "EnvTexture", "FrontTexture", "FontTexture"]
        paths = [made_path(install, role) for role in roles]
        shown = [Image.open(path) for path in paths]
        labels = [path.name for path in paths]
        front = roles.index("FrontTexture")
        shown[front] = shown[front].transpose(Image.FLIP_TOP_BOTTOM)
        labels[front] += " (as the preview shows it)"
        save_png(contact_sheet(shown, 4, 256, labels), args.docs_dir / "textures.png")
        gifs = [made_path(install, role) for role in ("Icon", "GreyLogo", "Shadow", "Title")]
        save_png(contact_sheet([Image.open(path) for path in gifs], 4, 256,
                               [path.name for path in gifs]),
                 args.docs_dir / "gifs.png")
        wires = [emblem_wireframe(font, 0), emblem_wireframe(font, 75, caption="VOSTREL")]
        save_png(contact_sheet([emblem_filled(font_path)] + wires, 3, 480,
                               ["'%' x 3, FreeType", "wire-frame, angle 0",
                                "wire-frame, angle 75, with VOSTREL"]),
                 args.docs_dir / "emblem.png")
        save_png(specimen(font_path), args.docs_dir / "font.png")
        save_png(credits_preview(made_path(install, "FontTexture")), args.docs_dir / "credits.png")


if __name__ == "__main__":
    main()
