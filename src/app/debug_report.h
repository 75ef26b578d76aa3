// The debug report: a Saver run's step-by-step log, spliced into the install folder's
// report page between its begin and end markers.
//
// Only a Saver run with the `debug` setting on opens the report; everywhere else LogLine does
// nothing. Each line reaches the page as soon as it is logged (see app/report_page.h), so a run
// that dies leaves its report up to the last step it took.
#pragma once

bool OpenDebugReport();
// Appends a fixed text, or a printf format with its values, while the report is open.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
bool CloseDebugReport();
void OfferDebugReport();

// Writes the settings that shape the run (detail level, audio, paths, switches, caption),
// ending with the heading of the video-mode steps.
void LogSettingsDump();
