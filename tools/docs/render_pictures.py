"""Renders the show's pictures in docs/ with vostrel-render, from the table PICTURES below.

    /usr/bin/python3 tools/docs/render_pictures.py BUILD_DIR DOCS_DIR    (or: make docs-pictures)

Each row is one panel: the picture file it goes into (rows with the same name make one strip,
left to right in table order), the frame, the detail level, any other settings by their
stored names, its label and its size. Rows that share their settings and size are rendered by
one run of the renderer, which plays the show from its start to the last frame asked for.
The renderer runs from a scratch copy whose machine key names BUILD_DIR/data, with fresh
default settings."""
import collections
import os
import subprocess
import sys
import tempfile

from PIL import Image, ImageDraw

# The end-to-end tests' harness lays out the private install: program copy and machine key.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tests/e2e"))
from saver_harness import DETAIL_PARTS, HOST_PREVIEW_SIZE, install_program  # noqa: E402

SIZE = "320x240"
# A setting that is not a stored value: play the show as the preview window does.
PREVIEW = "preview"

Row = collections.namedtuple("Row", "name frame detail settings label size",
                             defaults=({}, None, SIZE))


def opening(detail):
    # The emblem's alpha peaks every 360 frames from 3000 on (scaled by its fade-in until 4000),
    # where its thin lines show best.
    frames = [(1250, "a word in flight"), (3360, "emblem fading in"), (4080, "emblem"),
              (4800, "emblem"), (4995, "white-out")]
    return [Row(f"opening-{detail}", frame, detail, {}, f"{detail}, {frame}: {what}")
            for frame, what in frames]


def sun(detail):
    # 16-bit colour would round the white layer's last steps away.
    return [Row(f"sun-{detail}", frame, detail, {"bpp": 1}, f"{detail}, frame {frame}")
            for frame in (5050, 5500, 6000)]


def blast(name, frame, what):
    # The first burst comes at frame 6262.
    return [Row(name, frame, detail, {"useblur": 1},
                f"{detail}, frame {frame} ({what})" if detail == "high" else f"{detail}")
            for detail in ("low", "medium", "high")]


PICTURES = [
    Row("nebula", 2500, "low", {}, "low, frame 2500"),
    Row("nebula", 2500, "medium", {}, "medium"),
    Row("nebula", 2500, "high", {}, "high"),
    *[Row("preview-logo", frame, "medium", {PREVIEW: 1}, f"preview, {frame}",
          HOST_PREVIEW_SIZE) for frame in (0, 2500, 3750, 4999)],
    *opening("low"), *opening("medium"), *opening("high"),
    # The renderer starts no music, so its notice always says that the music is off.
    Row("music-notice", 10, "medium", {}, "frame 10"),
    Row("music-notice", 70, "medium", {}, "frame 70"),
    # Low detail draws the fewest rays across the countdown's faint words.
    Row("countdown", 5450, "low", {}, "low, frame 5450"),
    Row("countdown", 5960, "low", {}, "low, frame 5960"),
    # Full size, so that every line of the roll can be read.
    Row("credits-roll", 7600, "medium", {}, "frame 7600", "640x480"),
    Row("credits-roll", 7600, "medium", {"useblur": 1}, "with blur", "640x480"),
    *sun("low"), *sun("medium"), *sun("high"),
    *[Row("flash", frame, "medium", {"bpp": 1}, f"frame {frame}")
      for frame in (6003, 6006, 6010, 6014, 6017)],
    *blast("blast-burst", 6266, "4 frames after a burst"),
    *blast("blast-late", 6480, "late in a ring cycle"),
]


def run_key(row):
    return row.detail, tuple(sorted(row.settings.items())), row.size


def render_runs(program, env, root):
    """One renderer run per distinct (detail, settings, size); returns
    {(run key, frame): picture}."""
    runs = collections.OrderedDict()
    for row in PICTURES:
        runs.setdefault(run_key(row), set()).add(row.frame)
    pictures = {}
    for number, ((detail, settings, size), frames) in enumerate(runs.items()):
        out = os.path.join(root, f"run-{number}")
        arguments = [program, "--frames", ",".join(map(str, sorted(frames))), "--size", size,
                     "--out", out, "--set", f"part={DETAIL_PARTS[detail]}"]
        for name, value in settings:
            arguments += ["--preview"] if name == PREVIEW else ["--set", f"{name}={value}"]
        subprocess.run(arguments, env=env, check=True)
        for frame in frames:
            path = os.path.join(out, f"frame-{frame:05d}.png")
            pictures[(detail, settings, size), frame] = Image.open(path).convert("RGB")
    return pictures


def strip(panels, path):
    width, height = panels[0][0].size
    gap, band = 4, 16
    sheet = Image.new("RGB", (len(panels) * (width + gap) - gap, height + band), (40, 40, 40))
    draw = ImageDraw.Draw(sheet)
    for i, (picture, label) in enumerate(panels):
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
        pictures = render_runs(program, env, root)
        strips = collections.OrderedDict()
        for row in PICTURES:
            label = row.label or f"{row.detail}, frame {row.frame}"
            strips.setdefault(row.name, []).append((pictures[run_key(row), row.frame], label))
        for name, panels in strips.items():
            strip(panels, os.path.join(docs, f"{name}.png"))


if __name__ == "__main__":
    main()
