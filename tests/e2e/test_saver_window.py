"""The saver on screen, run as the real program: the full-screen window and what ends it, the
preview inside a host window, and the windows that cannot be made."""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import BUILD_DIR, SAVER, Sandbox, check  # noqa: E402
from x_windows import XConnection  # noqa: E402

TITLE = "Vostrel ScreenSaver"
MACHINE_KEY = os.path.join("etc", "vostrel", "Software", "Calimor", "VostrelSaver1.1.reg")
START = (400, 300)
WAIT = 30  # seconds; sanitizer builds start slowly


def install(sandbox):
    """A copy of the program whose machine key names an install folder: the build's data
    folder when it has been made, else an empty one (the run then warns and goes on)."""
    app_dir = os.path.join(sandbox.root, "app")
    os.makedirs(os.path.dirname(os.path.join(app_dir, MACHINE_KEY)))
    program = os.path.join(app_dir, "vostrel")
    shutil.copy2(SAVER, program)
    folder = os.path.join(BUILD_DIR, "data")
    if not os.path.isdir(folder):
        folder = os.path.join(sandbox.root, "install")
        os.makedirs(folder)
    with open(os.path.join(app_dir, MACHINE_KEY), "w") as f:
        f.write('REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Calimor\\VostrelSaver1.1]\n'
                '"Path"="%s"\n' % folder.replace("\\", "\\\\").replace('"', '\\"'))
    return program


def xdotool(*args):
    return subprocess.run(["xdotool"] + [str(a) for a in args], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True).stdout.split()


def saver_windows():
    return xdotool("search", "--name", "^%s$" % TITLE)


def window_info(window):
    out = subprocess.run(["xwininfo", "-id", str(window)], stdout=subprocess.PIPE,
                         text=True).stdout
    info = {}
    for line in out.splitlines():
        key, _, value = line.strip().partition(":")
        info[key] = value.strip()
    return info


def wait_for(predicate, what, timeout=WAIT):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError("timed out waiting for " + what)


class Run:
    """One saver process in its own sandbox."""

    def __init__(self, args):
        self.sandbox = Sandbox()
        program = install(self.sandbox)
        self.process = subprocess.Popen([program] + args, env=self.sandbox.env(),
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def alive(self):
        return self.process.poll() is None

    def finish(self, timeout=WAIT):
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise AssertionError("the saver did not end")
        stderr = self.process.stderr.read().decode(errors="replace")
        check(self.process.returncode == 0, "exit code %d: %s" % (self.process.returncode, stderr))
        errors = [b for b in self.sandbox.boxes() if b["icon"] == "error"]
        check(not errors, "error boxes: %r" % errors)
        self.sandbox.close()


def start_saver():
    """A full-screen saver that has taken the input focus, the pointer resting at START."""
    xdotool("mousemove", *START)
    run = Run(["/s"])
    window = wait_for(lambda: saver_windows(), "the saver window")[0]
    wait_for(lambda: xdotool("getwindowfocus") == [window], "the saver to take the focus")
    time.sleep(0.5)  # the pointer position is recorded right after the focus is taken
    return run, window


def still_running(run, settle=1.0):
    time.sleep(settle)
    return run.alive() and saver_windows()


def end_and_check(run):
    run.finish()
    check(not saver_windows(), "a saver window is left behind")


def test_full_screen_window():
    run, window = start_saver()
    info = window_info(window)
    check(info.get("Map State") == "IsViewable", "window not visible: %r" % info)
    check(info.get("Override Redirect State") == "yes", "not override-redirect: %r" % info)
    screen = subprocess.run(["xdpyinfo"], stdout=subprocess.PIPE, text=True).stdout
    dimensions = [l.split()[1] for l in screen.splitlines() if "dimensions:" in l][0]
    check("%sx%s" % (info["Width"], info["Height"]) == dimensions,
          "window %sx%s does not cover the screen %s" % (info["Width"], info["Height"],
                                                         dimensions))
    connection = XConnection()
    wait_for(lambda: not connection.pointer_visible(), "the pointer to disappear", timeout=5)
    xdotool("key", "space")
    end_and_check(run)
    check(connection.pointer_visible(), "the pointer stays hidden after the saver")
    connection.close()


def test_pointer_travel():
    run, _ = start_saver()
    xdotool("mousemove", START[0] + 50, START[1])
    check(still_running(run), "50 pixels of travel ended the saver")
    xdotool("mousemove", START[0] + 50, START[1] - 50)
    check(still_running(run), "50 pixels along each axis ended the saver")
    xdotool("mousemove", START[0], START[1] + 51)
    end_and_check(run)


def test_keys():
    run, _ = start_saver()
    xdotool("key", "alt+x")
    check(still_running(run), "a key with Alt held ended the saver")
    xdotool("key", "alt+F4")
    check(still_running(run), "Alt+F4 closed the saver")
    xdotool("key", "x")
    end_and_check(run)


def test_mouse_buttons():
    for button in (1, 2, 3):
        run, _ = start_saver()
        xdotool("click", 4)
        check(still_running(run, settle=0.5), "the wheel ended the saver")
        xdotool("click", button)
        end_and_check(run)


def test_losing_focus():
    connection = XConnection()
    other = connection.create_window(0, 0, 100, 100)
    run, _ = start_saver()
    connection.focus(other)
    end_and_check(run)
    connection.close()


def test_closing_from_outside():
    """A close request is swallowed in saver mode; destroying the window ends the run."""
    connection = XConnection()
    run, window = start_saver()
    connection.ask_to_close(int(window))
    check(still_running(run), "a close request ended the saver")
    connection.destroy(int(window))
    end_and_check(run)
    connection.close()


def child_windows(parent):
    out = subprocess.run(["xwininfo", "-children", "-id", str(parent)], stdout=subprocess.PIPE,
                         text=True).stdout
    return [line.split()[0] for line in out.splitlines()
            if line.strip().startswith("0x") and TITLE in line]


def test_preview():
    connection = XConnection()
    host = connection.create_window(100, 100, 320, 240)
    run = Run(["/p", str(host)])
    child = wait_for(lambda: child_windows(host), "the preview window")[0]
    info = window_info(child)
    check(info.get("Map State") == "IsViewable", "preview not visible: %r" % info)
    check((info["Width"], info["Height"]) == ("320", "240"), "preview size %r" % info)
    time.sleep(1.0)
    connection.focus(int(child, 16))
    xdotool("mousemove", 200, 200)
    xdotool("key", "x")
    xdotool("click", 1)
    xdotool("mousemove", 900, 900)
    check(still_running(run), "input ended the preview")
    xdotool("mousemove", 200, 200)
    time.sleep(0.5)
    check(connection.pointer_visible(), "the pointer is hidden over the preview")
    connection.destroy(host)
    run.finish()
    connection.close()


def test_preview_without_window():
    for argument in ("scrprev", "123456789"):
        sandbox = Sandbox()
        program = install(sandbox)
        result = subprocess.run([program, "/p", argument], env=sandbox.env(), timeout=WAIT,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        check(result.returncode == 0, "exit code %d" % result.returncode)
        boxes = [b for b in sandbox.boxes() if b["icon"] == "error"]
        check([(b["text"], b["owner"]) for b in boxes] == [("Can't Create Window.", 0)],
              "boxes for /p %s: %r" % (argument, sandbox.boxes()))
        sandbox.close()


def main():
    tests = [test_full_screen_window, test_pointer_travel, test_keys, test_mouse_buttons,
             test_losing_focus, test_closing_from_outside, test_preview, test_preview_without_window]
    failed = 0
    for test in tests:
        try:
            test()
            print("PASS", test.__name__)
        except AssertionError as error:
            failed += 1
            print("FAIL", test.__name__, error)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
