#include "show_test_state.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/run_flags.h"
#include "platform/registry.h"
#include "platform_spies.h"
#include "process_state.h"
#include "scratch_install.h"
#include "settings/install_folder.h"
#include "settings/settings.h"
#include "show/random.h"
#include "show/show_state.h"

namespace {

namespace fs = std::filesystem;

// The data folder the build makes when it is there, otherwise an empty folder (every
// texture then holds the checker and the font falls back to the closest system font).
fs::path InstallFolderForTests(const fs::path& scratch) {
    const char* build = std::getenv("VOSTREL_BUILD_DIR");
    const fs::path made = fs::path(build != nullptr ? build : VOSTREL_BUILD_DIR) / "data";
    if (fs::exists(made / "data")) return made;
    fs::create_directories(scratch / "install");
    return scratch / "install";
}

// A machine root of this process that records the install folder, removed at exit.
class InstallRecord {
  public:
    InstallRecord()
        : root_(fs::temp_directory_path() / ("vostrel-show-" + std::to_string(getpid()))) {
        WriteMachineKey(root_.string(), InstallFolderForTests(root_).string());
    }
    ~InstallRecord() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    void Use() const {
        SetMachineRoot(root_.c_str());
        LookUpDataFolder();
    }

  private:
    fs::path root_;
};

}  // namespace

void ResetShowForTest() {
    static const InstallRecord installRecord;
    ResetRunRecords();
    settings.pmusic = settings.pmp3 = settings.pcd = 0;
    installRecord.Use();
    installFolderFound = true;
}
