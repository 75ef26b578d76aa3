"""vostrel-render end to end for the sun and the collapse, at each detail level: the white
start of the 3D scene, the last of the white layer, the flash's 13 frames in the --state
output, and the random generator's state at the turning points of the sun.

The renderer runs from a private copy whose machine key names the build's data folder."""
import json
import os
import subprocess

from PIL import Image

from saver_harness import BUILD_DIR, DETAIL_PARTS, RENDER, CheckList, Sandbox, install_program

check = CheckList()

LEVELS = {part: name for name, part in DETAIL_PARTS.items()}

# The generator's state after frames 5000, 5500 and 6011 of a first cycle with the default
# settings (sound on), by detail level. Worked out apart from the program, by counting the
# draws: the set-up's particles (5 per ring particle, 6 per comet and per debris) and 404 for
# the rays; then per sun frame one for the sun's red, one per ray drawn, one for the inner
# shell's red above low detail, one for every short bang, three for the collapse glow's
# sprites once it shows, and one for the warning caption in each of frames 5900 to 5999.
PINNED_RANDOM_STATE = {
    1035: {5000: 2744349096, 5500: 2223190394, 6011: 1214027943},
    1036: {5000: 1158863279, 5500: 2378743453, 6011: 2680661807},
    1037: {5000: 803136479, 5500: 2371215181, 6011: 3240284511},
}


def render(program, env, out, frames, *extra):
    """Renders at 64x48 unless `extra` gives another --size."""
    state = os.path.join(out, "state.jsonl")
    size = [] if "--size" in extra else ["--size", "64x48"]
    result = subprocess.run([program, "--frames", frames, "--out", out, "--state", state] +
                            size + list(extra), env=env, capture_output=True,
                            text=True, timeout=240)
    check(result.returncode == 0, f"render {frames} {extra}: exit {result.returncode} "
                                  f"{result.stderr.strip()}")
    if result.returncode != 0:
        return {}, {}
    with open(state) as lines:
        states = {entry["frame"]: entry for entry in map(json.loads, lines)}
    pictures = {f: Image.open(os.path.join(out, f"frame-{f:05d}.png")).convert("RGB")
                for f in states}
    return states, pictures


def darkest(picture):
    return min(low for low, _ in picture.getextrema())


def check_level(program, env, root, part):
    name = LEVELS[part]
    # No starfield, so that where nothing else is drawn the picture is black, or the white
    # layer's own alpha; 32-bit colour, where that alpha is not rounded away.
    states, pictures = render(program, env, os.path.join(root, name),
                              "5000-5004,5049,5050,5500,6000-6020", "--set", f"part={part}",
                              "--set", "matrox=0", "--set", "starfield=0", "--set", "bpp=1")
    if not states:
        return
    for frame in range(5000, 5005):
        check(darkest(pictures[frame]) == 255, f"{name} frame {frame} not plain white")
    check(darkest(pictures[5049]) == 6, f"{name} frame 5049: darkest {darkest(pictures[5049])},"
                                        " wanted the white layer's 6")
    check(darkest(pictures[5050]) == 0, f"{name} frame 5050 still has a white layer")
    check(max(high for _, high in pictures[5500].getextrema()) > 128,
          f"{name} frame 5500 shows no sun")
    flash = [states[f]["flashStep"] for f in range(6000, 6021)]
    check(flash == [0] * 4 + list(range(1, 14)) + [13] * 4,
          f"{name}: flashStep after frames 6000 to 6020 is {flash}")
    for frame, wanted in PINNED_RANDOM_STATE[part].items():
        check(states[frame]["rng"] == wanted,
              f"{name}: generator after frame {frame} is {states[frame]['rng']}, wanted {wanted}")


def check_very_wide_view(program, env, root):
    """The white-out and the white layer reach the edges of a 10:3 picture too."""
    out = os.path.join(root, "wide")
    _, pictures = render(program, env, out, "4995,5002", "--size", "800x240", "--set",
                         "matrox=1", "--set", "starfield=0", "--set", "bpp=1")
    for frame, picture in pictures.items():
        check(darkest(picture) == 255, f"frame {frame} at 800x240: darkest {darkest(picture)}")


def main():
    sandbox = Sandbox()
    program = install_program(sandbox.app_dir, os.path.join(BUILD_DIR, "data"), RENDER)
    env = dict(sandbox.env(), SDL_AUDIODRIVER="dummy")
    for part in LEVELS:
        check_level(program, env, sandbox.root, part)
    check_very_wide_view(program, env, sandbox.root)
    sandbox.close()
    check.finish()


if __name__ == "__main__":
    main()
