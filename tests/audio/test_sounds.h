// Sound inputs made at test time with our own writers: tones as PCM, a WAV file, an MP3 file
// (encoded with LAME) and an audio-CD image (a .cue sheet over a raw .bin), plus the capture
// of everything the shared output plays through SDL's disk driver.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kCaptureRate = 44100;
inline constexpr double kAudible = 0.02;  // RMS above this is sound

// A sine tone of `seconds` at `level` (0..1 of full scale), `channels` interleaved.
std::vector<std::int16_t> Tone(double seconds, double level, int rate, int channels);

void WriteWav(const std::string& path, const std::vector<std::int16_t>& samples, int rate,
              int channels);
// Mono at kCaptureRate; false when LAME is not there to encode it.
bool WriteMp3(const std::string& path, const std::vector<std::int16_t>& mono);
// One audio track per entry (stereo at kCaptureRate, padded to whole sectors) in
// `folder`/disc.bin, described by `folder`/disc.cue; returns the .cue path.
std::string WriteCdImage(const std::string& folder,
                         const std::vector<std::vector<std::int16_t>>& tracks);

// From construction on, the output (when it next opens) writes what it mixes to a file;
// `realTime` false lets it run as fast as it can.
class OutputCapture {
  public:
    OutputCapture(const std::string& folder, bool realTime);
    // Waits (up to a minute) until `seconds` of output have been written.
    bool WaitFor(double seconds) const;
    // Root mean square of both channels between the two times, 0..1 of full scale.
    double Rms(double from, double to) const;
    // Where the sound begins: the start of the first audible 10 ms before `within` seconds,
    // or `within` when there is none.
    double SoundStart(double within) const;
    double Seconds() const;

  private:
    std::string file_;
};
