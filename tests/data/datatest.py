"""Shared pieces of the data checks: the data folder from the command line and
small readers for the shipped files."""
import os
import struct
import sys
import unittest

import numpy as np
from PIL import Image

DATA_DIR = None


def member(name):
    return os.path.join(DATA_DIR, name)


def read_bytes(name):
    with open(member(name), "rb") as f:
        return f.read()


def read_rgb(name):
    return np.asarray(Image.open(member(name)).convert("RGB"), dtype=np.float64)


def jpeg_frame(data):
    """(start-of-frame marker, precision, height, width, component count) of a
    JPEG, walking its marker segments up to the first frame header."""
    if data[:2] != b"\xff\xd8":
        raise ValueError("no start-of-image marker")
    pos = 2
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            raise ValueError("marker expected at %d" % pos)
        marker = data[pos + 1]
        if marker == 0xFF:
            pos += 1
            continue
        length = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            precision, height, width, comps = struct.unpack(">BHHB", data[pos + 4:pos + 10])
            return marker, precision, height, width, comps
        pos += 2 + length
    raise ValueError("no frame header")


def main():
    """Run the calling module's tests on the data folder named by argv[1]."""
    global DATA_DIR
    if len(sys.argv) < 2:
        sys.exit("usage: %s DATA_DIR" % sys.argv[0])
    DATA_DIR = sys.argv[1]
    unittest.main(argv=[sys.argv[0]] + sys.argv[2:], module="__main__", verbosity=2)
