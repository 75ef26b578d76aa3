// The report log: the line writer the saver run and the window procedure call, kept below
// them so that they need nothing from the entry point, which opens and closes the report.
//
// While no report is open, LogLine does nothing. Each line reaches the page as soon as it is
// logged (see base/report_page.h), so a run that dies leaves its report up to its last step.
#pragma once
#include <string_view>

#include "base/report_page.h"

// Saves the page as it stands and keeps it open for LogLine; false, with nothing open, when
// the page cannot be saved.
bool StartReportLog(ReportPage page);
// Appends a fixed text, or a printf format with its values, while a report is open.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Appends the closing lines, saves the page and closes the report; true when nothing was open.
bool FinishReportLog(std::string_view closingLines);
