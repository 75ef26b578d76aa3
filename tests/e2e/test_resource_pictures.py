"""The committed program pictures have the forms their users expect: the dialog
picture is 290 x 200 with 8 bits per pixel and at most 255 colours, alike in PNG and
BMP; the icon exists in every usual size, with transparency, and as one .ico; the
installer's pictures have the sizes its pages show them at."""
import os
import pathlib
import sys

from PIL import Image

SOURCE = pathlib.Path(os.environ.get("VOSTREL_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
RESOURCES = SOURCE / "resources"
ICON_SIZES = (16, 32, 48, 64, 128, 256)


def check_dialog_picture():
    png = Image.open(RESOURCES / "dialog-picture.png")
    bmp = Image.open(RESOURCES / "dialog-picture.bmp")
    problems = []
    for picture, name in ((png, "png"), (bmp, "bmp")):
        if picture.size != (290, 200) or picture.mode != "P":
            problems.append(f"dialog picture ({name}) is {picture.size} {picture.mode}")
        colours = picture.getcolors(256)
        if colours is None or len(colours) > 255:
            problems.append(f"dialog picture ({name}) uses more than 255 colours")
    if list(png.convert("RGB").getdata()) != list(bmp.convert("RGB").getdata()):
        problems.append("dialog picture differs between PNG and BMP")
    return problems


def check_icons():
    problems = []
    for size in ICON_SIZES:
        icon = Image.open(RESOURCES / f"vostrel-{size}.png")
        if icon.size != (size, size) or icon.mode != "RGBA":
            problems.append(f"vostrel-{size}.png is {icon.size} {icon.mode}")
        elif icon.getpixel((0, 0))[3] != 0 or icon.getextrema()[3][1] < 250:
            problems.append(f"vostrel-{size}.png lacks a transparent ground or an opaque emblem")
    sizes = Image.open(RESOURCES / "vostrel.ico").info.get("sizes", set())
    if sizes != {(s, s) for s in ICON_SIZES}:
        problems.append(f"vostrel.ico holds {sorted(sizes)}")
    return problems


def check_installer_pictures():
    problems = []
    for name, size in (("installer-side.bmp", (164, 314)), ("installer-header.bmp", (150, 57))):
        picture = Image.open(RESOURCES / name)
        if picture.size != size or picture.mode != "RGB":
            problems.append(f"{name} is {picture.size} {picture.mode}, not {size} RGB")
    return problems


def main():
    problems = check_dialog_picture() + check_icons() + check_installer_pictures()
    for problem in problems:
        print("FAIL:", problem)
    print(f"{0 if problems else 1} passed, {1 if problems else 0} failed")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
