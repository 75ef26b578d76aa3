"""vostrel-render end to end for the opening: the blue glow behind the captions at each
detail level, and in preview the logo that turns white by frame 5000, whole at the size of a
host's preview window (nothing lit along the window's edges).

The renderer runs from a private copy whose machine key names the build's data folder."""
import os
import subprocess

from PIL import Image, ImageStat

from saver_harness import (BUILD_DIR, HOST_PREVIEW_SIZE, RENDER, CheckList, Sandbox,
                           install_program)

check = CheckList()


def render(program, env, out, frames, *extra, size="160x120"):
    result = subprocess.run([program, "--frames", frames, "--size", size, "--out", out]
                            + list(extra), env=env, capture_output=True, text=True,
                            timeout=240)
    check(result.returncode == 0, f"render {frames} {extra}: exit {result.returncode} "
                                  f"{result.stderr.strip()}")
    pictures = {}
    for frame in frames.split(","):
        path = os.path.join(out, f"frame-{int(frame):05d}.png")
        if os.path.exists(path):
            pictures[int(frame)] = Image.open(path).convert("RGB")
    return pictures


def mean(picture):
    return ImageStat.Stat(picture).mean  # red, green, blue


def check_nebula(program, env, root):
    frames = "100,1000,2500,4000"
    for part, name in ((1036, "medium"), (1037, "high")):
        pictures = render(program, env, os.path.join(root, name), frames,
                          "--set", f"part={part}", "--set", "matrox=0")
        for frame, picture in sorted(pictures.items()):
            red, _, blue = mean(picture)
            check(blue > 4 and blue > red, f"{name} frame {frame}: no blue glow {mean(picture)}")
        if 100 in pictures and 1000 in pictures:
            check(mean(pictures[100])[2] < mean(pictures[1000])[2],
                  f"{name}: the glow does not fade in")
    low = render(program, env, os.path.join(root, "low"), "1000", "--set", "part=1035")
    medium = render(program, env, os.path.join(root, "medium-again"), "1000",
                    "--set", "part=1036")
    if 1000 in low and 1000 in medium:
        check(mean(low[1000])[2] < mean(medium[1000])[2] / 2,
              f"low detail still draws the glow {mean(low[1000])}")


def check_preview_logo(program, env, root):
    pictures = render(program, env, os.path.join(root, "preview"), "0,4999", "--preview",
                      size=HOST_PREVIEW_SIZE)
    if 0 in pictures:
        check(max(mean(pictures[0])) > 8, f"preview frame 0 shows no logo {mean(pictures[0])}")
        check(min(mean(pictures[0])) < 240, "preview frame 0 is already white")
        grey = pictures[0].convert("L")
        width, height = grey.size
        edges = {"top": (0, 0, width, 2), "bottom": (0, height - 2, width, height),
                 "left": (0, 0, 2, height), "right": (width - 2, 0, width, height)}
        for name, box in edges.items():
            brightest = max(grey.crop(box).getdata())
            check(brightest < 24, f"the preview logo is cut off at the {name} ({brightest})")
    if 4999 in pictures:
        centre = pictures[4999].getpixel((pictures[4999].width // 2, pictures[4999].height // 2))
        check(all(c >= 250 for c in centre), f"preview frame 4999 not white: {centre}")


def main():
    sandbox = Sandbox()
    program = install_program(sandbox.app_dir, os.path.join(BUILD_DIR, "data"), RENDER)
    env = dict(sandbox.env(), SDL_AUDIODRIVER="dummy")
    check_nebula(program, env, sandbox.root)
    check_preview_logo(program, env, sandbox.root)
    sandbox.close()
    check.finish()


if __name__ == "__main__":
    main()
