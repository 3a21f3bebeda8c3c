#!/usr/bin/python3
"""Draws icon 136, the download hint of the product page: a green arrow pointing down into an
open grey tray, on a transparent background. Writes catalogue/download.ico (16, 32 and 48 pixels),
each size drawn at 8 times its size and reduced, so the edges are smooth."""
import sys
from pathlib import Path

from PIL import Image, ImageDraw

SCALE = 8


def render(size):
    big = size * SCALE
    image = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)

    def box(x0, y0, x1, y1):
        return [round(x0 * big), round(y0 * big), round(x1 * big), round(y1 * big)]

    # The tray: a U of dark outline with a lighter fill.
    draw.rectangle(box(0.06, 0.62, 0.94, 0.94), fill=(70, 74, 82, 255))
    draw.rectangle(box(0.14, 0.62, 0.86, 0.84), fill=(200, 204, 212, 255))
    draw.rectangle(box(0.06, 0.62, 0.16, 0.94), fill=(70, 74, 82, 255))
    draw.rectangle(box(0.84, 0.62, 0.94, 0.94), fill=(70, 74, 82, 255))
    # The arrow: shaft and head, dark green edge around a brighter body.
    def arrow(inset, colour):
        shaft = box(0.36 + inset, 0.04 + inset, 0.64 - inset, 0.46)
        head = [(0.14 + inset * 1.6, 0.40 + inset * 0.4), (0.86 - inset * 1.6, 0.40 + inset * 0.4),
                (0.50, 0.80 - inset * 1.8)]
        draw.rectangle(shaft, fill=colour)
        draw.polygon([(round(x * big), round(y * big)) for x, y in head], fill=colour)

    arrow(0.0, (22, 96, 34, 255))
    arrow(0.05, (64, 186, 72, 255))
    return image.resize((size, size), Image.LANCZOS)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2] / "catalogue" / "download.ico"
    sizes = [16, 32, 48]
    images = [render(s) for s in sizes]
    images[-1].save(out, sizes=[(s, s) for s in sizes], append_images=images[:-1])


if __name__ == "__main__":
    main()
