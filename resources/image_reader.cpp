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

ImageResult ReadJpeg(Image* image, const uint8_t* bytes, size_t length, const char* name) {
  JpegRaster raster;
  const ImageResult decoded = DecodeJpeg(bytes, length, &raster);
  if (!decoded)
    return ImageResult::Fail(decoded.code(), TraceError("Can't decompress jpeg image \"%s\": %s", name,
                                                        decoded.reason().c_str()));
  image->pixels = std::move(raster.pixels);
  image->width = static_cast<int32_t>(raster.width);
  image->height = static_cast<int32_t>(raster.height);
  image->bitsPerPixel = 24;
  return decoded;
}

}  // namespace

ImageResult ReadImage(Image* image, const char* memberName, ResourcePak& pak) {
  image->pixels.reset();
  ByteBuffer bytes;
  const int32_t length = pak.Extract(memberName, &bytes);
  if (length <= 0) return ImageResult::Fail(ImageError::NotInArchive, pak.LastResult().reason());
  switch (FormatOf(memberName)) {
    case ImageFormat::Tga: return DecodeTga(image, bytes.get(), static_cast<size_t>(length), memberName);
    case ImageFormat::Jpeg: return ReadJpeg(image, bytes.get(), static_cast<size_t>(length), memberName);
    case ImageFormat::Unknown: break;
  }
  return ImageResult::Fail(ImageError::UnknownFormat, TraceError("Unknown image \"%s\" format", memberName));
}
