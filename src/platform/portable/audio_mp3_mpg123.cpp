// Realises the MP3 calls of audio_engine.h with libmpg123: the file stays open and is decoded
// block by block in the output's thread, forced to the output's rate in stereo (mono is
// doubled, other rates resampled by the library), and sought back to its start whenever it
// ends, so it loops without holding a whole decoded song in memory. Hence no size limit: a mix
// of hours is as welcome as a song, and loading reads only the first frames.
//
// A file is an MP3 only when its first frames follow one another from its first byte (after
// an ID3v2 tag): the library on its own hunts through the start of any file for something like
// a frame header, and would play a tracker module or a picture as full-scale noise. Nor does
// it resynchronise after a damaged frame later on: the song ends there and starts again.
// Leaves out: gapless trimming choices and ID3 tags (skipped by the library).
#include <mpg123.h>
#include <sys/types.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/audio_engine.h"
#include "platform/data_files.h"
#include "platform/hook_points.h"
#include "platform/portable/audio_engine_calls.h"
#include "platform/portable/voice_mixer.h"

namespace {

constexpr int kStereo = 2;
// Reads in a row that may give nothing (a format notice, the end, the notice again after the
// seek to the start) before a block is left short.
constexpr int kEmptyReadLimit = 3;
// Frames that must follow one another at the start; eight are a fifth of a second of sound,
// and a chance header in other data is followed by a second one at the right place only rarely.
constexpr int kFramesInSequence = 8;
constexpr off_t kFrameHeaderBytes = 4;
constexpr off_t kId3HeaderBytes = 10;
constexpr off_t kId3FooterBytes = 10;
constexpr unsigned char kId3FooterFlag = 0x10;

// A decoder that reads through a file of our own safe open: the library's own open would block
// for ever on a FIFO. The library never closes a descriptor it was handed.
struct DecoderFile {
    DecoderFile() = default;
    ~DecoderFile() {
        if (decoder != nullptr) mpg123_delete(decoder);
        if (file != nullptr) std::fclose(file);
    }
    DecoderFile(const DecoderFile&) = delete;
    DecoderFile& operator=(const DecoderFile&) = delete;

    std::FILE* file = nullptr;
    mpg123_handle* decoder = nullptr;
};

}  // namespace

struct AudioMp3 : MixVoice {
    explicit AudioMp3(std::unique_ptr<DecoderFile> opened)
        : input(std::move(opened)), decoder(input->decoder) {}

    // Fills `out` with up to `frames` frames, going round to the start at the end; the
    // number of frames decoded. The song ends where its frames end: bytes after the last
    // frame that are no frame (an editor's padding, a tag the library does not know) stop the
    // decoder as the file's end does, and so start the song again. Only a file that stops
    // before giving any sound since its start is broken, for good.
    int Decode(float* out, int frames) {
        int filled = 0;
        int emptyReads = 0;
        while (filled < frames && emptyReads < kEmptyReadLimit) {
            size_t bytes = 0;
            const int result = mpg123_read(decoder, out + filled * kStereo,
                                           (frames - filled) * kStereo * sizeof(float), &bytes);
            const int got = static_cast<int>(bytes / (kStereo * sizeof(float)));
            filled += got;
            framesSinceStart += got;
            emptyReads = got > 0 ? 0 : emptyReads + 1;
            const bool stopped = result != MPG123_OK && result != MPG123_NEW_FORMAT;
            if (result == MPG123_DONE || (stopped && framesSinceStart > 0)) {
                mpg123_seek(decoder, 0, SEEK_SET);
                framesSinceStart = 0;
            } else if (stopped) {
                broken = true;
                break;
            }
        }
        return filled;
    }

    void AddTo(float* mix, int frames) override {
        if (broken) return;
        const int decoded = Decode(block.data(), frames);
        for (int i = 0; i < decoded * kStereo; ++i) mix[i] += block[i];
    }

    std::unique_ptr<DecoderFile> input;
    mpg123_handle* decoder;
    bool broken = false;
    long framesSinceStart = 0;
    std::array<float, kMixBlockFrames * kStereo> block{};
};

namespace {

LoadedVoices<AudioMp3>& LoadedMp3s() {
    static LoadedVoices<AudioMp3> mp3s(VoiceSlot::Mp3);
    return mp3s;
}

std::unique_ptr<DecoderFile> OpenDecoder(const std::string& path, long flags) {
    auto opened = std::make_unique<DecoderFile>();
    opened->file = OpenRegularFileForReading(path);
    if (opened->file == nullptr) return nullptr;
    opened->decoder = mpg123_new(nullptr, nullptr);
    if (opened->decoder == nullptr) return nullptr;
    mpg123_param(opened->decoder, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_NO_RESYNC | flags, 0.0);
    mpg123_format_none(opened->decoder);
    if (mpg123_format(opened->decoder, kAudioMixRate, MPG123_STEREO, MPG123_ENC_FLOAT_32) !=
            MPG123_OK ||
        mpg123_open_fd(opened->decoder, fileno(opened->file)) != MPG123_OK) {
        return nullptr;
    }
    return opened;
}

// Where the first frame must begin: after the ID3v2 tag that may open the file, whose size is
// written in 7-bit bytes and which may end with a footer. Read through a stream of its own, so
// the decoder's file position is left alone.
off_t FirstFrameOffset(const std::string& path) {
    std::array<unsigned char, kId3HeaderBytes> head{};
    std::FILE* file = OpenRegularFileForReading(path);
    if (file == nullptr) return 0;
    const std::size_t got = std::fread(head.data(), 1, head.size(), file);
    std::fclose(file);
    if (got != head.size() || std::memcmp(head.data(), "ID3", 3) != 0) return 0;
    off_t size = 0;
    for (int i = 6; i < kId3HeaderBytes; ++i) size = (size << 7) | (head[i] & 0x7f);
    return kId3HeaderBytes + size + ((head[5] & kId3FooterFlag) != 0 ? kId3FooterBytes : 0);
}

// True when the file's first frames (or all of a shorter file) lie back to back from the
// first frame's place. The info frame an encoder writes first counts as one of them.
bool FramesFollowInSequence(const std::string& path) {
    const std::unique_ptr<DecoderFile> probe = OpenDecoder(path, MPG123_IGNORE_INFOFRAME);
    if (probe == nullptr) return false;
    off_t expected = FirstFrameOffset(path);
    for (int frame = 0; frame < kFramesInSequence; ++frame) {
        const int result = mpg123_framebyframe_next(probe->decoder);
        if (result == MPG123_DONE) return frame > 0;
        unsigned long header = 0;
        unsigned char* body = nullptr;
        size_t bodyBytes = 0;
        if ((result != MPG123_OK && result != MPG123_NEW_FORMAT) ||
            mpg123_framedata(probe->decoder, &header, &body, &bodyBytes) != MPG123_OK ||
            mpg123_framepos(probe->decoder) != expected) {
            return false;
        }
        expected += kFrameHeaderBytes + static_cast<off_t>(bodyBytes);
    }
    return true;
}

}  // namespace

AudioMp3* AudioLoadLoopingMp3(const std::string& path) {
    WatchAudioEngineCall("load mp3");
    if (!FramesFollowInSequence(path)) return nullptr;
    std::unique_ptr<DecoderFile> opened = OpenDecoder(path, 0);
    if (opened == nullptr) return nullptr;
    auto mp3 = std::make_unique<AudioMp3>(std::move(opened));
    // And only when audio comes out of those frames.
    std::array<float, kMixBlockFrames * kStereo> probe{};
    if (mp3->Decode(probe.data(), kMixBlockFrames) == 0 || mp3->broken ||
        mpg123_seek(mp3->decoder, 0, SEEK_SET) < 0) {
        return nullptr;
    }
    return LoadedMp3s().Keep(std::move(mp3));
}

void AudioPlayMp3(AudioMp3* mp3) {
    WatchAudioEngineCall("play mp3");
    if (mp3 != nullptr) SwapVoice(VoiceSlot::Mp3, mp3);
}

void ReleaseLoadedMp3s() {
    LoadedMp3s().FreeAll();
}
