#include "catalogue/product_pictures.h"

#include "catalogue/catalogue_limits.h"

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kIconSide = 32;

uint32_t Read16(const uint8_t* p) { return static_cast<uint32_t>(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

// A colour space of a version 4 or 5 header that needs no profile: calibrated RGB (0),
// "sRGB" or "Win " (the system's own).
bool IsPlainColourSpace(uint32_t space) { return space == 0 || space == 0x73524742 || space == 0x57696E20; }

}  // namespace

size_t MaxPictureBytes(ProductPicture picture) {
  return picture == ProductPicture::Screenshot ? kMaxScreenshotBytes : kMaxIconBytes;
}

bool DecodeScreenshot(const uint8_t* bytes, size_t length, JpegRaster* raster) {
  return bytes && length > 0 && length <= kMaxScreenshotBytes &&
         DecodeJpeg(bytes, length, raster, kMaxScreenshotPixelBytes, kMaxScreenshotScans);
}

bool IsProductIcon(const uint8_t* bytes, size_t length) {
  if (!bytes || length < kFileHeaderBytes + 40 || length > kMaxIconBytes) return false;
  if (bytes[0] != 'B' || bytes[1] != 'M') return false;
  const uint32_t pixelsAt = Read32(bytes + 10);
  const uint8_t* info = bytes + kFileHeaderBytes;
  const uint32_t infoBytes = Read32(info);
  if (infoBytes != 40 && infoBytes != 108 && infoBytes != 124) return false;
  if (kFileHeaderBytes + infoBytes > length) return false;
  const uint32_t width = Read32(info + 4), height = Read32(info + 8);
  const uint32_t planes = Read16(info + 12), bits = Read16(info + 14);
  const uint32_t compression = Read32(info + 16), imageBytes = Read32(info + 20), colours = Read32(info + 32);
  const bool bottomUp = height == kIconSide, topDown = height == static_cast<uint32_t>(-static_cast<int32_t>(kIconSide));
  if (width != kIconSide || !(bottomUp || topDown) || planes != 1 || compression != 0) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (infoBytes >= 108 && !IsPlainColourSpace(Read32(info + 56))) return false;
  // A palette of at most 2^bits entries (256 beyond 8 bits), between the headers and the rows.
  const uint32_t maxColours = bits <= 8 ? (1u << bits) : 256;
  if (colours > maxColours) return false;
  const uint32_t paletteBytes = 4 * (colours != 0 ? colours : (bits <= 8 ? maxColours : 0));
  const uint32_t rowBytes = (kIconSide * bits + 31) / 32 * 4, rowsBytes = rowBytes * kIconSide;
  if (imageBytes != 0 && imageBytes != rowsBytes) return false;
  return pixelsAt >= kFileHeaderBytes + infoBytes + paletteBytes && pixelsAt <= length &&
         rowsBytes <= length - pixelsAt;
}

bool IsGoodPicture(ProductPicture picture, const uint8_t* bytes, size_t length) {
  if (picture == ProductPicture::Icon) return IsProductIcon(bytes, length);
  JpegRaster raster;
  return DecodeScreenshot(bytes, length, &raster);
}
