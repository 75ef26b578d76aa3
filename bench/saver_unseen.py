#!/usr/bin/env python3
"""The saver's processor share while its show can be seen and while it cannot, on Debian 13's
sway (whose headless output can be powered off), one line per saver given.

Each saver runs with the music off in a headless sway session of its own
(scripts/wayland-session.sh --debian13, which needs root and the Debian 13 test system that
`make test-deps` makes); its processor time is read from /proc over `seconds` with the output
on, then again with it powered off (`swaymsg output HEADLESS-1 power off`).

    python3 bench/saver_unseen.py build [seconds] [saver...]

The savers default to build/vostrel; pass another build's executable too to compare them.
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SESSION = os.path.join(HERE, "..", "scripts", "wayland-session.sh")
# Runs inside the session as the compositor's user: prints "on SHARE off SHARE".
MEASURE = r'''
import os, subprocess, sys, tempfile, time
saver, seconds = sys.argv[1], float(sys.argv[2])
config = tempfile.mkdtemp()
os.makedirs(os.path.join(config, "vostrel", "Software"))
with open(os.path.join(config, "vostrel", "Software", "VostrelSaver.reg"), "w") as f:
    f.write('REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\VostrelSaver]\n"pmusic"=dword:00000000\n'
            '"pmp3"=dword:00000000\n"pcd"=dword:00000000\n')
process = subprocess.Popen([saver, "/s"], env=dict(os.environ, XDG_CONFIG_HOME=config),
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
def share():
    def used():
        with open("/proc/%d/stat" % process.pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    before = used()
    time.sleep(seconds)
    return (used() - before) / seconds
time.sleep(3)
on = share()
subprocess.run(["swaymsg", "output", "HEADLESS-1", "power", "off"], stdout=subprocess.DEVNULL)
time.sleep(1)
off = share()
process.kill()
print("on %.4f off %.4f" % (on, off))
'''


def measure(saver, seconds):
    # The session has a /tmp of its own: the script lies where its user can read it.
    with tempfile.TemporaryDirectory(dir="/var/tmp") as folder:
        os.chmod(folder, 0o755)
        script = os.path.join(folder, "measure.py")
        with open(script, "w") as f:
            f.write(MEASURE)
        os.chmod(script, 0o644)
        result = subprocess.run(["bash", SESSION, "--debian13", "--sway", "/usr/bin/python3",
                                 script, saver, str(seconds)], stdout=subprocess.PIPE, text=True,
                                check=True)
    fields = result.stdout.split()
    return float(fields[fields.index("on") + 1]), float(fields[fields.index("off") + 1])


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    savers = [os.path.abspath(s) for s in sys.argv[3:]] or [os.path.join(build, "vostrel")]
    for saver in savers:
        on, off = measure(saver, seconds)
        print("%s: %.1f%% of a core with the output on, %.1f%% off (%.2f of it)" % (
            saver, on * 100, off * 100, off / on if on else 0.0))


if __name__ == "__main__":
    main()
