#!/usr/bin/env python3
"""Resident memory of the offscreen renderer over two whole cycles.

Runs vostrel-render over frames 200, 2500 and 4999 (the captions over the nebula), 7000 (the
blast), 9499 (the last frame of a cycle), 14000 and 18999 (the blast and the last frame of the
second cycle), and reads the renderer's resident memory from /proc each time it reports one of
them drawn. A renderer that keeps something of every frame shows it as a climb from line to
line. The 3D scenes need more of the driver than the 2D frames before them (Mesa's llvmpipe
holds up to one batch of binned work, 36 MB, and malloc keeps it for the next frame), so the
figures step up once, in the sun or the blast of the first cycle, and must then stay level: the
last line compares the ends of the two cycles.

    python3 bench/render_memory.py build [WIDTHxHEIGHT] [renderer]

The size defaults to 160x120. `renderer` defaults to build/vostrel-render; pass another
build's to compare two builds. Needs no X display (the renderer draws through EGL).
"""
import os
import shutil
import subprocess
import sys
import tempfile

FRAMES = [200, 2500, 4999, 7000, 9499, 14000, 18999]
END_OF_CYCLE, LAST = 9499, 18999
# Drawn after the last reported frame and not reported itself: the last figure is then read
# while the renderer still draws, not while it already frees everything on its way out.
SENTINEL = LAST + 1

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
size = sys.argv[2] if len(sys.argv) > 2 else "160x120"
renderer = os.path.abspath(sys.argv[3] if len(sys.argv) > 3
                           else os.path.join(build, "vostrel-render"))


def install(root):
    """A copy of the renderer with a machine key beside it naming the build's data folder."""
    key_dir = os.path.join(root, "install", "etc", "vostrel", "Software", "Calimor")
    os.makedirs(key_dir)
    data = os.path.join(build, "data").replace("\\", "\\\\").replace('"', '\\"')
    with open(os.path.join(key_dir, "VostrelSaver1.1.reg"), "w") as key:
        key.write("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Calimor\\VostrelSaver1.1]\n"
                  f'"Path"="{data}"\n')
    program = os.path.join(root, "install", "vostrel-render")
    shutil.copy2(renderer, program)
    return program


def print_growth(mib_at, first, last):
    if first in mib_at and last in mib_at:
        print(f"growth from frame {first} to {last}: "
              f"{100.0 * (mib_at[last] - mib_at[first]) / mib_at[first]:+.0f}%")


def resident_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


with tempfile.TemporaryDirectory() as root:
    env = dict(os.environ, HOME=root, XDG_CONFIG_HOME=os.path.join(root, "config"))
    process = subprocess.Popen(
        [install(root), "--frames", ",".join(map(str, FRAMES + [SENTINEL])), "--size", size,
         "--out", os.path.join(root, "out")],
        env=env, stderr=subprocess.PIPE, text=True)
    figures = []
    # One progress line per listed frame, written right after it is drawn and saved.
    for frame, _ in zip(FRAMES, process.stderr):
        figures.append((frame, resident_mib(process.pid)))
    process.wait()
    for frame, mib in figures:
        print(f"{size} frame {frame}: {mib:.0f} MiB resident")
    mib_at = dict(figures)
    print_growth(mib_at, FRAMES[0], END_OF_CYCLE)
    print_growth(mib_at, END_OF_CYCLE, LAST)
    sys.exit(process.returncode)
