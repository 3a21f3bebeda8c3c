"""Preview of the moon shape with its texture, drawn the way the scene draws
it: back faces culled, lit by one light.

usage: preview_moon.py DATA_DIR OUT.png
Writes four views (from +x, +y, -x and from above +z)."""
import struct
import sys

import numpy as np
from PIL import Image


def load_shape(path):
    data = open(path, "rb").read()
    n = struct.unpack_from("<i", data)[0]
    return np.frombuffer(data, "<f4", count=n * 24, offset=4).reshape(n, 3, 8).astype(np.float64)


def render(tris, tex, view_dir, up, size=320, light=(0.5, 0.6, 0.62)):
    fwd = -np.asarray(view_dir, float)
    fwd /= np.linalg.norm(fwd)
    right = np.cross(fwd, up)
    right /= np.linalg.norm(right)
    upv = np.cross(right, fwd)
    light = np.asarray(light) / np.linalg.norm(light)
    img = np.zeros((size, size, 3))
    depth = np.full((size, size), np.inf)
    th, tw = tex.shape[:2]
    for tri in tris:
        p = tri[:, :3]
        sx = (p @ right * 0.45 + 0.5) * size
        sy = (0.5 - p @ upv * 0.45) * size
        dz = p @ fwd
        area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0])
        if area >= 0:       # screen y points down: counter-clockwise gives negative area
            continue
        x0, x1 = int(max(0, np.floor(sx.min()))), int(min(size - 1, np.ceil(sx.max())))
        y0, y1 = int(max(0, np.floor(sy.min()))), int(min(size - 1, np.ceil(sy.max())))
        if x1 < x0 or y1 < y0:
            continue
        gx, gy = np.meshgrid(np.arange(x0, x1 + 1) + 0.5, np.arange(y0, y1 + 1) + 0.5)
        w1 = ((gx - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (gy - sy[0])) / area
        w2 = ((sx[1] - sx[0]) * (gy - sy[0]) - (gx - sx[0]) * (sy[1] - sy[0])) / area
        w0 = 1 - w1 - w2
        inside = (w0 >= 0) & (w1 >= 0) & (w2 >= 0)
        if not inside.any():
            continue
        w = np.stack([w0, w1, w2], -1)[inside]
        z = w @ dz
        n = w @ tri[:, 3:6]
        n /= np.linalg.norm(n, axis=1, keepdims=True)
        st = w @ tri[:, 6:8]
        tx = (np.mod(st[:, 0], 1.0) * tw).astype(int) % tw
        ty = np.clip((st[:, 1] * th).astype(int), 0, th - 1)
        shade = 0.15 + 0.85 * np.clip(n @ light, 0, 1)
        c = tex[ty, tx] * shade[:, None]
        py, px = gy[inside].astype(int), gx[inside].astype(int)
        closer = z < depth[py, px]
        depth[py[closer], px[closer]] = z[closer]
        img[py[closer], px[closer]] = c[closer]
    return np.clip(img, 0, 255).astype(np.uint8)


def main(argv):
    tris = load_shape(argv[1] + "/phobos2.dat")
    tex = np.asarray(Image.open(argv[1] + "/phobos2.jpg").convert("RGB"), float)
    views = [((1, 0, 0), (0, 0, 1)), ((0, 1, 0), (0, 0, 1)), ((-1, 0, 0), (0, 0, 1)), ((0, 0, 1), (0, 1, 0))]
    Image.fromarray(np.concatenate([render(tris, tex, v, u) for v, u in views], 1)).save(argv[2])


if __name__ == "__main__":
    main(sys.argv)
