"""Shared helpers for end-to-end tests of the real executables.

Every run gets a private settings folder, records its message boxes instead of showing them
(VOSTREL_TEST_BOXES), answers them from a script (VOSTREL_TEST_ANSWERS), and finds a fake
xdg-open first on PATH that records what it was asked to open.
"""
import json
import os
import subprocess
import tempfile
import time

BUILD_DIR = os.environ.get("VOSTREL_BUILD_DIR", os.path.join(os.path.dirname(__file__), "../../build"))
SAVER = os.path.join(BUILD_DIR, "vostrel")
RENDER = os.path.join(BUILD_DIR, "vostrel-render")

FAKE_XDG_OPEN = """#!/bin/sh
for arg in "$@"; do printf '%s\\n' "$arg" >> "$XDG_OPEN_LOG"; done
"""


class Sandbox:
    """A private home for one run: settings root, box log, and the fake xdg-open."""

    def __init__(self):
        self._dir = tempfile.TemporaryDirectory(prefix="vostrel-e2e-")
        self.root = self._dir.name
        self.config_home = os.path.join(self.root, "config")
        self.bin_dir = os.path.join(self.root, "bin")
        self.box_log = os.path.join(self.root, "boxes.jsonl")
        self.open_log = os.path.join(self.root, "opened.txt")
        os.makedirs(self.config_home)
        os.makedirs(self.bin_dir)
        fake = os.path.join(self.bin_dir, "xdg-open")
        with open(fake, "w") as f:
            f.write(FAKE_XDG_OPEN)
        os.chmod(fake, 0o755)

    def env(self, answers=""):
        env = dict(os.environ)
        env["XDG_CONFIG_HOME"] = self.config_home
        env["VOSTREL_TEST_BOXES"] = self.box_log
        env["VOSTREL_TEST_ANSWERS"] = answers
        env["XDG_OPEN_LOG"] = self.open_log
        env["PATH"] = self.bin_dir + os.pathsep + env.get("PATH", "")
        return env

    def run(self, args, answers="", timeout=60, program=SAVER):
        return subprocess.run([program] + args, env=self.env(answers), timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def boxes(self):
        if not os.path.exists(self.box_log):
            return []
        with open(self.box_log) as f:
            return [json.loads(line) for line in f if line.strip()]

    def opened(self, wait=0.0):
        """What the fake xdg-open recorded; waits up to `wait` seconds for a first entry,
        since the handler is started without being waited for."""
        deadline = time.time() + wait
        while True:
            if os.path.exists(self.open_log):
                with open(self.open_log) as f:
                    lines = f.read().splitlines()
                if lines:
                    return lines
            if time.time() >= deadline:
                return []
            time.sleep(0.05)

    def close(self):
        self._dir.cleanup()


def check(condition, message):
    if not condition:
        raise AssertionError(message)
