"""The debug report page. The saver splices its report between the two markers
and keeps everything around them, so the page explains itself to whoever opens it."""

from manifest import made_path

PAGE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Vostrel ScreenSaver - debug report</title>
<style>
body { background: #05060c; color: #d8dcf0; font-family: sans-serif;
       margin: 2em auto; max-width: 46em; }
h1 { color: #ffc860; font-weight: 900; letter-spacing: 0.08em; }
textarea { width: 100%; height: 32em; background: #10121c; color: #e8e8e8; font-family: monospace; }
p.note { color: #8c90a8; font-size: 0.9em; }
</style>
</head>
<body>
<h1>VOSTREL ScreenSaver: debug report</h1>
<p>This page holds the report of the last run of the screen saver in debug mode.
Every step of that run is listed below: the screen resolution and the settings it
used, the set-up of its window and of the 3D rendering context, the window messages
that arrived while the show played, and how the window was closed again.</p>
<p>If the saver does not start, shows a black screen or stops by itself, this is the
place to look: a step marked <b>FAILED</b> tells where the trouble began. Please
include this report when you ask for help.</p>
<form action="#">
<!--begin-->
<textarea name="DEBUG" cols="30">No report yet: turn on "Debug Mode" in the configuration
dialog and let the saver run once.</textarea>
<!--end-->
</form>
<p class="note">Each debug run replaces the report above and leaves the rest of this page as it is.
Turn "Debug Mode" off in the configuration dialog when you no longer need it.</p>
</body>
</html>
"""


def write_page(install_dir):
    made_path(install_dir, "ReportPage").write_text(PAGE, encoding="ascii", newline="\n")
