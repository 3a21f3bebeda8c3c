#include "resources/image_reader.h"

#include <cstring>

#include "resources/jpeg_decoder.h"
#include "resources/tga_decoder.h"
#include "resources/trace.h"

namespace {

enum class ImageFormat { Unknown, Tga, Jpeg };

ImageFormat FormatOf(const char* name) {
  const char* extension = std::strchr(name, '.');
  if (extension == nullptr) return ImageFormat::Unknown;
  if (std::strcmp(extension, ".tga") == 0) return ImageFormat::Tga;
  if (std::strcmp(extension, ".jpg") == 0) return ImageFormat::Jpeg;
  return ImageFormat::Unknown;
}

bool ReadJpeg(Image* image, const uint8_t* bytes, size_t length, const char* name, std::string* reason) {
  JpegRaster raster;
  if (!DecodeJpeg(bytes, length, &raster)) {
    TraceError(reason, "Can't decompress jpeg image \"%s\"", name);
    return false;
  }
  image->pixels = std::move(raster.pixels);
  image->width = static_cast<int32_t>(raster.width);
  image->height = static_cast<int32_t>(raster.height);
  image->bitsPerPixel = 24;
  return true;
}

}  // namespace

bool ReadImage(Image* image, const char* memberName, ResourcePak& pak, std::string* reason) {
  image->pixels.reset();
  ByteBuffer bytes;
  const int32_t length = pak.Extract(memberName, &bytes);
  if (length <= 0) {
    if (reason) *reason = pak.LastError();
    return false;
  }
  switch (FormatOf(memberName)) {
    case ImageFormat::Tga: return DecodeTga(image, bytes.get(), static_cast<size_t>(length), memberName, reason);
    case ImageFormat::Jpeg: return ReadJpeg(image, bytes.get(), static_cast<size_t>(length), memberName, reason);
    case ImageFormat::Unknown: break;
  }
  TraceError(reason, "Unknown image \"%s\" format", memberName);
  return false;
}
