#!/usr/bin/env python3
"""How much of a frame the GL driver costs, measured a second way: the renderer's GL calls for a
stretch of the show are recorded with apitrace and replayed with `apitrace replay`, which makes
the same calls into the same driver with none of the show's own work.

    xvfb-run -a -s "-screen 0 640x480x24 +extension GLX -noreset" \\
        python3 bench/driver_replay.py build [--size 640x480] [--detail low] [--runs 3]

A replay also decodes its trace, one call at a time, and the show makes thousands of small
immediate-mode calls per frame, so the replay alone can take longer than our run. To tell the
decoding from the driver, each run is also timed with Mesa's no-op wrapper (GALLIUM_NOOP=1:
GL's front end still runs, the drawing is discarded): the last column compares the drawing's
cost, (run - run without drawing), in the replay and in our run; near 1 says the replay gave
the driver the same work as the show did.

Needs apitrace (scripts/install-deps.sh installs it) and an X server for the replay's window.
The renderer always draws from its start frame, so each stretch is timed as the difference of
two runs: one up to the stretch's last frame and one up to the frame before its first, each
writing one picture. Every figure is a median of --runs runs, all taken in this invocation.
Traces go to a temporary folder (about 200 MB for the blast at low detail) and are removed.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

# The end-to-end tests' harness holds the detail levels' stored values.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../tests/e2e"))
from saver_harness import DETAIL_PARTS  # noqa: E402


# name, settings, frame before the stretch, last frame of the stretch. With matrox on the
# show starts at the white-out, just before the sun, instead of at the opening's first word.
STRETCHES = [
    ("opening", [], 0, 1999),
    ("sun", ["matrox=1"], 4999, 5499),
    ("blast with bursts", ["matrox=1"], 6011, 6511),
]


def renderer_command(build, frame, size, detail, sets, out):
    command = [os.path.join(build, "vostrel-render"), "--frames", str(frame), "--size", size,
               "--out", out, "--set", f"part={DETAIL_PARTS[detail]}"]
    for setting in sets:
        command += ["--set", setting]
    return command


def timed(command, env, runs):
    """Median seconds of `runs` runs of the command."""
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, env=env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=3600)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def stretch_costs(build, stretch, args, root, env):
    """Seconds for the stretch's frames: {(who, drawing): time}, who being "run" or "replay"."""
    _, sets, before, last = stretch
    totals = {}
    for frame, sign in ((last, 1), (before, -1)):
        out = os.path.join(root, f"frames-{frame}")
        command = renderer_command(build, frame, args.size, args.detail, sets, out)
        trace = os.path.join(root, f"{frame}.trace")
        subprocess.run(["apitrace", "trace", "--api", "egl", "-o", trace] + command, env=env,
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for who, line in (("run", command), ("replay", ["apitrace", "replay", "-b", trace])):
            for drawing in (True, False):
                noop = dict(env, GALLIUM_NOOP="0" if drawing else "1")
                key = (who, drawing)
                totals[key] = totals.get(key, 0.0) + sign * timed(line, noop, args.runs)
        os.remove(trace)
    return totals


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("build", help="the build folder holding vostrel-render")
    parser.add_argument("--size", default="640x480")
    parser.add_argument("--detail", choices=DETAIL_PARTS, default="low")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    if "DISPLAY" not in os.environ:
        sys.exit("driver_replay: the replay needs an X server (run under xvfb-run)")
    with tempfile.TemporaryDirectory(prefix="vostrel-replay-") as root:
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(root, "config"),
                   SDL_AUDIODRIVER="dummy")
        print(f"{args.size}, {args.detail} detail, medians of {args.runs} runs, ms per frame\n")
        print("| stretch | frames | our run | replay | replay / our run | our run, drawing "
              "discarded | replay, drawing discarded | drawing: replay / our run |")
        print("|---|---|---|---|---|---|---|---|")
        for stretch in STRETCHES:
            t = stretch_costs(args.build, stretch, args, root, env)
            frames = stretch[3] - stretch[2]
            ms = {key: 1000 * value / frames for key, value in t.items()}
            drawing = ((t["replay", True] - t["replay", False]) /
                       (t["run", True] - t["run", False]))
            print(f"| {stretch[0]} | {frames} | {ms['run', True]:.2f} | "
                  f"{ms['replay', True]:.2f} | {t['replay', True] / t['run', True]:.2f} | "
                  f"{ms['run', False]:.2f} | {ms['replay', False]:.2f} | {drawing:.2f} |",
                  flush=True)


if __name__ == "__main__":
    main()
