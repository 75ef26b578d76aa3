"""vostrel-render end to end: argument errors (and a usage message whose required and optional
arguments are the manual page's), the frames and state it writes, the cycle's
turning points (scene start, end of the sun, the blast's countdown and bursts, restart, the
second cycle, matrox, restart off, preview), the black last frame of a wide picture, and a
user's first render: progress on standard error, and a home folder read but never written.

The renderer runs from a private copy that finds its own machine key beside it, naming the
build's data folder as the install folder, so the test needs nothing installed."""
import json
import os
import re
import subprocess

from PIL import Image

from saver_harness import BUILD_DIR, RENDER, USER_KEY, CheckList, Sandbox, install_program

MANUAL = os.path.join(os.environ.get("VOSTREL_SOURCE_DIR", os.path.join(os.path.dirname(__file__),
                                                                        "../..")),
                      "packaging", "vostrel.6")
check = CheckList()
renderer = RENDER


def run(args, env):
    return subprocess.run([renderer] + args, env=env, capture_output=True, text=True,
                          timeout=900)


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
    check_usage_matches_manual(run([], env).stderr)


def check_usage_matches_manual(usage):
    """The usage lines and the manual page's synopsis mark the same options required and the
    same optional (in brackets)."""
    text = usage[usage.index("usage: vostrel-render"):].split("\n  -", 1)[0]
    optional = set(re.findall(r"\[(--[a-z]+)", text))
    from_usage = (set(re.findall(r"--[a-z]+", re.sub(r"\[[^]]*\]", "", text))), optional)
    with open(MANUAL) as f:
        synopsis = f.read().split(".B vostrel\\-render\n", 1)[1].split(".br", 1)[0]
    required = set(re.findall(r"^\.B \\-\\-([a-z]+)$", synopsis, re.M))
    optional = set(re.findall(r"^\.RB \[ \\-\\-([a-z]+)", synopsis, re.M))
    from_manual = ({"--" + o for o in required}, {"--" + o for o in optional})
    check(from_usage == from_manual,
          f"usage (required, optional) {from_usage} but manual page {from_manual}")


def check_cycle(env, out):
    # 16:9, wider than the old overlays covered, small and at low detail so that a cycle
    # and a half stay quick (the counters do not depend on the detail). Frame numbers count
    # on past the restart: 9500 opens the second cycle.
    states = render(env, out, "0,4999-5001,6010-6012,6080,6081,6261,6262,9498-9500,14000",
                    "--set", "useblur=1", "--set", "matrox=0", "--set", "restart=1",
                    "--set", "part=1035", size="128x72")
    if not states:
        return
    names = sorted(name for name in os.listdir(out) if name.endswith(".png"))
    listed = (0, 4999, 5000, 5001, 6010, 6011, 6012, 6080, 6081, 6261, 6262, 9498, 9499, 9500,
              14000)
    check(names == [f"frame-{n:05d}.png" for n in listed], f"frame files {names}")
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
    check_blast(states, out)
    last = states[9499]
    check(last["showFrame"] == 0 and last["sunPhase"] and last["sunTicks"] == 0
          and last["spinAngle"] == 0 and last["lastBangStep"] == 0
          and last["blastCountdown"] == 70 and last["flashStep"] == 0
          and last["ringAlpha"] == 255 and last["burstTimer"] == 0, f"restart {last}")
    check(last["slowAngle"] != 0, "slowAngle runs on through the restart")
    # The restart keeps the ring where the last blast frame left it.
    check(abs(last["ringRadius"] - states[9498]["ringRadius"] - 0.025) < 1e-4,
          f"ringRadius through the restart: {states[9498]['ringRadius']} {last['ringRadius']}")
    check(states[9500]["showFrame"] == 1 and states[14000]["showFrame"] == 4501,
          f"second cycle: {states[9500]['showFrame']}, {states[14000]['showFrame']}")


def check_blast(states, out):
    countdown = [(f, states[f]["blastCountdown"]) for f in (6011, 6012, 6080, 6081, 9498)]
    check(countdown == [(6011, 70), (6012, 69), (6080, 1), (6081, 0), (9498, 0)],
          f"blastCountdown {countdown}")
    ring = [(f, states[f]["burstTimer"], states[f]["ringAlpha"]) for f in (6012, 6261, 6262)]
    check(ring == [(6012, 1, 254), (6261, 250, 5), (6262, 0, 255)], f"burst and ring {ring}")
    check(abs(states[6262]["ringRadius"] - 0.1) < 1e-6, "the ring starts again small")
    # Just after a burst the centre flashes nearly opaque.
    burst = Image.open(os.path.join(out, "frame-06262.png")).convert("L").getextrema()
    check(burst[1] > 200, f"no flash at the centre after the burst: {burst}")


def check_without_restart(env, out):
    # The show's own counter stops at 9501, the renderer's frame numbers go on, and so do
    # the bursts (frames 9525 and 9776 of the renderer).
    states = render(env, out, "9501,9700,9753,9776", "--set", "restart=0", "--set",
                    "part=1035")
    if not states:
        return
    check(all(states[f]["showFrame"] == 9501 and states[f]["blastCountdown"] == 0
              for f in states), "restart off: counter at 9501, no countdown")
    timers = [(f, states[f]["burstTimer"], states[f]["ringAlpha"]) for f in (9700, 9753, 9776)]
    check(timers == [(9700, 175, 80), (9753, 228, 27), (9776, 0, 255)],
          f"restart off: bursts {timers}")


def check_variants(env, root):
    # The renderer's numbers start at the show's start frame (the restart back to 4800 is
    # the frame driver's test).
    matrox = render(env, os.path.join(root, "matrox"), "4800,5000", "--set", "matrox=1",
                    "--set", "restart=1")
    check([matrox.get(f, {}).get("showFrame") for f in (4800, 5000)] == [4801, 5001],
          f"matrox starts at 4800: {matrox}")
    check_without_restart(env, os.path.join(root, "stop"))
    preview = render(env, os.path.join(root, "preview"), "0,5100", "--preview", "--set",
                     "matrox=1")
    check(preview.get(0, {}).get("showFrame") == 1, "preview starts at frame 0")
    # The preview's set-up switches the bangs off, and with them the numbers they draw.
    silent = render(env, os.path.join(root, "preview-silent"), "5100", "--preview", "--set",
                    "psound=0")
    check(preview.get(5100) == silent.get(5100) and silent.get(5100, {}).get("lastBangStep") == 0,
          f"the preview plays its bangs: {preview.get(5100)} against {silent.get(5100)}")
    for frames, extra in (("0", ["--set", "matrox=1"]), ("1000001", [])):
        result = run(["--frames", frames, "--size", "64x48", "--out",
                      os.path.join(root, "never")] + extra, env)
        check(result.returncode == 2, f"frame {frames} {extra} out of reach: "
                                      f"exit {result.returncode}")


def check_unwritable_state(env, root):
    """A state file that cannot take the lines (a full disk) or an output folder that cannot be
    made is a failed run (status 1), not a success and not a bad command line (2)."""
    cases = [(["--out", os.path.join(root, "full"), "--state", "/dev/full"],
              "cannot write /dev/full"),
             (["--out", "/dev/null/frames"], "cannot make the folder /dev/null/frames")]
    for extra, said in cases:
        result = run(["--frames", "0", "--size", "64x48"] + extra, env)
        check(result.returncode == 1 and said in result.stderr,
              f"{extra}: exit {result.returncode} {result.stderr.strip()}")


def files_below(folder):
    return sorted(os.path.join(top, name) for top, _, names in os.walk(folder) for name in names)


def check_home_left_as_found(root):
    """As `make run` starts it for a new user: no XDG folders named and no sound driver chosen,
    so anything that wrote the settings key, the state folder or a sound server's files, or
    probed a sound device, would show in the home folder or on standard error."""
    home = os.path.join(root, "home")
    os.makedirs(home)
    env = {name: value for name, value in os.environ.items()
           if not name.startswith("XDG_") and name != "SDL_AUDIODRIVER"}
    env["HOME"] = home
    result = run(["--frames", "3,5", "--size", "64x48", "--out", os.path.join(root, "first")],
                 env)
    check(result.returncode == 0, f"first render: exit {result.returncode}")
    progress = ["vostrel-render: 4 of 6 frames drawn", "vostrel-render: 6 of 6 frames drawn"]
    check(result.stderr.splitlines() == progress, f"first render said {result.stderr!r}")
    check(os.listdir(home) == [], f"first render wrote in the home folder: {os.listdir(home)}")
    # Stored settings are read (matrox starts the show at 4800) and left as they were.
    key = os.path.join(home, ".config", USER_KEY)
    os.makedirs(os.path.dirname(key), exist_ok=True)
    stored = ("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\VostrelSaver]\n"
              '"matrox"=dword:00000001\n')
    with open(key, "w") as f:
        f.write(stored)
    result = run(["--frames", "3", "--size", "64x48", "--out", os.path.join(root, "late")], env)
    check(result.returncode == 2 and "starts at frame 4800" in result.stderr,
          f"stored matrox not read: exit {result.returncode} {result.stderr.strip()}")
    with open(key) as f:
        check(f.read() == stored and files_below(home) == [key],
              f"stored settings changed: {files_below(home)}")


def main():
    global renderer
    sandbox = Sandbox()
    renderer = install_program(sandbox.app_dir, os.path.join(BUILD_DIR, "data"), RENDER)
    env = dict(sandbox.env(), SDL_AUDIODRIVER="dummy")
    check_argument_errors(env)
    check_cycle(env, os.path.join(sandbox.root, "cycle"))
    check_variants(env, sandbox.root)
    check_unwritable_state(env, sandbox.root)
    check_home_left_as_found(sandbox.root)
    check.finish()


if __name__ == "__main__":
    main()
