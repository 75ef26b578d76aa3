// The debug report: a Saver run's step-by-step log, spliced into the install folder's
// report page between its begin and end markers.
#pragma once

bool OpenDebugReport();
// Appends a fixed text, or a printf format with its values, while the report is open.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
bool CloseDebugReport();
void OfferDebugReport();
