// The scene's frame on a real (off-screen) OpenGL context.
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/fake_scene_host.h"
#include "tests/support/offscreen_gl.h"

namespace {

class SceneFrameTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl.ok()) << "no off-screen OpenGL context"; }

  // Without an archive: the frames draw what there is.
  void Init(int32_t randomStart, int32_t speed = 50) {
    SceneOptions options;
    options.randomStart = randomStart;
    options.animationSpeed = speed;
    EXPECT_EQ(InitScene(scene, host, options, gl.width(), gl.height()).code(), SceneLoadError::ArchiveUnreadable);
    ResizeScene(scene, gl.width(), gl.height());
  }

  OffscreenGl gl{160, 120};
  FakeSceneHost host;
  Scene scene;
};

TEST_F(SceneFrameTest, ClockStartsFixedOrFromTheTickCount) {
  host.tickCount = 1;
  Init(0);
  EXPECT_DOUBLE_EQ(scene.sceneTime, 28659.0);

  Scene randomScene;
  SceneOptions options;
  options.randomStart = 1;
  EXPECT_FALSE(InitScene(randomScene, host, options, gl.width(), gl.height()).ok());
  EXPECT_DOUBLE_EQ(randomScene.sceneTime, 41.0) << "seeded with the tick count 1";
}

TEST_F(SceneFrameTest, EachFrameAdvancesTheClockByItsTimeInStepsOfSixtyHertz) {
  Init(0);
  DrawFrame(scene, 100.0);
  EXPECT_DOUBLE_EQ(scene.sceneTime, 28659.0) << "the first frame shows the start";
  DrawFrame(scene, 100.0 + 1.0 / 60);
  EXPECT_NEAR(scene.sceneTime, 28659.0 + 0.06, 1e-9);
  DrawFrame(scene, 100.0 + 3.0 / 60);  // a frame late: two steps
  EXPECT_NEAR(scene.sceneTime, 28659.0 + 0.18, 1e-9);
  EXPECT_EQ(scene.tour.frame, 4) << "the tour counts its 60 Hz frames";
}

TEST_F(SceneFrameTest, AStrayAnimationSpeedCannotRunTheClockAway) {
  Init(0, 2000000000);
  for (int i = 0; i <= 10; ++i) DrawFrame(scene, i / 60.0);
  EXPECT_TRUE(std::isfinite(scene.sceneTime));
  EXPECT_NEAR(scene.sceneTime, 28659.0 + 10 * SceneTimeStep(100), 1e-9);
}

TEST_F(SceneFrameTest, ZeroHeightKeepsAValidProjection) {
  Init(0);
  ResizeScene(scene, 300, 0);
  GLdouble projection[16];
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  for (double value : projection) EXPECT_TRUE(std::isfinite(value));
  // gluPerspective puts f / aspect in [0] and f in [5]: aspect 300 / 1.
  EXPECT_NEAR(projection[5] / projection[0], 300.0, 1e-3);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[3], 1);
}

TEST_F(SceneFrameTest, SunIsAWhiteDiscThatWritesNoDepth) {
  Init(0);
  scene.options.cameraTour = 3;  // no tour: the camera set here stays for the frame
  // Look straight at the sun from near the planet.
  scene.camera.eye[0] = 1.0;
  scene.camera.eye[1] = 1.0;
  scene.camera.eye[2] = 0.2;
  for (int i = 0; i < 3; ++i) scene.camera.target[i] = kSunPosition[i];
  scene.camera.up[0] = 0.0;
  scene.camera.up[1] = 0.0;
  scene.camera.up[2] = 1.0;
  DrawFrame(scene, 0.0);
  const uint32_t centre = gl.Pixel(gl.width() / 2, gl.height() / 2);
  EXPECT_EQ(OffscreenGl::Red(centre), 255);
  EXPECT_EQ(OffscreenGl::Green(centre), 255);
  EXPECT_EQ(OffscreenGl::Blue(centre), 255);
  GLfloat depth = 0.0f;
  glReadPixels(gl.width() / 2, gl.height() / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  EXPECT_FLOAT_EQ(depth, 1.0f) << "bodies drawn later must cover the sun";
}

TEST_F(SceneFrameTest, LightSitsAtTheSunInWorldSpace) {
  Init(0);
  DrawFrame(scene, 0.0);
  // Light positions are stored in eye space; undo the camera to get the world position.
  GLfloat eyePosition[4];
  glGetLightfv(GL_LIGHT0, GL_POSITION, eyePosition);
  glLoadIdentity();
  scene.camera.Apply();
  GLdouble view[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, view);
  // Rotation part is orthonormal: world = R^T (eye - t).
  double world[3];
  for (int i = 0; i < 3; ++i) {
    world[i] = 0;
    for (int j = 0; j < 3; ++j) world[i] += view[i * 4 + j] * (eyePosition[j] - view[12 + j]);
  }
  EXPECT_NEAR(world[0], 400.0, 0.01);
  EXPECT_NEAR(world[1], 400.0, 0.01);
  EXPECT_NEAR(world[2], 100.0, 0.01);
}

}  // namespace
