"""Makes a video of one whole cycle of the show (frames 0 to 9499) from vostrel-render's
frames, with ffmpeg, at the pace the show was made for (one frame per 60 Hz refresh).

    /usr/bin/python3 tools/docs/make_cycle_video.py BUILD_DIR OUT.mp4 [WIDTHxHEIGHT]

The renderer runs from a scratch copy whose machine key names BUILD_DIR/data, with the
stored defaults plus motion blur. ffmpeg is only needed here, not to build or test:
`sudo apt-get install ffmpeg` on Debian."""
import os
import shutil
import subprocess
import sys
import tempfile

# The end-to-end tests' harness lays out the private install: program copy and machine key.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tests/e2e"))
from saver_harness import install_program  # noqa: E402

CYCLE_FRAMES = 9500
FRAMES_PER_SECOND = 60


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    build, video = sys.argv[1], os.path.abspath(sys.argv[2])
    size = sys.argv[3] if len(sys.argv) == 4 else "320x240"
    ffmpeg = shutil.which("ffmpeg")
    if ffmpeg is None:
        sys.exit("ffmpeg is not installed; on Debian: sudo apt-get install ffmpeg")
    with tempfile.TemporaryDirectory(prefix="vostrel-video-") as root:
        program = install_program(os.path.join(root, "install"), os.path.join(build, "data"),
                                  os.path.join(build, "vostrel-render"))
        env = dict(os.environ, SDL_AUDIODRIVER="dummy",
                   XDG_CONFIG_HOME=os.path.join(root, "config"))
        frames = os.path.join(root, "frames")
        subprocess.run([program, "--frames", f"0-{CYCLE_FRAMES - 1}", "--size", size,
                        "--out", frames, "--set", "useblur=1", "--set", "matrox=0"],
                       env=env, check=True)
        subprocess.run([ffmpeg, "-loglevel", "error", "-y", "-framerate",
                        str(FRAMES_PER_SECOND), "-i", os.path.join(frames, "frame-%05d.png"),
                        "-c:v", "libx264", "-pix_fmt", "yuv420p", "-crf", "30",
                        "-preset", "slow", video], check=True)
    print(video)


if __name__ == "__main__":
    main()
