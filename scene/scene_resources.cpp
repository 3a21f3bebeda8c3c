#include "scene/scene_resources.h"

#include "resources/resource_pak.h"
#include "scene/gl.h"
#include "scene/picture_loader.h"
#include "scene/scene.h"

SceneLoadResult LoadSceneResources(Scene& scene, SceneHost& host) {
  ResourcePak pak;
  if (!host.OpenArchive(pak)) return SceneLoadResult::Fail(SceneLoadError::ArchiveUnreadable, pak.LastError());
  // The decoded rows are tightly packed; OpenGL's default would pad them to 4 bytes.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  PictureLoader loader(pak, scene.sceneBuffers);
  SceneLoadResult result = scene.flares.Load(loader);
  if (result) result = scene.planet.Load(loader);
  if (result) result = scene.moon.Load(loader);
  pak.Close();
  return result;
}

void ReleaseSceneBuffers(Scene& scene) {
  scene.stars.ForgetRecords();
  scene.sceneBuffers.Release();
}
