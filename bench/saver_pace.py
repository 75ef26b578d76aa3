#!/usr/bin/env python3
"""Frame pace and CPU use of a live full-screen saver run.

Runs `vostrel /s` for a while on the current X display (use xvfb-run), counts its buffer
swaps with the preloaded bench_swap_counter library and reads its CPU time from /proc.
Prints one line per driver kind, with the run's peak resident memory: swaps that return at
once (as on Xvfb) and, emulated by the preload, swaps that wait for a 60 Hz refresh.

    xvfb-run -a -s "-screen 0 1280x1024x24 +extension GLX -noreset" python3 bench/saver_pace.py build [seconds] [saver] [part]

`saver` defaults to build/vostrel; pass another build's executable to compare two builds.
`part` is the stored detail level (1035 low, 1036 medium, 1037 high; default: the stored
default). On a software renderer only low detail draws faster than a refresh, so it is the
one that shows the pacing.
"""
import os
import subprocess
import sys
import tempfile
import time

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20.0
saver = os.path.abspath(sys.argv[3] if len(sys.argv) > 3 else os.path.join(build, "vostrel"))
part = int(sys.argv[4]) if len(sys.argv) > 4 else None
preload = os.path.join(build, "bench", "libbench_swap_counter.so")
ticks_per_second = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / ticks_per_second  # utime + stime


def peak_resident_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def measure(wait_hz):
    with tempfile.TemporaryDirectory() as home:
        if part is not None:
            os.makedirs(os.path.join(home, "vostrel", "Software"))
            with open(os.path.join(home, "vostrel", "Software", "VostrelSaver.reg"), "w") as key:
                key.write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\VostrelSaver]\n"
                          f'"part"=dword:{part:08x}\n')
        count_file = os.path.join(home, "swaps")
        env = dict(os.environ, XDG_CONFIG_HOME=home, LD_PRELOAD=preload,
                   SWAP_COUNT_FILE=count_file, SWAP_WAIT_HZ=str(wait_hz),
                   SDL_AUDIODRIVER="dummy")  # music mixed as usual, on any machine
        process = subprocess.Popen([saver, "/s"], env=env)
        start = time.monotonic()
        time.sleep(seconds)
        cpu = cpu_seconds(process.pid)
        peak = peak_resident_mib(process.pid)
        elapsed = time.monotonic() - start
        subprocess.run(["xdotool", "key", "x"], check=False)
        process.wait(timeout=30)
        with open(count_file) as f:
            swaps = int(f.read())
        return cpu / elapsed * 100.0, swaps, peak


print(f"{saver}, {seconds:.0f} s runs from start to the ending key, part {part or 'default'}")
for label, wait_hz in (("swaps return at once", 0), ("swaps wait for 60 Hz", 60)):
    cpu, swaps, peak = measure(wait_hz)
    print(f"{label:22s}: CPU {cpu:5.1f} %, {swaps} frames ({swaps / seconds:.0f} per second), "
          f"peak resident {peak:.0f} MiB")
