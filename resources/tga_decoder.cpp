#include "resources/tga_decoder.h"

#include "resources/byte_cursor.h"
#include "resources/trace.h"

namespace {

constexpr size_t kHeaderSize = 18;
constexpr uint8_t kTypeTrueColour = 2;
constexpr uint8_t kTypeRunLength = 10;
constexpr uint8_t kTopRowFirst = 0x20;
constexpr uint64_t kPixelsPerPacket = 128;

// Writes pixels in file order into the buffer, turning B G R (A) into R G B (A). The k-th
// row of the file lands in row k (top row first) or row height-1-k (bottom row first), so
// the buffer always ends up with the top of the picture in row 0.
class RowWriter {
 public:
  RowWriter(uint8_t* pixels, int32_t width, int32_t height, int bytesPerPixel, bool topFirst)
      : pixels_(pixels), width_(width), height_(height), bytesPerPixel_(bytesPerPixel), topFirst_(topFirst) {
    StartRow();
  }

  bool Done() const { return row_ == height_; }

  void Put(const uint8_t* stored) {
    out_[0] = stored[2];
    out_[1] = stored[1];
    out_[2] = stored[0];
    if (bytesPerPixel_ == 4) out_[3] = stored[3];
    out_ += bytesPerPixel_;
    if (++column_ == width_) {
      ++row_;
      StartRow();
    }
  }

 private:
  void StartRow() {
    column_ = 0;
    if (Done()) return;
    const int32_t target = topFirst_ ? row_ : height_ - 1 - row_;
    out_ = pixels_ + static_cast<size_t>(target) * static_cast<size_t>(width_) * static_cast<size_t>(bytesPerPixel_);
  }

  uint8_t* pixels_;
  int32_t width_;
  int32_t height_;
  int bytesPerPixel_;
  bool topFirst_;
  int32_t row_ = 0;     // rows completed, in file order
  int32_t column_ = 0;  // pixels written into the current row
  uint8_t* out_ = nullptr;
};

bool DecodeUncompressed(ByteCursor& cursor, RowWriter& writer, int bytesPerPixel) {
  while (!writer.Done()) {
    const uint8_t* pixel = cursor.Take(static_cast<size_t>(bytesPerPixel));
    if (pixel == nullptr) return false;
    writer.Put(pixel);
  }
  return true;
}

// Packets may run across rows; decoding stops the moment the last row is full, even
// inside a packet, and ignores whatever input follows.
bool DecodeRunLength(ByteCursor& cursor, RowWriter& writer, int bytesPerPixel) {
  const size_t pixelSize = static_cast<size_t>(bytesPerPixel);
  while (!writer.Done()) {
    uint8_t header = 0;
    if (!cursor.ReadU8(&header)) return false;
    const int count = (header & 0x7F) + 1;
    if (header & 0x80) {
      const uint8_t* pixel = cursor.Take(pixelSize);
      if (pixel == nullptr) return false;
      for (int i = 0; i < count && !writer.Done(); ++i) writer.Put(pixel);
    } else {
      for (int i = 0; i < count && !writer.Done(); ++i) {
        const uint8_t* pixel = cursor.Take(pixelSize);
        if (pixel == nullptr) return false;
        writer.Put(pixel);
      }
    }
  }
  return true;
}

// The fewest pixel-data bytes that can describe `pixels` pixels: all of them stored for
// type 2; one full run packet per 128 pixels for type 10.
uint64_t LeastPixelBytes(uint8_t type, uint64_t pixels, uint64_t bytesPerPixel) {
  if (type == kTypeTrueColour) return pixels * bytesPerPixel;
  return (pixels + kPixelsPerPacket - 1) / kPixelsPerPacket * (1 + bytesPerPixel);
}

ImageResult Truncated(const char* name) {
  return ImageResult::Fail(ImageError::Truncated, TraceError("Truncated tga image \"%s\"", name));
}

}  // namespace

ImageResult DecodeTga(Image* image, const uint8_t* bytes, size_t length, const char* name) {
  image->pixels.reset();
  ByteCursor cursor(bytes, length);
  const uint8_t* header = cursor.Take(kHeaderSize);
  if (header == nullptr) return Truncated(name);
  const uint8_t idLength = header[0];
  const uint8_t colourMapType = header[1];
  const uint8_t type = header[2];
  const int32_t width = header[12] | (header[13] << 8);
  const int32_t height = header[14] | (header[15] << 8);
  const uint8_t depth = header[16];
  const bool topFirst = (header[17] & kTopRowFirst) != 0;

  if (type != kTypeTrueColour && type != kTypeRunLength)
    return ImageResult::Fail(ImageError::Unsupported,
                             TraceError("Unsupported tga image \"%s\" type (type=%d)", name, type));
  if (colourMapType != 0 || (depth != 24 && depth != 32))
    return ImageResult::Fail(ImageError::Unsupported,
                             TraceError("Unsupported tga image \"%s\" pixel size (size=%d)", name, depth));
  image->width = width;
  image->height = height;
  image->bitsPerPixel = depth;
  const int bytesPerPixel = depth == 32 ? 4 : 3;

  const uint64_t size = PixelBufferSize(width, height, bytesPerPixel);
  if (size == 0)
    return ImageResult::Fail(ImageError::Unsupported,
                             TraceError("Unsupported tga image \"%s\" size (%dx%d)", name, width, height));
  const uint64_t pixelCount = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  if (!cursor.Skip(idLength) || cursor.Remaining() < LeastPixelBytes(type, pixelCount, bytesPerPixel))
    return Truncated(name);
  ByteBuffer pixels = AllocateBytes(static_cast<size_t>(size));
  if (!pixels)
    return ImageResult::Fail(ImageError::NoMemory,
                             TraceError("Can't allocate memory (size=%d)", static_cast<int>(size)));
  RowWriter writer(pixels.get(), width, height, bytesPerPixel, topFirst);
  const bool complete = type == kTypeTrueColour ? DecodeUncompressed(cursor, writer, bytesPerPixel)
                                                : DecodeRunLength(cursor, writer, bytesPerPixel);
  if (!complete) return Truncated(name);
  image->pixels = std::move(pixels);
  return ImageResult::Ok();
}
