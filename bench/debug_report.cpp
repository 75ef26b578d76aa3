// Cost of logging one report line, which rewrites the whole page atomically: median time per
// line at several report sizes, for a page with a typical head and tail.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/report_page.h"

namespace {

constexpr int kSamples = 201;
constexpr const char* kLine = "Create Rendering Context: SUCCESSFUL.\n";

double MedianMicros(ReportPage& page) {
    std::vector<double> times;
    for (int i = 0; i < kSamples; ++i) {
        const auto start = std::chrono::steady_clock::now();
        page.report += kLine;
        SaveReportPage(page);
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::nth_element(times.begin(), times.begin() + kSamples / 2, times.end());
    return times[kSamples / 2];
}

}  // namespace

int main() {
    std::string folder = std::filesystem::temp_directory_path() / "vostrel-bench-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr) return 1;
    ReportPage page{folder + "/debug.htm",
                    {std::string(2048, 'h') + "\n", "<!--end-->" + std::string(1024, 't')},
                    ""};
    std::printf("report bytes  median us per line\n");
    for (std::size_t size : {0u, 4000u, 40000u, 400000u}) {
        page.report.assign(size, 'r');
        std::printf("%12zu  %8.1f\n", size, MedianMicros(page));
    }
    std::filesystem::remove_all(folder);
    return 0;
}
