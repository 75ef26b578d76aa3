"""The saver on screen, run as the real program: the full-screen window and what ends it, the
preview inside a host window, and the windows that cannot be made."""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import (BUILD_DIR, START, WAIT, Sandbox, check, child_windows,  # noqa: E402
                           install_program, run_tests, saver_windows, wait_for, wait_for_exit,
                           wait_for_focused_saver, xdotool)
from x_windows import XConnection  # noqa: E402

REPORT_START = "Saver Mode, starting report.\n============================\n\n"
REPORT_END = "==========\nClosing...\n=========="


def install(sandbox, private_data=False, settings=""):
    """A copy of the program whose machine key names an install folder: the build's data
    folder when it has been made (copied when the run may write into it), else an empty one
    (the run then warns and goes on). `settings` are REGEDIT4 value lines for the user."""
    folder = os.path.join(BUILD_DIR, "data")
    if private_data and os.path.isdir(folder):
        shutil.copytree(folder, os.path.join(sandbox.root, "install"))
        folder = os.path.join(sandbox.root, "install")
    elif not os.path.isdir(folder):
        folder = os.path.join(sandbox.root, "install")
        os.makedirs(folder)
        with open(os.path.join(folder, "debug.htm"), "w") as f:
            f.write("<html><!--begin--><!--end--></html>\n")
    sandbox.write_user_settings(settings)
    return install_program(sandbox.app_dir, folder), folder


def window_info(window):
    out = subprocess.run(["xwininfo", "-id", str(window)], stdout=subprocess.PIPE,
                         text=True).stdout
    info = {}
    for line in out.splitlines():
        key, _, value = line.strip().partition(":")
        info[key] = value.strip()
    return info


class Run:
    """One saver process in its own sandbox."""

    def __init__(self, args, private_data=False, settings=""):
        self.sandbox = Sandbox()
        program, self.install_folder = install(self.sandbox, private_data, settings)
        self.process = self.sandbox.start(args, program=program)

    def alive(self):
        return self.process.poll() is None

    def report(self):
        """The report lines of the run's debug page, from the first step of the run on."""
        with open(os.path.join(self.install_folder, "debug.htm")) as f:
            page = f.read()
        start = page.index(REPORT_START) + len(REPORT_START)
        return page[start:page.index(REPORT_END)]

    def finish(self, timeout=WAIT, keep=False):
        wait_for_exit(self.process, timeout)
        errors = self.sandbox.error_boxes()
        check(not errors, "error boxes: %r" % errors)
        if not keep:
            self.sandbox.close()


def start_saver(**install_options):
    """A full-screen saver that has taken the input focus, the pointer resting at START."""
    xdotool("mousemove", *START)
    run = Run(["/s"], **install_options)
    return run, wait_for_focused_saver()


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
    run, _ = start_saver(private_data=True, settings=DEBUG_ON)
    # System keys: any key with Alt held, and F10 alone. Alt+F4 asks the window to close, as the
    # system menu would, and the saver refuses.
    for keys in ("alt+x", "alt+F4", "F10"):
        xdotool("key", keys)
        check(still_running(run), "%s ended the saver" % keys)
    xdotool("key", "f")
    run.finish(keep=True)
    report = run.report()
    run.sandbox.close()
    check(not saver_windows(), "a saver window is left behind")
    check(report.count("SC_CLOSE\n") == 1, "Alt+F4 did not ask once to close:\n" + report)


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


DEBUG_ON = '"debug"=dword:00000001\n'
WINDOW_STEPS = ("Video mode SUCCESSFULLY set.\nCreating Window...\nWM_CREATE\n"
                "Window creation SUCCESSFUL.\nGet Device Context: SUCCESSFUL.\n"
                "Choose Pixel Format: SUCCESSFUL.\nSet Pixel Format: SUCCESSFUL.\n"
                "Create Rendering Context: SUCCESSFUL.\nShowing Window... OK.\n\n"
                "Window Messages\n===============\n\n")
TEAR_DOWN = "\nCLOSE SAVER WINDOW starting...\n==============================\n\n"


def test_debug_report():
    """The run's steps, the ending event and the tear-down, in the report's words."""
    run, _ = start_saver(private_data=True, settings=DEBUG_ON)
    xdotool("key", "x")
    run.finish(keep=True)
    report = run.report()
    run.sandbox.close()
    check(report.startswith("Register WClass SUCCESSFUL.\nPROCEEDING.\n\n"
                            "Desktop Resolution\n==================\n"), report)
    heading = "SETTING VIDEO MODE\n==================\n\n"
    steps = report[report.index(heading) + len(heading):]
    check(steps == WINDOW_STEPS + "WM_MOUSEBTN-KEY_DOWN\n" + TEAR_DOWN +
          "Switching to desktop resolution: SUCCESSFUL.\n"
          "Rendering Context: PRESENT.\nMake Current: SUCCESSFUL.\n"
          "Delete Context: SUCCESSFUL.\n"
          "Device Context: PRESENT.\nRelease Device Context: SUCCESSFUL.\n"
          "Destroying Window...\nWM_DESTROY\nDESTROY WINDOW: SUCCESSFUL.\n"
          "UNREGISTER CLASS: SUCCESSFUL.\n\n", "report steps:\n" + steps)


# Mesa's overrides make an OpenGL 1.1 without framebuffer objects, as Windows' own generic one.
GL_WITHOUT_FRAMEBUFFERS = {
    "MESA_GL_VERSION_OVERRIDE": "1.1",
    "MESA_EXTENSION_OVERRIDE": "-GL_ARB_framebuffer_object -GL_EXT_framebuffer_object"}
MODE = (640, 480)  # the default resolution


def test_gl_without_framebuffer_objects():
    """Such a GL cannot hold the virtual mode: the show is drawn straight into the window,
    scaled to fit between black bars, and runs as ever (the mode was refused before)."""
    saved = dict(os.environ)
    os.environ.update(GL_WITHOUT_FRAMEBUFFERS)
    try:
        run, _ = start_saver()
    finally:
        os.environ.clear()
        os.environ.update(saved)
    x = XConnection()
    width, height = x.screen_size()
    bar = (height - min(height, width * MODE[1] // MODE[0])) // 2
    time.sleep(2)
    before = x.screen_sample()
    time.sleep(1)
    check(x.lit_share(0, bar, width, height - 2 * bar) > 0.01, "the picture is black")
    check(x.screen_sample() != before, "the picture did not change in a second")
    if bar > 2:
        check(x.lit_share(0, 0, width, bar - 1) == 0 and
              x.lit_share(0, height - bar + 1, width, bar - 1) == 0, "the bars are not black")
    x.close()
    xdotool("key", "space")
    end_and_check(run)


def test_refused_mode_report():
    """A resolution outside the table leaves a 0 x 0 mode, which is refused: the tear-down
    finds nothing to delete, and the box comes after it."""
    sandbox = Sandbox()
    program, folder = install(sandbox, private_data=True,
                              settings=DEBUG_ON + '"resolution"=dword:0000270f\n')
    result = sandbox.run(["/s"], timeout=WAIT, program=program)
    check(result.returncode == 0, "exit code %d" % result.returncode)
    with open(os.path.join(folder, "debug.htm")) as f:
        page = f.read()
    check("Y = 0\n32Bpp" in page, "the mode is not 0 x 0")
    check("Couldn't set requested video mode.\nCLOSING SAVER WINDOW.\n\n" + TEAR_DOWN +
          "Switching to desktop resolution: SUCCESSFUL.\n"
          "Rendering Context: NOT PRESENT. Can't delete Rendering Context.\n"
          "Device Context: NOT PRESENT. Can't release Device Context.\n"
          "Destroying Window...\nDESTROY WINDOW: FAILED.\n"
          "UNREGISTER CLASS: SUCCESSFUL.\n\n==========\nClosing..." in page, page)
    errors = [b["text"] for b in sandbox.error_boxes()]
    check(len(errors) == 1 and "unable to set" in errors[0], "boxes: %r" % sandbox.boxes())
    sandbox.close()


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


def test_preview_host_going_away_at_any_moment():
    """The host may destroy the preview while it is set up or while a frame is presented;
    every such ending is a clean exit."""
    for delay in (0.0, 0.05, 0.1, 0.2, 0.3, 0.5, 0.7, 1.0, 1.5, 2.0):
        connection = XConnection()
        host = connection.create_window(0, 0, 160, 120)
        run = Run(["/p", str(host)])
        wait_for(lambda: child_windows(host), "the preview window")
        time.sleep(delay)
        connection.destroy(host)
        run.finish()
        connection.close()


def test_preview_without_window():
    for argument in ("scrprev", "123456789"):
        sandbox = Sandbox()
        program, _ = install(sandbox)
        result = sandbox.run(["/p", argument], timeout=WAIT, program=program)
        check(result.returncode == 0, "exit code %d" % result.returncode)
        boxes = sandbox.error_boxes()
        check([(b["text"], b["owner"]) for b in boxes] == [("Can't Create Window.", 0)],
              "boxes for /p %s: %r" % (argument, sandbox.boxes()))
        sandbox.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_full_screen_window, test_pointer_travel, test_keys,
                        test_mouse_buttons, test_losing_focus, test_closing_from_outside,
                        test_debug_report, test_gl_without_framebuffer_objects,
                        test_refused_mode_report, test_preview,
                        test_preview_host_going_away_at_any_moment,
                        test_preview_without_window]))
