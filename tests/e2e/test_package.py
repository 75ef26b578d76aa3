"""The Debian package as a user gets it: made from the build by CPack, clean to lintian, unpacked
into a private root (dpkg-deb -x) and run from there. Its programs find their data folder and
machine key in that root, the hack too through its link in the hosts' hack folder, and a debug
run, whose install folder the user cannot write, writes the user's own copy of the report page.
Installed with dpkg -i (into a Wayland session's private system), its idle watch, once the user
enables it, starts with each log-in and starts the saver when the session is idle, until
disabled. Installed with apt into Debian 13's system, it runs there."""
import configparser
import glob
import os
import pwd
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import (BUILD_DIR, SANITIZED, START, WAIT, Sandbox, check,  # noqa: E402
                           install_program, run_tests, saver_windows, wait_for, wait_for_exit,
                           wait_for_focused_saver, xdotool)

UNPRIVILEGED = "nobody"
PACKAGE = None  # the unpacked package the tests share, made once by main
MACHINE_KEY = "etc/vostrel/Software/Calimor/VostrelSaver1.1.reg"
LAYOUT = [
    "usr/bin/vostrel", "usr/bin/vostrel-hack", "usr/bin/vostrel-render",
    "usr/bin/vostrel-xscreensaver-setup", "usr/bin/vostrel-idle",
    "usr/lib/systemd/user/vostrel-idle.service", "usr/share/man/man6/vostrel-idle.6.gz",
    "usr/libexec/xscreensaver/vostrel-hack", "usr/share/xscreensaver/config/vostrel-hack.xml",
    "usr/share/applications/screensavers/vostrel-hack.desktop",
    "usr/share/applications/vostrel-settings.desktop",
    "usr/share/icons/hicolor/48x48/apps/vostrel.png", "usr/share/man/man6/vostrel.6.gz",
    "usr/share/doc/vostrel/copyright", "usr/share/vostrel/debug.htm",
    "usr/share/vostrel/data/Vostrel.ttf", MACHINE_KEY,
]
REPORT_BANNER = "DEBUG FILE FOR VOSTREL SAVER"
HERE = os.path.dirname(os.path.abspath(__file__))
WAYLAND_SESSION = os.path.join(HERE, "..", "..", "scripts", "wayland-session.sh")
LOG_IN_CYCLE = os.path.join(HERE, "..", "e2e_wayland", "package_session.py")
ON_DEBIAN13 = os.path.join(HERE, "..", "e2e_wayland", "package_debian13.py")
SKIPPED = 77  # wayland-session.sh's status where it cannot make a session


def build_package(folder):
    """The .deb that CPack makes from the build, written into `folder`."""
    subprocess.run(["cpack", "-G", "DEB", "--config", os.path.join(BUILD_DIR, "CPackConfig.cmake"),
                    "-B", folder], check=True, stdout=subprocess.DEVNULL, timeout=600)
    packages = glob.glob(os.path.join(folder, "*.deb"))
    check(len(packages) == 1, "packages made: %r" % packages)
    return packages[0]


def as_user(command):
    """`command` run as a user who cannot write the unpacked tree (as root: nobody)."""
    if os.geteuid() != 0:
        return command
    return ["setpriv", "--reuid=" + UNPRIVILEGED, "--regid=nogroup", "--clear-groups"] + command


def give_to_user(path):
    if os.geteuid() != 0:
        return
    for folder, folders, files in os.walk(path):
        for name in [folder] + [os.path.join(folder, n) for n in folders + files]:
            os.lchown(name, pwd.getpwnam(UNPRIVILEGED).pw_uid, -1)


class Unpacked:
    def __init__(self):
        self._dir = tempfile.TemporaryDirectory(prefix="vostrel-deb-")
        os.chmod(self._dir.name, 0o755)
        self.package = build_package(os.path.join(self._dir.name, "out"))
        self.root = os.path.join(self._dir.name, "root")
        subprocess.run(["dpkg-deb", "-x", self.package, self.root], check=True)

    def path(self, relative):
        return os.path.join(self.root, relative)

    def close(self):
        self._dir.cleanup()


def user_sandbox():
    """A sandbox the unprivileged user owns, with private state and runtime folders (the
    runtime folder of the user running the test is no use to another user, and sound and
    lock files would go to /tmp instead) and X access."""
    sandbox = Sandbox()
    state = os.path.join(sandbox.root, "state")
    os.makedirs(state)
    runtime = os.path.join(sandbox.root, "runtime")
    os.makedirs(runtime)
    os.chmod(runtime, 0o700)
    env = sandbox.env()
    env["XDG_STATE_HOME"] = state
    env["XDG_RUNTIME_DIR"] = runtime
    env["HOME"] = sandbox.root
    if os.environ.get("XAUTHORITY"):
        authority = os.path.join(sandbox.root, "Xauthority")
        shutil.copy(os.environ["XAUTHORITY"], authority)
        env["XAUTHORITY"] = authority
    os.chmod(sandbox.root, 0o755)
    give_to_user(sandbox.root)
    return sandbox, env, state


def test_layout_and_entries():
    unpacked = PACKAGE
    missing = [p for p in LAYOUT if not os.path.exists(unpacked.path(p))]
    check(not missing, "missing from the package: %r" % missing)
    check(os.path.realpath(unpacked.path("usr/libexec/xscreensaver/vostrel-hack")) ==
          os.path.realpath(unpacked.path("usr/bin/vostrel-hack")), "the hack link is broken")
    entry = configparser.ConfigParser(interpolation=None)
    entry.read(unpacked.path("usr/share/applications/vostrel-settings.desktop"))
    section = entry["Desktop Entry"]
    check((section["Name"], section["Exec"], section["Icon"]) ==
          ("Vostrel ScreenSaver Settings", "vostrel /c", "vostrel"), dict(section))
    with open(unpacked.path(MACHINE_KEY)) as f:
        check('"Path"="/usr/share/vostrel"' in f.read(), "the key does not name /usr/share/vostrel")
    lint = subprocess.run(["lintian", "--fail-on", "error,warning", unpacked.package],
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    check(lint.returncode == 0, "lintian:\n" + lint.stdout)


def test_programs_find_data_and_key():
    unpacked = PACKAGE
    """The renderer and the hack run from the unpacked root without a box."""
    sandbox, env, _ = user_sandbox()
    frames = os.path.join(sandbox.root, "frames")
    result = subprocess.run(as_user([unpacked.path("usr/bin/vostrel-render"), "--frames", "0",
                                     "--size", "64x48", "--out", frames]),
                            env=env, stderr=subprocess.PIPE, text=True, timeout=WAIT)
    check(result.returncode == 0 and os.path.exists(os.path.join(frames, "frame-00000.png")),
          "renderer: %d %s" % (result.returncode, result.stderr))
    hack = subprocess.Popen(as_user([unpacked.path("usr/libexec/xscreensaver/vostrel-hack"),
                                     "-root"]), env=env, stderr=subprocess.PIPE)
    try:
        wait_for(saver_windows, "the hack's window")
    finally:
        hack.terminate()
    wait_for_exit(hack)
    check(sandbox.boxes() == [], "boxes: %r" % sandbox.boxes())
    sandbox.close()


def test_debug_run_writes_the_users_copy():
    unpacked = PACKAGE
    sandbox, env, state = user_sandbox()
    os.makedirs(os.path.dirname(sandbox.user_key))
    with open(sandbox.user_key, "w") as f:
        f.write('REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\VostrelSaver]\n"debug"=dword:00000001\n')
    give_to_user(sandbox.root)
    installed = unpacked.path("usr/share/vostrel/debug.htm")
    with open(installed) as f:
        template = f.read()
    xdotool("mousemove", *START)
    saver = subprocess.Popen(as_user([unpacked.path("usr/bin/vostrel"), "/s"]), env=env,
                             stderr=subprocess.PIPE)
    sandbox.answer(saver, "yes")
    wait_for_focused_saver()
    xdotool("key", "x")
    wait_for_exit(saver)
    copy = os.path.join(state, "vostrel", "debug.htm")
    check(os.path.exists(copy), "no copy of the report page in %s" % state)
    with open(copy) as f:
        check(REPORT_BANNER in f.read(), "the copy holds no report")
    with open(installed) as f:
        check(f.read() == template, "the installed page was changed")
    check([b["icon"] for b in sandbox.boxes()] == ["question"], "boxes: %r" % sandbox.boxes())
    check(sandbox.opened(wait=WAIT) == [copy], "opened: %r" % sandbox.opened())
    sandbox.close()


def test_read_only_page_gives_the_box():
    """A page made read-only on purpose, in a folder the user may write: the same box as for
    the administrator, and no copy."""
    unpacked = PACKAGE
    sandbox, env, state = user_sandbox()
    folder = os.path.join(sandbox.root, "install")
    os.makedirs(folder)
    os.symlink(unpacked.path("usr/share/vostrel/data"), os.path.join(folder, "data"))
    page = os.path.join(folder, "debug.htm")
    shutil.copy(unpacked.path("usr/share/vostrel/debug.htm"), page)
    program = install_program(sandbox.app_dir, folder, unpacked.path("usr/bin/vostrel"))
    sandbox.write_user_settings('"debug"=dword:00000001\n"pmusic"=dword:00000000\n')
    give_to_user(sandbox.root)
    os.chmod(page, 0o444)
    run = subprocess.Popen(as_user([program, "/s"]), env=env, stderr=subprocess.PIPE)
    sandbox.answer(run)
    wait_for_exit(run)
    check([b["text"] for b in sandbox.boxes()] == ["Can't overwrite HTM file for debug report."],
          "boxes: %r" % sandbox.boxes())
    check(not os.path.exists(os.path.join(state, "vostrel")), "a copy was made")
    sandbox.close()


def run_in_session_with_package(what, session, script):
    """Runs `script` in a Wayland session (wayland-session.sh with `session`) whose system has
    the package installed."""
    result = subprocess.run(["bash", WAYLAND_SESSION] + session +
                            ["--install", PACKAGE.package, "/usr/bin/python3", script],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            timeout=300)
    print(result.stdout, end="")
    if result.returncode == SKIPPED:
        print("SKIP %s: no Wayland session with the package installed can be made here (it "
              "needs root and overlay mounts)" % what)
        return
    check(result.returncode == 0, "%s failed (status %d)" % (what, result.returncode))


def test_idle_watch_starts_with_each_log_in_until_disabled():
    """In a sway session whose system has the package installed (tests/e2e_wayland/
    package_session.py holds the log-ins and log-outs)."""
    run_in_session_with_package("the log-in cycle", ["--sway"], LOG_IN_CYCLE)


def test_installs_and_runs_on_debian13():
    """Installed with apt into Debian 13's system, whose libraries have other names (the t64
    renames), and run there on Debian 13's sway (tests/e2e_wayland/package_debian13.py). A
    sanitized build's package needs this machine's compiler's sanitizer runtime, which Debian
    13's is not: no user installs one, so only the Release build's package is tried."""
    if SANITIZED:
        print("SKIP Debian 13: a sanitized build's package")
        return
    run_in_session_with_package("Debian 13", ["--debian13", "--sway"], ON_DEBIAN13)


if __name__ == "__main__":
    PACKAGE = Unpacked()
    try:
        status = run_tests([test_layout_and_entries, test_programs_find_data_and_key,
                            test_debug_run_writes_the_users_copy,
                            test_read_only_page_gives_the_box,
                            test_idle_watch_starts_with_each_log_in_until_disabled,
                            test_installs_and_runs_on_debian13])
    finally:
        PACKAGE.close()
    sys.exit(status)
