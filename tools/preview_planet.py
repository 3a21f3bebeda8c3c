"""Orthographic preview of the textured planet, read through the quarter
mapping that the planet's mesh uses, to check orientation and seams by eye.

usage: preview_planet.py DATA_DIR OUT.png [LAT LON ...]
Each LAT LON pair gives the point of the surface at the centre of one view.
"""
import sys

import numpy as np
from PIL import Image


def load_quarters(data_dir):
    return [np.asarray(Image.open("%s/surface%d.jpg" % (data_dir, n)).convert("RGB"),
                       dtype=np.float64) for n in range(4)]


def sample_gl(tex, s, t):
    """Bilinear lookup as the texture unit does it with edge clamping."""
    h, w = tex.shape[:2]
    x = np.clip(s * w - 0.5, 0, w - 1)
    y = np.clip(t * h - 0.5, 0, h - 1)
    x0 = np.minimum(np.floor(x).astype(int), w - 2)
    y0 = np.minimum(np.floor(y).astype(int), h - 2)
    fx = (x - x0)[..., None]
    fy = (y - y0)[..., None]
    return ((1 - fy) * ((1 - fx) * tex[y0, x0] + fx * tex[y0, x0 + 1])
            + fy * ((1 - fx) * tex[y0 + 1, x0] + fx * tex[y0 + 1, x0 + 1]))


def surface_colour(quarters, lat, lon):
    """Colour at latitude/longitude (degrees, east positive) as the four passes draw it."""
    lon = np.mod(lon + 90.0, 360.0) - 90.0           # -90 .. 270
    west_half = lon < 90.0                            # passes 1 and 3: -90 .. +90
    s = np.where(west_half, lon + 90.0, lon - 90.0) / 180.0
    north = lat >= 0
    t = np.where(north, lat / 90.0, 1.0 + lat / 90.0)
    out = np.zeros(lat.shape + (3,))
    for n, (is_north, is_west) in enumerate([(False, False), (False, True), (True, False), (True, True)]):
        m = (north == is_north) & (west_half == is_west)
        out[m] = sample_gl(quarters[n], s[m], t[m])
    return out


def view(quarters, lat0, lon0, size=512):
    """Orthographic view centred on (lat0, lon0), north up, lit from the viewer."""
    v, u = np.mgrid[0:size, 0:size]
    x = (u + 0.5) / size * 2 - 1
    y = 1 - (v + 0.5) / size * 2
    r2 = x * x + y * y
    inside = r2 < 1
    z = np.sqrt(np.clip(1 - r2, 0, 1))
    a, b = np.radians(lat0), np.radians(lon0)
    # screen (x right, y up, z towards the viewer) to planet coordinates
    east = np.array([-np.sin(b), np.cos(b), 0.0])
    up = np.array([-np.sin(a) * np.cos(b), -np.sin(a) * np.sin(b), np.cos(a)])
    out_ = np.array([np.cos(a) * np.cos(b), np.cos(a) * np.sin(b), np.sin(a)])
    p = x[..., None] * east + y[..., None] * up + z[..., None] * out_
    lat = np.degrees(np.arcsin(np.clip(p[..., 2], -1, 1)))
    lon = np.degrees(np.arctan2(p[..., 1], p[..., 0]))
    colour = surface_colour(quarters, lat, lon) * (0.35 + 0.65 * z)[..., None]
    colour[~inside] = 0
    return np.clip(colour, 0, 255).astype(np.uint8)


def main(argv):
    data_dir, out = argv[1], argv[2]
    centres = [float(a) for a in argv[3:]] or [0.0, 90.0]
    quarters = load_quarters(data_dir)
    views = [view(quarters, centres[i], centres[i + 1]) for i in range(0, len(centres), 2)]
    Image.fromarray(np.concatenate(views, axis=1)).save(out)


if __name__ == "__main__":
    main(sys.argv)
