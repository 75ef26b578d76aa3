#!/usr/bin/env python3
"""Fails when an include points up the layer order of src/ (see docs/architecture.md), or when
a platform library's header appears outside src/platform/.

Usage: check-includes.py [source root]   (default: the src/ folder beside this script)
"""
import pathlib
import re
import sys

# Lowest first; a folder may include its own headers and those of lower ranks only. Folders of
# one rank are peers and do not include each other, so either can change alone.
RANKS = {
    "platform": 0,
    "base": 1,
    "settings": 2,
    "assets": 3,
    "audio": 3,
    "show": 4,
    "display": 5,
    "app": 6,
}

# OpenGL itself (GL/gl.h, GL/glu.h, GL/glext.h) is on every system; the window system's GL
# bindings, toolkits, codecs and the operating system's own headers are not.
PLATFORM_HEADER = re.compile(
    r"^(X11/|GL/glx|EGL/|gtk/|gdk/|glib|SDL|libopenmpt/|mpg123|jpeglib|jerror|turbojpeg|png\.h|"
    r"ft2build|freetype/|fontconfig/|unistd\.h|fcntl\.h|dirent\.h|pwd\.h|sys/|windows\.h)"
)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def problems(root):
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        folder = path.relative_to(root).parts[0]
        if folder not in RANKS:
            yield f"{path}: folder '{folder}' has no place in the layer order"
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            quote, name = match.groups()
            where = f"{path}:{number}: {line.strip()}"
            if quote == "<":
                if folder != "platform" and PLATFORM_HEADER.match(name):
                    yield f"{where}: platform header outside src/platform/"
                continue
            target = name.split("/")[0]
            if target not in RANKS or target == folder:
                continue
            if RANKS[target] > RANKS[folder]:
                yield f"{where}: {folder} may not include {target} (it sits above)"
            elif RANKS[target] == RANKS[folder]:
                yield f"{where}: {folder} and {target} are peers and stay apart"


def main():
    default = pathlib.Path(__file__).resolve().parent.parent / "src"
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    found = list(problems(root))
    for problem in found:
        print(problem)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
