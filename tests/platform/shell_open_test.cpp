#include "platform/shell.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_folder.h"

namespace {

// PATH holds only this folder while it lives.
class OnlyOnPath {
  public:
    explicit OnlyOnPath(const std::string& folder) {
        const char* path = std::getenv("PATH");
        oldPath_ = path != nullptr ? path : "";
        setenv("PATH", folder.c_str(), 1);
    }
    ~OnlyOnPath() { setenv("PATH", oldPath_.c_str(), 1); }

  private:
    std::string oldPath_;
};

TEST(ShellOpen, ReportsWhetherTheHandlerCouldBeStarted) {
    TempFolder bin;
    OnlyOnPath path(bin.path());
    EXPECT_FALSE(ShellOpen("https://example.invalid/"));

    WriteWholeFile(bin.File("xdg-open"), "#!/bin/sh\nexit 3\n");
    std::filesystem::permissions(bin.File("xdg-open"), std::filesystem::perms::owner_all);
    // Started is what counts; how the handler itself fares is not waited for.
    EXPECT_TRUE(ShellOpen("https://example.invalid/"));
}

}  // namespace
