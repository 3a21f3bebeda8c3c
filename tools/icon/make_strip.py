#!/usr/bin/python3
"""Draws bitmap 138 of the settings dialog's product list: six 32x32 images side by side
(192x32, 24-bit) on magenta, the list's transparent colour. In order: a lit planet, the
irregular moon, a star, a program that cannot be read (a grey screen with a red cross, the
image of an installed member whose file is missing), the sun with its flare, and a download
arrow. Writes settings/product_strip.bmp."""
import sys
from pathlib import Path

import numpy as np
from PIL import Image

MAGENTA = (255, 0, 255)
N = 32


def grid():
    y, x = np.mgrid[0:N, 0:N].astype(np.float64)
    return (x + 0.5) / N * 2 - 1, (y + 0.5) / N * 2 - 1


def shaded_disc(base, radius=0.82, bumps=0.0):
    u, v = grid()
    angle = np.arctan2(v, u)
    r = radius * (1 + bumps * (0.12 * np.sin(3 * angle) + 0.07 * np.sin(5 * angle + 1)))
    d = np.sqrt(u * u + v * v) / r
    inside = d <= 1
    dz = np.sqrt(np.clip(1 - d * d, 0, 1))
    light = np.array([-0.55, -0.55, 0.63]) / np.linalg.norm([-0.55, -0.55, 0.63])
    lam = np.clip(u / r * light[0] + v / r * light[1] + dz * light[2], 0, 1)
    shade = 0.1 + 0.9 * lam ** 0.8
    img = np.zeros((N, N, 3))
    img[:] = MAGENTA
    for i in range(3):
        img[..., i] = np.where(inside, base[i] * shade, img[..., i])
    return img


def star():
    u, v = grid()
    glow = np.exp(-(u * u + v * v) * 6)
    rays = np.exp(-np.abs(u) * 14) * np.exp(-np.abs(v) * 1.6) + np.exp(-np.abs(v) * 14) * np.exp(-np.abs(u) * 1.6)
    level = np.clip(glow + rays, 0, 1)
    img = np.zeros((N, N, 3))
    img[:] = MAGENTA
    mask = level > 0.18
    for i, c in enumerate((255, 250, 225)):
        img[..., i] = np.where(mask, c * np.clip(level * 1.3, 0.45, 1), img[..., i])
    return img


def missing_program():
    img = np.zeros((N, N, 3))
    img[:] = MAGENTA
    img[4:24, 3:29] = (90, 90, 96)       # the screen's case
    img[6:22, 5:27] = (30, 34, 44)       # the screen
    img[24:27, 12:20] = (90, 90, 96)     # the stand
    img[27:29, 8:24] = (90, 90, 96)
    for t in range(-1, 2):               # a red cross over the screen
        for k in range(14):
            img[7 + k, np.clip(9 + k + t, 0, N - 1)] = (220, 30, 30)
            img[7 + k, np.clip(22 - k + t, 0, N - 1)] = (220, 30, 30)
    return img


def sun_flare():
    u, v = grid()
    u0, v0 = u + 0.35, v + 0.35
    sun = np.exp(-(u0 * u0 + v0 * v0) * 9)
    streak = np.exp(-np.abs(v0) * 18) * 0.7
    ring = np.exp(-((np.sqrt((u - 0.4) ** 2 + (v - 0.4) ** 2) - 0.28) ** 2) * 220) * 0.6
    level = np.clip(sun + streak + ring, 0, 1)
    img = np.zeros((N, N, 3))
    img[:] = MAGENTA
    mask = level > 0.15
    colour = np.stack([255 * level, 215 * level + 20 * ring, 150 * level], axis=-1)
    img[mask] = np.clip(colour[mask] * 1.2, 0, 255)
    return img


def download_arrow():
    img = np.zeros((N, N, 3))
    img[:] = MAGENTA
    green = (40, 170, 70)
    img[3:17, 12:20] = green
    for k in range(10):                  # the arrow's head
        img[17 + k, 6 + k:26 - k] = green
    img[27:30, 4:28] = (70, 80, 95)      # the tray
    return img


def main(out):
    images = [shaded_disc((205, 95, 55)), shaded_disc((150, 140, 130), 0.7, bumps=1.0), star(),
              missing_program(), sun_flare(), download_arrow()]
    strip = np.concatenate(images, axis=1).round().clip(0, 255).astype(np.uint8)
    Image.fromarray(strip, "RGB").save(out, format="BMP")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else str(Path(__file__).resolve().parents[2] / "settings" / "product_strip.bmp"))
