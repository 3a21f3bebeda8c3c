#pragma once
// One picture held as a 24-bit bottom-up device-independent bitmap and painted scaled into
// any rectangle: the still picture of the preview monitor.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/result.h"

enum class PictureError {
  None,
  NotLoadable,       // no such bitmap, or not one the system reads
  UnsupportedDepth,  // neither 8 nor 24 bits per pixel
  Unreadable,        // its pixels couldn't be read, or memory ran out
};
using PictureResult = Result<PictureError>;

class DibPicture {
 public:
  DibPicture() = default;
  ~DibPicture() { Release(); }
  DibPicture(const DibPicture&) = delete;
  DibPicture& operator=(const DibPicture&) = delete;

  void Release();
  // An uninitialised picture of this size; false (and empty) when memory cannot be had.
  bool Allocate(int width, int height);
  // From a bitmap resource of the program (isResource: `name` is MAKEINTRESOURCE(id)) or a
  // bitmap file. 8-bit pictures become 24-bit ones through their colour table. A failed load
  // leaves no picture, not even the one held before.
  PictureResult Load(const char* name, bool isResource);
  // Paints the source rectangle (picture pixels) into the destination rectangle: copied
  // when the sizes agree, stretched with halftoning otherwise.
  bool Draw(HDC dc, const RECT& destination, const RECT& source) const;

  bool IsValid() const { return header_ != nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  const uint8_t* Pixels() const { return pixels_.data(); }

 private:
  // The pixels of a loaded bitmap into this picture.
  PictureResult Read(HDC screen, HBITMAP bitmap);

  std::vector<uint8_t> pixels_;
  int width_ = 0;
  int height_ = 0;
  std::unique_ptr<BITMAPINFO> header_;
};
