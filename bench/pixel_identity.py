#!/usr/bin/env python3
"""Pixel identity of the show: renders every Nth frame of a stretch with vostrel-render at each
detail level and compares the pictures, either with another build's renderer (to show that a
change left every pixel alone) or with a list of picture hashes kept in the tree.

    # a whole cycle, two builds (run after making a change that must not alter the picture)
    python3 bench/pixel_identity.py build/vostrel-render --against old-build/vostrel-render
    # the short stretch `make test` checks, against the kept hashes (--update rewrites them)
    python3 bench/pixel_identity.py build/vostrel-render --hashes tests/e2e/pixel_hashes.txt \
        --frames 4900-6100 --every 100 --size 160x120 --set matrox=1

Each renderer runs with a private, empty settings folder (the stored defaults) and finds its
data through the machine key beside it, as the build tree has it. Exit status 1 on a
difference, with the frames that differ.
"""
import argparse
import hashlib
import os
import subprocess
import sys
import tempfile

# The end-to-end tests' harness holds the detail levels' stored values.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../tests/e2e"))
from saver_harness import DETAIL_PARTS  # noqa: E402


def frame_list(stretch, every):
    first, last = (int(n) for n in stretch.split("-"))
    return list(range(first, last + 1, every))


def render(renderer, detail, frames, size, overrides):
    """{frame: sha256 of its PNG} for one detail level."""
    with tempfile.TemporaryDirectory(prefix="vostrel-pixels-") as root:
        out = os.path.join(root, "frames")
        command = [renderer, "--frames", ",".join(map(str, frames)), "--size", size,
                   "--out", out, "--set", f"part={DETAIL_PARTS[detail]}"]
        for override in overrides:
            command += ["--set", override]
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(root, "config"),
                   SDL_AUDIODRIVER="dummy")
        subprocess.run(command, env=env, check=True, timeout=3600)
        hashes = {}
        for frame in frames:
            with open(os.path.join(out, f"frame-{frame:05d}.png"), "rb") as f:
                hashes[frame] = hashlib.sha256(f.read()).hexdigest()
        return hashes


def all_hashes(renderer, args):
    frames = frame_list(args.frames, args.every)
    return {(detail, frame): digest for detail in DETAIL_PARTS
            for frame, digest in render(renderer, detail, frames, args.size, args.set).items()}


def read_hashes(path):
    kept = {}
    with open(path) as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                detail, frame, digest = line.split()
                kept[(detail, int(frame))] = digest
    return kept


def write_hashes(path, hashes, args):
    with open(path, "w") as f:
        f.write(f"# detail frame sha256 of the PNG: --frames {args.frames} --every {args.every} "
                f"--size {args.size} {' '.join('--set ' + s for s in args.set)}\n")
        for (detail, frame), digest in sorted(hashes.items(), key=lambda i: (DETAIL_PARTS[i[0][0]], i[0][1])):
            f.write(f"{detail} {frame} {digest}\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("renderer")
    parser.add_argument("--against", help="another build's vostrel-render")
    parser.add_argument("--hashes", help="file of kept picture hashes")
    parser.add_argument("--update", action="store_true", help="rewrite the kept hashes")
    parser.add_argument("--frames", default="0-9499", help="stretch, first-last")
    parser.add_argument("--every", type=int, default=50)
    parser.add_argument("--size", default="320x240")
    parser.add_argument("--set", action="append", default=[], metavar="NAME=VALUE")
    args = parser.parse_args()
    if (args.against is None) == (args.hashes is None):
        parser.error("give exactly one of --against and --hashes")

    mine = all_hashes(os.path.abspath(args.renderer), args)
    if args.hashes and args.update:
        write_hashes(args.hashes, mine, args)
        print(f"{len(mine)} picture hashes written to {args.hashes}")
        return 0
    other = all_hashes(os.path.abspath(args.against), args) if args.against else read_hashes(args.hashes)
    differ = sorted(key for key in mine if other.get(key) != mine[key])
    print(f"{len(mine)} pictures compared ({', '.join(DETAIL_PARTS)}; frames {args.frames} every "
          f"{args.every}, {args.size}): {len(differ)} differ")
    for detail, frame in differ:
        print(f"  differs: {detail} frame {frame}")
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
