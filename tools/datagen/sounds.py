"""The bang effects: one long explosion and four short thuds, 16-bit mono PCM.

Noise is split into frequency bands that decay at different rates, so the
highs die first and the rumble lingers, as a real blast heard from afar does.
"""
import wave

import numpy as np

from manifest import made_path

RATE = 44100


def band_noise(length, low, high, rng):
    spectrum = np.fft.rfft(rng.standard_normal(length))
    freqs = np.fft.rfftfreq(length, 1.0 / RATE)
    shape = np.exp(-((np.log(np.maximum(freqs, 1.0) / np.sqrt(low * high))) ** 2)
                   / (2 * (np.log(high / low) / 2) ** 2))
    band = np.fft.irfft(spectrum * shape, length)
    return band / np.max(np.abs(band))


def boom(length, start_hz, end_hz, decay):
    t = np.arange(length) / RATE
    freq = end_hz + (start_hz - end_hz) * np.exp(-t / 0.12)
    phase = 2 * np.pi * np.cumsum(freq) / RATE
    return np.sin(phase) * np.exp(-t / decay)


def attack(length, seconds):
    t = np.arange(length) / RATE
    return np.minimum(t / seconds, 1.0)


def long_bang(seed):
    rng = np.random.default_rng(seed)
    length = int(RATE * 3.2)
    t = np.arange(length) / RATE
    mix = (0.9 * boom(length, 90, 32, 1.1)
           + 0.8 * band_noise(length, 40, 160, rng) * np.exp(-t / 0.9)
           + 0.5 * band_noise(length, 150, 900, rng) * np.exp(-t / 0.35)
           + 0.35 * band_noise(length, 900, 6000, rng) * np.exp(-t / 0.08))
    fade = np.clip((3.2 - t) / 0.4, 0, 1)
    return mix * attack(length, 0.004) * fade


def short_thud(seed, seconds, pitch, brightness):
    rng = np.random.default_rng(seed)
    length = int(RATE * seconds)
    t = np.arange(length) / RATE
    mix = (1.0 * boom(length, pitch * 2.2, pitch, seconds / 4)
           + 0.5 * band_noise(length, 60, 400 * brightness, rng) * np.exp(-t / (seconds / 6))
           + 0.2 * band_noise(length, 800, 5000, rng) * np.exp(-t / 0.02))
    fade = np.clip((seconds - t) / 0.05, 0, 1)
    return mix * attack(length, 0.002) * fade


def write_wav(samples, path, peak=0.89):
    scaled = samples / np.max(np.abs(samples)) * peak * 32767
    pcm = np.rint(scaled).astype("<i2")
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(pcm.tobytes())


SHORT_BANGS = ((0.55, 55, 1.0), (0.7, 45, 1.4), (0.5, 70, 0.8), (0.85, 38, 1.8))


def write_sounds(install_dir):
    write_wav(long_bang(61), made_path(install_dir, "LongBang"))
    for index, (seconds, pitch, brightness) in enumerate(SHORT_BANGS, start=1):
        write_wav(short_thud(70 + index, seconds, pitch, brightness),
                  made_path(install_dir, f"ShortBang{index}"))
