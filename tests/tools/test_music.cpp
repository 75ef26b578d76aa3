// The music module is an XM 1.04 file that libopenmpt plays for a minute, audibly and
// without clipping, and that loops back to its restart position instead of ending.
#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.hpp>

#include <cmath>
#include <sstream>
#include <vector>

#include "data_files.h"

namespace {

constexpr int kRate = 44100;
constexpr int kSeconds = 60;

}  // namespace

TEST(DataMusic, IsAnExtendedModuleOfVersion104) {
    const std::string bytes = ReadWholeFile(DataFile("Gz2.xm"));
    ASSERT_GT(bytes.size(), 336u);
    EXPECT_EQ(bytes.substr(0, 17), "Extended Module: ");
    EXPECT_EQ(bytes[37], '\x1a');
    EXPECT_EQ(static_cast<unsigned char>(bytes[58]), 0x04);
    EXPECT_EQ(static_cast<unsigned char>(bytes[59]), 0x01);
}

TEST(DataMusic, PlaysAMinuteOfAudibleMusicThenLoops) {
    std::istringstream stream(ReadWholeFile(DataFile("Gz2.xm")));
    openmpt::module module(stream);
    EXPECT_EQ(module.get_metadata("type"), "xm");
    EXPECT_GE(module.get_num_channels(), 4);
    EXPECT_GE(module.get_num_patterns(), 8);
    EXPECT_GE(module.get_num_instruments(), 4);
    EXPECT_GE(module.get_duration_seconds(), kSeconds);

    module.set_repeat_count(-1);
    std::vector<float> block(kRate * 2);
    double sum = 0, peak = 0;
    size_t frames = 0;
    for (int second = 0; second < kSeconds; ++second) {
        size_t read = module.read_interleaved_stereo(kRate, kRate, block.data());
        ASSERT_EQ(read, static_cast<size_t>(kRate)) << "stopped at second " << second;
        for (size_t i = 0; i < read * 2; ++i) {
            ASSERT_TRUE(std::isfinite(block[i]));
            sum += block[i] * block[i];
            peak = std::max(peak, static_cast<double>(std::fabs(block[i])));
        }
        frames += read;
    }
    EXPECT_GT(std::sqrt(sum / (frames * 2)), 0.02);
    EXPECT_LT(peak, 0.99);

    // Past the end of the order list the song carries on from its restart position.
    module.set_position_seconds(module.get_duration_seconds() - 1.0);
    for (int second = 0; second < 3; ++second) {
        EXPECT_EQ(module.read_interleaved_stereo(kRate, kRate, block.data()),
                  static_cast<size_t>(kRate));
    }
    EXPECT_GT(module.get_current_order(), 0);
    EXPECT_LT(module.get_current_order(), module.get_num_orders() - 1);
}
