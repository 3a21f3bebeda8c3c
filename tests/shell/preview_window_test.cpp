// The preview's picture in this process: bitmaps of 8 and 24 bits whose widths are not a
// multiple of 4 load without skew, the failures say why, and bitmap 145 paints the preview
// window stretched over its host.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "shell/dib_picture.h"
#include "shell/preview_window.h"
#include "tests/support/screen_capture.h"

namespace {

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// A bitmap file of the test's own: `width` x 3, 8 bits with a colour table, 24 or 32 bits.
std::string WriteBitmap(const char* name, int width, int bits) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + name;
  const int rowBytes = (width * bits + 31) / 32 * 4, height = 3, colours = bits == 8 ? 256 : 0;
  BITMAPINFOHEADER header{sizeof header, width, height, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0};
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = static_cast<DWORD>(sizeof file + sizeof header + colours * 4);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(rowBytes * height);
  std::vector<unsigned char> data(static_cast<size_t>(rowBytes * height), 0xEE);  // filler bytes not zero
  std::vector<unsigned char> table(static_cast<size_t>(colours * 4), 0);
  for (int i = 0; i < colours; ++i) {  // index i: blue i, green 255 - i, red 7
    table[static_cast<size_t>(i * 4)] = static_cast<unsigned char>(i);
    table[static_cast<size_t>(i * 4 + 1)] = static_cast<unsigned char>(255 - i);
    table[static_cast<size_t>(i * 4 + 2)] = 7;
  }
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const unsigned char value = static_cast<unsigned char>(y * 40 + x);
      unsigned char* row = &data[static_cast<size_t>(y * rowBytes)];
      if (bits == 8) {
        row[x] = value;
      } else {
        const int at = x * bits / 8;
        row[at] = value;
        row[at + 1] = static_cast<unsigned char>(255 - value);
        row[at + 2] = 7;
      }
    }
  FILE* out = std::fopen(path.c_str(), "wb");
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&header, sizeof header, 1, out);
  if (!table.empty()) std::fwrite(table.data(), 1, table.size(), out);
  std::fwrite(data.data(), 1, data.size(), out);
  std::fclose(out);
  return path;
}

TEST(DibPictureTest, PicturesOfOddWidthLoadWithoutSkewAndThePreviewPaintsOne) {
  for (int bits : {8, 24}) {
    const std::string path = WriteBitmap(bits == 8 ? "odd8.bmp" : "odd24.bmp", 13, bits);
    DibPicture picture;
    const PictureResult loaded = picture.Load(path.c_str(), false);
    ASSERT_TRUE(loaded) << bits << " bits: " << loaded.reason();
    ASSERT_EQ(picture.Width(), 13);
    ASSERT_EQ(picture.Height(), 3);
    const size_t rowBytes = 40;  // 13 * 3 = 39, padded
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 13; ++x) {
        const unsigned char* pixel = picture.Pixels() + static_cast<size_t>(y) * rowBytes + 3 * static_cast<size_t>(x);
        const int value = y * 40 + x;
        ASSERT_EQ(pixel[0], value) << bits << " bits, pixel " << x << "," << y;
        ASSERT_EQ(pixel[1], 255 - value);
        ASSERT_EQ(pixel[2], 7);
      }
    DeleteFileA(path.c_str());
    // A failed load after a good one leaves no picture, and says why (the preview tells the
    // user; its boxes are seen from outside in the page process test).
    EXPECT_EQ(picture.Load(path.c_str(), false).code(), PictureError::NotLoadable);
    EXPECT_FALSE(picture.IsValid()) << "the earlier picture stayed after a failed load";
  }
  const std::string deep = WriteBitmap("odd32.bmp", 13, 32);
  DibPicture picture;
  EXPECT_EQ(picture.Load(deep.c_str(), false).code(), PictureError::UnsupportedDepth);
  EXPECT_FALSE(picture.IsValid());
  DeleteFileA(deep.c_str());

  // Bitmap 145 in a preview window of this process, stretched over its host.
  fw::Window host;
  const RECT rect{100, 100, 484, 388};
  ASSERT_TRUE(host.CreateEx(WS_EX_TOPMOST, nullptr, "Preview host", WS_POPUP | WS_VISIBLE, rect, nullptr, 0));
  PreviewWindow preview;
  ASSERT_TRUE(preview.Create(host.Handle()));
  UpdateWindow(preview.Handle());
  Pump();
  const ScreenPixels shown = CaptureUnobscured(host.Handle(), rect);
  ASSERT_FALSE(shown.pixels.empty()) << "another window stayed over the preview";
  int bright = 0;
  for (int y = 0; y < shown.height / 2; ++y)
    for (int x = 0; x < shown.width / 2; ++x)
      if (ScreenPixels::Red(shown.At(x, y)) > 230 && ScreenPixels::Green(shown.At(x, y)) > 200) ++bright;
  EXPECT_GT(bright, 20) << "the picture's sun in the upper left";
  host.Destroy();
  EXPECT_EQ(preview.Handle(), nullptr) << "the preview ends with its host";
}

}  // namespace
