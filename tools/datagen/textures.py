"""The show's JPEG textures: sprites, sun surface, starfield, reflection map, plasma.

Sprites are drawn with additive blending, so black is transparent: each sprite
reaches exact black well inside its border, which keeps JPEG ringing off the
edge of the square.
"""
import numpy as np

from manifest import made_path
from noise import palette, sample_wrapped, smoothstep, spectral_noise
from pictures import save_jpeg


def centred_grid(size):
    """Coordinates in [-1, 1] measured from the picture's centre, plus radius and angle."""
    axis = (np.arange(size) + 0.5) / size * 2.0 - 1.0
    x, y = np.meshgrid(axis, axis)
    return x, y, np.hypot(x, y), np.arctan2(y, x)


def angular_streaks(angle, seed, count=48):
    """A periodic function of the angle: bright rays at random spokes."""
    rng = np.random.default_rng(seed)
    total = np.zeros_like(angle)
    for _ in range(count):
        centre = rng.uniform(-np.pi, np.pi)
        width = rng.uniform(0.01, 0.05)
        weight = rng.uniform(0.3, 1.0)
        distance = np.angle(np.exp(1j * (angle - centre)))
        total += weight * np.exp(-((distance / width) ** 2))
    return total / np.max(total)


def make_star(size=256):
    x, y, r, _ = centred_grid(size)
    core = np.exp(-((r / 0.07) ** 2))
    glow = np.exp(-r / 0.13)
    spikes = (np.exp(-np.abs(y) / 0.012) * np.exp(-np.abs(x) / 0.30)
              + np.exp(-np.abs(x) / 0.012) * np.exp(-np.abs(y) / 0.30))
    fade = smoothstep(0.88, 0.55, r)
    white = np.array([255.0, 255.0, 255.0])
    warm = np.array([255.0, 226.0, 150.0])
    rgb = (core[..., None] * white + (0.85 * glow + 0.45 * spikes)[..., None] * warm)
    return np.clip(rgb * fade[..., None], 0, 255)


def make_sun(size=256):
    _, _, r, angle = centred_grid(size)
    disc = smoothstep(0.17, 0.11, r)
    rays = angular_streaks(angle, seed=11)
    fine = angular_streaks(angle, seed=12, count=120)
    corona = np.exp(-np.maximum(r - 0.14, 0) / 0.22) * (0.55 + 0.3 * rays + 0.15 * fine)
    halo = np.exp(-np.maximum(r - 0.14, 0) / 0.05)
    light = np.clip(disc + 0.75 * corona + 0.5 * halo, 0, 1.4)
    fade = smoothstep(0.92, 0.55, r)
    colour = palette(np.clip(light, 0, 1),
                     [(0.0, (0, 0, 0)), (0.25, (150, 70, 30)), (0.55, (250, 170, 80)),
                      (0.8, (255, 230, 170)), (1.0, (255, 255, 250))])
    return np.clip(colour * fade[..., None] * np.minimum(light, 1)[..., None] ** 0.2, 0, 255)


def turbulence(size, seed, octaves=5):
    total = np.zeros((size, size))
    weight = 1.0
    for octave in range(octaves):
        band = spectral_noise(size, 1.4, seed + octave, low_cut=2 ** octave * 2)
        total += weight * np.abs(band)
        weight *= 0.5
    return total / np.max(total)


def make_fire(size=512):
    coords = np.arange(size, dtype=np.float64)
    x, y = np.meshgrid(coords, coords)
    warp_x = spectral_noise(size, 2.0, 21) * 24.0
    warp_y = spectral_noise(size, 2.0, 22) * 24.0
    field = sample_wrapped(turbulence(size, 30, octaves=4), x + warp_x, y + warp_y)
    heat = np.clip(1.15 - field * 1.3, 0, 1) ** 1.3
    return palette(heat, [(0.0, (60, 6, 0)), (0.3, (170, 40, 5)), (0.55, (240, 110, 20)),
                          (0.8, (255, 200, 70)), (1.0, (255, 250, 210))])


def make_starfield(size=256, count=70):
    rng = np.random.default_rng(41)
    coords = np.arange(size, dtype=np.float64)
    x, y = np.meshgrid(coords, coords)
    nebula = np.clip(spectral_noise(size, 2.2, 42), 0, 1) ** 2
    rgb = nebula[..., None] * np.array([14.0, 18.0, 40.0])
    tints = [(255, 255, 255), (200, 220, 255), (255, 240, 200), (255, 210, 190)]
    for index in range(count):
        sx, sy = rng.uniform(0, size, 2)
        brightness = rng.uniform(0.25, 1.0) ** 2
        radius = 0.6 + 1.6 * brightness if index % 9 else 2.6
        dx = (x - sx + size / 2) % size - size / 2
        dy = (y - sy + size / 2) % size - size / 2
        spot = np.exp(-(dx * dx + dy * dy) / (radius * radius))
        tint = np.array(tints[index % len(tints)], dtype=np.float64)
        rgb += (brightness * spot)[..., None] * tint
    return np.clip(rgb, 0, 255)


def make_chrome(size=256):
    """A mirror sphere reflecting a studio: bright sky, dark floor, two soft lights."""
    x, y, r, _ = centred_grid(size)
    x = x / 0.999
    y = -y / 0.999
    inside = np.minimum(r, 0.999)
    scale = np.where(r > 0.999, 0.999 / np.maximum(r, 1e-9), 1.0)
    nx = x * scale
    ny = y * scale
    nz = np.sqrt(np.maximum(1.0 - inside * inside, 0.0))
    ry = 2 * nz * ny
    rx = 2 * nz * nx
    rz = 2 * nz * nz - 1
    elevation = ry
    sky = palette(np.clip(elevation, 0, 1), [(0.0, (235, 240, 255)), (0.2, (150, 175, 230)),
                                              (1.0, (40, 70, 150))])
    floor = palette(np.clip(-elevation, 0, 1), [(0.0, (90, 80, 90)), (0.15, (25, 20, 30)),
                                                 (1.0, (8, 8, 14))])
    rgb = np.where((elevation >= 0)[..., None], sky, floor)
    horizon = np.exp(-((elevation / 0.035) ** 2))
    rgb += horizon[..., None] * np.array([255.0, 230.0, 200.0])
    for lx, ly, lz, width in ((0.6, 0.6, 0.5, 0.18), (-0.7, 0.3, -0.6, 0.25)):
        norm = np.sqrt(lx * lx + ly * ly + lz * lz)
        dot = (rx * lx + ry * ly + rz * lz) / norm
        rgb += (np.exp(-((1 - dot) / (width * width))) * 255.0)[..., None]
    return np.clip(rgb, 0, 255)


def make_plasma(size=512):
    coords = np.arange(size, dtype=np.float64)
    x, y = np.meshgrid(coords, coords)
    base = spectral_noise(size, 1.6, 51)
    swirl = spectral_noise(size, 2.4, 52)
    angle = swirl * np.pi * 2.0
    reach = 40.0
    first = sample_wrapped(base, x + reach * np.cos(angle), y + reach * np.sin(angle))
    second = sample_wrapped(spectral_noise(size, 1.8, 53), x + 60 * first, y - 60 * first)
    filaments = 1.0 - np.abs(second)
    value = np.clip((filaments ** 4) * 0.8 + 0.35 * (first + 1) * 0.5, 0, 1)
    return palette(value, [(0.0, (0, 0, 0)), (0.25, (40, 10, 60)), (0.5, (150, 40, 60)),
                           (0.75, (240, 140, 50)), (1.0, (255, 240, 190))])


def write_textures(install_dir):
    save_jpeg(make_star(), made_path(install_dir, "StarTexture"))
    save_jpeg(make_sun(), made_path(install_dir, "SunTexture"))
    save_jpeg(make_fire(), made_path(install_dir, "FireTexture"))
    save_jpeg(make_starfield(), made_path(install_dir, "StelleTexture"))
    save_jpeg(make_chrome(), made_path(install_dir, "Stelle2Texture"))
    save_jpeg(make_plasma(), made_path(install_dir, "EnvTexture"))
