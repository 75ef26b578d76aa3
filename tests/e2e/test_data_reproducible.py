"""The data generators give byte-identical files on every run, and the committed
resources/ pictures are exactly what the resource generator makes today."""
import hashlib
import os
import pathlib
import subprocess
import sys
import tempfile

from saver_harness import CheckList

SOURCE = pathlib.Path(os.environ.get("VOSTREL_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
GENERATORS = SOURCE / "tools" / "datagen"


def digests(folder):
    return {path.relative_to(folder).as_posix(): hashlib.sha256(path.read_bytes()).hexdigest()
            for path in sorted(folder.rglob("*")) if path.is_file()}


def run(script, target):
    subprocess.run([sys.executable, "-B", str(GENERATORS / script), str(target)], check=True)


def main():
    check = CheckList()
    with tempfile.TemporaryDirectory() as scratch:
        scratch = pathlib.Path(scratch)
        for round_name in ("first", "second"):
            run("make_data.py", scratch / round_name)
        first, second = digests(scratch / "first"), digests(scratch / "second")
        check(len(first) == 20, f"expected 20 files, made {len(first)}: {sorted(first)}")
        for name in first:
            check(first[name] == second.get(name), f"{name} differs between two runs")
        run("make_resources.py", scratch / "resources")
        made, committed = digests(scratch / "resources"), digests(SOURCE / "resources")
        for name in made:
            check(made[name] == committed.get(name),
                  f"resources/{name} does not match its generator")
    check.finish()


if __name__ == "__main__":
    main()
