"""Planet surface: the global Mars mosaic cut into the four quarter pictures.

Each picture is 1024 x 512 and covers half a turn of longitude and one
hemisphere, laid out the way the planet's quarter mesh reads it:

  surface3: north, longitudes  -90 .. +90     surface2: north, +90 .. +270
  surface1: south, longitudes  -90 .. +90     surface0: south, +90 .. +270

Longitude grows to the right (east). Column i lies at longitude
west + i * 180 / 1023, so the first and last columns sit exactly on the
quarter's edges and neighbouring pictures share their edge columns. Northern
pictures run from the equator (top row) to the pole (bottom row); southern
pictures from the pole (top row) to the equator (bottom row); row r lies
r * 90 / 511 degrees from its top edge.
"""
import numpy as np

from imaging import load_rgb, resample, resample_weights, to_bytes, jpeg_bytes

WIDTH, HEIGHT = 1024, 512

# (member, western edge longitude, hemisphere)
QUARTERS = [
    ("surface0.jpg", 90.0, "south"),
    ("surface1.jpg", -90.0, "south"),
    ("surface2.jpg", 90.0, "north"),
    ("surface3.jpg", -90.0, "north"),
]

# Relief shading from the altimeter normals: gain on the slope towards the
# light, the light's direction as (east, north) on the ground, and the limits
# of the brightness factor. The light comes from the north-east, the same side
# as the sunlight in the mosaic's own images, so the two agree.
RELIEF_GAIN = 1.6
RELIEF_LIGHT = (0.6, 0.8)
RELIEF_LIMITS = (0.75, 1.25)

# Rows next to the pole are blended into one colour over this many rows, so
# that the pole edge of every picture is uniform.
POLE_ROWS = 10

JPEG_QUALITY = 90


def quarter_coordinates(west, hemisphere):
    lon = west + np.arange(WIDTH) * 180.0 / (WIDTH - 1)
    frac = np.arange(HEIGHT) / (HEIGHT - 1)
    lat = frac * 90.0 if hemisphere == "north" else -90.0 * (1.0 - frac)
    return lon, lat


def mosaic_weights(lon, lat, width, height, lon_at_left):
    """Weights sampling an equirectangular map whose left edge is at
    longitude lon_at_left, north up."""
    x = ((lon - lon_at_left) % 360.0) / 360.0 * width - 0.5
    y = (90.0 - lat) / 180.0 * height - 0.5
    step_x = (lon[1] - lon[0]) / 360.0 * width
    step_y = abs(lat[1] - lat[0]) / 180.0 * height
    return (resample_weights(y, height, step_y, wrap=False),
            resample_weights(x, width, step_x, wrap=True))


def relief_factor(normals, lon, lat):
    rows, cols = mosaic_weights(lon, lat, normals.shape[1], normals.shape[0], 0.0)
    n = resample(normals, rows, cols)
    east = (n[..., 0] - 127.5) / 127.5
    north = (n[..., 1] - 127.5) / 127.5
    f = 1.0 + RELIEF_GAIN * (east * RELIEF_LIGHT[0] + north * RELIEF_LIGHT[1])
    return np.clip(f, *RELIEF_LIMITS)


def pole_row(hemisphere):
    return HEIGHT - 1 if hemisphere == "north" else 0


def blend_pole(picture, hemisphere, pole_colour):
    """Fade the rows next to the pole into one colour shared by both pictures
    of the hemisphere, so that they meet in a single uniform point."""
    out = picture.copy()
    pole = pole_row(hemisphere)
    for k in range(POLE_ROWS):
        row = pole - k if hemisphere == "north" else pole + k
        w = 1.0 - k / POLE_ROWS
        w = w * w * (3 - 2 * w)      # smoothstep: 1 at the pole, 0 at the last blended row
        out[row] = (1 - w) * picture[row] + w * pole_colour
    return out


def make_quarter(mosaic, normals, west, hemisphere):
    """Unblended quarter picture as floats."""
    lon, lat = quarter_coordinates(west, hemisphere)
    rows, cols = mosaic_weights(lon, lat, mosaic.shape[1], mosaic.shape[0], -180.0)
    colour = resample(mosaic, rows, cols)
    return colour * relief_factor(normals, lon, lat)[..., None]


def make_surfaces(mosaic_path, normal_path):
    """{member name: JPEG bytes} for the four quarters."""
    mosaic = load_rgb(mosaic_path)
    normals = load_rgb(normal_path)
    quarters = {name: make_quarter(mosaic, normals, west, hemisphere)
                for name, west, hemisphere in QUARTERS}
    out = {}
    for name, west, hemisphere in QUARTERS:
        # the pole's colour: its row averaged over the whole turn of longitude
        pole_colour = np.mean([quarters[n][pole_row(h)].mean(axis=0)
                               for n, _, h in QUARTERS if h == hemisphere], axis=0)
        pixels = to_bytes(blend_pole(quarters[name], hemisphere, pole_colour))
        out[name] = jpeg_bytes(pixels, JPEG_QUALITY)
    return out
