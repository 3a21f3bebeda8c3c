"""Lens flare pictures Flare1.jpg .. Flare10.jpg.

Every picture is drawn from a formula of its centred coordinates x (right)
and y (down), both -1 .. 1 across the picture, 4 x 4 supersampled and
dithered so that its soft gradients show no steps. "Lower right" is +x, +y,
the corner with texture coordinates (1, 1).

Three pictures are laid over the planet on billboards that scale a unit
sphere's outline to a given fraction of the picture's half-width; their rims
sit where that outline falls:
  Flare7  glow billboard of size 1.08  -> limb at 1 / 1.08  of the half-width
  Flare9  glow billboard of size 1.03  -> limb at 1 / 1.03
  Flare10 limb mask of size 1.054      -> limb at 1 / 1.054
"""
import numpy as np

from imaging import to_bytes, jpeg_bytes

SUPERSAMPLE = 4
JPEG_QUALITY = 95

LIMB_GLOW = 1 / 1.08
LIMB_CRESCENT = 1 / 1.03
LIMB_MASK = 1 / 1.054

ORANGE = np.array([1.0, 0.52, 0.16])
GOLD = np.array([1.0, 0.76, 0.30])


def grid(width, height):
    """Supersampled centred coordinates, x across the width, y down."""
    n = SUPERSAMPLE
    x = ((np.arange(width * n) + 0.5) / (width * n)) * 2 - 1
    y = ((np.arange(height * n) + 0.5) / (height * n)) * 2 - 1
    return np.meshgrid(x, y)


def downsample(v, width, height):
    n = SUPERSAMPLE
    return v.reshape(height, n, width, n, *v.shape[2:]).mean(axis=(1, 3))


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0, 1)
    return t * t * (3 - 2 * t)


def towards_lower_right(x, y):
    """Cosine of the angle between a point's direction and the lower right diagonal."""
    r = np.hypot(x, y) + 1e-12
    return (x + y) / (np.sqrt(2) * r)


def flare1(x, y):
    """Grey disc, brighter at the centre, with a sharp edge."""
    r = np.hypot(x, y)
    edge = 1 - smoothstep(0.90, 0.91, r)
    return (0.42 + 0.48 * np.clip(1 - r / 0.91, 0, 1) ** 1.5) * edge


def flare2(x, y):
    """Thin white ring."""
    r = np.hypot(x, y)
    return np.exp(-((r - 0.84) / 0.028) ** 2)


def flare3(x, y):
    """Bright lower half-bowl, brightest along its rim, with a small arc above it."""
    r = np.hypot(x, y)
    lower = smoothstep(-0.02, 0.10, y)
    bowl = (np.clip(r / 0.86, 0, 1) ** 3) * (1 - smoothstep(0.85, 0.87, r)) * lower
    bowl += 0.9 * np.exp(-((r - 0.86) / 0.02) ** 2) * lower
    up = -y / (r + 1e-12)                              # 1 straight above the centre
    arc = np.exp(-((r - 0.42) / 0.018) ** 2) * smoothstep(0.80, 0.93, up)
    return np.clip(bowl + 0.8 * arc, 0, 1)


def flare4(x, y):
    """Soft round glow fading to black at the picture's edge."""
    r2 = x * x + y * y
    return np.clip((np.exp(-5 * r2) - np.exp(-5)) / (1 - np.exp(-5)), 0, 1)


def flare5(x, y):
    """Six-spoked star: three lines through the centre, 60 degrees apart."""
    r = np.hypot(x, y)
    fade = np.clip(1 - r, 0, 1) ** 2
    v = np.zeros_like(x)
    for k in range(3):
        a = np.pi / 2 + k * np.pi / 3
        across = np.abs(x * np.sin(a) - y * np.cos(a))
        v += np.exp(-(across / (0.006 + 0.03 * np.clip(1 - r, 0, 1))) ** 2)
    glow = np.exp(-(r / 0.12) ** 2)
    return np.clip(v * fade + 0.8 * glow, 0, 1)


def flare6(x, y):
    """Horizontal golden streak, white in its core, fading to black at all edges."""
    along = 0.7 * (1 - x * x) ** 3 + 0.3 * np.exp(-(x / 0.12) ** 2)
    across = np.exp(-(y / 0.32) ** 2) * (1 - smoothstep(0.75, 1.0, np.abs(y)))
    v = np.clip(along * across, 0, 1)[..., None]
    core = (np.exp(-(x / 0.25) ** 2) * np.exp(-(y / 0.18) ** 2))[..., None]
    return v * ((1 - core) * GOLD + core)


def rim_fade(r):
    """Nothing reaches the picture's edge circle."""
    return 1 - smoothstep(0.97, 1.0, r)


def flare7(x, y):
    """Thin orange rim of an atmosphere around a black disc, brightest at the lower right."""
    r = np.hypot(x, y)
    outside = smoothstep(LIMB_GLOW - 0.004, LIMB_GLOW + 0.004, r)
    glow = np.exp(-np.clip(r - LIMB_GLOW, 0, None) / 0.024) * outside * rim_fade(r)
    side = 0.12 + 0.88 * ((1 + towards_lower_right(x, y)) / 2) ** 3
    return np.clip(glow * side, 0, 1)[..., None] * ORANGE


def flare8(x, y):
    """Soft hexagonal glow (the spare picture)."""
    a = np.arctan2(y, x)
    r = np.hypot(x, y)
    sector = np.mod(a, np.pi / 3) - np.pi / 6
    hexr = r * np.cos(sector) / np.cos(np.pi / 6)       # 1 on the hexagon's sides
    body = 0.35 * (1 - smoothstep(0.70, 0.78, hexr))
    edge = 0.45 * np.exp(-((hexr - 0.74) / 0.03) ** 2)
    return np.clip(body + edge, 0, 1)[..., None] * np.array([0.85, 0.9, 1.0])


def flare9(x, y):
    """Thin crescent of the atmosphere rim on the lower right, with a bright spot there."""
    r = np.hypot(x, y)
    band = np.exp(-((r - LIMB_CRESCENT) / 0.010) ** 2)
    side = np.clip((towards_lower_right(x, y) - 0.2) / 0.8, 0, 1) ** 2
    d = np.hypot(x - LIMB_CRESCENT / np.sqrt(2), y - LIMB_CRESCENT / np.sqrt(2))
    spot = np.exp(-(d / 0.05) ** 2)
    v = np.clip(band * side + spot, 0, 1) * rim_fade(r)
    colour = ORANGE + (1 - ORANGE) * spot[..., None] * 0.8
    return v[..., None] * colour


def flare10(x, y):
    """Limb mask: white disc turning grey at its edge, a thin black circle on the
    limb just inside the picture's border, white outside."""
    r = np.hypot(x, y)
    inner = 1 - 0.6 * np.clip(r / LIMB_MASK, 0, 1) ** 6
    ring = smoothstep(LIMB_MASK - 0.012, LIMB_MASK - 0.004, r) \
        * (1 - smoothstep(LIMB_MASK + 0.004, LIMB_MASK + 0.012, r))
    disc = 1 - smoothstep(LIMB_MASK - 0.004, LIMB_MASK + 0.004, r)
    return (disc * inner + (1 - disc)) * (1 - ring)


FLARES = [
    (flare1, 256, 256), (flare2, 256, 256), (flare3, 256, 256), (flare4, 256, 256),
    (flare5, 256, 256), (flare6, 256, 16), (flare7, 512, 512), (flare8, 512, 512),
    (flare9, 512, 512), (flare10, 512, 512),
]


def make_flare(n):
    fn, width, height = FLARES[n - 1]
    x, y = grid(width, height)
    v = downsample(fn(x, y), width, height)
    if v.ndim == 2:
        v = np.repeat(v[..., None], 3, axis=2)
    return to_bytes(v * 255.0, dither_seed=100 + n)


def make_flares():
    return {"Flare%d.jpg" % n: jpeg_bytes(make_flare(n), JPEG_QUALITY) for n in range(1, 11)}
