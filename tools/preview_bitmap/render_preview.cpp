// Renders the still picture of the preview monitor and the settings page from the scene
// itself: the lit planet with its clouds and glow, the moon, the stars and the sun's flare,
// seen from a fixed camera. Writes a PPM at four times the picture's size; make_bitmap.py
// scales it down and reduces it to the 256-colour bitmap the program carries.
// Usage: render_preview <out.ppm> [scene time [eye x y z target x y z]]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "scene/scene.h"
#include "tests/scene/scene_data.h"
#include "tests/support/fake_scene_host.h"
#include "tests/support/offscreen_gl.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: render_preview <out.ppm>\n");
    return 2;
  }
  constexpr int kWidth = 768, kHeight = 576;
  OffscreenGl gl(kWidth, kHeight);
  if (!gl.ok()) return 1;
  FakeSceneHost host;
  host.archive = scene_data::Zip(scene_data::DataMembers());
  SceneOptions options;
  options.cameraTour = 3;  // the camera stays where it is put
  options.randomStart = 0;
  Scene scene;
  const SceneLoadResult loaded = InitScene(scene, host, options, kWidth, kHeight);
  ResizeScene(scene, kWidth, kHeight);
  if (!loaded) {
    std::fprintf(stderr, "%s (%s)\n", NoticeOf(loaded.code()).text, loaded.reason().c_str());
    return 1;
  }
  // Looking half towards the sun (400, 400, 100), half towards the planet: the sun with its
  // flare chain in the upper left, the planet's lit crescent and limb in the lower right.
  double eye[3] = {-3.123, 0.0, 1.345};
  double target[3] = {-0.025, 1.336, 0.92};
  if (argc >= 9)  // another view, for trying compositions: eye and target
    for (int i = 0; i < 3; ++i) {
      eye[i] = std::atof(argv[3 + i]);
      target[i] = std::atof(argv[6 + i]);
    }
  for (int i = 0; i < 3; ++i) {
    scene.camera.eye[i] = eye[i];
    scene.camera.target[i] = target[i];
  }
  scene.camera.up[0] = 0.0;
  scene.camera.up[1] = 0.0;
  scene.camera.up[2] = 1.0;
  scene.sceneTime = argc > 2 ? std::atof(argv[2]) : 30300.0;
  DrawFrame(scene, 0.0);  // the first frame: the scene stays at its time

  FILE* out = std::fopen(argv[1], "wb");
  if (!out) return 1;
  std::fprintf(out, "P6 %d %d 255\n", kWidth, kHeight);
  const std::vector<uint32_t>& pixels = gl.pixels();
  for (int y = kHeight - 1; y >= 0; --y)
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)];
      const unsigned char rgb[3] = {static_cast<unsigned char>(OffscreenGl::Red(p)),
                                    static_cast<unsigned char>(OffscreenGl::Green(p)),
                                    static_cast<unsigned char>(OffscreenGl::Blue(p))};
      std::fwrite(rgb, 1, 3, out);
    }
  std::fclose(out);
  return 0;
}
