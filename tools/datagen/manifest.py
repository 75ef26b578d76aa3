"""The data files' names, read from the program's own manifest (src/base/data_manifest.h),
so that each name and its letter case is written in one place only.

made_path(install_dir, "FrontTexture") is where the generator writes the file of that role.
"""
import pathlib
import re

HEADER = pathlib.Path(__file__).resolve().parents[2] / "src" / "base" / "data_manifest.h"
ROW = re.compile(r'\{DataRole::(\w+),\s*"[^"]*",\s*"([^"\\]+)"\}')

MADE_FILES = dict(ROW.findall(HEADER.read_text(encoding="ascii")))


def made_path(install_dir, role):
    path = pathlib.Path(install_dir) / MADE_FILES[role]
    path.parent.mkdir(parents=True, exist_ok=True)
    return path
