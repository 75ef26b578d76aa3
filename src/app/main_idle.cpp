// vostrel-idle: the per-user program that starts the saver (`vostrel /s`, installed beside it)
// when the session has been idle for a wait, and waits again once the saver has ended.
#include <cstdio>
#include <string_view>
#include <vector>

#include "app/idle_arguments.h"
#include "app/idle_autostart.h"
#include "app/idle_service.h"
#include "platform/idle_monitor.h"
#include "platform/program_folder.h"

namespace {

constexpr int kUsageExitStatus = 2;

long long WaitMs(const IdleArguments& arguments) {
    if (arguments.waitMs > 0) return arguments.waitMs;
    const unsigned desktopSeconds = DesktopIdleDelaySeconds();
    return desktopSeconds > 0 ? desktopSeconds * 1000LL : kDefaultIdleWaitMs;
}

}  // namespace

int main(int argc, char** argv) {
    const IdleArguments arguments =
        ParseIdleArguments(std::vector<std::string_view>(argv + 1, argv + argc));
    if (!arguments.valid) {
        std::fprintf(stderr, "vostrel-idle: %s\n%s", arguments.error.c_str(), kIdleUsage);
        return kUsageExitStatus;
    }
    if (arguments.command == IdleCommand::help) {
        std::fputs(kIdleUsage, stdout);
        return 0;
    }
    const std::string folder = ProgramFolder();
    switch (arguments.command) {
        case IdleCommand::enable:
            return EnableIdleAutostart(folder + "/vostrel-idle", arguments.waitText);
        case IdleCommand::disable:
            return DisableIdleAutostart();
        default:
            return RunIdleService(WaitMs(arguments), folder + "/vostrel");
    }
}
