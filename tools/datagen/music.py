"""data/Gz2.xm: a slow, spacey piece in A minor for the burning and exploding sun.

Instruments are synthesised here. Pitched sounds are built on a period of
PERIOD samples played back at SAMPLE_RATE, which is middle C when the tracker
plays note C-4 with relative note +24; partials are whole multiples of the loop
length, so every loop joins without a click. Pads alternate between two sets of
three channels so that each chord swells in while the previous one releases.
"""
import numpy as np

from manifest import made_path
from xm import KEY_OFF, Cell, Instrument, Sample, module_bytes

SAMPLE_RATE = 33452
PERIOD = 128
RELATIVE_NOTE = 24
TEMPO, BPM = 6, 90
ROWS = 64
CHORD_ROWS = 32
CHANNELS = 14
PAD_A, PAD_B, BASS, ARP, LEAD, BELL, BOOM, HAT, CHOIR, WIND = (0, 3, 6, 7, 8, 9, 10, 11, 12, 13)
PAN_EFFECT = 0x08
PEAK = 0.8 * 32767

# Instrument numbers (1-based, as the patterns use them).
I_PAD, I_BASS, I_BELL, I_CHOIR, I_PLUCK, I_LEAD, I_BOOM, I_HAT, I_WIND = range(1, 10)


def to_pcm(wave):
    return np.rint(wave / np.max(np.abs(wave)) * PEAK).astype(np.int16)


def harmonic_voice(length, cycles, weights, rng):
    """Sum of harmonics of a tone that makes exactly `cycles` periods in `length` samples."""
    t = np.arange(length) / length
    wave = np.zeros(length)
    for harmonic, weight in enumerate(weights, start=1):
        if weight:
            wave += weight * np.sin(2 * np.pi * harmonic * cycles * t + rng.uniform(0, 2 * np.pi))
    return wave


def saw_weights(count, softness):
    return [np.exp(-h / softness) / h for h in range(1, count + 1)]


def formant_weights(count):
    """Harmonics of middle C shaped by two vowel formants ("ah")."""
    freqs = np.arange(1, count + 1) * SAMPLE_RATE / PERIOD
    shape = (np.exp(-((freqs - 750) / 260) ** 2) + 0.6 * np.exp(-((freqs - 1150) / 300) ** 2)
             + 0.3 * np.exp(-((freqs - 2600) / 500) ** 2))
    return list((0.25 / np.arange(1, count + 1)) + shape)


def ensemble(length, detunes, weights, seed):
    rng = np.random.default_rng(seed)
    base = length // PERIOD
    return sum(harmonic_voice(length, base + d, weights, rng) for d in detunes)


def pad_sample():
    length = PERIOD * 512
    wave = ensemble(length, (0, -1, 1, -2, 2), saw_weights(20, 7.0), 101)
    return Sample("nebula pad", to_pcm(wave), volume=40, relative_note=RELATIVE_NOTE,
                  loop_start=0, loop_length=length)


def choir_sample():
    length = PERIOD * 512
    wave = ensemble(length, (0, -1, 1, -3, 3), formant_weights(24), 102)
    return Sample("star choir", to_pcm(wave), volume=34, relative_note=RELATIVE_NOTE,
                  loop_start=0, loop_length=length)


def bass_sample():
    length = PERIOD * 32
    t = np.arange(length) / PERIOD
    wave = (np.sin(2 * np.pi * t) + 0.35 * np.sin(4 * np.pi * t + 0.5)
            + 0.12 * np.sin(6 * np.pi * t + 1.0))
    return Sample("deep bass", to_pcm(wave), volume=46, relative_note=RELATIVE_NOTE,
                  loop_start=0, loop_length=length)


def decaying_then_loop(partials, attack_samples, loop_samples):
    """Partials decay at their own rates during the attack and hold in the loop; the
    instrument's envelope then carries the long fade. Ratios are multiples of 1/4,
    so the sound repeats every 4 periods and the loop is seamless."""
    length = attack_samples + loop_samples
    n = np.arange(length)
    settle = np.clip(n / attack_samples, 0, 1)
    settle = settle * settle * (3 - 2 * settle)
    wave = np.zeros(length)
    for ratio, start_level, end_level in partials:
        level = start_level + (end_level - start_level) * settle
        wave += level * np.sin(2 * np.pi * ratio * n / PERIOD)
    return wave


def bell_sample():
    partials = ((1.0, 1.0, 0.8), (2.0, 0.6, 0.25), (2.75, 0.5, 0.05), (4.0, 0.35, 0.08),
                (5.25, 0.3, 0.0), (6.5, 0.2, 0.0), (8.25, 0.12, 0.0))
    attack, loop = PERIOD * 4 * 40, PERIOD * 4 * 16
    wave = decaying_then_loop(partials, attack, loop)
    wave[:64] *= np.linspace(0, 1, 64)
    return Sample("star bell", to_pcm(wave), volume=44, relative_note=RELATIVE_NOTE,
                  loop_start=attack, loop_length=loop)


def pluck_sample():
    partials = tuple((h, 0.9 / h, (0.5 if h == 1 else 0.0)) for h in range(1, 12))
    attack, loop = PERIOD * 4 * 24, PERIOD * 4 * 8
    wave = decaying_then_loop(partials, attack, loop)
    wave[:16] *= np.linspace(0, 1, 16)
    return Sample("comet pluck", to_pcm(wave), volume=40, relative_note=RELATIVE_NOTE,
                  loop_start=attack, loop_length=loop)


def lead_sample():
    length = PERIOD * 64
    t = np.arange(length) / PERIOD
    wave = sum(((-1) ** k) / (2 * k + 1) ** 2 * np.sin(2 * np.pi * (2 * k + 1) * t)
               for k in range(6))
    wave += 0.4 * np.sin(4 * np.pi * t)
    return Sample("solar lead", to_pcm(wave), volume=40, relative_note=RELATIVE_NOTE,
                  loop_start=0, loop_length=length)


def boom_sample():
    rng = np.random.default_rng(103)
    length = int(SAMPLE_RATE * 1.4)
    t = np.arange(length) / SAMPLE_RATE
    freq = 38 + 110 * np.exp(-t / 0.06)
    body = np.sin(2 * np.pi * np.cumsum(freq) / SAMPLE_RATE) * np.exp(-t / 0.45)
    noise = np.convolve(rng.standard_normal(length), np.ones(24) / 24, "same")
    wave = body + 0.5 * noise * np.exp(-t / 0.05)
    return Sample("boom", to_pcm(wave), volume=64, relative_note=RELATIVE_NOTE)


def band_noise(length, low, high, seed):
    """Periodic noise limited to a band: its loop is seamless by construction."""
    rng = np.random.default_rng(seed)
    spectrum = np.fft.rfft(rng.standard_normal(length))
    freqs = np.fft.rfftfreq(length, 1.0 / SAMPLE_RATE)
    spectrum[(freqs < low) | (freqs > high)] = 0
    return np.fft.irfft(spectrum, length)


def hat_sample():
    length = int(SAMPLE_RATE * 0.18)
    t = np.arange(length) / SAMPLE_RATE
    wave = band_noise(length, 5000, 15000, 104) * np.exp(-t / 0.05)
    return Sample("shimmer", to_pcm(wave), volume=64, relative_note=RELATIVE_NOTE)


def wind_sample():
    length = 1 << 16
    wave = band_noise(length, 200, 1800, 105) + 0.5 * band_noise(length, 2500, 5000, 106)
    return Sample("solar wind", to_pcm(wave), volume=18, relative_note=RELATIVE_NOTE,
                  loop_start=0, loop_length=length)


def instruments():
    slow = [(0, 0), (48, 48), (96, 64), (150, 30), (260, 0)]
    return [
        Instrument("nebula pad", pad_sample(), slow, sustain_point=2, fadeout=300),
        Instrument("deep bass", bass_sample(), [(0, 0), (2, 64), (40, 44), (60, 0)],
                   sustain_point=2, fadeout=800),
        Instrument("star bell", bell_sample(), [(0, 64), (12, 44), (60, 22), (200, 6), (420, 0)],
                   sustain_point=4),
        Instrument("star choir", choir_sample(), slow, sustain_point=2, fadeout=300),
        Instrument("comet pluck", pluck_sample(), [(0, 64), (8, 36), (30, 12), (80, 0)],
                   sustain_point=3),
        Instrument("solar lead", lead_sample(), [(0, 0), (6, 64), (30, 50), (60, 0)],
                   sustain_point=2, fadeout=500, vibrato=(0, 60, 5, 12)),
        Instrument("boom", boom_sample()),
        Instrument("shimmer", hat_sample()),
        Instrument("solar wind", wind_sample(), [(0, 0), (120, 64), (200, 40), (400, 0)],
                   sustain_point=1, fadeout=200),
    ]


# The score. Notes are MIDI numbers; XM counts C-0 as 1, so XM note = MIDI - 11. -----

# chord: (pad voicing, bass root, third above the root)
CHORDS = {
    "Am": ((57, 64, 72), 45, 3), "F": ((53, 64, 69), 41, 4), "C": ((55, 64, 72), 48, 4),
    "G": ((55, 62, 71), 43, 4), "Dm": ((57, 62, 65), 38, 3), "Bb": ((58, 62, 69), 46, 4),
    "E": ((56, 59, 64), 40, 4),
}

# pattern: (first chord, second chord, parts playing)
PATTERNS = [
    ("Am", "F", {"wind", "bell"}),
    ("C", "G", {"bell", "choir", "bass_late"}),
    ("Am", "F", {"bass", "arp", "boom"}),
    ("C", "G", {"bass", "arp", "boom", "hat"}),
    ("Dm", "Am", {"bass", "lead", "boom", "choir", "wind"}),
    ("Bb", "E", {"bass", "lead", "boom", "hat", "choir"}),
    ("Am", "F", {"bass", "arp", "lead", "boom", "hat", "bell"}),
    ("C", "G", {"bass", "arp", "boom", "hat", "bell", "hat16"}),
    ("F", "E", {"bass", "boom", "wind", "bell", "choir"}),
]
ORDER = list(range(len(PATTERNS)))
RESTART = 2

# Lead lines for the patterns that have one: (row, MIDI note or KEY_OFF, volume 0..64).
LEAD_LINES = {
    4: [(0, 74, 44), (12, 72, 40), (16, 69, 44), (28, 72, 38), (32, 76, 48), (44, 74, 40),
        (48, 72, 44), (56, 69, 40), (62, KEY_OFF, 0)],
    5: [(0, 70, 44), (8, 69, 40), (16, 65, 44), (28, 67, 38), (32, 68, 46), (40, 71, 44),
        (48, 76, 50), (60, KEY_OFF, 0)],
    6: [(0, 76, 46), (6, 79, 40), (8, 76, 42), (16, 74, 40), (24, 72, 44), (32, 72, 46),
        (40, 69, 40), (48, 76, 44), (56, 74, 40), (62, KEY_OFF, 0)],
}



def xm_note(midi):
    return midi - 11 if midi != KEY_OFF else KEY_OFF


def volume(level):
    """Volume column value for a level 0..64."""
    return 0x10 + level


def place(rows, row, channel, midi, instrument, level=None, effect=0, parameter=0):
    rows[row][channel] = Cell(xm_note(midi), instrument if midi != KEY_OFF else 0,
                              volume(level) if level is not None else 0, effect, parameter)


def pad_voices(rows, chord_index, start, chord):
    """The new chord on one set of pad channels; the other set releases."""
    notes = CHORDS[chord][0]
    on, off = (PAD_A, PAD_B) if chord_index % 2 == 0 else (PAD_B, PAD_A)
    pans = (0x50, 0xB0, 0x80)
    for voice, note in enumerate(notes):
        place(rows, start, on + voice, note, I_PAD, 42, PAN_EFFECT, pans[voice])
        place(rows, start, off + voice, KEY_OFF, 0)


def bass_line(rows, start, chord, late):
    root = CHORDS[chord][1]
    hits = ((0, root, 48), (10, root, 34), (16, root + 7, 38), (26, root + 12, 30))
    for offset, note, level in hits:
        if late and offset < 16:
            continue
        place(rows, start + offset, BASS, note, I_BASS, level)


def arpeggio(rows, start, chord):
    _, root, third = CHORDS[chord]
    steps = (0, 7, 12, 12 + third, 19, 12 + third, 12, 7)
    for index in range(CHORD_ROWS // 2):
        note = root + 24 + steps[index % len(steps)]
        place(rows, start + index * 2, ARP, note, I_PLUCK, 34 if index % 4 else 42,
              PAN_EFFECT if index == 0 else 0, 0x60 if index == 0 else 0)


def sparkles(rows, start, chord, rng):
    notes = CHORDS[chord][0]
    for row in sorted(rng.choice(CHORD_ROWS, size=3, replace=False)):
        note = int(rng.choice(notes)) + 12 * int(rng.integers(1, 3))
        place(rows, start + int(row), BELL, note, I_BELL, int(rng.integers(20, 40)),
              PAN_EFFECT, int(rng.integers(0x40, 0xC0)))


def percussion(rows, parts):
    if "boom" in parts:
        place(rows, 0, BOOM, 60, I_BOOM, 64)
        place(rows, CHORD_ROWS, BOOM, 60, I_BOOM, 50)
    if "hat" in parts:
        step = 2 if "hat16" in parts else 4
        for row in range(2, ROWS, step):
            place(rows, row, HAT, 72 if row % 8 == 2 else 74, I_HAT, 64 if row % 4 == 2 else 44)


def swells(rows, pattern_index, parts, first_chord):
    if "wind" in parts:
        place(rows, 0, WIND, 60, I_WIND, 48)
        place(rows, ROWS - 8, WIND, KEY_OFF, 0)
    if "choir" in parts:
        notes = CHORDS[first_chord][0]
        place(rows, 0, CHOIR, notes[2], I_CHOIR, 40, PAN_EFFECT, 0x98)
        place(rows, ROWS - 4, CHOIR, KEY_OFF, 0)
    for row, note, level in LEAD_LINES.get(pattern_index, ()):
        place(rows, row, LEAD, note, I_LEAD, level if note != KEY_OFF else None)


def compose():
    rng = np.random.default_rng(107)
    patterns = []
    for index, (first, second, parts) in enumerate(PATTERNS):
        rows = [[Cell() for _ in range(CHANNELS)] for _ in range(ROWS)]
        for half, chord in enumerate((first, second)):
            start = half * CHORD_ROWS
            pad_voices(rows, index * 2 + half, start, chord)
            if "bass" in parts or "bass_late" in parts:
                bass_line(rows, start, chord, late="bass_late" in parts and half == 0)
            if "arp" in parts:
                arpeggio(rows, start, chord)
            if "bell" in parts:
                sparkles(rows, start, chord, rng)
        percussion(rows, parts)
        swells(rows, index, parts, first)
        patterns.append(rows)
    return patterns


def write_music(install_dir):
    data = module_bytes("Gz2: solar collapse", CHANNELS, TEMPO, BPM, ORDER, RESTART, compose(),
                        instruments())
    made_path(install_dir, "Music").write_bytes(data)
