"""The saver on weston (Debian 13's, headless, run by scripts/wayland-session.sh --debian13
--weston), which offers no layer-shell: the show is a fullscreen window that covers the output
and moves, and SIGTERM ends it. A headless weston has no seat at all, so no key or
click can reach any client there; the music is off, since its box could not be answered."""
import glob
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from saver_harness import (BUILD_DIR, Sandbox, check, install_program,  # noqa: E402
                           run_tests)
from PIL import Image  # noqa: E402
from wayland_saver import check_covered_and_moving  # noqa: E402

NO_SOUND = '"pmusic"=dword:00000000\n"pmp3"=dword:00000000\n"pcd"=dword:00000000\n'
HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = subprocess.run(["bash", os.path.join(HERE, "..", "..", "scripts", "make-test-root.sh"),
                       "--print"], stdout=subprocess.PIPE, text=True, check=True).stdout.strip()


def screenshot():
    """Weston's own screenshot (granted to any client under --debug), taken by Debian 13's
    weston-screenshooter through that system's loader, into a folder of its own."""
    folder = os.path.join(os.environ["HOME"], "shots")
    os.makedirs(folder, exist_ok=True)
    for old in glob.glob(os.path.join(folder, "*.png")):
        os.remove(old)
    subprocess.run([ROOT + "/lib64/ld-linux-x86-64.so.2", "--library-path",
                    ROOT + "/usr/lib/x86_64-linux-gnu", ROOT + "/usr/bin/weston-screenshooter"],
                   cwd=folder, check=True, stdout=subprocess.DEVNULL, timeout=30)
    with Image.open(glob.glob(os.path.join(folder, "*.png"))[0]) as image:
        return image.convert("RGB")


def test_show_covers_the_output_and_sigterm_ends_it():
    sandbox = Sandbox()
    sandbox.answer_boxes = False
    sandbox.write_user_settings(NO_SOUND)
    program = install_program(sandbox.app_dir, os.path.join(BUILD_DIR, "data"))
    saver = sandbox.start(["/s"], program=program)
    try:
        time.sleep(2.0)
        check_covered_and_moving(screenshot)
        # The full-screen saver leaves SIGTERM its default action, as a session's end does.
        saver.send_signal(signal.SIGTERM)
        saver.wait(timeout=10)
        check(saver.returncode == -signal.SIGTERM, "status %d" % saver.returncode)
    finally:
        if saver.poll() is None:
            saver.kill()
            saver.wait()
        sandbox.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_show_covers_the_output_and_sigterm_ends_it]))
