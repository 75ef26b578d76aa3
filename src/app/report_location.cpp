#include "app/report_location.h"

#include "base/report_page.h"
#include "platform/data_files.h"
#include "platform/file_replace.h"
#include "platform/user_state.h"

namespace {

constexpr const char* kUserPageName = "debug.htm";

}  // namespace

std::string ReportPageLocation(const std::string& installedPage) {
    if (installedPage.empty() || FileReplaceable(installedPage)) return installedPage;
    const std::string copy = UserStatePath(kUserPageName);
    if (copy.empty()) return installedPage;
    if (FileOpensForReading(copy)) return copy;
    std::string page;
    if (ReadPage(installedPage, page) != PageRead::Read || !WriteFileAtomically(copy, page)) {
        return installedPage;
    }
    return copy;
}
