#!/usr/bin/env python3
"""Writes the table of the stored settings into README.md and the manual page
packaging/vostrel.6, between their marker lines, from one source: the names, kinds and defaults
of kSettingTable in src/settings/settings.h, and each setting's meaning below.

    python3 tools/docs/settings_doc.py [SOURCE_DIR]            # rewrites both
    python3 tools/docs/settings_doc.py --check [SOURCE_DIR]    # exit 1 if either is stale

A setting added to the table without a meaning here, or a meaning left for a setting that is
gone, is an error in both modes."""
import os
import re
import sys

# What each stored value means; `x` marks a name, which the manual sets in bold.
MEANINGS = {
    "resolution": "Screen size: 1013 (640×480), 1014 (800×600), 1016 (1024×768), "
                  "1038 (1152×864), 1039 (1280×1024), 1017 (the desktop's own).",
    "part": "Detail: 1035 low, 1036 medium, 1037 high.",
    "useblur": "1: motion blur.",
    "datapath": "The MP3 file that `pmp3` plays (up to 255 bytes).",
    "bpp": "1 for 32-bit colour, 0 for 16-bit.",
    "psound": "1: the bang sounds.",
    "pmusic": "1: the music module.",
    "pcd": "1: the audio CD.",
    "pmp3": "1: the MP3 file named by `datapath`.",
    "restart": "1: the show starts again after its end; 0: the blast goes on.",
    "showcred": "1: the credits roll.",
    "text": "1: your caption in the blast.",
    "vostrel": "Your caption, 1 to 7 letters A to Z or spaces (the dialog stores lower case "
               "as upper case).",
    "starfield": "1: the star field.",
    "matrox": "1: a simpler picture for old graphics cards; the show starts at the sun.",
    "debug": "1: each full-screen run writes a step-by-step report and offers to open it.",
}
README_MARKS = ("<!-- settings table: tools/docs/settings_doc.py -->",
                "<!-- end of settings table -->")
MANUAL_MARKS = ('.\\" settings table: tools/docs/settings_doc.py', '.\\" end of settings table')


def setting_table(source):
    """[(name, kind, default as written in the file)] in the table's order."""
    with open(os.path.join(source, "src", "settings", "settings.h")) as f:
        header = f.read()
    constants = dict(re.findall(r"constexpr std::uint32_t (k\w+) = (\d+);", header))
    table = header[header.index("kSettingTable[kSettingCount] = {"):]
    table = table[:table.index("};")]
    rows = []
    for kind, name, default in re.findall(r'(Number|Text)Setting\("(\w+)", &Settings::\w+, '
                                          r'([^)]*)\)', table):
        if kind == "Number":
            value = int(constants.get(default, default))
            rows.append((name, "number", '"%s"=dword:%08x' % (name, value)))
        else:
            rows.append((name, "text", '"%s"=%s' % (name, default)))
    return rows


def readme_table(rows):
    lines = ["| name | type | default, as the file writes it | meaning |", "|---|---|---|---|"]
    for name, kind, default in rows:
        lines.append("| `%s` | %s | `%s` | %s |" % (name, kind, default, MEANINGS[name]))
    return lines


def roff(text):
    text = text.replace("\\", "\\e").replace("-", "\\-").replace("×", "\\(mu")
    return re.sub(r"`([^`]*)`", r"\\fB\1\\fR", text)


def manual_table(rows):
    lines = []
    for name, kind, default in rows:
        meaning = "(%s, default `%s`) %s" % (kind, default, MEANINGS[name])
        lines += [".TP", ".B " + name, roff(meaning)]
    return lines


def replaced(path, marks, lines):
    """The file's text with `lines` between its marker lines."""
    with open(path) as f:
        text = f.read().split("\n")
    first, last = text.index(marks[0]), text.index(marks[1])
    return "\n".join(text[:first + 1] + lines + text[last:])


def main():
    arguments = sys.argv[1:]
    checking = "--check" in arguments
    arguments = [a for a in arguments if a != "--check"]
    source = arguments[0] if arguments else os.path.join(os.path.dirname(__file__), "..", "..")
    rows = setting_table(source)
    names = [name for name, _, _ in rows]
    if sorted(names) != sorted(MEANINGS):
        sys.exit("settings_doc.py: the settings %r and the meanings %r differ"
                 % (names, sorted(MEANINGS)))
    stale = []
    documents = [(os.path.join(source, "README.md"), README_MARKS, readme_table(rows)),
                 (os.path.join(source, "packaging", "vostrel.6"), MANUAL_MARKS, manual_table(rows))]
    for path, marks, lines in documents:
        text = replaced(path, marks, lines)
        with open(path) as f:
            if f.read() == text:
                continue
        if checking:
            stale.append(os.path.relpath(path, source))
        else:
            with open(path, "w") as f:
                f.write(text)
    if stale:
        sys.exit("settings_doc.py: stale settings table in %s; run python3 "
                 "tools/docs/settings_doc.py" % ", ".join(stale))


if __name__ == "__main__":
    main()
