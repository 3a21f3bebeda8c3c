// The planet and the moon in the real full-screen window under Wine: CGLWindow with its own
// OpenGL context and the archive linked into this program, frames drawn by the window's
// timer handler and read back from the screen after the swap. The orbit tour shows the
// planet's disc where the camera looks, lit towards the sun and dark away from it; the
// moon passes keep the lit moon in the middle of the picture. With TELLARO_PICTURES set to
// a folder, the frames are saved there as PPM pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/resource_pak.h"
#include "scene/gl.h"
#include "scene/moon.h"
#include "scene/scene_clock.h"
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

// The tick count whose random start is `sceneTime` (bits 16..30 of seed * 214013 + 2531011).
uint32_t TickCountFor(int sceneTime) {
  const uint32_t multiplier = 214013u;
  uint32_t inverse = multiplier;  // Newton's iteration for the inverse modulo 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2u - multiplier * inverse;
  return ((static_cast<uint32_t>(sceneTime) << 16) - 2531011u) * inverse;
}

// The program's archive; messages are recorded instead of shown.
class LinkedArchiveHost : public FakeSceneHost {
 public:
  bool OpenArchive(ResourcePak& pak) override { return pak.Open(); }
};

class PlanetWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
    SetDword("RandomCameraStart", 1);  // started at a chosen SceneTime through the tick count
    SetDword("CurrentVideomode", 1);   // the desktop's mode
  }
  void TearDown() override {
    if (window_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);  // the window deletes itself
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
  }

  void Open(int32_t camMode, int sceneTime) {
    SetDword("CamMode", static_cast<DWORD>(camMode));
    host_.tickCount = TickCountFor(sceneTime);
    window_ = new CGLWindow(&host_);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    ASSERT_TRUE(window_->Create(screen, nullptr));
    hwnd_ = window_->Handle();
    Pump();
    ASSERT_TRUE(host_.messages.empty()) << host_.messages[0].text;
    ASSERT_EQ(window_->scene().sceneTime, sceneTime);
  }

  // Frames through the window's timer handler, then the picture as the screen shows it.
  void Frames(int count, const std::string& pictureName) {
    for (int i = 0; i < count; ++i) SendMessageA(hwnd_, WM_TIMER, 0, 0);
    RECT client;
    GetClientRect(hwnd_, &client);
    width_ = client.right;
    height_ = client.bottom;
    ReadWindow();
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview_);  // the last frame's camera
    glGetDoublev(GL_PROJECTION_MATRIX, projection_);
    glGetIntegerv(GL_VIEWPORT, viewport_);
    Save(pictureName);
  }

  void ReadWindow() {
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3, 0);
    HDC windowDc = GetDC(hwnd_);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = height_;  // bottom-up, like OpenGL's rows
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
      if (message.message == WM_TIMER || message.message == WM_CLOSE) continue;  // the test draws the frames
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  bool Project(const double world[3], int* x, int* y) {
    double wx, wy, wz;
    gluProject(world[0], world[1], world[2], modelview_, projection_, viewport_, &wx, &wy, &wz);
    *x = static_cast<int>(wx);
    *y = static_cast<int>(wy);
    return wz <= 1.0 && *x >= 0 && *y >= 0 && *x < width_ && *y < height_;
  }
  const uint8_t* At(int x, int y) const {
    return &pixels_[(static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3];
  }
  int Brightness(int x, int y) const { return (At(x, y)[0] + At(x, y)[1] + At(x, y)[2]) / 3; }

  void Save(const std::string& name) {
    const char* folder = std::getenv("TELLARO_PICTURES");
    if (!folder) return;
    FILE* file = std::fopen((std::string(folder) + "/" + name + ".ppm").c_str(), "wb");
    if (!file) return;
    std::fprintf(file, "P6 %d %d 255\n", width_, height_);
    for (int y = height_ - 1; y >= 0; --y)
      std::fwrite(At(0, y), 1, static_cast<size_t>(width_) * 3, file);
    std::fclose(file);
  }

  // The camera of the last frame in world coordinates.
  void Eye(double eye[3]) const {
    const Camera& camera = window_->scene().camera;
    for (int i = 0; i < 3; ++i) eye[i] = camera.eye[i];
  }

  LinkedArchiveHost host_;
  CGLWindow* window_ = nullptr;
  HWND hwnd_ = nullptr;
  int width_ = 0, height_ = 0;
  std::vector<uint8_t> pixels_;
  GLdouble modelview_[16], projection_[16];
  GLint viewport_[4];
};

TEST_F(PlanetWindowTest, OrbitShowsThePlanetLitOnTheSunsSideAndDarkOnTheOther) {
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
    double eye[3];
    Eye(eye);
    const double e = std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
    const double s = std::sqrt(400.0 * 400 + 400 * 400 + 100 * 100);
    double lit[3], dark[3];
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
    if (litInView) {
      EXPECT_GT(Brightness(lx, ly), 60) << "lit face at " << lx << "," << ly;
    }
    if (darkInView) {
      EXPECT_LT(Brightness(dx, dy), 25) << "night face at " << dx << "," << dy;
    }
    DestroyWindow(hwnd_);
    window_ = nullptr;
  }
  EXPECT_GT(litSeen, 0);
  EXPECT_GT(darkSeen, 0);
}

TEST_F(PlanetWindowTest, MoonPassKeepsTheLitMoonInTheMiddle) {
  Open(kTourFlyby, 28659);
  for (int frames : {1, 80, 80}) {
    Frames(frames, "window_flyby_" + std::to_string(window_->frameCounter() + frames));
    double moon[3];
    MoonPosition(window_->scene().sceneTime - SceneTimeStep(50), moon);
    int x, y;
    ASSERT_TRUE(Project(moon, &x, &y)) << "frame " << window_->frameCounter();
    EXPECT_LT(std::abs(x - width_ / 2), width_ / 4) << "near the middle, frame " << window_->frameCounter();
    EXPECT_LT(std::abs(y - height_ / 2), height_ / 4) << "near the middle, frame " << window_->frameCounter();
    // The moon's face, half of it lit at least: grey pixels within its apparent radius.
    double eye[3];
    Eye(eye);
    const double distance = std::sqrt((moon[0] - eye[0]) * (moon[0] - eye[0]) + (moon[1] - eye[1]) * (moon[1] - eye[1]) +
                                      (moon[2] - eye[2]) * (moon[2] - eye[2]));
    const double radius = 0.004 / distance / std::tan(22.5 * 3.14159265358979 / 180) * height_ / 2;
    const int half = std::max(2, static_cast<int>(radius));
    int bright = 0, all = 0;
    for (int dy = -half; dy <= half; ++dy)
      for (int dx = -half; dx <= half; ++dx) {
        if (x + dx < 0 || y + dy < 0 || x + dx >= width_ || y + dy >= height_) continue;
        const uint8_t* p = At(x + dx, y + dy);
        ++all;
        if (p[0] + p[1] + p[2] > 3 * 40 && std::abs(p[0] - p[2]) < 40) ++bright;
      }
    EXPECT_GT(bright, all / 5) << "lit grey pixels around the moon's centre, frame " << window_->frameCounter()
                               << " at " << x << "," << y << " within " << half;
  }
}

}  // namespace
