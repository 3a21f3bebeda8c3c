// Whole frames of each tour at fixed SceneTimes, drawn off screen with the committed data,
// checked for what a viewer must see: the planet's disc where the camera looks, lit on the
// sun's side and dark on the other, the moon in view during a pass. With
// TELLARO_PICTURES_DIR set, every checked frame is also written there as a PPM picture.
#include <cstddef>

#include "scene/scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scene/moon.h"
#include "tests/scene/pictures.h"
#include "tests/scene/scene_data.h"
#include "tests/support/fake_scene_host.h"
#include "tests/support/offscreen_gl.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr double kNear = static_cast<double>(0.01f);
constexpr double kFar = 1000.0;

class ScenePicturesTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl.ok()) << "no off-screen OpenGL context"; }

  void Start(int32_t camMode) {
    host.archive = scene_data::Zip(scene_data::DataMembers());
    const SceneLoadResult loaded = StartOnHostsArchive(camMode);
    ASSERT_TRUE(loaded.ok()) << loaded.reason();
  }
  SceneLoadResult StartOnHostsArchive(int32_t camMode) {
    SceneOptions options;
    options.cameraTour = camMode;
    options.randomStart = 0;
    const SceneLoadResult loaded = InitScene(scene, host, options, kWidth, kHeight);
    ResizeScene(scene, kWidth, kHeight);
    return loaded;
  }

  // Draws frames until `frames` have been drawn in all; returns the window position of a
  // world point under the last frame's camera.
  // Frames of a 60 Hz display.
  void DrawFrames(int frames) {
    for (int i = 0; i < frames; ++i) DrawFrame(scene, presented++ / kSceneFramesPerSecond);
    glFinish();
  }
  void Project(const double p[3], double w[3]) {
    glLoadIdentity();
    scene.camera.Apply();
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(p[0], p[1], p[2], model, projection, viewport, &w[0], &w[1], &w[2]);
  }
  static bool OnScreen(const double w[3]) { return w[0] >= 0 && w[0] < kWidth && w[1] >= 0 && w[1] < kHeight && w[2] < 1; }
  // Distance along the view axis of what the depth buffer holds at a pixel.
  static double EyeDepthAt(int x, int y) {
    GLfloat depth = 1.0f;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return kNear * kFar / (kFar - depth * (kFar - kNear));
  }
  double EyeDepthOf(const double p[3]) const {
    double view[3];
    for (int i = 0; i < 3; ++i) view[i] = scene.camera.target[i] - scene.camera.eye[i];
    const double n = std::sqrt(view[0] * view[0] + view[1] * view[1] + view[2] * view[2]);
    double d = 0;
    for (int i = 0; i < 3; ++i) d += (p[i] - scene.camera.eye[i]) * view[i] / n;
    return d;
  }
  int Brightness(int x, int y) {
    const uint32_t p = gl.Pixel(x, y);
    return (OffscreenGl::Red(p) + OffscreenGl::Green(p) + OffscreenGl::Blue(p)) / 3;
  }

  void Save(const std::string& name) { pictures::Save(gl, name); }

  // The planet seen from the camera: its disc covers the centre's pixel; a point of its
  // visible face between the eye and the sun is lit, one turned away from the sun is dark.
  void ExpectLitPlanet(const std::string& what) {
    SCOPED_TRACE(what);
    const double origin[3] = {0, 0, 0};
    double centre[3];
    Project(origin, centre);
    ASSERT_TRUE(OnScreen(centre)) << "the planet's centre is in view";
    EXPECT_NEAR(EyeDepthAt(static_cast<int>(centre[0]), static_cast<int>(centre[1])), EyeDepthOf(origin) - 1.0, 0.35)
        << "the planet's surface covers its centre";

    const double e = std::sqrt(scene.camera.eye[0] * scene.camera.eye[0] + scene.camera.eye[1] * scene.camera.eye[1] +
                               scene.camera.eye[2] * scene.camera.eye[2]);
    const double sn = std::sqrt(400.0 * 400 + 400 * 400 + 100 * 100);
    double lit[3], dark[3];
    for (int i = 0; i < 3; ++i) {
      lit[i] = scene.camera.eye[i] / e + kSunPosition[i] / sn;
      dark[i] = scene.camera.eye[i] / e - kSunPosition[i] / sn;
    }
    for (double* p : {lit, dark}) {
      const double n = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
      for (int i = 0; i < 3; ++i) p[i] /= n;
    }
    double litWindow[3], darkWindow[3];
    Project(lit, litWindow);
    Project(dark, darkWindow);
    if (OnScreen(litWindow)) {
      EXPECT_GT(Brightness(static_cast<int>(litWindow[0]), static_cast<int>(litWindow[1])), 60)
          << "the face towards the sun is lit";
    }
    if (OnScreen(darkWindow)) {
      EXPECT_LT(Brightness(static_cast<int>(darkWindow[0]), static_cast<int>(darkWindow[1])), 25)
          << "the face away from the sun is dark";
    }
    EXPECT_TRUE(OnScreen(litWindow) || OnScreen(darkWindow)) << "one of the two faces is in view";
  }

  // The moon's centre projects into the picture and the depth there is the moon's.
  void ExpectMoonInView(const std::string& what) {
    SCOPED_TRACE(what);
    double moon[3], w[3];
    MoonPosition(scene.sceneTime, moon);
    Project(moon, w);
    ASSERT_TRUE(OnScreen(w)) << "the moon's centre at (" << w[0] << ", " << w[1] << ")";
    EXPECT_NEAR(EyeDepthAt(static_cast<int>(w[0]), static_cast<int>(w[1])), EyeDepthOf(moon), 0.006)
        << "the moon, not the planet or the sky, is there";
  }

  OffscreenGl gl{kWidth, kHeight};
  FakeSceneHost host;
  Scene scene;
  int presented = 0;
};

TEST_F(ScenePicturesTest, OrbitShowsTheLitPlanet) {
  Start(kTourOrbit);
  for (double t : {28659.0, 28700.0, 30000.0, 12345.0}) {
    scene.sceneTime = t;
    DrawFrames(2);
    const std::string name = "orbit_" + std::to_string(static_cast<int>(t));
    Save(name);
    ExpectLitPlanet(name);
  }
}

TEST_F(ScenePicturesTest, OrbitWithTheSunNearTheLimbShowsTheRimGlow) {
  Start(kTourOrbit);
  scene.sceneTime = 1141.0;  // the sun stands just beyond the planet's edge
  DrawFrames(2);
  Save("orbit_sun_at_limb");
  // The rim towards the sun glows; the opposite rim stays dark.
  const double origin[3] = {0, 0, 0};
  double centre[3], sun[3];
  Project(origin, centre);
  Project(kSunPosition, sun);
  ASSERT_TRUE(OnScreen(centre));
  const double dx = sun[0] - centre[0], dy = sun[1] - centre[1];
  const double length = std::hypot(dx, dy);
  // Walk from the centre towards the sun and away from it, looking for the brightest pixel
  // near the disc's edge.
  auto brightestAlong = [&](double sign) {
    int best = 0;
    for (double r = 0; r < 2 * length; r += 0.5) {
      const int x = static_cast<int>(centre[0] + sign * dx / length * r);
      const int y = static_cast<int>(centre[1] + sign * dy / length * r);
      if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) break;
      if (r > 0.8 * length) break;  // stop short of the sun's own disc and its flare
      best = std::max(best, Brightness(x, y));
    }
    return best;
  };
  EXPECT_GT(brightestAlong(1.0), 100) << "the glow on the sun's side of the limb";
  EXPECT_GT(brightestAlong(1.0), brightestAlong(-1.0) + 40) << "brighter than the far side";
}

TEST_F(ScenePicturesTest, FlybyKeepsTheMoonInView) {
  Start(kTourFlyby);
  DrawFrames(1);
  Save("flyby_first_frame");
  ExpectMoonInView("the first frame");
  // Points of a pass, by the eye's lead over the moon: far ahead, over it, behind it.
  for (double lead : {0.2, 0.1, 0.03, 0.0, -0.05, -0.15, -0.29}) {
    scene.tour.flybyProgress = lead;
    DrawFrames(1);
    const std::string name = "flyby_lead_" + std::to_string(lead);
    Save(name);
    ExpectMoonInView(name);
  }
}

TEST_F(ScenePicturesTest, MixedTourOrbitsThenPassesTheMoon) {
  Start(kTourMixed);
  DrawFrames(3);
  ExpectLitPlanet("the run starts on the orbit");
  scene.tour.frame = 498;  // skip ahead to the end of the first orbit leg
  DrawFrames(1);
  Save("mixed_frame_499");
  ExpectLitPlanet("frame 499 is still the orbit");
  DrawFrames(1);
  Save("mixed_frame_500");
  ExpectMoonInView("frame 500 starts the pass");
  DrawFrames(100);
  Save("mixed_frame_600");
  ExpectMoonInView("100 frames into the pass");
}

TEST_F(ScenePicturesTest, FramesWithoutAnyResourcesStillDraw) {
  // The archive cannot be opened: nothing was loaded.
  EXPECT_EQ(StartOnHostsArchive(kTourFlyby).code(), SceneLoadError::ArchiveUnreadable);
  DrawFrames(3);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  Save("no_resources");
  // The surface is drawn untextured; with an empty moon the pass looks past the orbit.
  scene.options.cameraTour = kTourOrbit;
  DrawFrames(1);
  ExpectLitPlanet("untextured planet");
}

}  // namespace
