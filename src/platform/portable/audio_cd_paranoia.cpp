// Realises the CD calls of audio_engine.h with libcdio-paranoia. A reader thread of its own
// finds the first drive holding an audio disc, reads from the asked track's first sector to
// the disc's last audio sector and passes the samples to the output through a single-reader,
// single-writer ring, so the output never waits for the drive: when the ring runs dry (a slow
// or scratched disc) it plays silence for that moment. A disc image (.cue) goes through
// exactly the same path, since libcdio opens one as a drive.
// A drive that hangs in a read holds its reader, never the caller: stopping waits for the
// reader at most kReaderStopWait and then leaves it to end by itself, still holding its voice.
// A disc image counts only when it opens as a regular file, as every file read does.
// Leaves out: the drive's own analogue playback and its volume, CD-Text and track skipping;
// a sector paranoia cannot read after a few retries ends the playback.
#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio_engine.h"
#include "platform/data_files.h"
#include "platform/hook_points.h"
#include "platform/portable/bounded_wait.h"
#include "platform/portable/voice_mixer.h"

namespace {

constexpr int kStereo = 2;
constexpr int kFramesPerSector = CDIO_CD_FRAMESIZE_RAW / (kStereo * sizeof(std::int16_t));
// Two seconds of sound between the drive and the output ride out a drive's spin-up pause.
constexpr size_t kRingFrames = 2 * kAudioMixRate;
constexpr int kReadRetries = 5;
constexpr auto kRingFullPause = std::chrono::milliseconds(20);
constexpr float kSampleScale = 1.0f / 32768.0f;
// A read that paranoia retries ends well within this; only a hung drive takes longer.
constexpr auto kReaderStopWait = std::chrono::milliseconds(500);

// Samples from the reader to the output: the reader only moves `written`, the output only
// moves `read`, each published with release and seen with acquire.
class CdVoice : public MixVoice {
  public:
    CdVoice() : ring_(kRingFrames * kStereo) {}

    void AddTo(float* mix, int frames) override {
        const size_t start = read_.load(std::memory_order_relaxed);
        const size_t available = written_.load(std::memory_order_acquire) - start;
        const size_t take = std::min(available, static_cast<size_t>(frames));
        for (size_t frame = 0; frame < take; ++frame) {
            const size_t at = ((start + frame) % kRingFrames) * kStereo;
            mix[frame * kStereo] += ring_[at] * kSampleScale;
            mix[frame * kStereo + 1] += ring_[at + 1] * kSampleScale;
        }
        read_.store(start + take, std::memory_order_release);
    }

    // Copies one sector's frames in, waiting while the ring is full; false when asked to stop.
    bool Put(const std::int16_t* samples) {
        const size_t start = written_.load(std::memory_order_relaxed);
        while (kRingFrames - (start - read_.load(std::memory_order_acquire)) < kFramesPerSector) {
            if (stop.load()) return false;
            std::this_thread::sleep_for(kRingFullPause);
        }
        for (size_t frame = 0; frame < kFramesPerSector; ++frame) {
            const size_t at = ((start + frame) % kRingFrames) * kStereo;
            ring_[at] = samples[frame * kStereo];
            ring_[at + 1] = samples[frame * kStereo + 1];
        }
        written_.store(start + kFramesPerSector, std::memory_order_release);
        return !stop.load();
    }

    std::atomic<bool> stop{false};

  private:
    std::vector<std::int16_t> ring_;
    std::atomic<size_t> written_{0};
    std::atomic<size_t> read_{0};
};

std::vector<std::string> DriveNames() {
    std::vector<std::string> names;
    if (const auto images = StandInCdDrives()) {
        std::copy_if(images->begin(), images->end(), std::back_inserter(names),
                     FileOpensForReading);
        return names;
    }
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    for (char** device = devices; device != nullptr && *device != nullptr; ++device) {
        names.emplace_back(*device);
    }
    cdio_free_device_list(devices);
    return names;
}

// The first of the drives whose disc holds `track` as an audio track, opened; nullptr when none.
cdrom_drive_t* OpenAudioDisc(track_t track, const std::vector<std::string>& drives) {
    for (const std::string& name : drives) {
        cdrom_drive_t* drive = cdio_cddap_identify(name.c_str(), CDDA_MESSAGE_FORGETIT, nullptr);
        if (drive == nullptr) continue;
        if (cdio_cddap_open(drive) == 0 && track <= cdio_cddap_tracks(drive) &&
            cdio_cddap_track_audiop(drive, track) == 1) {
            return drive;
        }
        cdio_cddap_close(drive);
    }
    return nullptr;
}

void ReadDisc(CdVoice& voice, track_t track, const std::vector<std::string>& drives) {
    cdrom_drive_t* drive = OpenAudioDisc(track, drives);
    if (drive == nullptr) return;
    const lsn_t first = cdio_cddap_track_firstsector(drive, track);
    const lsn_t last = cdio_cddap_disc_lastsector(drive);
    cdrom_paranoia_t* paranoia = cdio_paranoia_init(drive);
    if (paranoia != nullptr && first >= 0 && last >= first) {
        // Overlap checking without the slow full verification: playback, not a rip.
        cdio_paranoia_modeset(paranoia, PARANOIA_MODE_OVERLAP);
        cdio_paranoia_seek(paranoia, first, SEEK_SET);
        for (lsn_t sector = first; sector <= last; ++sector) {
            const std::int16_t* samples =
                cdio_paranoia_read_limited(paranoia, nullptr, kReadRetries);
            if (samples == nullptr || !voice.Put(samples)) break;
        }
    }
    if (paranoia != nullptr) cdio_paranoia_free(paranoia);
    cdio_cddap_close(drive);
}

// What the reader shares with the player. The reader holds its own share, so one that
// outlives the player's wait fills a voice that is still there, though no longer played.
struct CdReading {
    CdVoice voice;
    WorkEnd end;
};

struct CdPlayer {
    CdPlayer() { MakeAudioOutputRecord(); }
    ~CdPlayer() { Stop(); }
    CdPlayer(const CdPlayer&) = delete;
    CdPlayer& operator=(const CdPlayer&) = delete;

    void Play(track_t track) {
        Stop();
        if (!AcquireAudioOutput()) return;
        reading = std::make_shared<CdReading>();
        SwapVoice(VoiceSlot::Cd, &reading->voice);
        // The drives are listed here, not by the reader: a reader that outlives a stop must
        // touch nothing of the process's that the process's exit may be taking down.
        StartUnjoined([reading = reading, track, drives = DriveNames()] {
            ReadDisc(reading->voice, track, drives);
            reading->end.Report();
        });
    }

    void Stop() {
        if (reading == nullptr) return;
        reading->voice.stop.store(true);
        reading->end.AwaitWithin(kReaderStopWait);
        RemoveVoice(VoiceSlot::Cd, &reading->voice);
        reading.reset();
        ReleaseAudioOutput();
    }

    // Present exactly while the CD holds the output and its reader runs.
    std::shared_ptr<CdReading> reading;
};

CdPlayer& ThePlayer() {
    static CdPlayer player;
    return player;
}

}  // namespace

void AudioCdPlayToEnd(int track) {
    WatchAudioEngineCall("cd play");
    ThePlayer().Play(static_cast<track_t>(track));
}

void AudioCdStop() {
    WatchAudioEngineCall("cd stop");
    ThePlayer().Stop();
}
