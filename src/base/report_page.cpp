#include "base/report_page.h"

#include <cstdio>

#include "platform/data_files.h"
#include "platform/file_replace.h"
#include "platform/system_text.h"

namespace {

constexpr std::string_view kTextAreaStart = "<textarea name=\"DEBUG\" cols=\"30\">";
constexpr std::string_view kTextAreaEnd = "</textarea>";
constexpr std::size_t kReadBlock = 4096;

std::string ComposePage(const PageFrame& frame, std::string_view report) {
    std::string page;
    page.reserve(frame.head.size() + kBeginMarker.size() + kTextAreaStart.size() + report.size() +
                 kTextAreaEnd.size() + frame.reportTail.size());
    page.append(frame.head)
        .append(kBeginMarker)
        .append(kTextAreaStart)
        .append(report)
        .append(kTextAreaEnd)
        .append(frame.reportTail);
    return page;
}

}  // namespace

PageRead ReadPage(const std::string& path, std::string& text) {
    std::FILE* file = OpenRegularFileForReading(path);
    if (file == nullptr) return PageRead::NotOpened;
    text.clear();
    char block[kReadBlock];
    std::size_t count = 0;
    while (text.size() <= kLargestReportPage &&
           (count = std::fread(block, 1, sizeof block, file)) > 0) {
        text.append(block, count);
    }
    const bool readToEnd = std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    if (text.size() > kLargestReportPage) {
        text.clear();
        return PageRead::TooLarge;
    }
    return readToEnd && closed ? PageRead::Read : PageRead::NotClosed;
}

std::optional<PageFrame> SplitPage(std::string_view page) {
    const std::size_t begin = page.find(kBeginMarker);
    const std::size_t end = page.find(kEndMarker);
    if (begin == std::string_view::npos || end == std::string_view::npos || end < begin) {
        return std::nullopt;
    }
    return PageFrame{std::string(page.substr(0, begin)), std::string(page.substr(end))};
}

std::string EscapeForTextArea(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

bool SaveReportPage(const ReportPage& page) {
    return WriteFileAtomically(page.path, WithSystemLineEnds(ComposePage(page.frame, page.report)));
}
