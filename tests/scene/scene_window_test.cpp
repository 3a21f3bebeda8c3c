// The whole frame in the real full-screen window under Wine: CGLWindow with its own OpenGL
// context and the archive linked into this program, a tour started at a chosen SceneTime
// (through the random start, seeded with a chosen tick count), frames drawn by the window's
// timer handler and read back from the screen after the swap. With TELLARO_PICTURES set to a
// folder, the frames are saved there as PPM pictures.
#include <gtest/gtest.h>

#include <memory>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/resource_pak.h"
#include "scene/gl.h"
#include "scene/lens_flares.h"
#include "scene/moon.h"
#include "scene/scene_clock.h"
#include "scene/star_field.h"
#include "settings/registry_names.h"
#include "shell/gl_window.h"
#include "tests/support/fake_run_host.h"
#include "tests/support/screen_capture.h"
#include "tests/support/wait_until.h"

namespace {

void SetDword(const char* name, DWORD value) {
  const std::string path = std::string(registry_names::kCollectionKey) + "\\" + registry_names::kProductKey;
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
  RegCloseKey(key);
}

// The tick count whose random start is `sceneTime`: the generator's first value is bits
// 16..30 of seed * 214013 + 2531011, so divide by the (odd) multiplier modulo 2^32.
uint32_t TickCountFor(int sceneTime) {
  const uint32_t multiplier = 214013u;
  uint32_t inverse = multiplier;  // Newton's iteration for the inverse modulo 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2u - multiplier * inverse;
  return ((static_cast<uint32_t>(sceneTime) << 16) - 2531011u) * inverse;
}

// The program's archive; messages are recorded instead of shown.
class LinkedArchiveHost : public FakeRunHost {
 public:
  bool OpenArchive(ResourcePak& pak) override { return pak.Open(); }
};

struct Rgb {
  int r, g, b;
  int Sum() const { return r + g + b; }
};

class SceneWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
    SetDword("RandomCameraStart", 1);
    SetDword("CurrentVideomode", 1);  // the desktop's mode
  }
  void TearDown() override {
    Close();
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
  }

  void Open(int32_t camMode, int sceneTime) {
    Close();
    SetDword("CamMode", static_cast<DWORD>(camMode));
    host_.scene.tickCount = TickCountFor(sceneTime);
    window_ = std::make_unique<CGLWindow>(&host_);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    ASSERT_TRUE(window_->Create(screen, nullptr));
    hwnd_ = window_->Handle();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_TIMER || message.message == WM_CLOSE) continue;  // the test draws the frames
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    ASSERT_TRUE(host_.messages.empty()) << host_.messages[0].text;
    ASSERT_EQ(window_->scene().sceneTime, sceneTime);
  }

  // Frames through the window's timer handler, then the picture as the screen shows it and
  // the last frame's camera (the model-view holds it again after the frame).
  void Frames(int count, const std::string& pictureName) {
    for (int i = 0; i < count; ++i) SendMessageA(hwnd_, WM_TIMER, 0, 0);
    RECT client;
    GetClientRect(hwnd_, &client);
    width_ = client.right;
    height_ = client.bottom;
    ReadWindow();
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview_);
    glGetDoublev(GL_PROJECTION_MATRIX, projection_);
    glGetIntegerv(GL_VIEWPORT, viewport_);
    Save(pictureName);
  }

  // Through GDI, rows from the bottom like OpenGL's: what a viewer sees after the swap,
  // read once no window of another test lies over it.
  void ReadWindow() {
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3, 0);
    RECT onScreen;
    GetWindowRect(hwnd_, &onScreen);
    ASSERT_TRUE(WaitUntil([&] { return Unobscured(hwnd_, onScreen); })) << "another window stayed over the frame";
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
    for (size_t i = 0; i < static_cast<size_t>(width_) * static_cast<size_t>(height_); ++i)
      for (int c = 0; c < 3; ++c) pixels_[i * 3 + static_cast<size_t>(c)] = source[i * 4 + 2 - static_cast<size_t>(c)];
    SelectObject(memoryDc, old);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(hwnd_, windowDc);
    ASSERT_TRUE(Unobscured(hwnd_, onScreen)) << "a window came over the frame while it was read";
  }

  // Window position of a world point; false when behind the eye or within `margin` of the edge.
  bool Project(const double world[3], int* x, int* y, int margin = 0) {
    double wx, wy, wz;
    gluProject(world[0], world[1], world[2], modelview_, projection_, viewport_, &wx, &wy, &wz);
    *x = static_cast<int>(wx);
    *y = static_cast<int>(wy);
    return wz <= 1.0 && *x >= margin && *y >= margin && *x < width_ - margin && *y < height_ - margin;
  }
  // The sun's image in normalised device coordinates; false when it is behind the eye.
  bool SunImage(double* ndcX, double* ndcY) {
    double wx, wy, wz;
    gluProject(kSunPosition[0], kSunPosition[1], kSunPosition[2], modelview_, projection_, viewport_, &wx, &wy, &wz);
    *ndcX = 2 * wx / width_ - 1;
    *ndcY = 2 * wy / height_ - 1;
    return wz <= 1.0;
  }
  Rgb At(int x, int y) const {
    const uint8_t* p = &pixels_[(static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3];
    return Rgb{p[0], p[1], p[2]};
  }
  Rgb AtNdc(double x, double y) const {
    return At(std::clamp(static_cast<int>((x + 1) * 0.5 * width_), 0, width_ - 1),
              std::clamp(static_cast<int>((y + 1) * 0.5 * height_), 0, height_ - 1));
  }
  void Eye(double eye[3]) const {
    for (int i = 0; i < 3; ++i) eye[i] = window_->scene().camera.eye[i];
  }

  void Save(const std::string& name) {
    const char* folder = std::getenv("TELLARO_PICTURES");
    FILE* file = folder ? std::fopen((std::string(folder) + "/" + name + ".ppm").c_str(), "wb") : nullptr;
    if (!file) return;
    std::fprintf(file, "P6 %d %d 255\n", width_, height_);
    for (int y = height_ - 1; y >= 0; --y)
      std::fwrite(&pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) * 3], 1, static_cast<size_t>(width_) * 3, file);
    std::fclose(file);
  }

  LinkedArchiveHost host_;
  // The window ends before the object.
  void Close() {
    if (window_) window_->Destroy();
    window_.reset();
  }

  std::unique_ptr<CGLWindow> window_;
  HWND hwnd_ = nullptr;
  int width_ = 0, height_ = 0;
  std::vector<uint8_t> pixels_;
  GLdouble modelview_[16], projection_[16];
  GLint viewport_[4];
};

TEST_F(SceneWindowTest, OrbitShowsThePlanetLitOnTheSunsSideAndDarkOnTheOther) {
  int litSeen = 0, darkSeen = 0;
  for (int sceneTime : {28659, 30000}) {
    SCOPED_TRACE(testing::Message() << "SceneTime " << sceneTime);
    Open(kTourOrbit, sceneTime);
    Frames(2, "window_orbit_" + std::to_string(sceneTime));
    EXPECT_EQ(window_->frameCounter(), 2);
    const double origin[3] = {0, 0, 0};
    int x, y;
    ASSERT_TRUE(Project(origin, &x, &y)) << "the planet's centre is in the picture";
    // Points of the visible face half-way between the eye's and the sun's directions, and
    // turned away from the sun.
    double eye[3], lit[3], dark[3];
    Eye(eye);
    const double e = std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
    const double s = std::sqrt(400.0 * 400 + 400 * 400 + 100 * 100);
    for (int i = 0; i < 3; ++i) {
      lit[i] = eye[i] / e + kSunPosition[i] / s;
      dark[i] = eye[i] / e - kSunPosition[i] / s;
    }
    for (double* p : {lit, dark}) {
      const double n = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
      for (int i = 0; i < 3; ++i) p[i] /= n;
    }
    int lx, ly, dx, dy;
    const bool litInView = Project(lit, &lx, &ly), darkInView = Project(dark, &dx, &dy);
    ASSERT_TRUE(litInView || darkInView) << "a face of the planet is in view";
    litSeen += litInView;
    darkSeen += darkInView;
    EXPECT_TRUE(!litInView || At(lx, ly).Sum() / 3 > 60) << "lit face at " << lx << "," << ly;
    EXPECT_TRUE(!darkInView || At(dx, dy).Sum() / 3 < 25) << "night face at " << dx << "," << dy;
  }
  EXPECT_GT(litSeen, 0);
  EXPECT_GT(darkSeen, 0);
}

TEST_F(SceneWindowTest, MoonPassKeepsTheLitMoonInTheMiddle) {
  Open(kTourFlyby, 28659);
  for (int frames : {1, 80, 80}) {
    Frames(frames, "window_flyby_" + std::to_string(window_->frameCounter() + frames));
    const int frame = window_->frameCounter();
    double moon[3], eye[3];
    MoonPosition(window_->scene().sceneTime, moon);
    int x, y;
    ASSERT_TRUE(Project(moon, &x, &y)) << "frame " << frame;
    EXPECT_LT(std::abs(x - width_ / 2), width_ / 4) << "near the middle, frame " << frame;
    EXPECT_LT(std::abs(y - height_ / 2), height_ / 4) << "near the middle, frame " << frame;
    // The moon's face, half of it lit at least: grey pixels within its apparent radius.
    Eye(eye);
    const double distance = std::sqrt((moon[0] - eye[0]) * (moon[0] - eye[0]) + (moon[1] - eye[1]) * (moon[1] - eye[1]) +
                                      (moon[2] - eye[2]) * (moon[2] - eye[2]));
    const int half = std::max(2, static_cast<int>(0.004 / distance / std::tan(22.5 * 3.14159265358979 / 180) * height_ / 2));
    int bright = 0, all = 0;
    for (int dy = -half; dy <= half; ++dy)
      for (int dx = -half; dx <= half; ++dx) {
        if (x + dx < 0 || y + dy < 0 || x + dx >= width_ || y + dy >= height_) continue;
        const Rgb p = At(x + dx, y + dy);
        ++all;
        if (p.Sum() > 3 * 40 && std::abs(p.r - p.b) < 40) ++bright;
      }
    EXPECT_GT(bright, all / 5) << "lit grey pixels around the moon's centre, frame " << frame << " at " << x << ","
                               << y << " within " << half;
  }
}

TEST_F(SceneWindowTest, SunInViewShowsTheFlareChainThroughTheCentre) {
  Open(kTourOrbit, 1137);
  Frames(1, "window_sun_in_view");
  double sunX, sunY;
  ASSERT_TRUE(SunImage(&sunX, &sunY));
  ASSERT_LT(std::abs(sunX), 0.9);
  ASSERT_LT(std::abs(sunY), 0.9);
  const Rgb disc = AtNdc(sunX, sunY);
  EXPECT_GE(std::min({disc.r, disc.g, disc.b}), 250) << "the sun's disc is white";
  for (double p : {0.295, -0.78}) {  // the red half-bowl, the grey disc with its ring
    const Rgb on = AtNdc(p * sunX, p * sunY), off = AtNdc(-p * sunY, p * sunX);
    EXPECT_GT(on.Sum(), off.Sum() + 30) << "element at position " << p;
  }
  for (double x : {-0.95, 0.95})
    EXPECT_GT(AtNdc(x, sunY).Sum(), AtNdc(x, sunY + 0.15).Sum() + 30) << "streak at x " << x;
}

TEST_F(SceneWindowTest, SunBehindThePlanetHasNoFlare) {
  Open(kTourOrbit, 2145);
  Frames(1, "window_sun_hidden");
  double sunX, sunY;
  ASSERT_TRUE(SunImage(&sunX, &sunY));
  ASSERT_LT(std::abs(sunX), 0.9);
  EXPECT_LT(AtNdc(sunX, sunY).Sum(), 3 * 128) << "the planet covers the sun's disc";
  for (double x : {-0.95, 0.95}) EXPECT_LT(AtNdc(x, sunY).Sum(), 60) << "no streak at x " << x;
  EXPECT_LT(AtNdc(-0.78 * sunX, -0.78 * sunY).Sum(), 60) << "no flare element beyond the centre";
}

TEST_F(SceneWindowTest, StarsShowTheirClassColours) {
  Open(kTourOrbit, 28659);
  Frames(1, "window_stars");
  const StarCatalogue& stars = window_->scene().stars;
  ASSERT_EQ(stars.count, 9096) << "the star list linked into the program";
  // Every bright star whose image lies alone on black sky: its colour must match its class.
  int warm = 0, cool = 0;
  for (int32_t i = 0; i < stars.count; ++i) {
    const StarRecord& star = stars.records[i];
    if (star.magnitude > 4.0) continue;
    const StarPoint point = StarPointFor(star);
    const double world[3] = {point.direction[0] * 350, point.direction[1] * 350, point.direction[2] * 350};
    int x, y;
    if (!Project(world, &x, &y, 4)) continue;
    int border = 0;
    for (int d = -4; d <= 4; ++d)
      border += At(x + d, y - 4).Sum() + At(x + d, y + 4).Sum() + At(x - 4, y + d).Sum() + At(x + 4, y + d).Sum();
    if (border > 120) continue;  // something else lies around it
    Rgb c{0, 0, 0};
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (At(x + dx, y + dy).Sum() > c.Sum()) c = At(x + dx, y + dy);
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
