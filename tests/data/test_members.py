"""The archive members: names, JPEG coding and picture sizes."""
import os
import sys
import unittest

import numpy as np
from PIL import Image

sys.dont_write_bytecode = True    # keep the source tree clean
import datatest  # noqa: E402

PICTURES = dict(
    [("Flare%d.jpg" % n, (256, 256)) for n in range(1, 6)]
    + [("Flare6.jpg", (256, 16))]
    + [("Flare%d.jpg" % n, (512, 512)) for n in range(7, 11)]
    + [("surface%d.jpg" % n, (1024, 512)) for n in range(4)]
    + [("atmos.jpg", (1024, 512)), ("phobos2.jpg", (512, 256))])
OTHER = ["phobos2.dat", "stars.dat"]


class Members(unittest.TestCase):
    def test_folder_holds_exactly_the_members(self):
        # the build packs every file of the folder, so nothing else may lie there
        self.assertEqual(sorted(os.listdir(datatest.DATA_DIR)), sorted(list(PICTURES) + OTHER))

    def test_pictures_are_baseline_rgb_jpegs_of_their_size(self):
        for name, (width, height) in PICTURES.items():
            with self.subTest(name=name):
                marker, precision, h, w, comps = datatest.jpeg_frame(datatest.read_bytes(name))
                self.assertEqual(marker, 0xC0, "not baseline sequential coding")
                self.assertEqual(precision, 8)
                self.assertEqual(comps, 3)
                self.assertEqual((w, h), (width, height))
                with Image.open(datatest.member(name)) as im:
                    im.load()
                    self.assertEqual(im.mode, "RGB")

    def test_archive_stays_small(self):
        total = sum(os.path.getsize(datatest.member(n)) for n in list(PICTURES) + OTHER)
        self.assertLess(total, 4 * 1024 * 1024)


class FlarePictures(unittest.TestCase):
    """What each flare shows, where it matters to the scene: the glow and limb
    pictures are turned so that their lower right points at the sun."""

    def grey(self, n):
        return datatest.read_rgb("Flare%d.jpg" % n).mean(axis=2)

    def radial(self, img):
        h, w = img.shape
        y, x = np.mgrid[0:h, 0:w]
        return np.hypot((x + 0.5) / w * 2 - 1, (y + 0.5) / h * 2 - 1)

    def test_additive_pictures_fade_to_black_at_their_border(self):
        for n in range(1, 10):
            with self.subTest(flare=n):
                img = self.grey(n)
                border = np.concatenate([img[0], img[-1], img[:, 0], img[:, -1]])
                self.assertLess(border.max(), 8)

    def test_grey_disc_is_brightest_at_centre_with_a_sharp_edge(self):
        img = self.grey(1)
        r = self.radial(img)
        self.assertGreater(img[r < 0.05].mean(), img[(r > 0.8) & (r < 0.85)].mean() + 40)
        self.assertGreater(img[(r > 0.86) & (r < 0.88)].mean(), 80)
        self.assertLess(img[(r > 0.94) & (r < 0.97)].mean(), 10)

    def test_ring_is_thin(self):
        img = self.grey(2)
        r = self.radial(img)
        self.assertGreater(img[(r > 0.82) & (r < 0.86)].mean(), 150)
        self.assertLess(img[r < 0.7].max(), 10)

    def test_half_bowl_is_below_its_arc(self):
        img = self.grey(3)
        self.assertGreater(img[140:].mean(), 4 * img[:116].mean())
        self.assertGreater(img[:116].max(), 100)          # the arc above

    def test_glow_falls_steadily_from_its_centre(self):
        profile = self.grey(4)[128, 128:]
        self.assertGreater(profile[0], 240)
        self.assertTrue(np.all(np.diff(profile[::8]) <= 1))

    def test_star_has_six_spokes(self):
        img = self.grey(5)
        angles = np.radians(np.arange(0, 360, 5))
        ring = np.array([img[int(128 - 70 * np.sin(a)), int(128 + 70 * np.cos(a))] for a in angles])
        peaks = [i for i in range(len(ring)) if ring[i] > 40 and ring[i] >= ring[i - 1] and ring[i] > ring[(i + 1) % len(ring)]]
        self.assertEqual(len(peaks), 6)

    def test_streak_is_golden_and_horizontal(self):
        img = datatest.read_rgb("Flare6.jpg")
        r, g, b = img[8, 40]
        self.assertGreater(r, g)
        self.assertGreater(g, b)
        self.assertGreater(img[7:9, 96:160].mean(), 150)
        self.assertLess(img[7:9, :4].mean(), 10)

    def test_rim_pictures_are_brightest_towards_the_lower_right(self):
        for n in (7, 9):
            with self.subTest(flare=n):
                img = self.grey(n)
                lower_right = img[256:, 256:].sum()
                self.assertGreater(lower_right, 2 * img[:256, :256].sum())
                self.assertGreater(lower_right, img[:256, 256:].sum())
                self.assertGreater(lower_right, img[256:, :256].sum())
                self.assertLess(img[self.radial(img) < 0.85].max(), 10)   # black disc
                rgb = datatest.read_rgb("Flare%d.jpg" % n)[256:, 256:].reshape(-1, 3).sum(axis=0)
                self.assertGreater(rgb[0], 1.5 * rgb[2], "rim is not orange")

    def test_limb_mask_has_black_circle_on_the_limb(self):
        img = self.grey(10)
        r = self.radial(img)
        limb = 1 / 1.054          # where the mask billboard puts the planet's outline
        self.assertGreater(img[r < 0.1].mean(), 245)
        self.assertGreater(img[r > 0.98].mean(), 245)    # white outside, corners included
        self.assertLess(img[np.abs(r - limb) < 0.003].mean(), 60)
        edge = img[(r > limb - 0.05) & (r < limb - 0.02)].mean()
        self.assertLess(edge, 225)                        # greyer towards the edge
        self.assertGreater(edge, 90)


if __name__ == "__main__":
    datatest.main()
