#include "app/report_location.h"

#include "base/data_manifest.h"
#include "base/report_page.h"
#include "platform/data_files.h"
#include "platform/file_replace.h"
#include "platform/user_state.h"

std::string ReportPageLocation(const std::string& installedPage) {
    if (installedPage.empty() || FileFolderWritable(installedPage)) return installedPage;
    const std::string copy =
        UserStatePath(kDataManifest[static_cast<int>(DataRole::ReportPage)].madeFile);
    if (copy.empty()) return installedPage;
    if (FileOpensForReading(copy)) return copy;
    std::string page;
    if (ReadPage(installedPage, page) != PageRead::Read || !WriteFileAtomically(copy, page)) {
        return installedPage;
    }
    return copy;
}
