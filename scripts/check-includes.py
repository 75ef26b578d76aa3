#!/usr/bin/env python3
"""Checks the includes of the source tree against its layers (docs/architecture.md).

In src/:
  - an include may point only down the layer order, and peers stay apart;
  - a backend folder, src/platform/<folder>/, is private to the platform layer, and so are
    the hook points (platform/hook_points.h), which only test programs define;
  - no include climbs out of its folder with "../";
  - the window system's headers, toolkits, codecs and the operating system's own headers
    appear only under src/platform/, and there only in the backend folders of what they
    belong to: X11's in x11/, GTK's in gtk/, POSIX's in posix/ and the folders that run on
    it, none in the seam or the shared window machinery.
In tests/ and bench/, which drive every layer and make their own test files with the codecs:
  - no "../" and no backend folder (tests reach the platform through its seam, like the rest).

The build enforces the layer order of src/ too (each layer compiles against its own include
root); this check also names the line, and covers what the build cannot see.

Usage: check-includes.py [project root]   (default: the folder above this script)
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
# bindings, toolkits, codecs and the operating system's own headers are not. Each belongs to
# one technology.
TECHNOLOGIES = {
    "x11": r"X11/|GL/glx",
    "wayland": r"wayland-|xkbcommon/|[a-z-]+-client-protocol\.h",
    "egl": r"EGL/",
    "gtk": r"gtk/|gdk/|glib|gio/|gtk-layer-shell\.h",
    "sdl": r"SDL",
    "alsa": r"alsa/",
    "cdio": r"cdio/",
    "fontconfig": r"fontconfig/",
    "codecs": r"libopenmpt/|mpg123|jpeglib|jerror|turbojpeg|png\.h|ft2build|freetype/|lame/|gif_lib",
    # The C runtime's own file calls, which POSIX and Windows' runtime both have.
    "runtime": r"fcntl\.h|sys/types\.h|sys/stat\.h",
    "posix": r"unistd\.h|dirent\.h|pwd\.h|grp\.h|dlfcn\.h|poll\.h|pthread\.h|spawn\.h|"
    r"termios\.h|signal\.h|sys/",
    "win32": r"GL/wgl|windows\.h|win[a-z]*\.h|mmsystem\.h|commdlg\.h|shellapi\.h|shlobj\.h|io\.h",
}
TECHNOLOGY_HEADER = {
    name: re.compile(f"^({pattern})") for name, pattern in TECHNOLOGIES.items()
}

# What each folder of src/platform/ may use: a backend folder its own technology and what it
# runs on; the seam (the folder itself) and the window machinery every window system shares
# use none.
BACKEND_TECHNOLOGIES = {
    "": set(),
    "windowing": set(),
    "portable": {"sdl", "cdio", "fontconfig", "codecs", "runtime"},
    "posix": {"posix", "runtime"},
    "x11": {"x11", "posix", "runtime"},
    "wayland": {"wayland", "egl", "posix", "runtime"},
    "gtk": {"gtk"},
    "egl": {"egl"},
    "alsa": {"alsa", "sdl", "cdio"},
    "win32": {"win32", "runtime"},
}
HOOK_POINTS = "platform/hook_points.h"
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE_SUFFIXES = (".h", ".cpp", ".c")


def includes(path):
    """(line number, line, quote, name) of each include in the file."""
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        match = INCLUDE.match(line)
        if match:
            yield number, line.strip(), match.group(1), match.group(2)


def sources(root):
    return (p for p in sorted(root.rglob("*")) if p.suffix in SOURCE_SUFFIXES and p.is_file())


def technology(name):
    """The technology a header belongs to, or None for the language's and OpenGL's own."""
    for tech, pattern in TECHNOLOGY_HEADER.items():
        if pattern.match(name):
            return tech
    return None


def backend_folder(name):
    parts = name.split("/")
    return len(parts) > 2 and parts[0] == "platform"


def layer_problems(src):
    for path in sources(src):
        folder = path.relative_to(src).parts[0]
        if folder not in RANKS:
            yield f"{path}: folder '{folder}' has no place in the layer order"
            continue
        for number, line, quote, name in includes(path):
            where = f"{path}:{number}: {line}"
            if "../" in name:
                yield f"{where}: no include climbs out of its folder"
            elif quote == "<":
                yield from technology_problem(src, path, folder, where, name)
            elif backend_folder(name) and folder != "platform":
                yield f"{where}: platform/<backend>/ is the platform layer's own"
            elif name == HOOK_POINTS and folder != "platform":
                yield f"{where}: the hook points are the platform's and the tests' alone"
            else:
                target = name.split("/")[0]
                if target not in RANKS or target == folder:
                    continue
                if RANKS[target] > RANKS[folder]:
                    yield f"{where}: {folder} may not include {target} (it sits above)"
                elif RANKS[target] == RANKS[folder]:
                    yield f"{where}: {folder} and {target} are peers and stay apart"


def technology_problem(src, path, folder, where, name):
    tech = technology(name)
    if tech is None:
        return
    if folder != "platform":
        yield f"{where}: platform header outside src/platform/"
        return
    parts = path.relative_to(src / "platform").parts
    backend = parts[0] if len(parts) > 1 else ""
    allowed = BACKEND_TECHNOLOGIES.get(backend)
    if allowed is None:
        yield f"{where}: src/platform/{backend}/ names no technology it may use"
    elif tech not in allowed:
        place = f"src/platform/{backend}/" if backend else "the seam"
        yield f"{where}: {tech} header in {place}, which may use {', '.join(sorted(allowed)) or 'none'}"


def driver_problems(folder):
    for path in sources(folder):
        for number, line, quote, name in includes(path):
            where = f"{path}:{number}: {line}"
            if "../" in name:
                yield f"{where}: no include climbs out of its folder"
            elif quote == '"' and backend_folder(name):
                yield f"{where}: platform/<backend>/ is the platform layer's own"


def problems(root):
    yield from layer_problems(root / "src")
    for folder in ("tests", "bench"):
        if (root / folder).is_dir():
            yield from driver_problems(root / folder)


def main():
    default = pathlib.Path(__file__).resolve().parent.parent
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    found = list(problems(root))
    for problem in found:
        print(problem)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
