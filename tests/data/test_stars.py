"""The star list stars.dat."""
import re
import sys
import unittest

sys.dont_write_bytecode = True    # keep the source tree clean
import datatest  # noqa: E402

LINE = re.compile(r"^(-?\d+\.\d\d);(\d+\.\d\d);(-?\d+\.\d\d);([OBAFGKM])$")


def lines():
    text = datatest.read_bytes("stars.dat")
    return text, text.split(b"\r\n")


class StarList(unittest.TestCase):
    def test_every_line_ends_in_cr_lf(self):
        text, parts = lines()
        self.assertTrue(text.endswith(b"\r\n"))
        self.assertEqual(parts[-1], b"")
        self.assertEqual(text.count(b"\n"), text.count(b"\r\n"))
        self.assertEqual(text.count(b"\r"), text.count(b"\r\n"))

    def test_count_is_one_star_per_line_feed(self):
        text, parts = lines()
        self.assertEqual(text.count(b"\n"), 9096)
        self.assertEqual(len(parts) - 1, 9096)

    def test_lines_match_the_layout_and_ranges(self):
        _, parts = lines()
        letters = set()
        for i, raw in enumerate(parts[:-1]):
            m = LINE.match(raw.decode("ascii"))
            self.assertIsNotNone(m, "line %d: %r" % (i + 1, raw))
            mag, ra, dec, letter = float(m.group(1)), float(m.group(2)), float(m.group(3)), m.group(4)
            self.assertTrue(-1.5 <= mag <= 8.0, raw)
            self.assertTrue(0.0 <= ra < 100.0, raw)
            self.assertTrue(-50.0 <= dec <= 50.0, raw)
            letters.add(letter)
        self.assertEqual(letters, set("OBAFGKM"))

    def test_known_stars(self):
        _, parts = lines()
        rows = [p.decode("ascii") for p in parts[:-1]]
        # catalogue order: the first entry
        self.assertEqual(rows[0], "6.70;0.35;25.12;A")
        # the brightest star, cut (not rounded) to two decimals
        brightest = min(rows, key=lambda r: float(r.split(";")[0]))
        self.assertEqual(brightest, "-1.46;28.13;-9.28;A")
        self.assertEqual(sum(r.startswith("-1.46;") for r in rows), 1)
        # the star nearest the north celestial pole (magnitude 2.02, class F)
        northmost = max(rows, key=lambda r: float(r.split(";")[2]))
        self.assertEqual(northmost, "2.02;10.54;49.59;F")


if __name__ == "__main__":
    datatest.main()
