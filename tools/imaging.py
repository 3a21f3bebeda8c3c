"""Shared picture helpers of the asset tools: resampling, quantising and JPEG output."""
import io

import numpy as np
from PIL import Image


def cubic_kernel(x):
    """Catmull-Rom cubic: sharp, without the ringing of wider windows."""
    x = np.abs(x)
    return np.where(x < 1, 1.5 * x**3 - 2.5 * x**2 + 1,
                    np.where(x < 2, -0.5 * x**3 + 2.5 * x**2 - 4 * x + 2, 0.0))


def resample_weights(positions, source_length, step, wrap):
    """Taps (index and weight arrays, one row per output sample) that sample
    a line of source pixels at fractional pixel positions (pixel k's centre
    is at k).

    step is the distance between neighbouring output samples in source
    pixels; when it exceeds one the kernel widens to filter out detail that
    the output cannot hold. wrap joins both ends (longitude); otherwise
    positions beyond the ends take the edge pixels (clamped)."""
    scale = max(1.0, step)
    radius = 2.0 * scale
    positions = np.asarray(positions, dtype=np.float64)
    first = np.floor(positions - radius).astype(np.int64) + 1
    taps = int(np.ceil(2 * radius)) + 1
    idx = first[:, None] + np.arange(taps)[None, :]
    w = cubic_kernel((idx - positions[:, None]) / scale)
    w /= w.sum(axis=1, keepdims=True)
    idx = np.mod(idx, source_length) if wrap else np.clip(idx, 0, source_length - 1)
    return idx, w


def resample(image, row_taps, column_taps):
    """Apply separable taps to an H x W x C float image: rows first, then columns."""
    idx, w = row_taps
    out = np.zeros((idx.shape[0],) + image.shape[1:])
    for k in range(idx.shape[1]):
        out += w[:, k, None, None] * image[idx[:, k]]
    idx, w = column_taps
    result = np.zeros((out.shape[0], idx.shape[0]) + image.shape[2:])
    for k in range(idx.shape[1]):
        result += w[None, :, k, None] * out[:, idx[:, k]]
    return result


def to_bytes(image, dither_seed=None):
    """Float image (0..255) to 8-bit. With a seed, a fixed triangular dither
    of one level breaks the steps of smooth gradients into fine grain."""
    image = np.asarray(image, dtype=np.float64)
    if dither_seed is not None:
        rng = np.random.RandomState(dither_seed)
        noise = rng.random_sample(image.shape[:2]) - rng.random_sample(image.shape[:2])
        image = image + (noise[..., None] if image.ndim == 3 else noise)
    return np.clip(np.floor(image + 0.5), 0, 255).astype(np.uint8)


def jpeg_bytes(pixels, quality, subsampling=0):
    """Baseline (sequential, Huffman-optimised) JPEG of an 8-bit RGB array."""
    if pixels.ndim == 2:
        pixels = np.repeat(pixels[..., None], 3, axis=2)
    buf = io.BytesIO()
    Image.fromarray(pixels, "RGB").save(buf, "JPEG", quality=quality, subsampling=subsampling,
                                        optimize=True, progressive=False)
    return buf.getvalue()


def load_rgb(path):
    return np.asarray(Image.open(path).convert("RGB"), dtype=np.float64)
