"""Makes the program's own pictures: the configuration dialog's picture (290 x 200,
8 bits per pixel, PNG and BMP), the program icon (PNG sizes and a .ico) and the
Windows installer's pictures (the welcome and finish pages' side, 164 x 314, and
the other pages' header, 150 x 57, BMP).

    make_resources.py RESOURCE_DIR

Run by hand when the design changes; the results are kept in resources/ and a
test checks that they still match what this script makes.
"""
import argparse
import pathlib
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

from bitmaps import write_resources  # noqa: E402
from font import write_font  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("resource_dir", type=pathlib.Path)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as scratch:
        write_resources(args.resource_dir, write_font(pathlib.Path(scratch)))


if __name__ == "__main__":
    main()
