// A failed scene load as the full-screen window reports it, with the program's real message
// boxes: an archive without its seventh flare or without the moon's shape, and one that
// cannot be opened, each show their message with the stop icon; the run's quit request
// follows only once the box is dismissed, and nothing after the failing member is read.
// (Every member in turn is left out in the native test of the loader.)
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "resources/resource_pak.h"
#include "settings/registry_names.h"
#include "shell/gl_window.h"
#include "shell/win32_run_host.h"
#include "tests/scene/scene_data.h"
#include "tests/support/box_watcher.h"

namespace {

// The program's host, but with an archive of the test's choosing; it notes whether the
// quit request came while a message box was still up.
class ArchiveHost : public Win32RunHost {
 public:
  explicit ArchiveHost(std::vector<uint8_t> archive) : archive_(std::move(archive)) {}
  bool OpenArchive(ResourcePak& pak) override {
    return !archive_.empty() && pak.Open(archive_.data(), static_cast<int32_t>(archive_.size()));
  }
  void ShowMessage(const char* text, MessageIcon icon) override {
    boxUp = true;
    Win32RunHost::ShowMessage(text, icon);
    boxUp = false;
  }
  void RequestQuit() override {
    if (boxUp) quitWhileBoxUp = true;
    Win32RunHost::RequestQuit();
  }
  bool boxUp = false;
  bool quitWhileBoxUp = false;

 private:
  std::vector<uint8_t> archive_;
};

class SceneLoadingTest : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey); }
  void TearDown() override {
    if (window_) window_->Destroy();
    window_.reset();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
  }

  // Starts a run on the archive with a box watcher running; returns the boxes seen and
  // whether the quit request (code 0) was waiting in the queue afterwards.
  std::vector<SeenBox> Start(ArchiveHost& host, bool* quitQueued) {
    if (window_) window_->Destroy();
    window_ = std::make_unique<CGLWindow>(&host);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    std::vector<SeenBox> seen;
    {
      BoxWatcher watcher;
      EXPECT_TRUE(window_->Create(screen, nullptr)) << "the window stands although the load failed";
      seen = watcher.Seen();
    }
    MSG message;
    *quitQueued = PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && message.wParam == 0;
    return seen;
  }

  std::unique_ptr<CGLWindow> window_;
};

TEST_F(SceneLoadingTest, AMissingMemberShowsItsMessageWithTheStopIconThenEndsTheRun) {
  const std::vector<scene_data::Member> all = scene_data::DataMembers();
  const std::vector<std::string> order = scene_data::SceneMembersInOrder();
  for (size_t missing : {size_t{6}, size_t{16}}) {  // flare7.jpg, phobos2.dat
    SCOPED_TRACE("without " + order[missing]);
    ArchiveHost host(scene_data::Zip(scene_data::Without(all, order[missing])));
    bool quit = false;
    const std::vector<SeenBox> boxes = Start(host, &quit);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, order[missing] == "phobos2.dat" ? "Can't load 3D shape." : "Can't load pTexture.");
    EXPECT_TRUE(boxes[0].stopIcon) << "the stop icon";
    EXPECT_TRUE(boxes[0].okOnly) << "an OK button only";
    EXPECT_TRUE(quit) << "the quit request is queued";
    EXPECT_FALSE(host.quitWhileBoxUp) << "and only after the box was dismissed";
    // Nothing after the failing member: its own texture and every later one stay uncreated.
    const Scene& scene = window_->scene();
    unsigned int byMember[17];
    for (int n = 0; n < kFlarePictureCount; ++n) byMember[n] = scene.flares.pictures[n].texture.name();
    byMember[10] = scene.planet.atmosphereTexture.name();
    for (int n = 0; n < 4; ++n) byMember[11 + n] = scene.planet.surfaceTextures[n].name();
    byMember[15] = scene.moon.texture.name();
    byMember[16] = static_cast<unsigned int>(scene.moon.shape.triangleCount());
    for (size_t k = 0; k < 17; ++k) {
      if (k < missing)
        EXPECT_NE(byMember[k], 0u) << order[k] << " comes before";
      else
        EXPECT_EQ(byMember[k], 0u) << order[k] << " was read after the failure";
    }
    EXPECT_EQ(scene.planet.cloudShadowTexture.name() != 0, missing > 10) << "the inverted copy needs atmos.jpg";
  }
}

TEST_F(SceneLoadingTest, AnArchiveThatCannotBeOpenedIsReported) {
  ArchiveHost host({});
  bool quit = false;
  const std::vector<SeenBox> boxes = Start(host, &quit);
  ASSERT_EQ(boxes.size(), 1u) << "one box, though the star list cannot be read either";
  EXPECT_EQ(boxes[0].text, "Can't open resource data file.");
  EXPECT_TRUE(boxes[0].stopIcon);
  EXPECT_TRUE(quit);
  EXPECT_EQ(window_->scene().flares.pictures[0].texture.name(), 0u);
}

}  // namespace
