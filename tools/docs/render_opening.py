"""Renders the pictures of docs/opening.md with vostrel-render: the opening's blue glow at
each detail level, and the preview logo turning white.

    /usr/bin/python3 tools/docs/render_opening.py BUILD_DIR DOCS_DIR

The renderer runs from a scratch copy whose machine key names BUILD_DIR/data."""
import os
import subprocess
import sys
import tempfile

from PIL import Image, ImageDraw

# The end-to-end tests' harness lays out the private install: program copy and machine key.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tests/e2e"))
from saver_harness import install_program  # noqa: E402

SIZE = "320x240"


def render(program, env, out, frames, *extra):
    subprocess.run([program, "--frames", ",".join(map(str, frames)), "--size", SIZE,
                    "--out", out] + list(extra), env=env, check=True)
    return [Image.open(os.path.join(out, f"frame-{f:05d}.png")).convert("RGB") for f in frames]


def strip(pictures, labels, path):
    width, height = pictures[0].size
    gap, band = 4, 16
    sheet = Image.new("RGB", (len(pictures) * (width + gap) - gap, height + band), (40, 40, 40))
    draw = ImageDraw.Draw(sheet)
    for i, (picture, label) in enumerate(zip(pictures, labels)):
        sheet.paste(picture, (i * (width + gap), band))
        draw.text((i * (width + gap) + 4, 2), label, fill=(230, 230, 230))
    sheet.save(path, optimize=True)


def main():
    build, docs = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory(prefix="vostrel-docs-") as root:
        program = install_program(os.path.join(root, "install"), os.path.join(build, "data"),
                                  os.path.join(build, "vostrel-render"))
        env = dict(os.environ, SDL_AUDIODRIVER="dummy",
                   XDG_CONFIG_HOME=os.path.join(root, "config"))
        levels = [render(program, env, os.path.join(root, str(part)), [2500],
                         "--set", f"part={part}", "--set", "matrox=0")[0]
                  for part in (1035, 1036, 1037)]
        strip(levels, ["low, frame 2500", "medium", "high"], os.path.join(docs, "nebula.png"))
        frames = [0, 2500, 3750, 4999]
        logo = render(program, env, os.path.join(root, "preview"), frames, "--preview")
        strip(logo, [f"preview, frame {f}" for f in frames],
              os.path.join(docs, "preview-logo.png"))


if __name__ == "__main__":
    main()
