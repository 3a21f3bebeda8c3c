#include "shell/dib_picture.h"

#include <cstring>
#include <new>
#include <string>

#include "shell/dib_rows.h"

namespace {

// A bitmap header with room for a full 256-entry colour table.
struct HeaderWithColours {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

}  // namespace

void DibPicture::Release() {
  std::vector<uint8_t>().swap(pixels_);
  header_.reset();
  width_ = height_ = 0;
}

bool DibPicture::Allocate(int width, int height) {
  Release();
  if (width <= 0 || height <= 0) return false;
  try {
    pixels_.resize(DibRowBytes(width, 24) * static_cast<size_t>(height));
    header_ = std::make_unique<BITMAPINFO>();
  } catch (const std::bad_alloc&) {
    Release();
    return false;
  }
  std::memset(header_.get(), 0, sizeof(BITMAPINFO));
  header_->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  header_->bmiHeader.biWidth = width;
  header_->bmiHeader.biHeight = height;
  header_->bmiHeader.biPlanes = 1;
  header_->bmiHeader.biBitCount = 24;
  header_->bmiHeader.biCompression = BI_RGB;
  width_ = width;
  height_ = height;
  return true;
}

PictureResult DibPicture::Load(const char* name, bool isResource) {
  Release();  // a failed load leaves no picture, not the previous one
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(isResource ? GetModuleHandleA(nullptr) : nullptr, name,
                                                   IMAGE_BITMAP, 0, 0,
                                                   LR_CREATEDIBSECTION | (isResource ? 0u : LR_LOADFROMFILE)));
  if (!bitmap)
    return PictureResult::Fail(PictureError::NotLoadable, "LoadImage error " + std::to_string(GetLastError()));
  HDC screen = GetDC(nullptr);
  PictureResult loaded = Read(screen, bitmap);
  if (!loaded) Release();
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  return loaded;
}

PictureResult DibPicture::Read(HDC screen, HBITMAP bitmap) {
  auto info = std::make_unique<HeaderWithColours>();
  std::memset(info.get(), 0, sizeof(HeaderWithColours));
  info->header.biSize = sizeof(BITMAPINFOHEADER);
  BITMAPINFO* asInfo = reinterpret_cast<BITMAPINFO*>(info.get());
  if (!GetDIBits(screen, bitmap, 0, 0, nullptr, asInfo, DIB_RGB_COLORS))
    return PictureResult::Fail(PictureError::Unreadable, "GetDIBits refused its header");
  const int bits = info->header.biBitCount;
  const int width = info->header.biWidth;
  const int height = info->header.biHeight < 0 ? -info->header.biHeight : info->header.biHeight;
  if (bits != 8 && bits != 24)
    return PictureResult::Fail(PictureError::UnsupportedDepth, std::to_string(bits) + " bits per pixel");
  if (!Allocate(width, height)) return PictureResult::Fail(PictureError::Unreadable, "no memory for its pixels");

  // Read bottom-up in the picture's own depth, with its colour table for 8 bits.
  info->header.biHeight = height;
  info->header.biCompression = BI_RGB;
  info->header.biSizeImage = 0;
  std::vector<uint8_t> read;
  try {
    read.resize(DibRowBytes(width, bits) * static_cast<size_t>(height));
  } catch (const std::bad_alloc&) {
    return PictureResult::Fail(PictureError::Unreadable, "no memory to read its pixels");
  }
  if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), read.data(), asInfo, DIB_RGB_COLORS) != height)
    return PictureResult::Fail(PictureError::Unreadable, "GetDIBits refused its pixels");
  if (bits == 24) pixels_.swap(read);
  else ExpandPalettedRows(read.data(), reinterpret_cast<const uint8_t*>(info->colours), width, height, pixels_.data());
  std::memcpy(&header_->bmiHeader, &info->header, sizeof(BITMAPINFOHEADER));
  header_->bmiHeader.biBitCount = 24;
  header_->bmiHeader.biSizeImage = 0;
  header_->bmiHeader.biClrUsed = 0;
  header_->bmiHeader.biClrImportant = 0;
  return PictureResult::Ok();
}

bool DibPicture::Draw(HDC dc, const RECT& destination, const RECT& source) const {
  if (!IsValid()) return false;
  const int sourceWidth = source.right - source.left, sourceHeight = source.bottom - source.top;
  const int width = destination.right - destination.left, height = destination.bottom - destination.top;
  if (sourceWidth == width && sourceHeight == height)
    return SetDIBitsToDevice(dc, destination.left, destination.top, static_cast<DWORD>(width),
                             static_cast<DWORD>(height), source.left, height_ - source.bottom, 0,
                             static_cast<UINT>(height_),
                             pixels_.data(), header_.get(), DIB_RGB_COLORS) != 0;
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  // Rows are stored from the bottom: the source's top edge counts from the picture's bottom.
  return StretchDIBits(dc, destination.left, destination.top, width, height, source.left,
                       height_ - source.bottom, sourceWidth, sourceHeight, pixels_.data(), header_.get(),
                       DIB_RGB_COLORS, SRCCOPY) > 0;
}
