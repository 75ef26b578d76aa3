"""The committed program pictures have the forms their users expect: the dialog
picture is 290 x 200 with 8 bits per pixel and at most 255 colours, alike in PNG and
BMP; the icon exists in every usual size, with transparency, and as one .ico; the
installer's pictures have the sizes its pages show them at."""
import os
import pathlib

from PIL import Image

from saver_harness import CheckList

SOURCE = pathlib.Path(os.environ.get("VOSTREL_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
RESOURCES = SOURCE / "resources"
ICON_SIZES = (16, 32, 48, 64, 128, 256)
check = CheckList()


def check_dialog_picture():
    png = Image.open(RESOURCES / "dialog-picture.png")
    bmp = Image.open(RESOURCES / "dialog-picture.bmp")
    for picture, name in ((png, "png"), (bmp, "bmp")):
        check(picture.size == (290, 200) and picture.mode == "P",
              f"dialog picture ({name}) is {picture.size} {picture.mode}")
        colours = picture.getcolors(256)
        check(colours is not None and len(colours) <= 255,
              f"dialog picture ({name}) uses more than 255 colours")
    check(list(png.convert("RGB").getdata()) == list(bmp.convert("RGB").getdata()),
          "dialog picture differs between PNG and BMP")


def check_icons():
    for size in ICON_SIZES:
        icon = Image.open(RESOURCES / f"vostrel-{size}.png")
        check(icon.size == (size, size) and icon.mode == "RGBA",
              f"vostrel-{size}.png is {icon.size} {icon.mode}")
        check(icon.mode != "RGBA" or (icon.getpixel((0, 0))[3] == 0 and
                                      icon.getextrema()[3][1] >= 250),
              f"vostrel-{size}.png lacks a transparent ground or an opaque emblem")
    sizes = Image.open(RESOURCES / "vostrel.ico").info.get("sizes", set())
    check(sizes == {(s, s) for s in ICON_SIZES}, f"vostrel.ico holds {sorted(sizes)}")


def check_installer_pictures():
    for name, size in (("installer-side.bmp", (164, 314)), ("installer-header.bmp", (150, 57))):
        picture = Image.open(RESOURCES / name)
        check(picture.size == size and picture.mode == "RGB",
              f"{name} is {picture.size} {picture.mode}, not {size} RGB")


if __name__ == "__main__":
    check_dialog_picture()
    check_icons()
    check_installer_pictures()
    check.finish()
