// The sun's visibility worked out on the processor against what the depth buffer of the
// same frame says at the same sample pixels, on frames of the shipped scene off screen: the
// sun rising over the planet's limb and the moon passing in front of it, where a part of
// the ring is hidden and every single sample counts.
#include "scene/sun_occlusion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene/gl.h"
#include "scene/lens_flares.h"
#include "scene/moon.h"
#include "scene/scene.h"
#include "tests/scene/moon_view.h"
#include "tests/scene/scene_data.h"
#include "tests/support/fake_scene_host.h"
#include "tests/support/offscreen_gl.h"

namespace {

class SunOcclusionTest : public testing::Test {
 protected:
  void Init(int32_t tour) {
    ASSERT_TRUE(gl.ok()) << "no off-screen OpenGL context";
    host.archive = scene_data::Zip(scene_data::DataMembers());
    SceneOptions options;
    options.cameraTour = tour;
    options.randomStart = 0;
    const SceneLoadResult loaded = InitScene(scene, host, options, gl.width(), gl.height());
    ResizeScene(scene, gl.width(), gl.height());
    ASSERT_TRUE(loaded.ok()) << loaded.reason();
  }

  // Draws the frame at `sceneTime` and returns the processor's count and, in `depthCount`,
  // the samples whose pixel in the frame's depth buffer is not nearer than the sun.
  SunVisibility FrameAt(double sceneTime, int* depthCount) {
    scene.sceneTime = sceneTime;
    DrawFrame(scene, 0.0);
    const SunVisibility v = TestSunVisibility(kSunPosition, SunOccludersAt(scene, sceneTime));
    RingSample samples[kRingSampleCount];
    const int count = v.image.inFront ? RingSamplePixels(v.image.ndcX, v.image.ndcY, gl.width(), gl.height(), samples) : 0;
    *depthCount = 0;
    for (int i = 0; i < count; ++i) {
      GLfloat depth = 0.0f;
      glReadPixels(samples[i].x, samples[i].y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
      if (depth >= v.image.depth) ++*depthCount;
    }
    return v;
  }

  OffscreenGl gl{640, 480};
  FakeSceneHost host;
  Scene scene;
};

// Every frame of the orbit's sunrise over the limb and of its sunset behind the planet: the
// processor's count is the depth buffer's to the sample. The stars are left out of these
// frames: they would write nearer depths than the sun's where they stand on the ring.
TEST_F(SunOcclusionTest, TheOrbitsSunriseAndSunsetAgreeWithTheDepthBuffer) {
  Init(kTourOrbit);
  scene.stars.records = nullptr;
  int partial = 0, frames = 0;
  for (double t = 1105.0; t < 1165.0; t += 0.5, ++frames) {
    int depthCount = 0;
    const SunVisibility v = FrameAt(t, &depthCount);
    ASSERT_TRUE(v.image.inFront) << "SceneTime " << t;
    EXPECT_EQ(v.visible, depthCount) << "SceneTime " << t;
    partial += v.visible > 0 && v.visible < v.samples;
  }
  EXPECT_GT(partial, frames / 3) << "the sweep keeps the limb across the ring";
}

// The moon between the eye and the sun, stepped across the ring: its irregular mesh, turned
// and scaled as it is drawn, hides the same samples as its depth.
TEST_F(SunOcclusionTest, TheMoonPassingTheSunAgreesWithTheDepthBuffer) {
  Init(3);  // the camera stays where the test puts it
  scene.stars.records = nullptr;
  const double time = 28659.0;
  int partial = 0;
  for (int step = -12; step <= 12; ++step) {
    // Just behind the moon, shifted sideways a little more each step.
    BehindTheMoon(time, 0.04, scene.camera.eye);
    scene.camera.eye[2] += step * 0.0006;
    for (int i = 0; i < 3; ++i) scene.camera.target[i] = kSunPosition[i];
    scene.camera.up[0] = scene.camera.up[1] = 0.0;
    scene.camera.up[2] = 1.0;
    int depthCount = 0;
    const SunVisibility v = FrameAt(time, &depthCount);
    EXPECT_EQ(v.visible, depthCount) << "step " << step;
    partial += v.visible > 0 && v.visible < v.samples;
  }
  EXPECT_GT(partial, 3) << "the moon's edge crosses the ring";
}

}  // namespace
