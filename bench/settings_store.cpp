// Prints how long the settings store takes on this machine's disk: the saver's load of the
// sixteen values and the dialog's OK (sixteen flushed, atomic writes). Medians of repeated runs
// in a throw-away settings root.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "settings/dialog_settings.h"
#include "settings/settings.h"

namespace {

constexpr int kRuns = 50;

template <typename Work>
double MedianMicroseconds(Work work) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - start;
        times.push_back(took.count());
    }
    std::nth_element(times.begin(), times.begin() + kRuns / 2, times.end());
    return times[kRuns / 2];
}

}  // namespace

int main() {
    std::string root = (std::filesystem::temp_directory_path() / "vostrel-bench-XXXXXX").string();
    if (mkdtemp(root.data()) == nullptr) return 1;
    setenv("XDG_CONFIG_HOME", root.c_str(), 1);

    RegistryKey* key = CreateRegistryKey(RegistryRoot::User, kSettingsKeyPath);
    Settings copy;
    const double store = MedianMicroseconds([&] {
        StoreDialogSettings(key, copy, true);
        StoreCaption(key, copy);
    });
    CloseRegistryKey(key);
    const double load = MedianMicroseconds([] { LoadSaverSettings(); });

    std::printf("dialog OK, 16 values written: median %.0f us\n", store);
    std::printf("saver load, 16 values read:   median %.0f us\n", load);
    std::filesystem::remove_all(root);
    return 0;
}
