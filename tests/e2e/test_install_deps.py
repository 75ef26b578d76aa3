"""The packages' installer as a user without root and without sudo (a stock Debian installed
with a root password): it names the command to run as root and stops, instead of failing on
"sudo: command not found"."""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from saver_harness import check, run_tests  # noqa: E402

SOURCE_DIR = os.environ.get("VOSTREL_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "../.."))
MISSING = "vostrel-test-absent-package"
# What the installer needs to find out what is missing; sudo is not among them.
TOOLS = ["bash", "dpkg-query", "grep", "id", "dirname"]


def as_user(command):
    """`command` run as a user who is not root (as root: nobody)."""
    if os.geteuid() != 0:
        return command
    return ["/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"] + command


def test_without_sudo_names_the_root_command():
    with tempfile.TemporaryDirectory(prefix="vostrel-nosudo-") as tools:
        os.chmod(tools, 0o755)
        for tool in TOOLS:
            os.symlink(shutil.which(tool), os.path.join(tools, tool))
        script = os.path.join(os.path.abspath(SOURCE_DIR), "scripts", "apt-packages.sh")
        result = subprocess.run(
            as_user(["/bin/bash", "-c", 'source "$0" && install_missing_packages "$1"',
                     script, MISSING]),
            env={"PATH": tools, "LANG": "C.UTF-8"}, capture_output=True, text=True, timeout=60)
    said = result.stdout + result.stderr
    check(result.returncode == 1, "status %d, said %r" % (result.returncode, said))
    check("command not found" not in said, "said %r" % said)
    check("apt-get install -y --no-install-recommends " + MISSING in said, "said %r" % said)


if __name__ == "__main__":
    sys.exit(run_tests([test_without_sudo_names_the_root_command]))
