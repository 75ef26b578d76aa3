"""The installer run silently into the fresh prefix, again through its pages over that install
as a user upgrading would, and the uninstaller at the end of the run; then, with nothing
installed, the installs a user can get wrong: into a folder of their own files, into a folder
that cannot be written, and an uninstall while the saver runs.
"""
import os
import shutil
import subprocess
import time

from saver_harness import check, wait_for, xdotool
from x_windows import XConnection
from wine_prefix import (ENV, NAMES, PREFIX, SAVER, START, end_with_key, ours, reg_values,
                         run_saver, state, unix_path, wine)

RESOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources")
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + NAMES["PRODUCT"]
# Windows' exit status for "done once the system restarts", of which Wine's own process
# status keeps the low byte.
RESTART_TO_FINISH = 3010 & 0xFF


def test_silent_install():
    started = time.time()
    result = subprocess.run(["wineboot", "-i"], env=ENV, timeout=180,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    print("  prefix made in %.0f s" % (time.time() - started))
    check(result.returncode == 0, "wineboot failed")
    result = wine(NAMES["SETUP"], "/S")
    check(result.returncode == 0, "the installer exited with %d" % result.returncode)
    folder = (reg_values("HKLM\\" + NAMES["INSTALL_KEY"]) or {}).get("Path")
    check(folder is not None, "no install folder in the machine key")
    state["folder"] = folder
    check(os.path.isfile(unix_path(SAVER)), "the saver is not in the system folder")
    links = [path for path in ours() if path.endswith(".lnk")]
    check(len(links) == 1, "not one Start menu entry: %s" % links)
    with open(links[0], "rb") as f:  # the settings without an owner
        check("/c:0".encode("utf-16-le") in f.read(), "the entry does not start /c:0")
    data = NAMES["DATA_DIR"]
    size = os.path.getsize(unix_path(SAVER))
    for made_folder, _, files in os.walk(data):
        for name in files:
            relative = os.path.relpath(os.path.join(made_folder, name), data)
            check(os.path.isfile(os.path.join(unix_path(folder), relative)),
                  relative + " is not installed")
            size += os.path.getsize(os.path.join(made_folder, name))
    # What "Apps & features" shows, as `reg query` reads it back.
    entry = reg_values(UNINSTALL_KEY) or {}
    print("  uninstall entry: %s" % {name: entry.get(name) for name in
                                    ("DisplayName", "Publisher", "DisplayVersion", "EstimatedSize")})
    check(entry.get("Publisher") == NAMES["PUBLISHER"], "the publisher: %s" % entry)
    estimated = int(entry.get("EstimatedSize", "0"), 16)
    check(size // 1024 <= estimated <= size // 1024 + 64, "%d KB for %d bytes" % (estimated, size))


def warm_pixels(pixels):
    """The emblem's warm colours among (r, g, b) pixels, each once, with how often it comes."""
    counts = {}
    for pixel in pixels:
        if pixel[0] > 150 and pixel[0] - pixel[2] > 80:
            counts[pixel] = counts.get(pixel, 0) + 1
    return counts


def shows_picture(name):
    """Whether the screen shows the resource picture `name`: a third of its warm pixels in its
    own colours at least, which a picture scaled to its place keeps."""
    from PIL import Image
    picture = warm_pixels(Image.open(os.path.join(RESOURCES, name)).convert("RGB").getdata())
    x = XConnection()
    try:
        screen = warm_pixels(((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF)
                             for p in x.screen_sample(step=1))
    finally:
        x.close()
    shown = sum(count for colour, count in screen.items() if colour in picture)
    return shown >= sum(picture.values()) / 3


def test_pages_reinstall_over_an_install():
    """Return through the welcome and folder pages, which show the product's own pictures and
    branding line; on the last page, Space clears the offer of the screen saver settings and
    Return finishes. The uninstaller is written anew by every install."""
    uninstaller = unix_path(state["folder"] + "\\uninstall.exe")
    before = os.stat(uninstaller).st_mtime_ns
    setup = subprocess.Popen(["wine", NAMES["SETUP"]], env=ENV, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    try:
        window = wait_for(lambda: xdotool("search", "--onlyvisible", "--name", "Setup$"),
                          "the installer")[0]
        time.sleep(1)
        check(shows_picture("installer-side.bmp"), "the welcome page lacks its picture")
        # The branding line under the pages is ours, not the installer tool's.
        check("Nullsoft" not in wine("winedbg", "--command", "info wnd").stdout,
              "the pages carry the installer tool's branding")
        xdotool("windowfocus", window)
        xdotool("key", "Return")
        time.sleep(1)
        check(shows_picture("installer-header.bmp"), "the folder page lacks its header")
        xdotool("key", "Return")
        # The last page, once every file is in place, shows the welcome page's picture again.
        wait_for(lambda: shows_picture("installer-side.bmp"), "the last page", timeout=120,
                 poll=1)
        time.sleep(1)
        xdotool("key", "space", "Return")
        check(setup.wait(timeout=30) == 0, "the installer exited with %d" % setup.returncode)
    finally:
        if setup.poll() is None:
            setup.kill()
    check(os.stat(uninstaller).st_mtime_ns != before, "the uninstaller was not written anew")
    check(reg_values("HKLM\\" + NAMES["INSTALL_KEY"]).get("Path") == state["folder"],
          "the install folder changed")


def test_uninstall_leaves_only_settings():
    uninstaller = unix_path(state["folder"] + "\\uninstall.exe")
    check(os.path.isfile(uninstaller), "no uninstaller")
    wine("reg", "add", "HKCU\\" + NAMES["SETTINGS_KEY"], "/f")  # as any run of the saver makes it
    wine(state["folder"] + "\\uninstall.exe", "/S")
    # The uninstaller copies itself away and returns at once; the copy does the work.
    subprocess.run(["wineserver", "-w"], env=ENV, timeout=60)
    check(ours() == [], "left behind: %s" % ours())
    check(reg_values("HKLM\\" + NAMES["INSTALL_KEY"]) is None, "the machine key is left")
    check(reg_values("HKCU\\" + NAMES["SETTINGS_KEY"]) is not None, "the user's settings are gone")


def install_silently(folder):
    """Into `folder`, which holds no space: /D= takes no quotes, and Wine would quote it."""
    return wine(NAMES["SETUP"], "/S", "/D=" + folder).returncode


def uninstall_silently(folder):
    """The uninstaller as it runs itself (a copy outside the folder, told the folder with _?=),
    so that its exit status comes back here."""
    copy = unix_path("C:\\uninstall-copy.exe")
    shutil.copy(unix_path(folder + "\\uninstall.exe"), copy)
    try:
        return wine("C:\\uninstall-copy.exe", "/S", "_?=" + folder).returncode
    finally:
        os.remove(copy)


def listed():
    """Whether the system's list of installed programs (Wine's `uninstaller`) holds ours."""
    return NAMES["PRODUCT"] in wine("uninstaller", "--list").stdout


def nothing_installed():
    check(reg_values("HKLM\\" + NAMES["INSTALL_KEY"]) is None, "the machine key is there")
    check(reg_values(UNINSTALL_KEY) is None, "the uninstall entry is there")
    check(not os.path.exists(unix_path(SAVER)), "the saver is in the system folder")


def test_uninstall_keeps_the_users_own_files():
    """A folder that held the user's files, one in a folder named as the installer's."""
    folder = "C:\\Games"
    own = [unix_path(folder + "\\data\\save.txt"), unix_path(folder + "\\notes.txt")]
    for path in own:
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write("the user's\n")
    check(install_silently(folder) == 0, "the install into the user's folder failed")
    check(listed(), "Wine's list of programs lacks the saver")
    check(uninstall_silently(folder) == 0, "the uninstall failed")
    check(not listed(), "Wine's list of programs still holds the saver")
    for path in own:
        check(os.path.isfile(path), "the uninstaller deleted " + path)
    left = sorted(os.path.relpath(os.path.join(d, n), unix_path(folder))
                  for d, _, names in os.walk(unix_path(folder)) for n in names)
    check(left == ["data/save.txt", "notes.txt"], "left in the folder: %s" % left)
    nothing_installed()
    shutil.rmtree(unix_path(folder))


def test_install_into_an_unwritable_folder_fails():
    """A drive whose folder exists but takes no file (the kernel's own, read-only to all)."""
    os.symlink("/sys/kernel", os.path.join(PREFIX, "dosdevices", "r:"))
    try:
        code = install_silently("R:\\mm")
    finally:
        os.remove(os.path.join(PREFIX, "dosdevices", "r:"))
    check(code != 0, "the install reported success")
    nothing_installed()


def test_uninstall_while_the_saver_runs():
    """Everything goes, or the uninstaller says what stays until Windows restarts."""
    folder = "C:\\VostrelRunning"
    check(install_silently(folder) == 0, "the install failed")
    xdotool("mousemove", *START)
    saver = subprocess.Popen(["wine", SAVER, "/s"], env=ENV, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    try:
        wait_for(lambda: xdotool("search", "--onlyvisible", "--name", "^%s$" % NAMES["PRODUCT"]),
                 "the saver window")
        code = uninstall_silently(folder)
        check(saver.poll() is None, "the saver ended during the uninstall")
    finally:
        xdotool("key", "x")
        saver.wait(timeout=30)
    pending = wine("reg", "query", "HKLM\\System\\CurrentControlSet\\Control\\Session Manager",
                   "/v", "PendingFileRenameOperations").stdout
    # What the running saver held open (its own file, a data file) is left to the restart,
    # and then the uninstaller must have said so.
    if code == RESTART_TO_FINISH:
        check(pending.strip() != "", "a restart asked for, with nothing pending")
        subprocess.run(["wineboot", "-r"], env=ENV, timeout=120, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
    else:
        check(code == 0, "the uninstall exited with %d" % code)
    check(not os.path.exists(unix_path(SAVER)), "the saver stays, exit %d" % code)
    check(ours() == [] and not os.path.exists(unix_path(folder)),
          "left behind: %s" % (ours() or unix_path(folder)))
    nothing_installed()


def test_install_folder_counted_in_characters():
    """A Cyrillic folder longer than 255 bytes in UTF-8 installs and the saver runs from it;
    one longer than 255 characters, which the saver could not read back, is refused."""
    name = "-".join(["Игры-и-заставки"] * 4)  # 63 characters, 115 bytes in UTF-8
    folder = "C:\\" + "\\".join([name] * 3)
    too_long = "C:\\" + "\\".join([name] * 4)
    check(len(folder.encode()) > 255 and len(too_long) > 255, "not such folders")
    # A fresh user's settings: the show lit within the first seconds.
    wine("reg", "delete", "HKCU\\" + NAMES["SETTINGS_KEY"], "/f")
    check(install_silently(too_long) != 0, "the install into a folder too long succeeded")
    nothing_installed()
    check(install_silently(folder) == 0, "the install failed")
    ran = run_saver(end_with_key)
    check(ran == (0, []), "exit code and boxes: %s, %s" % ran)
    check(uninstall_silently(folder) == 0, "the uninstall failed")
    nothing_installed()


# Run once the main install is gone, each from a system without the saver.
AFTER_UNINSTALL = [test_uninstall_keeps_the_users_own_files,
                   test_install_into_an_unwritable_folder_fails, test_uninstall_while_the_saver_runs,
                   test_install_folder_counted_in_characters]
