"""Moon: the Phobos shape model resampled into the shape file phobos2.dat,
and the albedo map turned into its texture phobos2.jpg.

The shape is measured along the rays of a longitude/latitude grid from the
body's centre: 48 columns of 7.5 degrees and 24 rows of 7.5 degrees from pole
to pole. Each row band between two rings of points gives two triangles per
column, each band touching a pole one triangle per column, 2,208 in all.

Axes of the file: z is the spin axis (north up), x points to longitude 0 and
y to longitude 90 E. The grid is then moved so that its bounding box is centred
on the origin and scaled uniformly so that x runs from -1 to 1.

Texture coordinates: s = east longitude / 360 (0 .. 1, the last column
repeats the first with s = 1), t = 0.5 - latitude / 180 (0 at the north pole,
the picture's top row). Pole points take the s of the middle of the column
they close.
"""
import struct

import numpy as np
from PIL import Image

from imaging import to_bytes, jpeg_bytes

COLUMNS = 48
ROWS = 24
TEXTURE_SIZE = (512, 256)
JPEG_QUALITY = 92
TINT = np.array([1.0, 0.90, 0.78])          # grey-brown


def load_obj(path):
    """Positions (km) and triangles (vertex indices, 0-based) of an OBJ file."""
    positions, faces = [], []
    with open(path) as f:
        for line in f:
            if line.startswith("v "):
                positions.append([float(a) for a in line.split()[1:4]])
            elif line.startswith("f "):
                faces.append([int(p.split("/")[0]) - 1 for p in line.split()[1:4]])
    return np.array(positions), np.array(faces)


def body_frame(positions):
    """Model axes (spin axis +y, longitude 0 on +x, longitude 90 E on -z)
    turned into the file's axes (spin axis +z, longitude 90 E on +y)."""
    x, y, z = positions[:, 0], positions[:, 1], positions[:, 2]
    return np.stack([x, -z, y], axis=1)


def ray_lengths(directions, vertices, faces, chunk=64):
    """Distance from the origin to the outermost crossing of the surface along
    each unit direction (Moller-Trumbore against every triangle)."""
    a, b, c = vertices[faces[:, 0]], vertices[faces[:, 1]], vertices[faces[:, 2]]
    e1, e2 = b - a, c - a
    out = np.zeros(len(directions))
    for start in range(0, len(directions), chunk):
        d = directions[start:start + chunk, None, :]
        p = np.cross(d, e2[None])
        det = np.einsum("ijk,jk->ij", p, e1)
        ok = np.abs(det) > 1e-12
        inv = np.where(ok, 1.0 / np.where(ok, det, 1.0), 0.0)
        s = -a[None]                                   # ray origin minus a
        u = np.einsum("ijk,ijk->ij", np.broadcast_to(s, p.shape), p) * inv
        q = np.cross(np.broadcast_to(s, p.shape), e1[None])
        v = np.einsum("ijk,ijk->ij", np.broadcast_to(d, q.shape), q) * inv
        t = np.einsum("jk,ijk->ij", e2, q) * inv
        hit = ok & (u >= -1e-9) & (v >= -1e-9) & (u + v <= 1 + 1e-9) & (t > 0)
        lengths = np.where(hit, t, 0.0).max(axis=1)
        if (lengths <= 0).any():
            raise ValueError("a grid ray misses the shape")
        out[start:start + chunk] = lengths
    return out


def grid_directions():
    """Unit directions of the grid: the north pole, 23 rings of 48, the south pole."""
    lat = np.radians(90.0 - 180.0 * np.arange(1, ROWS) / ROWS)
    lon = np.radians(360.0 * np.arange(COLUMNS) / COLUMNS)
    lon_g, lat_g = np.meshgrid(lon, lat)
    ring = np.stack([np.cos(lat_g) * np.cos(lon_g), np.cos(lat_g) * np.sin(lon_g), np.sin(lat_g)], -1)
    return np.concatenate([[[0.0, 0.0, 1.0]], ring.reshape(-1, 3), [[0.0, 0.0, -1.0]]])


def point_index(row, column):
    """Index into grid_directions() of grid row 0..ROWS (pole to pole) and column."""
    if row == 0:
        return 0
    if row == ROWS:
        return 1 + (ROWS - 1) * COLUMNS
    return 1 + (row - 1) * COLUMNS + column % COLUMNS


def triangles():
    """Triangles as ((row, column), ...) corners, counter-clockwise from outside
    (seen from outside, east is to the right and north up)."""
    tris = []
    for row in range(ROWS):
        for col in range(COLUMNS):
            nw, ne = (row, col), (row, col + 1)
            sw, se = (row + 1, col), (row + 1, col + 1)
            if row == 0:
                tris.append((nw, sw, se))
            elif row == ROWS - 1:
                tris.append((nw, sw, ne))
            else:
                tris.append((nw, sw, se))
                tris.append((nw, se, ne))
    return tris


def vertex_normals(points, tris):
    """Area-weighted normals of the welded grid."""
    normals = np.zeros_like(points)
    for tri in tris:
        i = [point_index(*c) for c in tri]
        n = np.cross(points[i[1]] - points[i[0]], points[i[2]] - points[i[0]])
        for k in i:
            normals[k] += n
    return normals / np.linalg.norm(normals, axis=1, keepdims=True)


def texture_coordinates(corner, tri):
    row, col = corner
    if row in (0, ROWS):
        # a pole: the middle of the column this triangle closes
        col = min(c for r, c in tri if r not in (0, ROWS)) + 0.5
    return col / COLUMNS, row / ROWS


def make_shape(obj_path):
    """Bytes of phobos2.dat."""
    positions, faces = load_obj(obj_path)
    vertices = body_frame(positions)
    directions = grid_directions()
    points = directions * ray_lengths(directions, vertices, faces)[:, None]
    centre = (points.max(axis=0) + points.min(axis=0)) / 2
    points = points - centre
    points /= points[:, 0].max()
    tris = triangles()
    normals = vertex_normals(points, tris)
    out = [struct.pack("<i", len(tris))]
    for tri in tris:
        for corner in tri:
            i = point_index(*corner)
            s, t = texture_coordinates(corner, tri)
            out.append(struct.pack("<8f", *points[i], *normals[i], s, t))
    return b"".join(out)


def make_texture(albedo_path):
    """phobos2.jpg pixels: the albedo map averaged down to 512 x 256 and
    brightened from true albedo to a visible grey-brown."""
    albedo = np.asarray(Image.open(albedo_path).convert("L"), dtype=np.float64)
    w, h = TEXTURE_SIZE
    fy, fx = albedo.shape[0] // h, albedo.shape[1] // w
    small = albedo.reshape(h, fy, w, fx).mean(axis=(1, 3)) / 255.0
    # stretch: a black point below the darkest ground keeps the shadows soft,
    # the brightest crater walls become light grey
    white = np.percentile(small, 99.7)
    black = 0.4 * np.median(small)
    v = np.clip((small - black) / (white - black), 0, 1) * 230.0
    return to_bytes(v[..., None] * TINT)


def make_moon(obj_path, albedo_path):
    return {"phobos2.jpg": jpeg_bytes(make_texture(albedo_path), JPEG_QUALITY),
            "phobos2.dat": make_shape(obj_path)}
