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

int ReadJpeg(Image* image, const uint8_t* bytes, size_t length, const char* name) {
  JpegRaster raster;
  if (DecodeJpeg(bytes, length, &raster) != 0) {
    TraceError("Can't decompress jpeg image \"%s\"", name);
    return 0;
  }
  image->pixels = std::move(raster.pixels);
  image->width = static_cast<int32_t>(raster.width);
  image->height = static_cast<int32_t>(raster.height);
  image->bitsPerPixel = 24;
  return 1;
}

}  // namespace

int ReadImage(Image* image, const char* memberName, ResourcePak& pak) {
  image->pixels.reset();
  ByteBuffer bytes;
  const int32_t length = pak.Extract(memberName, &bytes);
  if (length <= 0) return 0;
  switch (FormatOf(memberName)) {
    case ImageFormat::Tga: return DecodeTga(image, bytes.get(), static_cast<size_t>(length), memberName);
    case ImageFormat::Jpeg: return ReadJpeg(image, bytes.get(), static_cast<size_t>(length), memberName);
    case ImageFormat::Unknown: break;
  }
  TraceError("Unknown image \"%s\" format", memberName);
  return 0;
}
