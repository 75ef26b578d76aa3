#include "base/report_log.h"

#include <cstdarg>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

namespace {

std::optional<ReportPage> openReport;

std::string Formatted(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

}  // namespace

bool StartReportLog(ReportPage page) {
    if (!SaveReportPage(page)) return false;
    openReport = std::move(page);
    return true;
}

void LogLine(const char* format, ...) {
    if (!openReport) return;
    va_list args;
    va_start(args, format);
    const std::string line = Formatted(format, args);
    va_end(args);
    openReport->report += EscapeForTextArea(line);
    // A line that cannot be saved stays in the report and reaches the page with the next one.
    SaveReportPage(*openReport);
}

bool FinishReportLog(std::string_view closingLines) {
    if (!openReport) return true;
    openReport->report += closingLines;
    const bool saved = SaveReportPage(*openReport);
    openReport.reset();
    return saved;
}
