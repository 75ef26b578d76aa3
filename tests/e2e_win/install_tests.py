"""The installer run silently into the fresh prefix, again through its pages over that install
as a user upgrading would, and the uninstaller at the end of the run.
"""
import os
import subprocess
import time

from saver_harness import check, wait_for, xdotool
from wine_prefix import ENV, NAMES, SAVER, ours, reg_values, state, unix_path, wine


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
    check(any(path.endswith(".lnk") for path in ours()), "no Start menu entry")
    data = NAMES["DATA_DIR"]
    for made_folder, _, files in os.walk(data):
        for name in files:
            relative = os.path.relpath(os.path.join(made_folder, name), data)
            check(os.path.isfile(os.path.join(unix_path(folder), relative)),
                  relative + " is not installed")


def test_pages_reinstall_over_an_install():
    """Return through the welcome and folder pages; on the last page, Space clears the offer of
    the screen saver settings and Return finishes."""
    # The uninstaller is written anew by every install, whatever the times it gives the files.
    uninstaller = unix_path(state["folder"] + "\\uninstall.exe")
    before = os.stat(uninstaller).st_mtime_ns
    setup = subprocess.Popen(["wine", NAMES["SETUP"]], env=ENV, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    try:
        window = wait_for(lambda: xdotool("search", "--onlyvisible", "--name", "Setup$"),
                          "the installer")[0]
        time.sleep(1)
        xdotool("windowfocus", window)
        xdotool("key", "Return")
        time.sleep(1)
        xdotool("key", "Return")
        wait_for(lambda: os.stat(uninstaller).st_mtime_ns != before, "the install to run")
        time.sleep(3)  # the last page comes once every file is in place
        xdotool("key", "space", "Return")
        check(setup.wait(timeout=30) == 0, "the installer exited with %d" % setup.returncode)
    finally:
        if setup.poll() is None:
            setup.kill()
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
