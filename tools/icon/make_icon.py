#!/usr/bin/python3
"""Draws the program icon: a rust-red planet lit from the upper left, with a small moon,
on a transparent background. Writes shell/tellaro.ico (16, 32, 48 and 256 pixels)."""
import sys
from pathlib import Path

import numpy as np
from PIL import Image

SIZE = 256


def render(size):
    y, x = np.mgrid[0:size, 0:size].astype(np.float64)
    u = (x + 0.5) / size * 2 - 1
    v = (y + 0.5) / size * 2 - 1
    rgba = np.zeros((size, size, 4))

    def body(cx, cy, r, base):
        dx, dy = (u - cx) / r, (v - cy) / r
        d2 = dx * dx + dy * dy
        inside = d2 <= 1.0
        dz = np.sqrt(np.clip(1 - d2, 0, 1))
        light = np.array([-0.55, -0.55, 0.63])
        light /= np.linalg.norm(light)
        lambert = np.clip(dx * light[0] + dy * light[1] + dz * light[2], 0, 1)
        shade = 0.08 + 0.92 * lambert ** 0.8
        # Soft banding of darker and lighter terrain on the planet.
        terrain = 1 + 0.12 * np.sin(7 * dy + 2.5 * np.sin(5 * dx))
        colour = np.stack([base[i] * shade * terrain for i in range(3)], axis=-1)
        edge = np.clip((1.0 - np.sqrt(d2)) * r * size / 2, 0, 1)
        alpha = np.where(inside, edge, 0.0)
        for c in range(3):
            rgba[..., c] = np.where(alpha > 0, colour[..., c] * alpha + rgba[..., c] * (1 - alpha), rgba[..., c])
        rgba[..., 3] = np.maximum(rgba[..., 3], alpha)

    body(-0.1, 0.1, 0.78, (0.86, 0.42, 0.22))
    body(0.72, -0.72, 0.17, (0.72, 0.68, 0.62))
    return Image.fromarray((np.clip(rgba, 0, 1) * 255 + 0.5).astype(np.uint8), "RGBA")


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parents[2] / "shell" / "tellaro.ico"
    render(SIZE).save(out, sizes=[(16, 16), (32, 32), (48, 48), (256, 256)])


if __name__ == "__main__":
    main()
