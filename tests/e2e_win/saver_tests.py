"""The installed saver's /s as a user meets it: its window and picture, the keys and pointer
travel that end it, its settings key and its debug report.
"""
from saver_harness import check
from wine_prefix import (NAMES, SCREENSHOT, boxes, end_with_key, end_with_travel, reg_values,
                         run_saver, state, unix_path, wine)


def test_saver_runs_until_a_key():
    check(run_saver(end_with_key, SCREENSHOT) == 0, "the saver did not exit with 0")
    check(boxes() == [], "the saver showed boxes: %s" % boxes())


def test_settings_round_trip():
    key = "HKCU\\" + NAMES["SETTINGS_KEY"]
    result = wine("reg", "add", key, "/v", "debug", "/t", "REG_DWORD", "/d", "1", "/f")
    check(result.returncode == 0, "reg add failed")
    check((reg_values(key) or {}).get("debug") == "0x1", "debug did not read back as 1")


def test_debug_report_written_and_pointer_travel():
    page = unix_path(state["folder"] + "\\debug.htm")
    with open(page, encoding="utf-8", errors="replace") as f:
        installed = f.read()
    check(run_saver(end_with_travel) == 0, "the saver in debug mode did not exit with 0")
    with open(page, encoding="utf-8", errors="replace") as f:
        written = f.read()
    check(written != installed and "<!--begin-->" in written and "<!--end-->" in written,
          "the report page was not written between its markers")
    check(len(boxes()) == 1 and boxes()[0]["buttons"] == "yesno",
          "not one question after the debug run: %s" % boxes())



TESTS = [test_saver_runs_until_a_key, test_settings_round_trip,
         test_debug_report_written_and_pointer_travel]
