// Scenes in several rendering contexts of one process at once: each draws the same picture
// for the same clock, frames interleaved, and releasing one scene's objects leaves the
// other's, which carry the same names, drawing as before. And several views of one scene,
// as on several monitors: each moves on its own clock over the same loaded bodies.
#include <gtest/gtest.h>

#include <vector>

#include "scene/scene.h"
#include "tests/scene/scene_data.h"
#include "tests/support/fake_scene_host.h"
#include "tests/support/offscreen_gl.h"

namespace {

struct SceneInContext {
  OffscreenGl gl{256, 192};
  Scene scene;

  std::vector<uint32_t> FrameAt(double sceneTime) {
    EXPECT_TRUE(gl.MakeCurrent());
    scene.sceneTime = sceneTime;
    DrawFrame(scene);
    return gl.pixels();
  }
};

TEST(SceneContextsTest, TwoScenesInTwoContextsDrawTheSamePicture) {
  FakeSceneHost host;
  host.archive = scene_data::Zip(scene_data::DataMembers());
  SceneOptions options;
  options.cameraTour = kTourOrbit;
  options.randomStart = 0;
  SceneInContext a, b;
  for (SceneInContext* each : {&a, &b}) {
    ASSERT_TRUE(each->gl.MakeCurrent());
    const SceneLoadResult loaded = InitScene(each->scene, host, options, each->gl.width(), each->gl.height());
    ASSERT_TRUE(loaded.ok()) << loaded.reason();
    ResizeScene(each->scene, each->gl.width(), each->gl.height());
  }
  ASSERT_EQ(a.scene.sun.name(), b.scene.sun.name()) << "each context numbers its own objects";

  // The sun above the limb with its flare, then the orbit's ordinary frame.
  for (double sceneTime : {1125.0, 28700.0}) {
    a.FrameAt(sceneTime);  // the first frame of each lacks the shells' specular material
    b.FrameAt(sceneTime);
    const std::vector<uint32_t> first = a.FrameAt(sceneTime);
    const std::vector<uint32_t> second = b.FrameAt(sceneTime);
    EXPECT_TRUE(first == second) << "SceneTime " << sceneTime;
  }

  const std::vector<uint32_t> before = b.FrameAt(1137.0);
  ASSERT_TRUE(a.gl.MakeCurrent());
  ReleaseSceneGLObjects(a.scene);
  EXPECT_TRUE(b.FrameAt(1137.0) == before) << "releasing one scene took the other's objects";
  ReleaseSceneGLObjects(b.scene);
}

TEST(SceneContextsTest, ViewsOfOneSceneMoveOnTheirOwnClocks) {
  FakeSceneHost host;
  host.archive = scene_data::Zip(scene_data::DataMembers());
  SceneOptions options;
  options.cameraTour = kTourOrbit;
  options.randomStart = 0;
  SceneInContext own;
  ASSERT_TRUE(own.gl.MakeCurrent());
  ASSERT_TRUE(InitScene(own.scene, host, options, own.gl.width(), own.gl.height()).ok());
  ResizeScene(own.scene, own.gl.width(), own.gl.height());

  // Without the random start every view starts where the scene's own does, whatever its seed.
  SceneView other = StartView(options, 12345);
  EXPECT_EQ(other.sceneTime, own.scene.sceneTime);
  DrawFrame(own.scene);  // the first frame lacks the shells' specular material
  const double ownTime = own.scene.sceneTime;
  DrawFrame(own.scene, other);
  EXPECT_EQ(other.tourFrame, 1);
  EXPECT_EQ(own.scene.tourFrame, 1) << "drawing another view moved the scene's own";
  EXPECT_EQ(own.scene.sceneTime, ownTime);
  EXPECT_EQ(other.sceneTime, ownTime) << "each view steps once per frame of its own";
  const std::vector<uint32_t> ownFrame = own.FrameAt(28700.0);
  other.sceneTime = 28700.0;
  DrawFrame(own.scene, other);
  EXPECT_TRUE(own.gl.pixels() == ownFrame) << "the same clock shows the same picture in either view";
  other.sceneTime = 30000.0;
  DrawFrame(own.scene, other);
  EXPECT_FALSE(own.gl.pixels() == ownFrame) << "another clock, another picture";

  // With it, each monitor's seed gives its own start.
  options.randomStart = 1;
  EXPECT_NE(StartView(options, 1000).sceneTime, StartView(options, 1001).sceneTime);
  ReleaseSceneGLObjects(own.scene);
}

}  // namespace
