#!/usr/bin/python3
"""Turns the rendered preview (render_preview's PPM) into bitmap 145: 192x144 pixels,
256 colours, the 8-bit BMP that the preview monitor and the settings page show.
Usage: make_bitmap.py <render.ppm> <out.bmp>"""
import sys

from PIL import Image


def main(source, target):
    picture = Image.open(source).convert("RGB").resize((192, 144), Image.LANCZOS)
    paletted = picture.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.FLOYDSTEINBERG)
    paletted.save(target, format="BMP")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
