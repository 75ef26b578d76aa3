"""The hack under the real XScreenSaver daemon, as a user who chose it with the one documented
step, vostrel-xscreensaver-setup: on an account without ~/.xscreensaver it makes the file from
the daemon's defaults, and in an existing file it adds the hack's line and selects it with no
other change; a second run changes nothing. The daemon then runs our hack: shown on -activate
(the screen is not black and changes from one second to the next), ended on -deactivate, and
nothing of ours left running. It prints how long the screen stayed black and how long the hack
outlived -deactivate.

The daemon refuses to launch hacks as root, so as root the test runs the daemon (and with it
the hack) as the user nobody. It uses an X server of its own: the daemon grabs the keyboard
and the pointer, and a small screen keeps the software renderer quick."""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import (BUILD_DIR, WAIT, check, run_tests, start_private_x_server,  # noqa: E402
                           wait_for)

SOURCE_DIR = os.environ.get("VOSTREL_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "../.."))
HACK_ENTRY = os.path.join(SOURCE_DIR, "packaging", "vostrel-hack.xml")
SETUP = os.path.join(BUILD_DIR, "vostrel-xscreensaver-setup")
SCREEN = "640x480x24"
UNPRIVILEGED = "nobody"
# Test-only daemon settings, given as X resources so that ~/.xscreensaver stays as the step made
# it: the daemon nices its hacks by default, which a busy test machine starves, and fades.
DAEMON_RESOURCES = "*nice: 0\n*fade: False\n*unfade: False\n"


def hack_program_line():
    """The daemon's `programs` line for the package's hack entry, run from the build."""
    entry = ElementTree.parse(HACK_ENTRY).getroot()
    command = entry.find("command").get("arg")
    program = os.path.realpath(os.path.join(BUILD_DIR, entry.get("name")))
    return '"%s" %s %s' % (entry.get("_label"), program, command), program


def user_prefix():
    """The command prefix that runs a program as the user the daemon accepts."""
    if os.geteuid() != 0:
        return []
    return ["setpriv", "--reuid=" + UNPRIVILEGED, "--regid=nogroup", "--clear-groups"]


def new_home(preferences=None):
    """A home folder the daemon's user owns, with `preferences` as its ~/.xscreensaver."""
    home = tempfile.mkdtemp(prefix="vostrel-xss-")
    os.chmod(home, 0o755)
    # The user's own runtime folder, for the hack's lock file and the sound server's socket.
    os.mkdir(os.path.join(home, "runtime"), 0o700)
    if preferences is not None:
        with open(os.path.join(home, ".xscreensaver"), "w") as f:
            f.write(preferences)
    if os.geteuid() == 0:
        for name in [home] + [os.path.join(home, n) for n in os.listdir(home)]:
            shutil.chown(name, UNPRIVILEGED)
    return home


def choose_hack(home, *args, setup=SETUP):
    """Runs the documented step (or its undoing, with --remove) as the user of `home`; returns
    the ~/.xscreensaver it leaves."""
    env = dict(os.environ, HOME=home)
    env.pop("XDG_STATE_HOME", None)
    result = subprocess.run(user_prefix() + [setup] + list(args), env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            timeout=WAIT)
    check(result.returncode == 0, "vostrel-xscreensaver-setup: " + result.stdout)
    with open(os.path.join(home, ".xscreensaver")) as f:
        return f.read()


class Desktop:
    """A private X server, the given home, and the daemon running on them."""

    def __init__(self, home):
        self.home = home
        self.server, self.display = start_private_x_server(SCREEN)
        self.env = dict(os.environ, DISPLAY=self.display, HOME=self.home,
                        XDG_CONFIG_HOME=os.path.join(self.home, ".config"))
        for name in ("XAUTHORITY", "XSCREENSAVER_WINDOW"):
            self.env.pop(name, None)
        self.env["XDG_RUNTIME_DIR"] = os.path.join(self.home, "runtime")
        subprocess.run(["xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set",
                        "RESOURCE_MANAGER", DAEMON_RESOURCES], env=self.env, check=True)
        self.log = open(os.path.join(self.home, "daemon.log"), "w")
        try:
            self.start_daemon()
        except AssertionError:
            print(self.daemon_log())
            self.close()
            raise

    def start_daemon(self, attempts=2):
        """Starts the daemon and waits until it answers. On a busy machine it has been seen to
        end during its own start-up, before any hack runs; it then gets one more try."""
        for attempt in range(attempts):
            self.daemon = subprocess.Popen(user_prefix() + ["xscreensaver", "-no-splash",
                                                            "-verbose"],
                                           env=self.env, stdout=self.log, stderr=subprocess.STDOUT)
            if wait_for(lambda: self.daemon.poll() is not None or
                        self.command("-version").returncode == 0, "the daemon to answer"):
                if self.daemon.poll() is None:
                    return
            print("the daemon ended during its start-up (status %s)" % self.daemon.returncode)
        raise AssertionError("the daemon did not start")

    def command(self, *args):
        return subprocess.run(user_prefix() + ["xscreensaver-command"] + list(args), env=self.env,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                              timeout=WAIT)

    def screenshot(self):
        from PIL import ImageGrab
        return ImageGrab.grab(xdisplay=self.display)

    def daemon_log(self):
        with open(self.log.name) as f:
            return f.read()

    def close(self):
        for process in (self.daemon, self.server):
            if process.poll() is None:
                process.terminate()
                process.wait()
        self.log.close()
        shutil.rmtree(self.home, ignore_errors=True)


def our_processes(program):
    """Pids of running processes whose executable is `program`."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.readlink("/proc/%s/exe" % pid) == program:
                with open("/proc/%s/stat" % pid) as f:
                    if f.read().rsplit(")", 1)[1].split()[0] != "Z":
                        found.append(int(pid))
        except OSError:
            continue
    return found


def is_black(picture):
    return all(high == 0 for _, high in picture.getextrema())


def changed_seconds(desktop, picture, seconds=5):
    """For each of the next `seconds`, whether the screen changed during it. A busy machine
    may draw no frame in some second; a show that has stopped changes in none."""
    changes = []
    for _ in range(seconds):
        time.sleep(1.0)
        following = desktop.screenshot()
        changes.append(following.tobytes() != picture.tobytes())
        picture = following
    print("changed in %d of %d seconds" % (sum(changes), seconds))
    return any(changes)


def test_activate_and_deactivate():
    _, program = hack_program_line()
    home = new_home()
    made = choose_hack(home)
    check(choose_hack(home) == made, "a second run changed the file it made")
    desktop = Desktop(home)
    try:
        activated = time.time()
        result = desktop.command("-activate")
        check(result.returncode == 0, "-activate: " + result.stdout)
        wait_for(lambda: our_processes(program), "the daemon to start the hack")
        first = wait_for(lambda: (lambda p: None if is_black(p) else p)(desktop.screenshot()),
                         "a picture that is not black", timeout=WAIT)
        shown_after = time.time() - activated
        changes = changed_seconds(desktop, first)
        check(changes, "the picture did not change from one second to the next")
        check(desktop.command("-deactivate").returncode == 0, "-deactivate failed")
        deactivated = time.time()
        wait_for(lambda: not our_processes(program), "the hack to end", timeout=WAIT)
        ended_after = time.time() - deactivated
        # Figures, not limits: on a loaded machine the times say more about the load.
        print("shown after %.2f s, ended after %.2f s" % (shown_after, ended_after))
        # Listed: the daemon runs the package's entry as the selected hack, and ends it itself.
        log = desktop.daemon_log()
        check('forked "%s --root"' % program in log, "the daemon did not run our hack")
        check("killing pid" in log, "the daemon did not end the hack")
    except AssertionError:
        print(desktop.daemon_log())
        raise
    finally:
        desktop.close()
    check(not our_processes(program), "a process of ours is left")


# A file as xscreensaver-settings writes it, with a list of its own and another hack chosen.
USER_PREFERENCES = """# XScreenSaver Preferences File

timeout:\t0:30:00
lock:\t\tFalse

mode:\t\trandom
selected:\t1

programs:\t\t\t\t\t\t\t\t      \\
\t\t\t\tmaze --root\t\t\t\t    \\n\\
- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\
  GL: \t\t\t\tgears --root --planetary\t\t    \\n\\

pointerHysteresis:\t10
"""


def test_existing_file_keeps_its_settings():
    program_line, _ = hack_program_line()
    home = new_home(USER_PREFERENCES)
    chosen = choose_hack(home)
    expected = (USER_PREFERENCES.replace("mode:\t\trandom", "mode:\t\tone")
                .replace("selected:\t1", "selected:\t3")
                .replace("--planetary\t\t    \\n\\\n",
                         "--planetary\t\t    \\n\\\n\t\t\t\t%s \\n\\\n" % program_line))
    check(chosen == expected, "the file became:\n" + chosen)
    check(choose_hack(home) == chosen, "a second run changed the file")
    shutil.rmtree(home)


def test_remove_restores_the_file():
    home = new_home(USER_PREFERENCES)
    choose_hack(home)
    check(choose_hack(home, "--remove") == USER_PREFERENCES, "--remove did not restore the file")
    check(choose_hack(home, "--remove") == USER_PREFERENCES, "a second --remove changed it")
    shutil.rmtree(home)


def test_removed_then_uninstalled():
    """Set up, undone, then the program gone (the package purged, the build tree deleted): the
    daemon runs one of its own hacks, and shows no box about ours."""
    app = tempfile.mkdtemp(prefix="vostrel-xss-app-")
    os.chmod(app, 0o755)
    _, program = hack_program_line()
    setup = os.path.join(app, os.path.basename(SETUP))
    shutil.copy(SETUP, setup)
    os.symlink(program, os.path.join(app, os.path.basename(program)))
    home = new_home()
    choose_hack(home, setup=setup)
    choose_hack(home, "--remove", setup=setup)
    shutil.rmtree(app)
    desktop = Desktop(home)
    try:
        check(desktop.command("-activate").returncode == 0, "-activate failed")
        wait_for(lambda: "forked" in desktop.daemon_log(), "the daemon to run a hack")
        time.sleep(2.0)  # a box about a missing hack would follow its start at once
        log = desktop.daemon_log()
        check(app not in log and "not installed" not in log, "the daemon still tried ours")
    except AssertionError:
        print(desktop.daemon_log())
        raise
    finally:
        desktop.close()


if __name__ == "__main__":
    sys.exit(run_tests([test_activate_and_deactivate, test_existing_file_keeps_its_settings,
                        test_remove_restores_the_file, test_removed_then_uninstalled]))
