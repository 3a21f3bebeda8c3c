// Whole frames with the shipped data, drawn off screen: the stars in their class colours,
// the sun, and the lens flare strung through the screen centre when the sun is in view and
// absent when a body hides it. With TELLARO_PICTURES set to a folder, every frame is also
// saved there as a PPM picture for a person to look at.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scene/gl.h"
#include "scene/lens_flares.h"
#include "scene/moon.h"
#include "scene/scene.h"
#include "tests/scene/moon_view.h"
#include "tests/scene/pictures.h"
#include "tests/scene/scene_data.h"
#include "tests/support/fake_scene_host.h"
#include "tests/support/offscreen_gl.h"

namespace {

// Orbit-tour times (CamMode 2) found by sweeping the tour: the sun above the planet's limb
// in full view, and the sun behind the planet.
constexpr double kSunInView = 1137.0;
constexpr double kSunBehindPlanet = 2145.0;

struct Rgb {
  int r, g, b;
  int Sum() const { return r + g + b; }
};

class SkyPictureTest : public testing::Test {
 protected:
  void Init(int32_t camMode) {
    ASSERT_TRUE(gl.ok()) << "no off-screen OpenGL context";
    host.archive = scene_data::Zip(scene_data::DataMembers());
    SceneOptions options;
    options.cameraTour = camMode;
    const SceneLoadResult loaded = InitScene(scene, host, options, gl.width(), gl.height());
    ResizeScene(scene, gl.width(), gl.height());
    ASSERT_TRUE(loaded.ok()) << loaded.reason();
    ASSERT_EQ(scene.stars.count, 9096);
  }

  // One frame at `sceneTime`; afterwards the model-view holds the frame's camera again.
  void DrawAt(double sceneTime, const char* pictureName) {
    scene.sceneTime = sceneTime;
    DrawFrame(scene, 0.0);  // all at one moment: the frame shows the time set
    pictures::Save(gl, pictureName);
  }

  Rgb At(int x, int y) {
    const uint32_t p = gl.Pixel(x, y);
    return Rgb{OffscreenGl::Red(p), OffscreenGl::Green(p), OffscreenGl::Blue(p)};
  }
  Rgb AtNdc(double x, double y) {
    const int px = std::min(std::max(static_cast<int>((x + 1) * 0.5 * gl.width()), 0), gl.width() - 1);
    const int py = std::min(std::max(static_cast<int>((y + 1) * 0.5 * gl.height()), 0), gl.height() - 1);
    return At(px, py);
  }

  // Aims the untouched camera (CamMode 3) from `eye` at `target`, +z up.
  void Aim(const double eye[3], const double target[3]) {
    for (int i = 0; i < 3; ++i) {
      scene.camera.eye[i] = eye[i];
      scene.camera.target[i] = target[i];
    }
    scene.camera.up[0] = 0.0;
    scene.camera.up[1] = 0.0;
    scene.camera.up[2] = 1.0;
  }

  OffscreenGl gl{320, 240};
  FakeSceneHost host;
  Scene scene;
};

TEST_F(SkyPictureTest, SunInViewShowsTheFlareChainThroughTheCentreAndTheStreak) {
  Init(kTourOrbit);
  DrawAt(kSunInView, "sun_in_view");
  const SunVisibility sun = TestSunVisibility(kSunPosition, SunOccludersAt(scene, scene.sceneTime));
  ASSERT_TRUE(sun.image.inFront);
  ASSERT_GE(sun.visible, 100) << "the sun stands clear of the planet at this time";
  const Rgb disc = AtNdc(sun.image.ndcX, sun.image.ndcY);
  EXPECT_GE(std::min({disc.r, disc.g, disc.b}), 250) << "the sun's disc is white";

  // Elements sit at p times the sun's position; the same distance from the centre at right
  // angles to the chain is where no element lies.
  for (double p : {0.295, -0.78}) {  // the red half-bowl, the grey disc with its ring
    const double x = p * sun.image.ndcX, y = p * sun.image.ndcY;
    const Rgb on = AtNdc(x, y), off = AtNdc(-y, x);
    EXPECT_GT(on.Sum(), off.Sum() + 30) << "element at position " << p << ": (" << on.r << "," << on.g << ","
                                        << on.b << ") against (" << off.r << "," << off.g << "," << off.b << ")";
  }
  // The streak runs across the whole width on the sun's row.
  for (double x : {-0.95, 0.95}) {
    const Rgb streak = AtNdc(x, sun.image.ndcY), above = AtNdc(x, sun.image.ndcY + 0.15);
    EXPECT_GT(streak.Sum(), above.Sum() + 30) << "streak at x " << x;
    EXPECT_GT(streak.r, streak.b) << "the streak is golden";
  }
}

TEST_F(SkyPictureTest, SunBehindThePlanetIsHiddenAndHasNoFlare) {
  Init(kTourOrbit);
  DrawAt(kSunBehindPlanet, "sun_behind_planet");
  const SunVisibility sun = TestSunVisibility(kSunPosition, SunOccludersAt(scene, scene.sceneTime));
  ASSERT_TRUE(sun.image.inFront);
  ASSERT_EQ(sun.samples, 128) << "the sun's ring lies on the screen";
  EXPECT_EQ(sun.visible, 0);
  const Rgb disc = AtNdc(sun.image.ndcX, sun.image.ndcY);
  EXPECT_LT(disc.Sum(), 3 * 128) << "the planet covers the sun's disc although the sun is drawn first";
  for (double x : {-0.95, 0.95}) {
    const Rgb row = AtNdc(x, sun.image.ndcY);
    EXPECT_LT(row.Sum(), 60) << "no streak at x " << x;
  }
  const Rgb chain = AtNdc(-0.78 * sun.image.ndcX, -0.78 * sun.image.ndcY);
  EXPECT_LT(chain.Sum(), 60) << "no flare element beyond the centre";
}

TEST_F(SkyPictureTest, TheMoonInFrontOfTheSunHidesIt) {
  Init(3);  // the camera stays where the test puts it
  const double time = 28659.0;
  double eye[3];
  BehindTheMoon(time, 0.03, eye);
  Aim(eye, kSunPosition);
  DrawAt(time, "sun_behind_moon");
  const SunVisibility sun = TestSunVisibility(kSunPosition, SunOccludersAt(scene, scene.sceneTime));
  ASSERT_TRUE(sun.image.inFront);
  EXPECT_NEAR(sun.image.ndcX, 0.0, 1e-6);
  EXPECT_EQ(sun.visible, 0) << "the moon covers the whole ring";
  const Rgb disc = At(gl.width() / 2, gl.height() / 2);
  EXPECT_LT(disc.Sum(), 3 * 128) << "the moon covers the sun's disc";
}

TEST_F(SkyPictureTest, StarsShowTheirClassColours) {
  Init(3);
  // From the planet's centre (whose surface and shells face outward and are culled), look
  // at the brightest star of a class; RA and declination are those of the shipped list.
  struct Target {
    const char* name;
    double rightAscension, declination;
  } targets[] = {{"star_class_m", 24.66, 4.11}, {"star_class_o", 33.99, -26.29}, {"star_class_k", 59.42, 10.65}};
  Rgb seen[3];
  const double eye[3] = {0.0, 0.0, 0.0};
  for (int i = 0; i < 3; ++i) {
    const double latitude = targets[i].declination * 0.01 * 3.14159265358979323846;
    const double longitude = 2 * targets[i].rightAscension * 0.01 * 3.14159265358979323846;
    const double target[3] = {std::cos(latitude) * std::cos(longitude), std::cos(latitude) * std::sin(longitude),
                              std::sin(latitude)};
    Aim(eye, target);
    DrawAt(28659.0, targets[i].name);
    seen[i] = At(gl.width() / 2, gl.height() / 2);
    EXPECT_GT(seen[i].Sum(), 200) << targets[i].name << " lies at the centre";
  }
  EXPECT_GT(seen[0].r, seen[0].b + 40) << "class M is orange: " << seen[0].r << "," << seen[0].g << "," << seen[0].b;
  EXPECT_GE(seen[1].b, seen[1].r) << "class O is bluish white: " << seen[1].r << "," << seen[1].g << "," << seen[1].b;
  EXPECT_GT(seen[2].r, seen[2].b + 40) << "class K is yellow: " << seen[2].r << "," << seen[2].g << "," << seen[2].b;
}

}  // namespace
