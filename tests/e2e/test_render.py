"""vostrel-render end to end: argument errors, the frames and state it writes, the cycle's
turning points (scene start, end of the sun, restart, matrox, restart off, preview) and the
black last frame of a wide picture.

The renderer runs from a private copy that finds its own machine key beside it, naming the
build's data folder as the install folder, so the test needs nothing installed."""
import json
import os
import shutil
import subprocess
import sys

from PIL import Image

from saver_harness import BUILD_DIR, RENDER, Sandbox

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def install_renderer(root):
    """A copy of the renderer with a machine key that records the build's data folder."""
    bin_dir = os.path.join(root, "install")
    key_dir = os.path.join(bin_dir, "etc", "vostrel", "Software", "Calimor")
    os.makedirs(key_dir)
    data = os.path.join(BUILD_DIR, "data").replace("\\", "\\\\").replace('"', '\\"')
    with open(os.path.join(key_dir, "VostrelSaver1.1.reg"), "w") as key:
        key.write("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Calimor\\VostrelSaver1.1]\n"
                  f'"Path"="{data}"\n')
    program = os.path.join(bin_dir, "vostrel-render")
    shutil.copy2(RENDER, program)
    return program


renderer = RENDER


def run(args, env):
    return subprocess.run([renderer] + args, env=env, capture_output=True, text=True,
                          timeout=240)


def render(env, out, frames, *extra, size="64x48"):
    state = os.path.join(out, "state.jsonl")
    result = run(["--frames", frames, "--size", size, "--out", out, "--state", state]
                 + list(extra), env)
    check(result.returncode == 0, f"render {frames} {extra}: exit {result.returncode} "
                                  f"{result.stderr.strip()}")
    if result.returncode != 0:
        return {}
    with open(state) as lines:
        return {entry["frame"]: entry for entry in map(json.loads, lines)}


def check_argument_errors(env):
    bad = [[], ["--frames", "1", "--size", "64x48"], ["--frames", "x", "--size", "64x48",
           "--out", "o"], ["--frames", "1", "--size", "0x0", "--out", "o"],
           ["--frames", "1", "--size", "64x48", "--out", "o", "--set", "nosuch=1"],
           ["--frames", "1", "--size", "64x48", "--out", "o", "--wat"]]
    for args in bad:
        result = run(args, env)
        check(result.returncode == 2, f"{args}: exit {result.returncode}, wanted 2")
        check("usage: vostrel-render" in result.stderr, f"{args}: no usage text")


def check_cycle(env, out):
    # 16:9, wider than the old overlays covered, and small so that the cycle stays quick.
    states = render(env, out, "0,4999-5001,6010-6012,9499", "--set", "useblur=1",
                    "--set", "matrox=0", "--set", "restart=1", size="128x72")
    if not states:
        return
    names = sorted(name for name in os.listdir(out) if name.endswith(".png"))
    check(names == [f"frame-{n:05d}.png" for n in (0, 4999, 5000, 5001, 6010, 6011, 6012,
                                                  9499)], f"frame files {names}")
    check(Image.open(os.path.join(out, "frame-05000.png")).size == (128, 72), "picture size")
    extrema = Image.open(os.path.join(out, "frame-09499.png")).convert("RGB").getextrema()
    check(all(high == 0 for _, high in extrema), f"frame 9499 not black: {extrema}")
    opening = states[4999]
    check((opening["spinAngle"], opening["sunTicks"], opening["slowAngle"],
           opening["sunYaw"]) == (0, 0, 0, 0), f"counters moved before 5000: {opening}")
    check(states[5000]["spinAngle"] == 1 and states[5000]["sunTicks"] == 1,
          f"first scene frame {states[5000]}")
    check(states[6010]["sunTicks"] == 1011 and states[6010]["sunPhase"], "sun at 6010")
    check(states[6011]["sunTicks"] == 1011 and not states[6011]["sunPhase"], "sun at 6011")
    check(states[6011]["lastBangStep"] == 200, "forty short bangs")
    last = states[9499]
    check(last["showFrame"] == 0 and last["sunPhase"] and last["sunTicks"] == 0
          and last["spinAngle"] == 0 and last["lastBangStep"] == 0
          and last["blastCountdown"] == 70 and last["flashStep"] == 0
          and last["ringAlpha"] == 255 and last["burstTimer"] == 0, f"restart {last}")
    check(last["slowAngle"] != 0, "slowAngle runs on through the restart")


def check_variants(env, root):
    matrox = render(env, os.path.join(root, "matrox"), "4800,9499", "--set", "matrox=1",
                    "--set", "restart=1")
    check(matrox.get(9499, {}).get("showFrame") == 4800, "matrox restarts at 4800")
    stopped = render(env, os.path.join(root, "stop"), "9501", "--set", "restart=0")
    check(stopped.get(9501, {}).get("showFrame") == 9501, "restart off stops at 9501")
    preview = render(env, os.path.join(root, "preview"), "0", "--preview", "--set",
                     "matrox=1")
    check(preview.get(0, {}).get("showFrame") == 1, "preview starts at frame 0")
    for frames, extra in (("0", ["--set", "matrox=1"]), ("9500", ["--set", "restart=1"]),
                          ("9501", ["--set", "restart=1"])):
        result = run(["--frames", frames, "--size", "64x48", "--out",
                      os.path.join(root, "never")] + extra, env)
        check(result.returncode == 2, f"unreachable frame {frames} {extra}: "
                                      f"exit {result.returncode}")


def check_unwritable_state(env, root):
    """A state file that cannot take the lines (a full disk) is a failure, not a success."""
    result = run(["--frames", "0", "--size", "64x48", "--out", os.path.join(root, "full"),
                  "--state", "/dev/full"], env)
    check(result.returncode == 1 and "cannot write /dev/full" in result.stderr,
          f"--state /dev/full: exit {result.returncode} {result.stderr.strip()}")


def main():
    global renderer
    sandbox = Sandbox()
    renderer = install_renderer(sandbox.root)
    env = dict(sandbox.env(), SDL_AUDIODRIVER="dummy")
    check_argument_errors(env)
    check_cycle(env, os.path.join(sandbox.root, "cycle"))
    check_variants(env, sandbox.root)
    check_unwritable_state(env, sandbox.root)
    if failures:
        sys.exit(f"{len(failures)} check(s) failed")
    print("ok")


if __name__ == "__main__":
    main()
