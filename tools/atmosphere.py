"""Cloud map atmos.jpg: dark brownish dust swirls on black, whole globe.

Laid out for a GLU quadric sphere: the top row lies at the south pole, the
bottom row at the north pole, and the columns go once around the axis,
eastward from +y (texture s = 0 and s = 1 both on +y, s = 0.25 on -x), so the
left and right edges meet. Every pixel is computed from its point on the unit
sphere, which keeps both the left/right join and the poles free of seams.
"""
import numpy as np

from imaging import to_bytes, jpeg_bytes
from noise import Noise3

WIDTH, HEIGHT = 1024, 512
SEED = 1977
VORTICES = 40
DUST_COLOUR = np.array([96.0, 64.0, 42.0])     # densest dust
HAZE_COLOUR = np.array([122.0, 90.0, 62.0])    # lighter tint on the thickest cores
JPEG_QUALITY = 90


def sphere_points():
    lon = 2 * np.pi * (np.arange(WIDTH) + 0.5) / WIDTH
    lat = np.radians(-90.0 + 180.0 * (np.arange(HEIGHT) + 0.5) / HEIGHT)
    lon, lat = np.meshgrid(lon, lat)
    p = np.stack([-np.cos(lat) * np.sin(lon), np.cos(lat) * np.cos(lon), np.sin(lat)], axis=-1)
    return p, lat


def rotate_about(p, axis, angle):
    """Rotate points p (..., 3) about a unit axis by per-point angles (Rodrigues)."""
    c, s = np.cos(angle)[..., None], np.sin(angle)[..., None]
    cross = np.cross(axis, p)
    dot = (p @ axis)[..., None]
    return p * c + cross * s + axis * dot * (1 - c)


def swirl(p, rng):
    """Twist the sphere around random centres: the twist is strongest at a
    centre and dies away over its radius, bending the noise into whorls."""
    for _ in range(VORTICES):
        axis = rng.normal(size=3)
        axis /= np.linalg.norm(axis)
        radius = rng.uniform(0.08, 0.3)
        strength = rng.uniform(0.8, 2.2) * rng.choice([-1.0, 1.0])
        d = np.arccos(np.clip(p @ axis, -1, 1))
        p = rotate_about(p, axis, strength * np.exp(-(d / radius) ** 2))
    return p


def make_atmosphere():
    rng = np.random.RandomState(SEED)
    p, lat = sphere_points()
    p = swirl(p, rng)
    warp = Noise3(SEED + 1)
    q = p + 0.25 * np.stack([warp.fbm(*(p * 2.0 + o).transpose(2, 0, 1), octaves=4)
                             for o in (0.0, 5.2, 9.7)], axis=-1)
    # stretched along the parallels: dust is carried east and west by the winds
    stretch = np.array([2.5, 2.5, 6.0])
    detail = Noise3(SEED + 2).fbm(*(q * stretch).transpose(2, 0, 1), octaves=7, gain=0.55)
    cover = Noise3(SEED + 3).fbm(*(p * 1.3).transpose(2, 0, 1), octaves=3)
    density = np.clip((detail + 0.45 * cover + 0.02) * 2.2, 0, 1)
    density = density * density * (3 - 2 * density)
    # thin out towards the poles
    polar = np.clip((np.degrees(np.abs(lat)) - 72.0) / 18.0, 0, 1)
    density *= 1 - polar * polar * (3 - 2 * polar)
    core = np.clip((density - 0.7) / 0.3, 0, 1)[..., None]
    colour = density[..., None] * ((1 - core) * DUST_COLOUR + core * HAZE_COLOUR)
    return to_bytes(colour, dither_seed=SEED)


def make_atmosphere_member():
    return {"atmos.jpg": jpeg_bytes(make_atmosphere(), JPEG_QUALITY)}
