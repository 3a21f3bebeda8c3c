// The whole frame in the real full-screen window under Wine: CGLWindow with its own
// OpenGL context, the archive linked into this program, the orbit tour started at chosen
// SceneTimes (through the random start, seeded with a chosen tick count). Each frame is
// drawn by the window's timer handler and read back from the front buffer after the swap:
// the sun, the flare chain through the screen centre when the sun is in view and none when
// it is hidden, and stars in their class colours. With TELLARO_PICTURES set to a folder,
// the frames are saved there as PPM pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/resource_pak.h"
#include "scene/gl.h"
#include "scene/lens_flares.h"
#include "scene/scene_clock.h"
#include "scene/star_field.h"
#include "settings/registry_names.h"
#include "shell/gl_window.h"
#include "tests/support/fake_scene_host.h"

namespace {

const std::string kProductKey = std::string(registry_names::kCollectionKey) + "\\" + registry_names::kProductKey;

void SetDword(const char* name, DWORD value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kProductKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
  RegCloseKey(key);
}

// The tick count whose random start is `sceneTime`: the generator's first value is bits
// 16..30 of seed * 214013 + 2531011, so pick that product and divide by the (odd)
// multiplier modulo 2^32.
uint32_t TickCountFor(int sceneTime) {
  const uint32_t multiplier = 214013u;
  uint32_t inverse = multiplier;  // Newton's iteration for the inverse modulo 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2u - multiplier * inverse;
  return ((static_cast<uint32_t>(sceneTime) << 16) - 2531011u) * inverse;
}

// The scene host of the program, but quiet: messages are recorded instead of shown.
class LinkedArchiveHost : public FakeSceneHost {
 public:
  bool OpenArchive(ResourcePak& pak) override { return pak.Open(); }
};

struct Rgb {
  int r, g, b;
  int Sum() const { return r + g + b; }
};

class SkyWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
    SetDword("RandomCameraStart", 1);
    SetDword("CamMode", 2);           // the orbit tour
    SetDword("CurrentVideomode", 1);  // stay in the desktop's mode
  }
  void TearDown() override {
    if (window_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);  // the window deletes itself
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
  }

  // Opens the window with the tour at `sceneTime`, draws one frame through the timer and
  // reads the picture and the frame's camera back.
  void RunFrameAt(int sceneTime, const char* pictureName) {
    host_.tickCount = TickCountFor(sceneTime);
    ASSERT_EQ(RandomStartTime(host_.tickCount), sceneTime);
    window_ = new CGLWindow(&host_);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    ASSERT_TRUE(window_->Create(screen, nullptr));
    hwnd_ = window_->Handle();
    Pump();
    ASSERT_TRUE(host_.messages.empty()) << host_.messages[0].text;
    ASSERT_EQ(window_->scene().sceneTime, sceneTime);
    ASSERT_EQ(window_->scene().stars.count, 9096) << "the star list linked into the program";

    SendMessageA(hwnd_, WM_TIMER, 0, 0);
    ASSERT_EQ(window_->frameCounter(), 1);
    RECT client;
    GetClientRect(hwnd_, &client);
    width_ = client.right;
    height_ = client.bottom;
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3, 0);
    ReadWindow();
    // After the frame the model-view holds its camera again: project with it.
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview_);
    glGetDoublev(GL_PROJECTION_MATRIX, projection_);
    glGetIntegerv(GL_VIEWPORT, viewport_);
    Save(pictureName);
  }

  // The window's picture as the screen shows it, through GDI, rows from the bottom like
  // OpenGL's: what a person in front of the screen would see after the swap.
  void ReadWindow() {
    HDC windowDc = GetDC(hwnd_);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = height_;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(memoryDc, bitmap);
    GdiFlush();
    ASSERT_TRUE(BitBlt(memoryDc, 0, 0, width_, height_, windowDc, 0, 0, SRCCOPY));
    GdiFlush();
    const uint8_t* source = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(width_) * static_cast<size_t>(height_); ++i) {
      pixels_[i * 3] = source[i * 4 + 2];
      pixels_[i * 3 + 1] = source[i * 4 + 1];
      pixels_[i * 3 + 2] = source[i * 4];
    }
    SelectObject(memoryDc, old);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(hwnd_, windowDc);
  }

  void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_TIMER || message.message == WM_CLOSE) continue;  // frames are drawn by the test
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  // The sun's image in normalised device coordinates; false when it is behind the eye.
  bool SunImage(double* ndcX, double* ndcY) {
    double wx, wy, wz;
    gluProject(kSunPosition[0], kSunPosition[1], kSunPosition[2], modelview_, projection_, viewport_, &wx, &wy, &wz);
    *ndcX = 2 * wx / width_ - 1;
    *ndcY = 2 * wy / height_ - 1;
    return wz <= 1.0;
  }
  bool Project(const double world[3], int* x, int* y) {
    double wx, wy, wz;
    gluProject(world[0], world[1], world[2], modelview_, projection_, viewport_, &wx, &wy, &wz);
    *x = static_cast<int>(wx);
    *y = static_cast<int>(wy);
    return wz <= 1.0 && *x >= 4 && *y >= 4 && *x < width_ - 4 && *y < height_ - 4;
  }

  Rgb At(int x, int y) {
    const uint8_t* p = &pixels_[(static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3];
    return Rgb{p[0], p[1], p[2]};
  }
  Rgb AtNdc(double x, double y) {
    const int px = std::min(std::max(static_cast<int>((x + 1) * 0.5 * width_), 0), width_ - 1);
    const int py = std::min(std::max(static_cast<int>((y + 1) * 0.5 * height_), 0), height_ - 1);
    return At(px, py);
  }

  void Save(const char* name) {
    const char* folder = std::getenv("TELLARO_PICTURES");
    if (!folder) return;
    FILE* file = std::fopen((std::string(folder) + "/" + name + ".ppm").c_str(), "wb");
    if (!file) return;
    std::fprintf(file, "P6 %d %d 255\n", width_, height_);
    for (int y = height_ - 1; y >= 0; --y)
      std::fwrite(&pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) * 3], 1, static_cast<size_t>(width_) * 3, file);
    std::fclose(file);
  }

  LinkedArchiveHost host_;
  CGLWindow* window_ = nullptr;
  HWND hwnd_ = nullptr;
  int width_ = 0, height_ = 0;
  std::vector<uint8_t> pixels_;
  GLdouble modelview_[16], projection_[16];
  GLint viewport_[4];
};

TEST_F(SkyWindowTest, SunInViewShowsTheFlareChainThroughTheCentre) {
  RunFrameAt(1137, "window_sun_in_view");
  double sunX, sunY;
  ASSERT_TRUE(SunImage(&sunX, &sunY));
  ASSERT_LT(std::abs(sunX), 0.9);
  ASSERT_LT(std::abs(sunY), 0.9);
  const Rgb disc = AtNdc(sunX, sunY);
  EXPECT_GE(std::min({disc.r, disc.g, disc.b}), 250) << "the sun's disc is white";
  for (double p : {0.295, -0.78}) {  // the red half-bowl, the grey disc with its ring
    const double x = p * sunX, y = p * sunY;
    const Rgb on = AtNdc(x, y), off = AtNdc(-y, x);
    EXPECT_GT(on.Sum(), off.Sum() + 30) << "element at position " << p;
  }
  for (double x : {-0.95, 0.95}) {
    const Rgb streak = AtNdc(x, sunY), above = AtNdc(x, sunY + 0.15);
    EXPECT_GT(streak.Sum(), above.Sum() + 30) << "streak at x " << x;
  }
}

TEST_F(SkyWindowTest, SunBehindThePlanetHasNoFlare) {
  RunFrameAt(2145, "window_sun_hidden");
  double sunX, sunY;
  ASSERT_TRUE(SunImage(&sunX, &sunY));
  ASSERT_LT(std::abs(sunX), 0.9);
  EXPECT_LT(AtNdc(sunX, sunY).Sum(), 3 * 128) << "the planet covers the sun's disc";
  for (double x : {-0.95, 0.95}) EXPECT_LT(AtNdc(x, sunY).Sum(), 60) << "no streak at x " << x;
  EXPECT_LT(AtNdc(-0.78 * sunX, -0.78 * sunY).Sum(), 60) << "no flare element beyond the centre";
}

TEST_F(SkyWindowTest, StarsShowTheirClassColours) {
  RunFrameAt(28659, "window_stars");
  // Every bright star whose image lies alone on black sky: its colour must match its class.
  const StarCatalogue& stars = window_->scene().stars;
  int warm = 0, cool = 0;
  for (int32_t i = 0; i < stars.count; ++i) {
    const StarRecord& star = stars.records[i];
    if (star.magnitude > 4.0) continue;
    const StarPoint point = StarPointFor(star);
    const double world[3] = {point.direction[0] * 350, point.direction[1] * 350, point.direction[2] * 350};
    int x, y;
    if (!Project(world, &x, &y)) continue;
    int border = 0;
    for (int d = -4; d <= 4; ++d)
      border += At(x + d, y - 4).Sum() + At(x + d, y + 4).Sum() + At(x - 4, y + d).Sum() + At(x + 4, y + d).Sum();
    if (border > 120) continue;  // something else lies around it
    Rgb c{0, 0, 0};
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const Rgb p = At(x + dx, y + dy);
        if (p.Sum() > c.Sum()) c = p;
      }
    if (c.Sum() < 90) continue;
    if (star.colourClass >= 4) {  // G, K, M: yellow to orange
      ++warm;
      EXPECT_GT(c.r, c.b + 30) << "class " << int(star.colourClass) << " star at " << x << "," << y;
    } else if (star.colourClass <= 1) {  // O, B: bluish white
      ++cool;
      EXPECT_GE(c.b + 8, c.r) << "class " << int(star.colourClass) << " star at " << x << "," << y;
    }
  }
  EXPECT_GT(warm, 3) << "bright G/K/M stars in view: " << warm;
  EXPECT_GT(cool, 3) << "bright O/B stars in view: " << cool;
}

}  // namespace
