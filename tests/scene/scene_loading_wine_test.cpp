// Loading the scene's resources inside a Windows program, with the real message boxes: an
// archive without its seventh flare or without the moon's shape, and one that cannot be
// opened, each show their message with the stop icon; the run's quit request follows only
// once the box is dismissed, and nothing after the failing member is read. (Every member in
// turn is left out in the native test of the loader.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_pak.h"
#include "scene/gl.h"
#include "scene/scene.h"
#include "shell/win32_scene_host.h"
#include "tests/scene/scene_data.h"
#include "tests/support/box_watcher.h"

namespace {

// The program's host, but with an archive of the test's choosing; it notes whether the
// quit request came while a message box was still up.
class ArchiveHost : public Win32SceneHost {
 public:
  explicit ArchiveHost(std::vector<uint8_t> archive) : archive_(std::move(archive)) {}
  bool OpenArchive(ResourcePak& pak) override {
    return !archive_.empty() && pak.Open(archive_.data(), static_cast<int32_t>(archive_.size()));
  }
  void ShowMessage(const char* text, MessageIcon icon) override {
    boxUp = true;
    Win32SceneHost::ShowMessage(text, icon);
    boxUp = false;
  }
  void RequestQuit() override {
    if (boxUp) quitWhileBoxUp = true;
    Win32SceneHost::RequestQuit();
  }
  bool boxUp = false;
  bool quitWhileBoxUp = false;

 private:
  std::vector<uint8_t> archive_;
};

class SceneLoadingTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA type{};
    type.style = CS_OWNDC;
    type.lpfnWndProc = DefWindowProcA;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "TellaroSceneLoadingTest";
    RegisterClassA(&type);
    window_ = CreateWindowExA(0, type.lpszClassName, "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                              type.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    dc_ = GetDC(window_);
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 24;
    format.cDepthBits = 16;
    ASSERT_TRUE(SetPixelFormat(dc_, ChoosePixelFormat(dc_, &format), &format));
    context_ = wglCreateContext(dc_);
    ASSERT_NE(context_, nullptr);
    ASSERT_TRUE(wglMakeCurrent(dc_, context_));
  }
  void TearDown() override {
    wglMakeCurrent(nullptr, nullptr);
    if (context_) wglDeleteContext(context_);
    if (dc_) ReleaseDC(window_, dc_);
    if (window_) DestroyWindow(window_);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  // Loads from the archive with a box watcher running; returns the boxes seen and whether
  // the quit request (code 0) was waiting in the queue afterwards.
  std::vector<SeenBox> Load(Scene& scene, ArchiveHost& host, bool* quitQueued) {
    scene.host = &host;
    std::vector<SeenBox> seen;
    {
      BoxWatcher watcher;
      LoadSceneResources(scene);
      seen = watcher.Seen();
    }
    MSG message;
    *quitQueued = PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && message.wParam == 0;
    return seen;
  }

  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  HGLRC context_ = nullptr;
};

TEST_F(SceneLoadingTest, AMissingMemberShowsItsMessageWithTheStopIconThenEndsTheRun) {
  const std::vector<scene_data::Member> all = scene_data::DataMembers();
  const std::vector<std::string> order = scene_data::SceneMembersInOrder();
  for (size_t missing : {size_t{6}, size_t{16}}) {  // flare7.jpg, phobos2.dat
    SCOPED_TRACE("without " + order[missing]);
    ArchiveHost host(scene_data::Zip(scene_data::Without(all, order[missing])));
    Scene scene;
    bool quit = false;
    const std::vector<SeenBox> boxes = Load(scene, host, &quit);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, order[missing] == "phobos2.dat" ? "Can't load 3D shape." : "Can't load pTexture.");
    EXPECT_TRUE(boxes[0].stopIcon) << "the stop icon";
    EXPECT_TRUE(boxes[0].okOnly) << "an OK button only";
    EXPECT_TRUE(quit) << "the quit request is queued";
    EXPECT_FALSE(host.quitWhileBoxUp) << "and only after the box was dismissed";
    // Nothing after the failing member: its own texture and every later one stay uncreated.
    const unsigned int byMember[17] = {
        scene.textures.flareTextures[0], scene.textures.flareTextures[1], scene.textures.flareTextures[2],
        scene.textures.flareTextures[3], scene.textures.flareTextures[4], scene.textures.flareTextures[5],
        scene.textures.flareTextures[6], scene.textures.flareTextures[7], scene.textures.flareTextures[8],
        scene.textures.flareTextures[9], scene.textures.atmosphereTexture, scene.textures.surfaceTextures[0],
        scene.textures.surfaceTextures[1], scene.textures.surfaceTextures[2], scene.textures.surfaceTextures[3],
        scene.textures.moonTexture, static_cast<unsigned int>(scene.moon.triangleCount())};
    for (size_t k = 0; k < 17; ++k) {
      if (k < missing)
        EXPECT_NE(byMember[k], 0u) << order[k] << " comes before";
      else
        EXPECT_EQ(byMember[k], 0u) << order[k] << " was read after the failure";
    }
    EXPECT_EQ(scene.textures.cloudShadowTexture != 0, missing > 10) << "the inverted copy needs atmos.jpg";
  }
}

TEST_F(SceneLoadingTest, AnArchiveThatCannotBeOpenedIsReported) {
  ArchiveHost host({});
  Scene scene;
  bool quit = false;
  const std::vector<SeenBox> boxes = Load(scene, host, &quit);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Can't open resource data file.");
  EXPECT_TRUE(boxes[0].stopIcon);
  EXPECT_TRUE(quit);
  EXPECT_EQ(scene.textures.flareTextures[0], 0u);
}

}  // namespace
