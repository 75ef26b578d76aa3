#include "test_sounds.h"

#include <lame/lame.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

constexpr int kSectorBytes = 2352;
constexpr int kSectorsPerSecond = 75;
constexpr double kToneHz = 440.0;

void PutLittle(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::vector<std::int16_t> ReadSamples(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

}  // namespace

std::vector<std::int16_t> Tone(double seconds, double level, int rate, int channels) {
    std::vector<std::int16_t> samples;
    const int frames = static_cast<int>(seconds * rate);
    for (int i = 0; i < frames; ++i) {
        const double value = level * 32767.0 * std::sin(2.0 * M_PI * kToneHz * i / rate);
        samples.insert(samples.end(), channels, static_cast<std::int16_t>(value));
    }
    return samples;
}

void WriteWav(const std::string& path, const std::vector<std::int16_t>& samples, int rate,
              int channels) {
    std::ofstream out(path, std::ios::binary);
    const std::uint32_t bytes = static_cast<std::uint32_t>(samples.size() * 2);
    out << "RIFF";
    PutLittle(out, 36 + bytes, 4);
    out << "WAVEfmt ";
    PutLittle(out, 16, 4);
    PutLittle(out, 1, 2);  // PCM
    PutLittle(out, channels, 2);
    PutLittle(out, rate, 4);
    PutLittle(out, rate * channels * 2, 4);
    PutLittle(out, channels * 2, 2);
    PutLittle(out, 16, 2);
    out << "data";
    PutLittle(out, bytes, 4);
    out.write(reinterpret_cast<const char*>(samples.data()), bytes);
}

bool WriteMp3(const std::string& path, const std::vector<std::int16_t>& mono) {
    lame_t lame = lame_init();
    if (lame == nullptr) return false;
    lame_set_num_channels(lame, 1);
    lame_set_in_samplerate(lame, kCaptureRate);
    lame_set_mode(lame, MONO);
    if (lame_init_params(lame) < 0) return false;
    std::vector<unsigned char> encoded(mono.size() * 5 / 4 + 7200);
    const int size =
        lame_encode_buffer(lame, mono.data(), mono.data(), static_cast<int>(mono.size()),
                           encoded.data(), static_cast<int>(encoded.size()));
    const int tail =
        lame_encode_flush(lame, encoded.data() + size, static_cast<int>(encoded.size()) - size);
    lame_close(lame);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(encoded.data()), size + tail);
    return size >= 0 && tail >= 0;
}

std::string WriteCdImage(const std::string& folder,
                         const std::vector<std::vector<std::int16_t>>& tracks) {
    std::ofstream bin(folder + "/disc.bin", std::ios::binary);
    std::ofstream cue(folder + "/disc.cue");
    cue << "FILE \"disc.bin\" BINARY\n";
    long sector = 0;
    for (size_t i = 0; i < tracks.size(); ++i) {
        char line[96];
        std::snprintf(line, sizeof line, "  TRACK %02zu AUDIO\n    INDEX 01 %02ld:%02ld:%02ld\n",
                      i + 1, sector / kSectorsPerSecond / 60, sector / kSectorsPerSecond % 60,
                      sector % kSectorsPerSecond);
        cue << line;
        std::vector<std::int16_t> samples = tracks[i];
        const size_t bytes = (samples.size() * 2 + kSectorBytes - 1) / kSectorBytes * kSectorBytes;
        samples.resize(bytes / 2);
        bin.write(reinterpret_cast<const char*>(samples.data()), static_cast<long>(bytes));
        sector += static_cast<long>(bytes / kSectorBytes);
    }
    return folder + "/disc.cue";
}

OutputCapture::OutputCapture(const std::string& folder, bool realTime)
    : file_(folder + "/output.raw") {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file_.c_str(), 1);
    if (realTime) {
        unsetenv("SDL_DISKAUDIODELAY");
    } else {
        setenv("SDL_DISKAUDIODELAY", "0", 1);
    }
}

double OutputCapture::Seconds() const {
    std::error_code missing;
    const auto bytes = std::filesystem::file_size(file_, missing);
    return missing ? 0.0 : static_cast<double>(bytes) / (4.0 * kCaptureRate);
}

bool OutputCapture::WaitFor(double seconds) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (Seconds() < seconds) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

double OutputCapture::SoundStart(double within) const {
    constexpr double kStep = 0.01;
    double start = 0.0;
    while (start < within && Rms(start, start + kStep) < kAudible) start += kStep;
    return std::min(start, within);
}

double OutputCapture::Rms(double from, double to) const {
    const std::vector<std::int16_t> samples = ReadSamples(file_);
    const size_t first = static_cast<size_t>(from * kCaptureRate) * 2;
    const size_t last = std::min(samples.size(), static_cast<size_t>(to * kCaptureRate) * 2);
    double sum = 0;
    for (size_t i = first; i < last; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return last > first ? std::sqrt(sum / static_cast<double>(last - first)) / 32768.0 : 0.0;
}
