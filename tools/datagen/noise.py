"""Tileable noise fields for the generated pictures.

Every field is made in the frequency domain, so it wraps around both edges by
construction; every generator takes an explicit seed, so a run is repeatable.
"""
import numpy as np


def spectral_noise(size, beta, seed, low_cut=1.0):
    """Periodic size x size noise with a 1/f^beta spectrum, scaled to [-1, 1]."""
    rng = np.random.default_rng(seed)
    white = rng.standard_normal((size, size))
    fy = np.fft.fftfreq(size)[:, None] * size
    fx = np.fft.fftfreq(size)[None, :] * size
    f = np.sqrt(fx * fx + fy * fy)
    gain = np.where(f < low_cut, 0.0, 1.0 / np.maximum(f, 1.0) ** beta)
    field = np.real(np.fft.ifft2(np.fft.fft2(white) * gain))
    return field / np.max(np.abs(field))


def sample_wrapped(field, x, y):
    """Bilinear lookup of a periodic field at fractional pixel positions."""
    h, w = field.shape
    x0 = np.floor(x).astype(np.int64)
    y0 = np.floor(y).astype(np.int64)
    fx = x - x0
    fy = y - y0
    x0 %= w
    y0 %= h
    x1 = (x0 + 1) % w
    y1 = (y0 + 1) % h
    top = field[y0, x0] * (1 - fx) + field[y0, x1] * fx
    bottom = field[y1, x0] * (1 - fx) + field[y1, x1] * fx
    return top * (1 - fy) + bottom * fy


def smoothstep(edge0, edge1, x):
    t = np.clip((x - edge0) / (edge1 - edge0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


def palette(values, stops):
    """Maps values in [0, 1] through colour stops [(position, (r, g, b)), ...]."""
    positions = np.array([p for p, _ in stops])
    colours = np.array([c for _, c in stops], dtype=np.float64)
    out = np.empty(values.shape + (3,))
    for channel in range(3):
        out[..., channel] = np.interp(values, positions, colours[:, channel])
    return out
