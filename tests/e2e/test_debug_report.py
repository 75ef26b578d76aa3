"""The debug report of a full-screen run, written by the real program into a private install
folder's page: its layout between the untouched head and tail, the closing question, and a run
killed at any moment."""
import os
import re
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import (BUILD_DIR, START, TITLE, Sandbox, check, install_program,  # noqa: E402
                           reg_string, run_tests, saver_windows, wait_for, wait_for_exit,
                           wait_for_focused_saver, xdotool)

# Format fields, CR LF line ends and a stray "<" in the page must come back byte for byte.
HEAD = b"<html><head><title>100% debug %s %d</title></head>\r\n<body><p>a < b</p>\r\n"
TAIL = b"<!--end-->\r\n<p>50%% done %n</p></body></html>\r\n"
PAGE = HEAD + b"<!--begin--><textarea>installed</textarea>" + TAIL
TEXT_AREA = b'<!--begin--><textarea name="DEBUG" cols="30">'
BANNER = (b"****************************\nDEBUG FILE FOR VOSTREL SAVER\n"
          b"****************************\n\n-----------------------------\n"
          b"VOSTREL SCREENSAVER HAS REPOR\nTED THE FOLLOWING DEBUG INFO:\n"
          b"-----------------------------\n\n===========\nStarting...\n===========\n\n"
          b"Saver Mode, starting report.\n============================\n\n")
CLOSING = b"==========\nClosing...\n=========="
OFFER = ("DEBUG.HTM has been saved to program folder.\n\nDo you wish to edit debug information "
         "now?\n\nNOTICE: Please close any previous debug\nwindow now or click on your "
         "browser's RELOAD\nbutton later to update the report.\n\n(This annoying message can "
         "be removed\nunchecking the 'Debug Mode' option in the\nConfiguration Dialog)")
CAPTION = "Tom & <Jerry>"

# What a run ended by pointer travel writes, in order, after the banner.
RUN_STEPS = [
    rb"Register WClass SUCCESSFUL\.\nPROCEEDING\.\n\n",
    rb"Desktop Resolution\n==================\nX = \d+\nY = \d+\n\n",
    rb"Selected Resolution\n===================\nX = 640\nY = 480\n32Bpp = 0\n\n",
    re.escape(b"Settings\n========\nDetail Level = MED\nPlay Sounds = 0\nPlay Music = 0\n"
              b"Play Audio CD = 0\nPlay MP3 = 0\nMP3 File Path = \nMotion Blur = 0\n"
              b"Show Credits = 1\nRestart = 1\nStarfield = 1\nMatrox mode = 0\n"
              b"Display Caption = 1\nCaption = Tom &amp; &lt;Jerry&gt;\n\n"
              b"SETTING VIDEO MODE\n==================\n\n"),
    rb"Video mode SUCCESSFULLY set\.\nCreating Window\.\.\.\nWM_CREATE\n"
    rb"Window creation SUCCESSFUL\.\n",
    rb"Get Device Context: SUCCESSFUL\.\nChoose Pixel Format: SUCCESSFUL\.\n"
    rb"Set Pixel Format: SUCCESSFUL\.\nCreate Rendering Context: SUCCESSFUL\.\n",
    rb"Showing Window\.\.\. OK\.\n\n",
    rb"Window Messages\n===============\n\n(WM_MOUSEMOVE\n)+",
    rb"\nCLOSE SAVER WINDOW starting\.\.\.\n==============================\n\n",
    rb"Switching to desktop resolution: SUCCESSFUL\.\n",
    rb"Rendering Context: PRESENT\.\nMake Current: SUCCESSFUL\.\nDelete Context: SUCCESSFUL\.\n",
    rb"Device Context: PRESENT\.\nRelease Device Context: SUCCESSFUL\.\n",
    rb"Destroying Window\.\.\.\nWM_DESTROY\nDESTROY WINDOW: SUCCESSFUL\.\n",
    rb"UNREGISTER CLASS: SUCCESSFUL\.\n\n",
]


class DebugInstall:
    """A copy of the program whose machine key names a private install folder: the build's
    data files (linked) and our own report page; debug mode on, sounds off."""

    def __init__(self):
        self.sandbox = Sandbox()
        self.folder = os.path.join(self.sandbox.root, "install")
        os.makedirs(self.folder)
        built_data = os.path.join(BUILD_DIR, "data", "data")
        self.complete = os.path.isdir(built_data)
        if self.complete:
            os.symlink(built_data, os.path.join(self.folder, "data"))
        self.page = os.path.join(self.folder, "debug.htm")
        with open(self.page, "wb") as f:
            f.write(PAGE)
        self.program = install_program(self.sandbox.app_dir, self.folder)
        self.sandbox.write_user_settings('"debug"=dword:00000001\n"psound"=dword:00000000\n'
                                         '"pmusic"=dword:00000000\n"vostrel"=%s\n'
                                         % reg_string(CAPTION))

    def start(self, answer="no"):
        # Without the data files the run first warns, and that box takes an answer too.
        answers = answer if self.complete else "ok," + answer
        xdotool("mousemove", *START)
        return self.sandbox.start(["/s"], answers, program=self.program)

    def read_page(self):
        with open(self.page, "rb") as f:
            return f.read()

    def close(self):
        self.sandbox.close()


def end_by_pointer_travel():
    """Once the saver has the focus: moves the pointer just far enough to end the run."""
    wait_for_focused_saver()
    xdotool("mousemove", START[0], START[1] + 51)


def run_to_the_end(install, answer):
    """A full run: the saver takes the focus, then pointer travel ends it."""
    process = install.start(answer)
    end_by_pointer_travel()
    wait_for_exit(process)


def check_complete_page(page):
    check(page.startswith(HEAD + TEXT_AREA + BANNER), "head or banner changed: %r" % page[:600])
    check(page.endswith(CLOSING + b"</textarea>" + TAIL), "closing or tail changed: %r"
          % page[-300:])
    report = page[len(HEAD + TEXT_AREA + BANNER):-len(CLOSING + b"</textarea>" + TAIL)]
    check(re.fullmatch(b"".join(RUN_STEPS), report), "report out of order:\n"
          + report.decode(errors="replace"))


def check_offer(install, answer):
    boxes = install.sandbox.boxes()
    questions = [b for b in boxes if b["buttons"] == "yesno"]
    check(len(questions) == 1, "boxes: %r" % boxes)
    question = questions[0]
    check(question["text"] == OFFER and question["title"] == TITLE, question)
    check(question["icon"] == "question" and question["owner"] != 0, question)
    check(question["answer"] == answer, question)
    check(not [b for b in boxes if b["icon"] == "error"], "error boxes: %r" % boxes)


def test_full_run_then_no():
    install = DebugInstall()
    run_to_the_end(install, "no")
    check_complete_page(install.read_page())
    check_offer(install, "no")
    check(install.sandbox.opened(wait=1.0) == [], "No opened something")
    install.close()


def test_second_run_then_yes():
    install = DebugInstall()
    run_to_the_end(install, "no")
    run_to_the_end(install, "yes")
    page = install.read_page()
    check_complete_page(page)
    check(page.count(b"Saver Mode, starting report.") == 1, "the first report was kept")
    check(install.sandbox.opened(wait=5.0) == [install.page], install.sandbox.opened())
    install.close()


def kill_and_check(install, delay, after_travel):
    """Kills a run `delay` seconds after its start, or after the pointer travel that starts its
    tear-down, when many lines are written in a burst."""
    process = install.start()
    try:
        if after_travel:
            end_by_pointer_travel()
        time.sleep(delay)
    finally:
        process.send_signal(signal.SIGKILL)
        process.wait()
    page = install.read_page()
    check(page == PAGE or page.startswith(HEAD + TEXT_AREA + BANNER),
          "head lost after %.3f s: %r" % (delay, page[:400]))
    check(page.endswith(b"</textarea>" + TAIL), "tail lost after %.3f s: %r"
          % (delay, page[-300:]))
    wait_for(lambda: not saver_windows(), "the killed saver's window to go")


def test_killed_runs_leave_a_page_the_next_run_rewrites():
    install = DebugInstall()
    for delay, after_travel in ((0.05, False), (0.3, False), (1.0, False), (0.0, True),
                                (0.005, True), (0.02, True)):
        kill_and_check(install, delay, after_travel)
    run_to_the_end(install, "no")
    check_complete_page(install.read_page())
    left = [name for name in os.listdir(install.folder) if name.startswith(".debug.htm.")]
    check(not left, "killed runs' temporary pages are still there: %r" % left)
    install.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_full_run_then_no, test_second_run_then_yes,
                        test_killed_runs_leave_a_page_the_next_run_rewrites]))
