#include "resources/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstring>
#include <memory>
#include <new>

#include <jpeglib.h>

#include "resources/trace.h"

namespace {

constexpr size_t kWindowSize = 65536;

// The library's standard error manager, except that a fatal error jumps back into the
// decode instead of ending the process, keeping the library's text of it for the result,
// and warnings are not shown.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
  char message[JMSG_LENGTH_MAX];
  bool tooManyScans;
};

// The input bytes fed to the library through a 64 KiB window. Past the end it supplies an
// end-of-image marker, as the library's own sources do, and remembers that the data ran
// out so that the decode can count it as a failure.
struct MemorySource {
  jpeg_source_mgr base;
  const uint8_t* bytes;
  size_t length;
  size_t position;
  bool endReached;
  JOCTET window[kWindowSize];
};

// Called by the library as it works through the file; ends the decode at a scan too many.
struct ScanLimit {
  jpeg_progress_mgr base;
  int maxScans;
};

// Everything one decode owns. It lives outside the frame that calls setjmp, so nothing the
// decode changes after setjmp is lost when the library jumps back.
struct JpegDecode {
  jpeg_decompress_struct decompressor;
  ErrorManager errors;
  MemorySource source;
  ScanLimit scans;
  ByteBuffer pixels;
};

void ExitToDecode(j_common_ptr info) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  errors->base.format_message(info, errors->message);
  std::longjmp(errors->escape, 1);
}

void Silent(j_common_ptr) {}

void CountScans(j_common_ptr info) {
  const auto* limit = reinterpret_cast<const ScanLimit*>(info->progress);
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= limit->maxScans) return;
  reinterpret_cast<ErrorManager*>(info->err)->tooManyScans = true;
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

ImageResult Unsupported(j_decompress_ptr info) {
  return ImageResult::Fail(ImageError::Unsupported,
                           TraceError("colour space %d is not supported", static_cast<int>(info->jpeg_color_space)));
}

ImageResult Truncated() {
  return ImageResult::Fail(ImageError::Truncated, "the data ends before the picture does");
}

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info) {
  auto* source = reinterpret_cast<MemorySource*>(info->src);
  const size_t left = source->length - source->position;
  const size_t count = left < kWindowSize ? left : kWindowSize;
  if (count == 0) {
    source->endReached = true;
    source->window[0] = 0xFF;
    source->window[1] = JPEG_EOI;
    source->base.next_input_byte = source->window;
    source->base.bytes_in_buffer = 2;
    return TRUE;
  }
  std::memcpy(source->window, source->bytes + source->position, count);
  source->position += count;
  source->base.next_input_byte = source->window;
  source->base.bytes_in_buffer = count;
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  auto* source = reinterpret_cast<MemorySource*>(info->src);
  size_t rest = static_cast<size_t>(count);
  while (rest > source->base.bytes_in_buffer) {
    rest -= source->base.bytes_in_buffer;
    FillInputBuffer(info);
    if (source->endReached) return;  // the end-of-image marker stays in the window
  }
  source->base.next_input_byte += rest;
  source->base.bytes_in_buffer -= rest;
}

// Runs the library over the bytes. Only `decode` is touched after setjmp.
ImageResult Run(JpegDecode* decode, const uint8_t* bytes, size_t length, uint64_t maxPixelBytes, int maxScans) {
  jpeg_decompress_struct* const info = &decode->decompressor;
  info->err = jpeg_std_error(&decode->errors.base);
  decode->errors.base.error_exit = ExitToDecode;
  decode->errors.base.output_message = Silent;
  if (setjmp(decode->errors.escape) != 0) {
    if (decode->errors.tooManyScans)
      return ImageResult::Fail(ImageError::TooLarge, TraceError("more than %d scans", maxScans));
    return ImageResult::Fail(ImageError::Damaged, decode->errors.message);
  }

  jpeg_create_decompress(info);
  MemorySource* source = &decode->source;
  source->base.init_source = InitSource;
  source->base.fill_input_buffer = FillInputBuffer;
  source->base.skip_input_data = SkipInputData;
  source->base.resync_to_restart = jpeg_resync_to_restart;
  source->base.term_source = TermSource;
  source->base.next_input_byte = nullptr;
  source->base.bytes_in_buffer = 0;
  source->bytes = bytes;
  source->length = bytes != nullptr ? length : 0;
  source->position = 0;
  source->endReached = false;
  info->src = &source->base;
  if (maxScans > 0) {
    decode->scans.base.progress_monitor = CountScans;
    decode->scans.maxScans = maxScans;
    info->progress = &decode->scans.base;
  }

  jpeg_read_header(info, TRUE);
  // An Image of a JPEG is always RGB: grayscale is widened, other colour spaces refused.
  switch (info->jpeg_color_space) {
    case JCS_GRAYSCALE: info->out_color_space = JCS_RGB; break;
    case JCS_YCbCr:
    case JCS_RGB: break;
    default: return Unsupported(info);
  }
  jpeg_calc_output_dimensions(info);
  if (info->out_color_space != JCS_RGB || info->output_components != 3) return Unsupported(info);
  const size_t rowBytes = static_cast<size_t>(info->output_width) * 3;
  const uint64_t size = PixelBufferSize(info->output_width, info->output_height, 3, maxPixelBytes);
  if (size == 0)
    return ImageResult::Fail(ImageError::TooLarge, TraceError("%ux%u pixels, more than %llu bytes",
                                                              info->output_width, info->output_height,
                                                              static_cast<unsigned long long>(maxPixelBytes)));
  decode->pixels = AllocateBytes(static_cast<size_t>(size));
  if (!decode->pixels)
    return ImageResult::Fail(ImageError::NoMemory, TraceError("Can't allocate memory (size=%llu)",
                                                              static_cast<unsigned long long>(size)));

  jpeg_start_decompress(info);
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = decode->pixels.get() + static_cast<size_t>(info->output_scanline) * rowBytes;
    if (jpeg_read_scanlines(info, &row, 1) != 1) return Truncated();
  }
  jpeg_finish_decompress(info);
  return source->endReached ? Truncated() : ImageResult::Ok();
}

}  // namespace

ImageResult DecodeJpeg(const uint8_t* bytes, size_t length, JpegRaster* raster, uint64_t maxPixelBytes,
                       int maxScans) {
  std::unique_ptr<JpegDecode> decode(new (std::nothrow) JpegDecode());
  if (!decode) return ImageResult::Fail(ImageError::NoMemory, "no memory for the decoder");
  ImageResult result = Run(decode.get(), bytes, length, maxPixelBytes, maxScans);
  const uint32_t width = decode->decompressor.output_width;
  const uint32_t height = decode->decompressor.output_height;
  // Safe after a partial create: the value-initialised record has no memory manager yet.
  jpeg_destroy_decompress(&decode->decompressor);
  if (!result) return result;
  raster->pixels = std::move(decode->pixels);
  raster->width = width;
  raster->height = height;
  return result;
}

ImageResult DecodeJpeg(const uint8_t* bytes, size_t length, JpegRaster* raster) {
  return DecodeJpeg(bytes, length, raster, kMaxImageBytes);
}
