// The report page: an HTML page whose text area, between the markers "<!--begin-->" and
// "<!--end-->", holds the debug report, while the rest of the page is kept as it was.
//
// The page is read as bytes and written with the system's line ends, as a page written in text
// mode would be (Windows' carriage returns; unchanged elsewhere). A report page on disk is
// whole at every moment: SaveReportPage rewrites the entire page atomically, so a run killed at
// any point leaves a page with the head, both markers, the report up to its last saved line and
// the tail, ready for the next run.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::string_view kBeginMarker = "<!--begin-->";
inline constexpr std::string_view kEndMarker = "<!--end-->";

enum class PageRead { Read, NotOpened, NotClosed, TooLarge };

// Every report line rewrites the whole page, so a page's size multiplies the cost of a run's
// report; a page far larger than any report template is refused before it costs gigabytes of
// writes.
inline constexpr std::size_t kLargestReportPage = std::size_t{1} << 20;

// Reads the whole page into `text`; NotClosed when the page opened but could not be read to its
// end or closed, TooLarge (nothing kept) when it holds more than kLargestReportPage bytes.
PageRead ReadPage(const std::string& path, std::string& text);

// The parts of a page that survive every run: `head` is the text before the first begin marker,
// `reportTail` the text from the first end marker (included) to the end.
struct PageFrame {
    std::string head;
    std::string reportTail;
};

// Nullopt when either marker is missing, or when the first end marker comes before the first
// begin marker (the page would be spliced into a copy of its own middle).
std::optional<PageFrame> SplitPage(std::string_view page);

// Makes a text safe inside the text area: "&", "<" and ">" become character references, so that
// a caption or a path can neither end the text area nor plant a marker for the next run.
std::string EscapeForTextArea(std::string_view text);

// An open report: the page it goes to, the frame kept from the page, the report so far.
struct ReportPage {
    std::string path;
    PageFrame frame;
    std::string report;
};

// Writes the whole page: the head, the begin marker opening the text area, the report, the end of
// the text area, the tail.
bool SaveReportPage(const ReportPage& page);
