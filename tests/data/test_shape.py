"""The moon's shape file phobos2.dat."""
import struct
import sys
import unittest

import numpy as np

sys.dont_write_bytecode = True    # keep the source tree clean
import datatest  # noqa: E402


def load():
    data = datatest.read_bytes("phobos2.dat")
    count = struct.unpack_from("<i", data)[0]
    return data, count


def vertices():
    data, count = load()
    return np.frombuffer(data, "<f4", count=count * 24, offset=4).reshape(count, 3, 8).astype(np.float64)


class ShapeFile(unittest.TestCase):
    def test_length_is_header_plus_whole_triangles(self):
        data, count = load()
        self.assertEqual(count, 2208)
        self.assertEqual(len(data), 4 + 96 * count)

    def test_values_are_finite(self):
        self.assertTrue(np.isfinite(vertices()).all())

    def test_normals_have_unit_length(self):
        n = vertices()[:, :, 3:6]
        np.testing.assert_allclose(np.linalg.norm(n, axis=2), 1.0, atol=1e-5)

    def test_longest_axis_runs_from_minus_one_to_one_along_x(self):
        p = vertices()[:, :, :3].reshape(-1, 3)
        self.assertAlmostEqual(p[:, 0].min(), -1.0, places=5)
        self.assertAlmostEqual(p[:, 0].max(), 1.0, places=5)
        for axis in (1, 2):
            self.assertLess(np.abs(p[:, axis]).max(), 0.95)
            self.assertGreater(np.abs(p[:, axis]).max(), 0.5)    # a lumpy body, not a needle

    def test_triangles_face_outward_counter_clockwise(self):
        t = vertices()
        p = t[:, :, :3]
        face = np.cross(p[:, 1] - p[:, 0], p[:, 2] - p[:, 0])
        self.assertTrue((np.linalg.norm(face, axis=1) > 0).all(), "degenerate triangle")
        # the winding agrees with the vertex normals ...
        self.assertTrue((np.einsum("ij,ij->i", face, t[:, :, 3:6].sum(axis=1)) > 0).all())
        # ... and with the direction away from the centre
        self.assertTrue((np.einsum("ij,ij->i", face, p.mean(axis=1)) > 0).all())
        # enclosed volume is positive only when the whole surface is wound outward
        volume = np.einsum("ij,ij->i", p[:, 0], np.cross(p[:, 1], p[:, 2])).sum() / 6
        self.assertGreater(volume, 0.5)

    def test_surface_is_closed_and_consistently_wound(self):
        p = vertices()[:, :, :3]
        keys = {}
        for tri in p:
            k = [tuple(np.round(v, 5)) for v in tri]
            for a, b in ((0, 1), (1, 2), (2, 0)):
                keys[(k[a], k[b])] = keys.get((k[a], k[b]), 0) + 1
        # every edge is used once in each direction
        self.assertTrue(all(n == 1 for n in keys.values()))
        self.assertTrue(all((b, a) in keys for a, b in keys))

    def test_texture_coordinates_follow_longitude_and_latitude(self):
        t = vertices()
        s, tt = t[:, :, 6], t[:, :, 7]
        self.assertGreaterEqual(s.min(), 0.0)
        self.assertLessEqual(s.max(), 1.0)
        self.assertGreaterEqual(tt.min(), 0.0)
        self.assertLessEqual(tt.max(), 1.0)
        # north (+z) is at the top of the picture, t = 0
        p = t[:, :, :3].reshape(-1, 3)
        tt = tt.reshape(-1)
        self.assertGreater(p[tt < 0.1, 2].min(), 0.4)
        self.assertLess(p[tt > 0.9, 2].max(), -0.4)
        # away from the poles and the wrap-around, s grows eastward from +x
        ss = s.reshape(-1)
        lon = np.degrees(np.arctan2(p[:, 1], p[:, 0])) % 360
        mid = (tt > 0.2) & (tt < 0.8) & (ss > 0.1) & (ss < 0.9)
        self.assertLess(np.abs(ss[mid] * 360 - lon[mid]).max(), 25)


if __name__ == "__main__":
    datatest.main()
