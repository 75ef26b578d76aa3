"""Renders the pictures of docs/blast.md with vostrel-render: the blast at each detail level,
a few frames after a debris burst and late in a ring cycle.

    /usr/bin/python3 tools/docs/render_blast.py BUILD_DIR DOCS_DIR

The renderer runs from a scratch copy whose machine key names BUILD_DIR/data."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from render_opening import render, strip  # noqa: E402
from saver_harness import install_program  # noqa: E402

LEVELS = ((1035, "low"), (1036, "medium"), (1037, "high"))
# (picture, frame, what the frame shows): the first burst comes at frame 6262.
PICTURES = (
    ("blast-burst.png", 6266, "4 frames after a burst"),
    ("blast-late.png", 6480, "late in a ring cycle"),
)


def main():
    build, docs = sys.argv[1], sys.argv[2]
    frames = sorted(frame for _, frame, _ in PICTURES)
    with tempfile.TemporaryDirectory(prefix="vostrel-docs-") as root:
        program = install_program(os.path.join(root, "install"), os.path.join(build, "data"),
                                  os.path.join(build, "vostrel-render"))
        env = dict(os.environ, SDL_AUDIODRIVER="dummy",
                   XDG_CONFIG_HOME=os.path.join(root, "config"))
        by_level = [dict(zip(frames, render(program, env, os.path.join(root, str(part)),
                                            frames, "--set", f"part={part}",
                                            "--set", "useblur=1", "--set", "matrox=0")))
                    for part, _ in LEVELS]
        for name, frame, what in PICTURES:
            labels = [f"{level}, frame {frame}" if i == 0 else level
                      for i, (_, level) in enumerate(LEVELS)]
            labels[-1] += f" ({what})"
            strip([pictures[frame] for pictures in by_level], labels, os.path.join(docs, name))


if __name__ == "__main__":
    main()
