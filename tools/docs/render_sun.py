"""Renders the pictures of docs/sun.md with vostrel-render: the sun at frames 5050, 5500 and
6000 for each detail level, and the collapse flash.

    /usr/bin/python3 tools/docs/render_sun.py BUILD_DIR DOCS_DIR

The renderer runs from a scratch copy whose machine key names BUILD_DIR/data."""
import os
import sys
import tempfile

from render_opening import install_program, render, strip

LEVELS = ((1035, "low"), (1036, "medium"), (1037, "high"))
SUN_FRAMES = [5050, 5500, 6000]
FLASH_FRAMES = [6003, 6006, 6010, 6014, 6017]


def main():
    build, docs = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory(prefix="vostrel-docs-") as root:
        program = install_program(os.path.join(root, "install"), os.path.join(build, "data"),
                                  os.path.join(build, "vostrel-render"))
        env = dict(os.environ, SDL_AUDIODRIVER="dummy",
                   XDG_CONFIG_HOME=os.path.join(root, "config"))
        for part, level in LEVELS:
            pictures = render(program, env, os.path.join(root, level), SUN_FRAMES,
                              "--set", f"part={part}", "--set", "matrox=0", "--set", "bpp=1")
            strip(pictures, [f"{level}, frame {f}" for f in SUN_FRAMES],
                  os.path.join(docs, f"sun-{level}.png"))
        flash = render(program, env, os.path.join(root, "flash"), FLASH_FRAMES,
                       "--set", "matrox=0", "--set", "bpp=1")
        strip(flash, [f"frame {f}" for f in FLASH_FRAMES], os.path.join(docs, "flash.png"))


if __name__ == "__main__":
    main()
