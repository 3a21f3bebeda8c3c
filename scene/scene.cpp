#include "scene/scene.h"

#include "resources/resource_pak.h"
#include "scene/gl.h"
#include "scene/limb_glow.h"
#include "scene/picture_loader.h"
#include "scene/quadric_sphere.h"
#include "scene/star_field.h"

namespace {

// The near plane is the single-precision 0.01 the projection has always used.
constexpr double kNearPlane = static_cast<double>(0.01f);
constexpr double kFarPlane = 1000.0;
constexpr double kFieldOfView = 45.0;
constexpr double kSunRadius = 6.0;

void SetProjection(int width, int height) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfView, static_cast<double>(width) / static_cast<double>(height), kNearPlane, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
}

void SetFixedState() {
  glEnable(GL_TEXTURE_2D);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glShadeModel(GL_SMOOTH);
}

void SetUpLight() {
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  const GLfloat position[] = {1000.0f, 1000.0f, 1000.0f, 1.0f};
  const GLfloat direction[] = {-1.0f, -1.0f, -1.0f};
  // A negative ambient darkens the side of every body that faces away from the sun.
  const GLfloat ambient[] = {-0.19f, -0.19f, -0.18f, 1.0f};
  const GLfloat diffuse[] = {2.0f, 2.0f, 2.0f, 1.0f};
  glLightfv(GL_LIGHT0, GL_POSITION, position);
  glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, direction);
  glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
}

void SendSun() { SendQuadricSphere(kSunRadius, 24, 12, false); }

// With the context current, after the resources are loaded: every fixed list of the scene
// that is not yet compiled.
void CompileSceneLists(Scene& scene) {
  scene.sun.Compile(SendSun);
  scene.planet.Compile();
  PrepareStarField(scene.stars);
  scene.moon.Compile();
}

// The light sits at the sun in world space, so it is placed after the camera every frame.
// The sun itself is an unlit white sphere that writes no depth: every body drawn later
// covers it.
void DrawSunAndLight(GlList& sun) {
  const GLfloat position[] = {static_cast<GLfloat>(kSunPosition[0]), static_cast<GLfloat>(kSunPosition[1]),
                              static_cast<GLfloat>(kSunPosition[2]), 1.0f};
  const GLfloat direction[] = {-1.0f, -1.0f, -1.0f};
  glLightfv(GL_LIGHT0, GL_POSITION, position);
  glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, direction);

  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  glColor3f(1.0f, 1.0f, 1.0f);
  const GLfloat x = position[0], y = position[1], z = position[2];
  glTranslatef(x, y, z);
  sun.Draw(SendSun);
  glTranslatef(-x, -y, -z);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
}

}  // namespace

SunOccluders SunOccludersAt(const Scene& scene, double sceneTime) {
  BodyPlacement surface{{0.0, 0.0, 0.0}, kPlanetDegreesPerTime * sceneTime, 1.0};
  BodyPlacement moon{{0.0, 0.0, 0.0}, kMoonSpinDegreesPerTime * sceneTime, static_cast<double>(kMoonScale)};
  MoonPosition(sceneTime, moon.centre);
  return SunOccluders(scene.planet.planetMesh, surface, scene.moon.shape, moon);
}

SceneLoadResult LoadSceneResources(Scene& scene, SceneHost& host) {
  ResourcePak pak;
  if (!host.OpenArchive(pak)) return SceneLoadResult::Fail(SceneLoadError::ArchiveUnreadable, pak.LastResult().reason());
  // The decoded rows are tightly packed; OpenGL's default would pad them to 4 bytes.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  PictureLoader loader(pak, scene.sceneBuffers);
  SceneLoadResult result = scene.flares.Load(loader);
  if (result) result = scene.planet.Load(loader);
  if (result) result = scene.moon.Load(loader);
  pak.Close();
  return result;
}

SceneLoadResult InitScene(Scene& scene, SceneHost& host, const SceneOptions& options, int width, int height) {
  scene.options = options;

  SceneLoadResult loaded = LoadSceneResources(scene, host);
  const SceneLoadResult stars = LoadStarCatalogue(scene.stars, host, scene.sceneBuffers);
  if (loaded) loaded = stars;
  CompileSceneLists(scene);

  SetFixedState();

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glHint(GL_POINT_SMOOTH_HINT, GL_FASTEST);
  glHint(GL_FOG_HINT, GL_FASTEST);
  SetProjection(width, height > 0 ? height : 1);

  SetUpLight();

  static_cast<SceneView&>(scene) = StartView(scene.options, host.TickCount());
  return loaded;
}

SceneView StartView(const SceneOptions& options, uint32_t seed) {
  SceneView view;
  if (options.randomStart != 0) view.sceneTime = RandomStartTime(seed);
  return view;
}

void ResizeScene(Scene&, int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  SetProjection(width, height);
}

void AdvanceScene(Scene& scene, SceneView& view, double seconds) {
  const double frames = view.clock.FramesUntil(seconds);
  view.sceneTime += frames * SceneTimeStep(scene.options.animationSpeed);
  AdvanceCameraTour(scene.options.cameraTour, frames, view.sceneTime, view.tour, view.camera);
}

void DrawFrame(Scene& scene, SceneView& view, double seconds) {
  AdvanceScene(scene, view, seconds);
  glLoadIdentity();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  view.camera.Apply();

  DrawStarField(scene.stars);
  DrawSunAndLight(scene.sun);

  // The planet and the moon share one pushed matrix: the planet spins about its axis (z).
  glPushMatrix();
  glRotated(kPlanetDegreesPerTime * view.sceneTime, 0.0, 0.0, 1.0);
  const FlarePicture* pictures = scene.flares.pictures;
  DrawPlanet(scene.planet, pictures[kLimbMask], view.sceneTime);
  glRotated(-kPlanetDegreesPerTime * view.sceneTime, 0.0, 0.0, 1.0);
  const double planetCentre[3] = {0.0, 0.0, 0.0};
  DrawLimbGlare(pictures[kLimbGlow], pictures[kLimbCrescent], planetCentre, 1.0, kSunPosition);
  DrawMoon(scene.moon, view.sceneTime);
  glPopMatrix();

  // Last, over everything: the flare, as far as the planet and the moon leave the sun in view.
  DrawLensFlares(scene.flares, kSunPosition, SunOccludersAt(scene, view.sceneTime));
}

void ReleaseSceneGLObjects(Scene& scene) {
  scene.flares.Release();
  scene.planet.Release();
  scene.moon.Release();
  scene.stars.Release();
  scene.sun.Release();
}

void ReleaseSceneBuffers(Scene& scene) {
  scene.stars.ForgetRecords();
  scene.sceneBuffers.Release();
}
