#pragma once
// Pictures for the catalogue's tests, written here byte by byte: bitmap files of any shape
// (a product icon by default: 32 x 32, 24 bits, a magenta frame around a blue square) and
// pages that a broken site serves in their place.
#include <cstdint>
#include <string>

struct BmpShape {
  int32_t width = 32;
  int32_t height = 32;  // negative: rows top-down
  uint16_t planes = 1;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t infoBytes = 40;       // 40, or 108 and 124 for the later headers
  uint32_t colours = 0;          // palette entries named in the header
  uint32_t colourSpace = 0x73524742;  // "sRGB", for the later headers
  int64_t pixelsAt = -1;         // -1: right after the palette
  int64_t imageBytes = -1;       // -1: the rows' size
};

inline void PutLittle(std::string* out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline std::string Bmp(const BmpShape& shape = BmpShape()) {
  const uint32_t width = static_cast<uint32_t>(shape.width < 0 ? -shape.width : shape.width);
  const uint32_t height = static_cast<uint32_t>(shape.height < 0 ? -shape.height : shape.height);
  const uint32_t rowBytes = (width * shape.bits + 31) / 32 * 4;
  const uint32_t entries = shape.colours ? shape.colours : (shape.bits <= 8 ? 1u << shape.bits : 0);
  const uint32_t pixelsAt = static_cast<uint32_t>(shape.pixelsAt >= 0 ? shape.pixelsAt : 14 + shape.infoBytes + 4 * entries);
  const uint32_t imageBytes = static_cast<uint32_t>(shape.imageBytes >= 0 ? shape.imageBytes : rowBytes * height);
  std::string out = "BM";
  PutLittle(&out, pixelsAt + rowBytes * height, 4);
  PutLittle(&out, 0, 4);
  PutLittle(&out, pixelsAt, 4);
  std::string info;
  PutLittle(&info, shape.infoBytes, 4);
  PutLittle(&info, static_cast<uint32_t>(shape.width), 4);
  PutLittle(&info, static_cast<uint32_t>(shape.height), 4);
  PutLittle(&info, shape.planes, 2);
  PutLittle(&info, shape.bits, 2);
  PutLittle(&info, shape.compression, 4);
  PutLittle(&info, imageBytes, 4);
  PutLittle(&info, 2835, 4);
  PutLittle(&info, 2835, 4);
  PutLittle(&info, shape.colours, 4);
  PutLittle(&info, 0, 4);
  if (shape.infoBytes >= 108) {
    for (int mask = 0; mask < 4; ++mask) PutLittle(&info, 0, 4);
    PutLittle(&info, shape.colourSpace, 4);
  }
  info.resize(shape.infoBytes, '\0');
  out += info;
  for (uint32_t i = 0; i < entries; ++i) PutLittle(&out, i == 1 ? 0xFF00FF : i * 0x010101, 4);  // entry 1 magenta
  out.resize(pixelsAt, '\0');
  for (uint32_t y = 0; y < height; ++y) {
    std::string row;
    for (uint32_t x = 0; x < width; ++x) {
      const bool frame = x < 4 || y < 4 || x >= width - 4 || y >= height - 4;
      if (shape.bits == 24) PutLittle(&row, frame ? 0xFF00FF : 0xC04000, 3);  // blue, green, red
      else if (shape.bits == 32) PutLittle(&row, frame ? 0xFF00FF : 0xC04000, 4);
      else if (shape.bits == 16) PutLittle(&row, frame ? 0x7C1F : 0x0018, 2);
    }
    row.resize(rowBytes, shape.bits <= 8 ? '\x11' : '\0');
    out += row;
  }
  return out;
}

inline std::string IconBmp() { return Bmp(); }

// What a misconfigured site answers with status 200 for a missing picture.
inline std::string NotFoundPage() {
  return "<!DOCTYPE html>\n<html><head><title>404 Not Found</title></head>\n<body><h1>Not Found</h1>"
         "<p>The requested URL was not found on this server.</p></body></html>\n";
}
