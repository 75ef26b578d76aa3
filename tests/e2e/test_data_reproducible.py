"""The data generators give byte-identical files on every run, and the committed
resources/ pictures are exactly what the resource generator makes today."""
import hashlib
import os
import pathlib
import subprocess
import sys
import tempfile

SOURCE = pathlib.Path(os.environ.get("VOSTREL_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
GENERATORS = SOURCE / "tools" / "datagen"


def digests(folder):
    return {path.relative_to(folder).as_posix(): hashlib.sha256(path.read_bytes()).hexdigest()
            for path in sorted(folder.rglob("*")) if path.is_file()}


def run(script, target):
    subprocess.run([sys.executable, "-B", str(GENERATORS / script), str(target)], check=True)


def main():
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        scratch = pathlib.Path(scratch)
        for round_name in ("first", "second"):
            run("make_data.py", scratch / round_name)
        first, second = digests(scratch / "first"), digests(scratch / "second")
        if len(first) != 20:
            failures.append(f"expected 20 files, made {len(first)}: {sorted(first)}")
        failures += [f"{name} differs between two runs" for name in first
                     if first[name] != second.get(name)]
        run("make_resources.py", scratch / "resources")
        made, committed = digests(scratch / "resources"), digests(SOURCE / "resources")
        failures += [f"resources/{name} does not match its generator" for name in made
                     if made[name] != committed.get(name)]
    for failure in failures:
        print("FAIL:", failure)
    print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
