"""Run by tests/e2e/test_connection_lost.py inside a session of scripts/wayland-session.sh:
the saver's show runs (music off), then the compositor is killed with the signal the first
argument names, as a crash or a session's end does; prints how long the saver took to end,
and fails unless it ended in time (DISPLAY_LOSS_ENDS_WITHIN) with status 0."""
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from saver_harness import (BUILD_DIR, DISPLAY_LOSS_ENDS_WITHIN, SHOW_SETTLES,  # noqa: E402
                           Sandbox, check, install_program)

NO_SOUND = '"pmusic"=dword:00000000\n"pmp3"=dword:00000000\n"pcd"=dword:00000000\n'


def main(signal_name):
    sandbox = Sandbox()
    sandbox.answer_boxes = False
    sandbox.write_user_settings(NO_SOUND)
    program = install_program(sandbox.app_dir, os.path.join(BUILD_DIR, "data"))
    saver = sandbox.start(["/s"], program=program)
    try:
        time.sleep(SHOW_SETTLES)
        check(saver.poll() is None, "the saver ended before the compositor")
        killed = time.time()
        os.kill(int(os.environ["COMPOSITOR_PID"]), getattr(signal, signal_name))
        try:
            saver.wait(timeout=10)
        except subprocess.TimeoutExpired:
            raise AssertionError("the saver outlived its compositor by 10 s")
        took = time.time() - killed
        print("the saver ended %.2f s after the compositor's %s, status %d" % (
            took, signal_name, saver.returncode))
        check(saver.returncode == 0, "status %d" % saver.returncode)
        check(took <= DISPLAY_LOSS_ENDS_WITHIN, "it took %.2f s" % took)
    finally:
        if saver.poll() is None:
            saver.kill()
            saver.wait()
        sandbox.close()


if __name__ == "__main__":
    try:
        main(sys.argv[1])
    except AssertionError as failure:
        print("FAIL %s" % failure)
        sys.exit(1)
