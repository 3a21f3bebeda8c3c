"""The planet's surface quarters and cloud map, read the way the planet's
mesh reads them: places of Mars must come out at their true latitude and
longitude, and the four quarters must join without seams."""
import sys
import unittest

import numpy as np

sys.dont_write_bytecode = True    # keep the source tree clean
import datatest  # noqa: E402

SURFACES = None


def surfaces():
    global SURFACES
    if SURFACES is None:
        SURFACES = [datatest.read_rgb("surface%d.jpg" % n) for n in range(4)]
    return SURFACES


def lookup(tex, s, t):
    """Bilinear texture lookup with edge clamping; row 0 is at t = 0."""
    h, w = tex.shape[:2]
    x = np.clip(s * w - 0.5, 0, w - 1)
    y = np.clip(t * h - 0.5, 0, h - 1)
    x0 = np.minimum(np.floor(x).astype(int), w - 2)
    y0 = np.minimum(np.floor(y).astype(int), h - 2)
    fx, fy = (x - x0)[:, None], (y - y0)[:, None]
    return ((1 - fy) * ((1 - fx) * tex[y0, x0] + fx * tex[y0, x0 + 1])
            + fy * ((1 - fx) * tex[y0 + 1, x0] + fx * tex[y0 + 1, x0 + 1]))


def surface_at(lat, lon):
    """Colour of the surface at latitudes/longitudes (degrees, east positive).

    The mesh's quarters: picture 3 north and picture 1 south at longitudes
    -90..+90, picture 2 north and picture 0 south at +90..+270; s grows
    eastward from 0 on each quarter's western edge; t runs from the equator
    (0) to the north pole (1) in the northern pictures and from the south
    pole (0) to the equator (1) in the southern ones."""
    lat = np.atleast_1d(np.asarray(lat, dtype=np.float64))
    lon = np.mod(np.atleast_1d(np.asarray(lon, dtype=np.float64)) + 90.0, 360.0) - 90.0
    west = lon < 90.0
    north = lat >= 0.0
    s = np.where(west, lon + 90.0, lon - 90.0) / 180.0
    t = np.where(north, lat / 90.0, 1.0 + lat / 90.0)
    out = np.zeros(lat.shape + (3,))
    tex = surfaces()
    for index, is_north, is_west in ((0, False, False), (1, False, True), (2, True, False), (3, True, True)):
        m = (north == is_north) & (west == is_west)
        out[m] = lookup(tex[index], s[m], t[m])
    return out


def brightness_around(lat0, lon0, inner, outer):
    """Grey values of the surface between two angular distances (degrees) of a place."""
    lat = np.linspace(max(-89.9, lat0 - outer), min(89.9, lat0 + outer), 81)
    spread = outer / max(0.2, np.cos(np.radians(abs(lat0) + outer)))
    lon = np.linspace(lon0 - spread, lon0 + spread, 161)
    la, lo = [a.ravel() for a in np.meshgrid(lat, lon)]
    r = np.radians
    d = np.degrees(np.arccos(np.clip(np.sin(r(la)) * np.sin(r(lat0))
                                     + np.cos(r(la)) * np.cos(r(lat0)) * np.cos(r(lo - lon0)), -1, 1)))
    m = (d >= inner) & (d < outer)
    return surface_at(la[m], lo[m]).mean(axis=1)


class SurfacePlaces(unittest.TestCase):
    def test_hellas_basin_is_the_bright_floor_at_42s_70e(self):
        # the basin floor is frosted in the mosaic: the brightest spot of its parallel
        caps = {lon: brightness_around(-42, lon, 0, 4).mean() for lon in range(0, 360, 10)}
        self.assertLessEqual(abs(max(caps, key=caps.get) - 70), 10)
        self.assertGreater(caps[70], 1.4 * np.median(list(caps.values())))

    def test_olympus_mons_stands_out_at_18_7n_226e(self):
        # the volcano's cliffs and caldera make a knot of strong contrast in
        # the smooth plains around it
        mountain = brightness_around(18.7, 226.2, 0, 3.5).std()
        plains = brightness_around(18.7, 226.2, 6, 12).std()
        self.assertGreater(mountain, 2 * plains)
        along = [brightness_around(18.7, lon, 0, 3.5).std() for lon in range(0, 360, 10)]
        self.assertGreater(mountain, 1.8 * np.median(along))

    def test_syrtis_major_is_dark_against_arabia(self):
        syrtis = brightness_around(8, 70, 0, 4).mean()
        arabia = brightness_around(20, 10, 0, 4).mean()
        self.assertLess(syrtis, 0.8 * arabia)


class SurfaceEdges(unittest.TestCase):
    def test_pole_edges_are_uniform_and_agree(self):
        tex = surfaces()
        north = [tex[2][-1], tex[3][-1]]          # bottom rows
        south = [tex[0][0], tex[1][0]]            # top rows
        for name, rows in (("north", north), ("south", south)):
            with self.subTest(pole=name):
                for row in rows:
                    self.assertLess(row.std(axis=0).max(), 2.0)
                    self.assertLess(np.abs(row - row.mean(axis=0)).max(), 10)
                self.assertLess(np.abs(rows[0].mean(axis=0) - rows[1].mean(axis=0)).max(), 3)

    def test_quarters_meet_without_seams(self):
        tex = surfaces()
        interior = np.abs(tex[3][:, 500] - tex[3][:, 508]).mean()
        joins = {
            "north +90": (tex[3][:, -1], tex[2][:, 0]),
            "north +270": (tex[2][:, -1], tex[3][:, 0]),
            "south +90": (tex[1][:, -1], tex[0][:, 0]),
            "south +270": (tex[0][:, -1], tex[1][:, 0]),
            "equator -90..+90": (tex[3][0], tex[1][-1]),
            "equator +90..+270": (tex[2][0], tex[0][-1]),
        }
        for name, (a, b) in joins.items():
            with self.subTest(join=name):
                diff = np.abs(a - b).mean()
                self.assertLess(diff, 4.0)
                self.assertLess(diff, 0.5 * interior)


class CloudMap(unittest.TestCase):
    def setUp(self):
        self.atmos = datatest.read_rgb("atmos.jpg")

    def test_left_and_right_edges_meet(self):
        a = self.atmos
        join = np.abs(a[:, 0] - a[:, -1]).mean()
        neighbours = np.abs(a[:, 1:] - a[:, :-1]).mean()
        self.assertLess(join, 1.5 * neighbours + 0.5)

    def test_dark_brownish_dust_on_black(self):
        a = self.atmos
        r, g, b = a.reshape(-1, 3).mean(axis=0)
        self.assertGreater(r, g)
        self.assertGreater(g, b)
        grey = a.mean(axis=2)
        self.assertTrue(3 < grey.mean() < 50)
        self.assertGreater((grey < 10).mean(), 0.4)       # mostly clear sky
        self.assertGreater(grey.max(), 60)                 # but with visible swirls
        self.assertLess(grey[[0, -1]].max(), 12)           # clear over the poles


if __name__ == "__main__":
    datatest.main()
