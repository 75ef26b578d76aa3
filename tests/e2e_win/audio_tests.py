"""The installed saver's sound under Wine, heard through the ALSA file device of wine_prefix.py:
each opening of the device writes a WAV file of its own, so the voice mixer's stereo stream
(the music or the MP3) and every PlaySound effect (mono, as the data files are) come apart.
The file device takes sound faster than real time, so a capture's seconds are the sound's own,
not the clock's.

Sound is judged as the engine's tests judge it: a slice of 10 ms is audible when its RMS is
above 0.02 of full scale.
"""
import array
import ctypes
import glob
import math
import os
import threading
import time
import wave

from saver_harness import check, wait_for
from wine_prefix import (ENV, NAMES, SOUND, WORK, end_with_key, run_saver, state, unix_path,
                         wine)

AUDIBLE = 0.02
SLICE = 0.01  # seconds
# The module swells in from silence over its first half second: its start is judged lower.
SWELLING = 0.005
MUSIC_START_LIMIT = 1.0  # seconds from the saver's start to audible music
PAST_MODULE_END = (1.0, 3.0)  # seconds after the module's end that must still sound
CAPTURE_WAIT = 90  # seconds of the clock a capture may take to fill
AUDIO_BOX_TITLE = "SHUTDOWN ERROR"
MP3_LOAD_FAILED = "Error Loading MP3 File"
MUSIC_INIT_FAILED = "Error Initializing Music"
SHORT_BANGS = ["bangshrt%d.wav" % n for n in range(1, 5)]
LONG_BANG = "bang.wav"
MODULE = "Gz2.xm"
# The user's choices, each run naming every sound switch (and the report off, which an earlier
# module may have switched on).
CYRILLIC_NAME = " ".join(["Музыка для заставки"] * 3)  # 59 characters, 110 bytes in UTF-8
QUIET = {"pmusic": 0, "pmp3": 0, "pcd": 0, "psound": 0, "matrox": 0, "debug": 0}
# With `matrox` the show starts 200 frames before the sun, whose rays bring the short bangs;
# the blast and its long bang follow some 1,200 frames in.
MUSIC_AND_BANGS = dict(QUIET, pmusic=1, psound=1, matrox=1)
TONE_SECONDS = 0.5
TONE_LEVEL = 0.5
TONE_HZ = 440
MP3_RATE = 44100
NO_SUCH_CARD = 29  # ALSA numbers cards 0 to 31; a test machine has none this high


def prepare_run(values):
    """The settings key written with `values` (numbers or texts) in one `reg import`, and the
    captures of earlier runs forgotten."""
    for path in glob.glob(SOUND + "*"):
        os.remove(path)
    lines = ["REGEDIT4", "", "[HKEY_CURRENT_USER\\%s]" % NAMES["SETTINGS_KEY"]]
    for name, value in values.items():
        if isinstance(value, str):
            lines.append('"%s"="%s"' % (name, value.replace("\\", "\\\\")))
        else:
            lines.append('"%s"=dword:%08x' % (name, value))
    path = os.path.join(WORK.name, "settings.reg")
    with open(path, "w") as f:
        f.write("\r\n".join(lines) + "\r\n")
    check(wine("reg", "import", windows_path(path)).returncode == 0, "reg import failed")


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def data_file(name):
    return os.path.join(unix_path(state["folder"]), "data", name)


class Capture:
    """One opening of the sound device: its channels and its samples as written so far (the
    file device fills in the header's lengths only when the opening closes)."""

    def __init__(self, path):
        with open(path, "rb") as f:
            head = f.read(44)
            self.data = f.read()
        # 0 channels until the first write puts the header in
        self.channels = int.from_bytes(head[22:24], "little") if len(head) == 44 else 0
        self.rate = int.from_bytes(head[24:28], "little")
        frame = 2 * max(self.channels, 1)
        self.data = self.data[:len(self.data) // frame * frame]

    def seconds(self):
        return len(self.data) / (2 * self.channels * self.rate)

    def rms(self, start, end):
        """RMS of every channel between the two times, 0..1 of full scale."""
        frame = 2 * self.channels
        chunk = self.data[int(start * self.rate) * frame:int(end * self.rate) * frame]
        samples = array.array("h", chunk)
        if not samples:
            return 0.0
        return math.sqrt(sum(s * s for s in samples) / len(samples)) / 32768.0

    def sound_start(self, level=AUDIBLE):
        """Seconds to the first slice louder than `level`, or None when nothing is."""
        step = 0
        while step * SLICE < self.seconds():
            if self.rms(step * SLICE, (step + 1) * SLICE) > level:
                return step * SLICE
            step += 1
        return None


def captures():
    """Every opening's capture since the run was prepared, in the order they opened."""
    def opened(path):
        suffix = path[len(SOUND):]
        return int(suffix[1:]) if suffix else 0
    return [Capture(path) for path in sorted(glob.glob(SOUND + "*"), key=opened)]


def mixer_capture():
    stereo = [c for c in captures() if c.channels == 2]
    return stereo[0] if stereo else None


def wav_data(path):
    with wave.open(path) as f:
        return f.readframes(f.getnframes())


def voiced(data):
    """The samples without the zero ones: the system's player fills a late block with silence,
    so a capture is its file with gaps of silence in it."""
    return array.array("h", (s for s in array.array("h", data) if s != 0)).tobytes()


def library(name, signatures):
    """The host's shared library `name` with {function: (result, [arguments])} declared."""
    lib = ctypes.CDLL(name)
    for function, (result, arguments) in signatures.items():
        getattr(lib, function).restype = result
        getattr(lib, function).argtypes = arguments
    return lib


POINTER, NUMBER = ctypes.c_void_p, ctypes.c_int
OPENMPT = {"openmpt_module_create_from_memory2": (POINTER, [POINTER, ctypes.c_size_t] +
                                                  [POINTER] * 7),
           "openmpt_module_get_duration_seconds": (ctypes.c_double, [POINTER]),
           "openmpt_module_destroy": (None, [POINTER])}
LAME = {"lame_init": (POINTER, []),
        "lame_set_num_channels": (NUMBER, [POINTER, NUMBER]),
        "lame_set_in_samplerate": (NUMBER, [POINTER, NUMBER]),
        "lame_set_mode": (NUMBER, [POINTER, NUMBER]),
        "lame_init_params": (NUMBER, [POINTER]),
        "lame_encode_buffer": (NUMBER, [POINTER, POINTER, POINTER, NUMBER, POINTER, NUMBER]),
        "lame_encode_flush": (NUMBER, [POINTER, POINTER, NUMBER]),
        "lame_close": (NUMBER, [POINTER])}
LAME_MONO = 3  # LAME's MPEG_mode MONO


def module_seconds():
    """How long the installed module plays before its own loop takes it back."""
    openmpt = library("libopenmpt.so.0", OPENMPT)
    with open(data_file(MODULE), "rb") as f:
        module = f.read()
    handle = openmpt.openmpt_module_create_from_memory2(module, len(module), *[None] * 7)
    check(handle, "libopenmpt does not load the module")
    seconds = openmpt.openmpt_module_get_duration_seconds(handle)
    openmpt.openmpt_module_destroy(handle)
    return seconds


def write_tone_mp3(path):
    """A mono 440 Hz tone encoded with LAME, as the engine's tests make theirs."""
    frames = int(TONE_SECONDS * MP3_RATE)
    tone = (ctypes.c_short * frames)(*[
        int(TONE_LEVEL * 32767 * math.sin(2 * math.pi * TONE_HZ * i / MP3_RATE))
        for i in range(frames)])
    lame = library("libmp3lame.so.0", LAME)
    encoder = lame.lame_init()
    lame.lame_set_num_channels(encoder, 1)
    lame.lame_set_in_samplerate(encoder, MP3_RATE)
    lame.lame_set_mode(encoder, LAME_MONO)
    check(lame.lame_init_params(encoder) >= 0, "LAME refused its parameters")
    encoded = ctypes.create_string_buffer(frames * 5 // 4 + 7200)  # LAME's worst case
    size = lame.lame_encode_buffer(encoder, tone, tone, frames, encoded, len(encoded))
    tail = lame.lame_encode_flush(encoder, ctypes.byref(encoded, size), len(encoded) - size)
    lame.lame_close(encoder)
    check(size >= 0 and tail >= 0, "LAME failed to encode")
    with open(path, "wb") as f:
        f.write(encoded.raw[:size + tail])


class MixerWatch:
    """Notes the clock's seconds from its start until the voice mixer's capture holds a slice
    louder than `level`: until the sound reaches the device."""

    def __init__(self, level=AUDIBLE):
        self.level = level
        self.started = time.time()
        self.sounded = None
        self.stop = False
        self.thread = threading.Thread(target=self.watch)
        self.thread.start()

    def watch(self):
        while not self.stop and self.sounded is None:
            capture = mixer_capture()
            if capture is not None and capture.sound_start(self.level) is not None:
                self.sounded = time.time() - self.started
            time.sleep(SLICE)

    def seconds_to_sound(self):
        self.stop = True
        self.thread.join()
        check(self.sounded is not None, "the mixer's capture never sounded")
        return self.sounded


def end_when(predicate, what):
    """An `end` for run_saver: waits for `predicate`, then ends the saver with a key."""
    def end(process):
        wait_for(predicate, what, timeout=CAPTURE_WAIT, poll=0.5)
        check(process.poll() is None, "the saver ended by itself")
        end_with_key(process)
    return end


def test_music_and_bangs_are_heard():
    """One run with the music and the bangs: the module sounds within a second and again past
    its end; each effect is a data file's samples, in order and none changed, the long bang
    among them."""
    prepare_run(MUSIC_AND_BANGS)
    past = [module_seconds() + seconds for seconds in PAST_MODULE_END]
    long_bang = voiced(wav_data(data_file(LONG_BANG)))
    watch = MixerWatch(SWELLING)
    started = time.time()

    def filled():
        music = mixer_capture()
        return music is not None and music.seconds() > past[1] and any(
            c.channels == 1 and voiced(c.data) == long_bang for c in captures())

    ran = run_saver(end_when(filled, "the module's end and the long bang"))
    check(ran == (0, []), "exit code and boxes: %s, %s" % ran)
    print("  music and bangs: %.0f s of the clock" % (time.time() - started))
    to_sound = watch.seconds_to_sound()
    print("  music sounds %.2f s after the start" % to_sound)
    check(to_sound < MUSIC_START_LIMIT, "the music took %.2f s to sound" % to_sound)
    music = mixer_capture()
    level = music.rms(*past)
    check(level > AUDIBLE, "silent after the module's end (RMS %.3f)" % level)
    bangs = {name: voiced(wav_data(data_file(name))) for name in SHORT_BANGS + [LONG_BANG]}
    effects = [voiced(c.data) for c in captures() if c.channels == 1]
    # A new effect stops the one playing, so a capture may be the front of its file only.
    strangers = [i for i, effect in enumerate(effects)
                 if not any(data.startswith(effect) for data in bangs.values())]
    check(not strangers, "effects %r are no data file's front" % strangers)
    whole = {name for name, data in bangs.items() if data in effects}
    print("  %d effects, heard whole: %s" % (len(effects), sorted(whole)))
    check(whole & set(SHORT_BANGS) and LONG_BANG in whole, "not heard whole: %s" % whole)


def test_mp3_made_now_plays_and_loops():
    """From a folder whose Cyrillic path is longer than 255 bytes in UTF-8 but not 255
    characters, which the system counts."""
    folder = os.path.join(WORK.name, *[CYRILLIC_NAME] * 3)
    os.makedirs(folder)
    path = os.path.join(folder, "tone.mp3")
    check(len(path.encode()) > 255 and len(windows_path(path)) <= 255, "not such a path")
    write_tone_mp3(path)
    prepare_run(dict(QUIET, pmp3=1))
    # REGEDIT4 files are in the system's code page: the path goes in through `reg add`.
    key = "HKCU\\" + NAMES["SETTINGS_KEY"]
    check(wine("reg", "add", key, "/v", "datapath", "/d", windows_path(path), "/f").returncode == 0,
          "reg add failed")
    watch = MixerWatch()
    heard = TONE_SECONDS * 6  # the tone and five loops

    def filled():
        mp3 = mixer_capture()
        start = mp3.sound_start() if mp3 is not None else None
        return start is not None and mp3.seconds() > start + heard

    ran = run_saver(end_when(filled, "the MP3's loops"))
    check(ran == (0, []), "exit code and boxes: %s, %s" % ran)
    to_sound = watch.seconds_to_sound()
    print("  the MP3 sounds %.2f s after the start" % to_sound)
    check(to_sound < MUSIC_START_LIMIT, "the MP3 took %.2f s to sound" % to_sound)
    mp3 = mixer_capture()
    start = mp3.sound_start()
    # Slices of 0.2 s outlast the gap that LAME leaves where the tone starts again: only a tone
    # that stopped shows as silence.
    silent = [round(at, 2) for at in frange(start + 0.1, start + heard, 0.25)
              if mp3.rms(at, at + 0.2) <= AUDIBLE]
    check(not silent, "the MP3 is silent at %s s" % silent)


def frange(start, stop, step):
    return [start + i * step for i in range(int((stop - start) / step))]


def test_wrong_mp3_path_shows_one_box_and_the_show_runs():
    prepare_run(dict(QUIET, pmp3=1, datapath="C:\\no\\such\\file.mp3"))
    ran = run_saver(end_with_key, opening=[(AUDIO_BOX_TITLE, "Return")])
    check(ran == (0, [MP3_LOAD_FAILED]), "not the one box answered: %s, %s" % ran)


def test_no_sound_device_shows_one_box_and_the_show_runs():
    """A home whose ALSA default names no card: the music's box, answered with Return as a user
    would, then the show."""
    home = os.path.join(WORK.name, "no-device")
    os.makedirs(home, exist_ok=True)
    with open(os.path.join(home, ".asoundrc"), "w") as f:
        f.write("pcm.!default { type hw; card %d }\n" % NO_SUCH_CARD)
    prepare_run(dict(QUIET, pmusic=1))
    ran = run_saver(end_with_key, env=dict(ENV, HOME=home),
                    opening=[(AUDIO_BOX_TITLE, "Return")])
    check(ran == (0, [MUSIC_INIT_FAILED]), "not the one box answered: %s, %s" % ran)


TESTS = [test_music_and_bangs_are_heard, test_mp3_made_now_plays_and_loops,
         test_wrong_mp3_path_shows_one_box_and_the_show_runs,
         test_no_sound_device_shows_one_box_and_the_show_runs]
