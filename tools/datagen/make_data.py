"""Makes the show's data folder.

    make_data.py INSTALL_DIR

writes INSTALL_DIR/debug.htm and INSTALL_DIR/data/* (font, music, sounds,
textures, GIFs). Every run with the same generators gives byte-identical files.
"""
import argparse
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

from bitmaps import write_pictures  # noqa: E402
from font import write_font  # noqa: E402
from music import write_music  # noqa: E402
from page import write_page  # noqa: E402
from sounds import write_sounds  # noqa: E402
from textures import write_textures  # noqa: E402


def make_data(install_dir):
    font_path = write_font(install_dir)
    write_pictures(install_dir, font_path)
    write_textures(install_dir)
    write_sounds(install_dir)
    write_music(install_dir)
    write_page(install_dir)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("install_dir", type=pathlib.Path)
    make_data(parser.parse_args().install_dir)


if __name__ == "__main__":
    main()
