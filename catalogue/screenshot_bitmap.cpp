#include "catalogue/screenshot_bitmap.h"

#include <new>
#include <vector>

#include "catalogue/bounded_file.h"
#include "catalogue/product_pictures.h"

namespace {

class ScreenDC {
 public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ~ScreenDC() {
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// The screenshot as top-down 24-bit rows in blue, green, red order, each padded to a multiple
// of 4 bytes; false when the file is not a screenshot that passes its check, or memory runs
// out (the page's window procedure must not see an exception).
bool ReadScreenshotRows(const std::string& path, JpegRaster* raster, std::vector<uint8_t>* dib) {
  try {
    std::vector<uint8_t> file;
    if (!ReadFileUpTo(path, MaxPictureBytes(ProductPicture::Screenshot), &file) ||
        !DecodeScreenshot(file.data(), file.size(), raster))
      return false;
    const size_t w = raster->width, h = raster->height;
    const size_t stride = (w * 3 + 3) & ~size_t{3};
    dib->assign(stride * h, 0);
    for (size_t y = 0; y < h; ++y) {
      const uint8_t* from = raster->pixels.get() + y * w * 3;
      uint8_t* to = dib->data() + y * stride;
      for (size_t x = 0; x < w; ++x) {
        to[x * 3 + 0] = from[x * 3 + 2];
        to[x * 3 + 1] = from[x * 3 + 1];
        to[x * 3 + 2] = from[x * 3 + 0];
      }
    }
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace

HBITMAP LoadScreenshotBitmap(const std::string& path, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  JpegRaster raster;
  std::vector<uint8_t> dib;
  if (!ReadScreenshotRows(path, &raster, &dib)) return nullptr;
  const size_t w = raster.width, h = raster.height;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(w);
  info.bmiHeader.biHeight = -static_cast<LONG>(h);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;

  ScreenDC screen;
  if (!screen.get()) return nullptr;
  HDC memory = CreateCompatibleDC(screen.get());
  HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), width, height);
  if (!memory || !bitmap) {
    if (memory) DeleteDC(memory);
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all{0, 0, width, height};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  // Fit inside the control, keeping the picture's proportions.
  int fitWidth = width, fitHeight = static_cast<int>(static_cast<int64_t>(h) * width / static_cast<int64_t>(w));
  if (fitHeight > height) {
    fitHeight = height;
    fitWidth = static_cast<int>(static_cast<int64_t>(w) * height / static_cast<int64_t>(h));
  }
  SetStretchBltMode(memory, HALFTONE);
  SetBrushOrgEx(memory, 0, 0, nullptr);
  const int copied = StretchDIBits(memory, (width - fitWidth) / 2, (height - fitHeight) / 2, fitWidth, fitHeight, 0, 0,
                                   static_cast<int>(w), static_cast<int>(h), dib.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  if (copied == 0) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}
