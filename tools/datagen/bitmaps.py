"""Pictures made from the Vostrel design: the credits font sheet, the product
logo, the four small GIFs, the dialog picture, the program icon and the Windows
installer's two pictures.

Everything is drawn four times too large and scaled down, which gives clean
anti-aliased edges without depending on the rasteriser's own smoothing.
"""
import numpy as np
from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

import emblem
from manifest import made_path
from noise import smoothstep
from pictures import save_jpeg, save_png
from textures import make_starfield, make_sun

OVERSAMPLE = 4
FONT_SHEET_COLUMNS, FONT_SHEET_ROWS = 16, 8
FONT_CELL = 32
FONT_CELL_MARGIN = 4
FONT_EM = 32
FONT_BASELINE = 26
FIRST_SHEET_CODE, LAST_SHEET_CODE = 32, 126


def emblem_mask(size, centre, diameter):
    """The three arms filled, as an 'L' picture, spanning about `diameter` pixels."""
    big = size * OVERSAMPLE
    layer = Image.new("L", (big, big), 0)
    draw = ImageDraw.Draw(layer)
    leading, trailing, arc = emblem.arm_edges(48)
    arm = leading + trailing[1:] + arc[1:]
    fitted = emblem.emblem_centre()
    scale = diameter / (2 * emblem.OUTER_RADIUS) * OVERSAMPLE
    for copy in emblem.placed_copies(arm):
        draw.polygon([(centre[0] * OVERSAMPLE + (x - fitted[0]) * scale,
                       centre[1] * OVERSAMPLE - (y - fitted[1]) * scale) for x, y in copy],
                     fill=255)
    return layer.resize((size, size), Image.LANCZOS)


def glowing(mask, inner, outer, glow_radius):
    """Colours a mask from inner (centre) to outer (rim) colour and adds a soft halo."""
    size = mask.size[0]
    axis = np.arange(size) - size / 2 + 0.5
    x, y = np.meshgrid(axis, axis)
    r = np.clip(np.hypot(x, y) / (size / 2), 0, 1)
    r = r[..., None]
    shade = np.array(inner, dtype=float) * (1 - r) + np.array(outer, dtype=float) * r
    body = np.asarray(mask, dtype=float)[..., None] / 255.0 * shade
    halo = np.asarray(mask.filter(ImageFilter.GaussianBlur(glow_radius)), dtype=float) / 255.0
    glow = halo[..., None] * np.array(outer, dtype=float) * 0.8
    return np.clip(body + glow * (1 - np.asarray(mask, float)[..., None] / 255.0), 0, 255)


def text_layer(size, text, font_path, em, position, anchor="ms"):
    big = (size[0] * OVERSAMPLE, size[1] * OVERSAMPLE)
    layer = Image.new("L", big, 0)
    font = ImageFont.truetype(str(font_path), round(em * OVERSAMPLE))
    ImageDraw.Draw(layer).text((position[0] * OVERSAMPLE, position[1] * OVERSAMPLE), text,
                               font=font, fill=255, anchor=anchor)
    return layer.resize(size, Image.LANCZOS)


def font_cell(font, char):
    """One glyph in a cell of its own, centred, squeezed sideways if it would reach into
    the two units that the show overlaps with each neighbour."""
    big = FONT_CELL * OVERSAMPLE
    widest = (FONT_CELL - 2 * FONT_CELL_MARGIN) * OVERSAMPLE
    layer = Image.new("L", (big * 2, big), 0)
    ImageDraw.Draw(layer).text((big // 2, FONT_BASELINE * OVERSAMPLE), char, font=font,
                               fill=255, anchor="ls")
    x0, _, x1, _ = layer.getbbox()
    ink = layer.crop((x0, 0, x1, big))
    if ink.width > widest:
        ink = ink.resize((widest, big), Image.LANCZOS)
    cell = Image.new("L", (big, big), 0)
    cell.paste(ink, ((big - ink.width) // 2, 0))
    return cell.resize((FONT_CELL, FONT_CELL), Image.LANCZOS)


def make_font_sheet(font_path):
    """16 x 8 cells, glyph 32 + i in column i % 16, row i / 16 from the top; codes 32 to
    126 in the top six rows, the emblem in place of '%', the rest black."""
    sheet = Image.new("L", (FONT_SHEET_COLUMNS * FONT_CELL, FONT_SHEET_ROWS * FONT_CELL), 0)
    font = ImageFont.truetype(str(font_path), FONT_EM * OVERSAMPLE)
    for code in range(FIRST_SHEET_CODE + 1, LAST_SHEET_CODE + 1):
        index = code - FIRST_SHEET_CODE
        if chr(code) == "%":
            cell = emblem_mask(FONT_CELL, (FONT_CELL / 2, FONT_CELL / 2 - 2), FONT_CELL * 0.66)
        else:
            cell = font_cell(font, chr(code))
        sheet.paste(cell, ((index % FONT_SHEET_COLUMNS) * FONT_CELL,
                           (index // FONT_SHEET_COLUMNS) * FONT_CELL))
    return sheet.convert("RGB")


def make_front(font_path, size=512):
    """The product logo: the emblem above the word VOSTREL, on black, upright. The preview
    draws the picture larger than its window and shows only rows 11% to 84% of it (the quad
    of half-size 0.2 seen from 0.35 away with a 45-degree view, moved down by 0.01), so the
    logo keeps within them."""
    mask = emblem_mask(size, (size / 2, size * 0.37), size * 0.48)
    picture = glowing(mask, (255, 250, 225), (255, 140, 40), size / 40)
    word = text_layer((size, size), "VOSTREL", font_path, size * 0.15, (size / 2, size * 0.785))
    word_rgb = np.asarray(word, float)[..., None] / 255.0
    axis = np.linspace(0, 1, size)[:, None, None]
    silver = np.array([235.0, 240.0, 255.0]) * (1 - 0.35 * smoothstep(0.67, 0.80, axis))
    picture = np.maximum(picture, word_rgb * silver)
    index = np.arange(size)
    to_edge = np.minimum(index, size - 1 - index)
    far = np.minimum(to_edge[:, None], to_edge[None, :])
    return np.clip(picture * smoothstep(4, 20, far)[..., None], 0, 255)


def logo_banner(font_path, size, grey):
    width, height = size
    mask = emblem_mask(height, (height / 2, height / 2), height * 0.92)
    picture = Image.new("L", size, 0)
    picture.paste(mask, (0, 0))
    word = text_layer(size, "VOSTREL", font_path, height * 0.62, (height * 1.05, height * 0.74),
                      anchor="ls")
    picture = ImageChops.lighter(picture, word)
    if grey:
        return picture
    return Image.merge("RGB", (picture, picture.point(lambda v: v * 200 // 255),
                               picture.point(lambda v: v * 90 // 255)))


def make_icon(size):
    """The emblem on a transparent ground: the glow becomes the alpha channel."""
    mask = emblem_mask(size, (size / 2, size / 2), size * 0.94)
    rgb = glowing(mask, (255, 250, 225), (255, 140, 40), max(size / 24, 0.6))
    alpha = np.max(rgb, axis=2)
    colour = rgb * 255.0 / np.maximum(alpha, 1.0)[..., None]
    rgba = np.dstack([colour, alpha])
    return Image.fromarray(np.rint(np.clip(rgba, 0, 255)).astype(np.uint8), "RGBA")


def make_shadow():
    """A soft drop shadow strip: dark in the middle, fading to the page colour."""
    axis = np.linspace(-1, 1, 256)
    x, y = np.meshgrid(axis, np.linspace(-1, 1, 32))
    depth = (1 - smoothstep(0.6, 1.0, np.abs(x))) * (1 - smoothstep(0.0, 1.0, np.abs(y)))
    return Image.fromarray(np.rint(255 - depth * 200).astype(np.uint8))


def save_gif(image, path):
    image.convert("P", palette=Image.ADAPTIVE, colors=255, dither=Image.NONE).save(path, "GIF")


def write_gifs(install_dir, font_path):
    emblem_icon = make_icon(64)
    icon = Image.new("RGB", emblem_icon.size, (0, 0, 0))
    icon.paste(emblem_icon, mask=emblem_icon)
    save_gif(icon, made_path(install_dir, "Icon"))
    logo_banner(font_path, (256, 64), grey=True).save(made_path(install_dir, "GreyLogo"), "GIF")
    make_shadow().save(made_path(install_dir, "Shadow"), "GIF")
    save_gif(logo_banner(font_path, (320, 48), grey=False), made_path(install_dir, "Title"))


def write_pictures(install_dir, font_path):
    save_jpeg(make_font_sheet(font_path), made_path(install_dir, "FontTexture"))
    # The preview draws the logo turned over about x, and the loader hands rows over
    # bottom-up, so the file holds the logo upside down to appear upright on screen.
    save_jpeg(make_front(font_path)[::-1], made_path(install_dir, "FrontTexture"))
    write_gifs(install_dir, font_path)


def sun_under_emblem(font_path, size, tiles, sun_size, sun_rise, emblem_at, emblem, word):
    """The product's picture: a starfield (its tile repeated `tiles`, rows by columns), the sun
    scaled to `sun_size` square and risen `sun_rise` pixels over the bottom edge, the glowing
    emblem (emblem_mask's arguments) with its top-left corner at `emblem_at` (row, column),
    and the name at `word` (font size, centre row)."""
    width, height = size
    stars = np.tile(make_starfield(), (*tiles, 1))[:height, :width]
    sun = np.asarray(Image.fromarray(np.rint(make_sun()).astype(np.uint8)).resize(
        (sun_size, sun_size)), float)
    background = stars.copy()
    top, left = height - sun_rise, (sun_size - width) // 2
    background[top:, :] += sun[:height - top, left:left + width] * 0.8
    logo = glowing(emblem_mask(*emblem), (255, 250, 225), (255, 140, 40), 3)
    row, column = emblem_at
    place = (slice(row, row + logo.shape[0]), slice(column, column + logo.shape[1]))
    background[place] = np.maximum(background[place], logo)
    font_size, word_row = word
    name = text_layer((width, height), "VOSTREL", font_path, font_size, (width / 2, word_row))
    background = np.maximum(background, np.asarray(name, float)[..., None])
    return Image.fromarray(np.rint(np.clip(background, 0, 255)).astype(np.uint8))


def make_dialog_picture(font_path):
    """290 x 200: the logo over a starfield with a rising sun, 255 colours at most."""
    picture = sun_under_emblem(font_path, (290, 200), (1, 2), 420, 150, (12, 90),
                               (110, (55, 55), 104), (40, 170))
    return picture.quantize(colors=255, method=Image.MEDIANCUT, dither=Image.NONE)


def make_installer_side(font_path):
    """164 x 314, the welcome and finish pages' left side: the sun rising under the
    emblem in a starfield, the name below."""
    return sun_under_emblem(font_path, (164, 314), (2, 1), 300, 120, (40, 22),
                            (120, (60, 60), 112), (30, 200))


def make_installer_header(font_path):
    """150 x 57, the other pages' header: the emblem and the name over the stars."""
    width, height = 150, 57
    background = make_starfield()[:height, :width].copy()
    banner = np.asarray(logo_banner(font_path, (width - 8, 32), grey=False), float)
    background[12:44, 4:width - 4] = np.maximum(background[12:44, 4:width - 4], banner)
    return Image.fromarray(np.rint(np.clip(background, 0, 255)).astype(np.uint8))


ICON_SIZES = (16, 32, 48, 64, 128, 256)


def write_resources(resource_dir, font_path):
    resource_dir.mkdir(parents=True, exist_ok=True)
    picture = make_dialog_picture(font_path)
    save_png(picture, resource_dir / "dialog-picture.png")
    picture.save(resource_dir / "dialog-picture.bmp", "BMP")
    make_installer_side(font_path).save(resource_dir / "installer-side.bmp", "BMP")
    make_installer_header(font_path).save(resource_dir / "installer-header.bmp", "BMP")
    icons = {size: make_icon(size) for size in ICON_SIZES}
    for size, icon in icons.items():
        save_png(icon, resource_dir / f"vostrel-{size}.png")
    # Each size is drawn for itself, not scaled down from the largest.
    icons[256].save(resource_dir / "vostrel.ico", "ICO", sizes=[(s, s) for s in ICON_SIZES],
                    append_images=[icons[s] for s in ICON_SIZES[:-1]])
