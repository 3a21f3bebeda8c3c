"""Deterministic 3D gradient noise (improved-Perlin style) over numpy arrays.

Sampling the noise at points of the unit sphere gives patterns without seams
or pinching at the poles, whatever the picture's layout."""
import numpy as np

GRADIENTS = np.array([
    [1, 1, 0], [-1, 1, 0], [1, -1, 0], [-1, -1, 0],
    [1, 0, 1], [-1, 0, 1], [1, 0, -1], [-1, 0, -1],
    [0, 1, 1], [0, -1, 1], [0, 1, -1], [0, -1, -1],
    [1, 1, 0], [-1, 1, 0], [0, -1, 1], [0, -1, -1]], dtype=np.float64)


class Noise3:
    def __init__(self, seed):
        perm = np.random.RandomState(seed).permutation(256)
        self.perm = np.concatenate([perm, perm]).astype(np.int64)

    def __call__(self, x, y, z):
        """Noise in about -1..1 at the points (x, y, z) (arrays of one shape)."""
        xi, yi, zi = np.floor(x), np.floor(y), np.floor(z)
        xf, yf, zf = x - xi, y - yi, z - zi
        xi = xi.astype(np.int64) & 255
        yi = yi.astype(np.int64) & 255
        zi = zi.astype(np.int64) & 255
        fade = lambda t: t * t * t * (t * (t * 6 - 15) + 10)
        u, v, w = fade(xf), fade(yf), fade(zf)
        p = self.perm

        def corner(dx, dy, dz):
            h = p[p[p[xi + dx] + yi + dy] + zi + dz] & 15
            g = GRADIENTS[h]
            return g[..., 0] * (xf - dx) + g[..., 1] * (yf - dy) + g[..., 2] * (zf - dz)

        lerp = lambda a, b, t: a + t * (b - a)
        x00 = lerp(corner(0, 0, 0), corner(1, 0, 0), u)
        x10 = lerp(corner(0, 1, 0), corner(1, 1, 0), u)
        x01 = lerp(corner(0, 0, 1), corner(1, 0, 1), u)
        x11 = lerp(corner(0, 1, 1), corner(1, 1, 1), u)
        return lerp(lerp(x00, x10, v), lerp(x01, x11, v), w)

    def fbm(self, x, y, z, octaves, gain=0.5, lacunarity=2.0):
        """Sum of octaves, normalised to about -1..1."""
        total = np.zeros_like(x)
        amp, norm, f = 1.0, 0.0, 1.0
        for k in range(octaves):
            # offset every octave so that the lattices do not line up
            total += amp * self(x * f + 17.3 * k, y * f + 31.7 * k, z * f + 7.1 * k)
            norm += amp
            amp *= gain
            f *= lacunarity
        return total / norm
