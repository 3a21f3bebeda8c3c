// The scene with the committed data off screen: the fixed geometry is compiled once at the
// start and only replayed by the frames; the replayed lists and the flare covers draw the
// picture that direct drawing of whole squares draws, within rounding; and the release
// deletes exactly the scene's own OpenGL objects, while its context is current.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "scene/gl.h"
#include "scene/scene.h"
#include "tests/scene/pictures.h"
#include "tests/scene/scene_data.h"
#include "tests/support/fake_scene_host.h"
#include "tests/support/offscreen_gl.h"

namespace {

class SceneListsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok()) << "no off-screen OpenGL context";
    host.archive = scene_data::Zip(scene_data::DataMembers());
    SceneOptions options;
    options.cameraTour = kTourOrbit;
    options.randomStart = 0;
    const SceneLoadResult loaded = InitScene(scene, host, options, gl.width(), gl.height());
    ResizeScene(scene, gl.width(), gl.height());
    ASSERT_TRUE(loaded.ok()) << loaded.reason();
  }

  // The fixed geometry's lists: the sun's, the cloud shells' and the surface's.
  std::vector<GlList*> FixedLists() {
    return {&scene.sun, &scene.planet.innerShell, &scene.planet.outerShell, &scene.planet.surface};
  }

  // Display lists among the first names: unchanged while nothing is compiled.
  static int ListCount() {
    int count = 0;
    for (GLuint name = 1; name < 1000; ++name) count += glIsList(name) ? 1 : 0;
    return count;
  }

  std::vector<uint32_t> FrameAt(double sceneTime) {
    scene.sceneTime = sceneTime;
    DrawFrame(scene, 0.0);  // all at one moment: the frame shows the time set
    return gl.pixels();
  }

  OffscreenGl gl{512, 384};
  FakeSceneHost host;
  Scene scene;
};

TEST_F(SceneListsTest, FixedGeometryIsCompiledAtTheStartAndOnlyReplayed) {
  for (const GlList* list : FixedLists())
    EXPECT_TRUE(glIsList(list->name())) << "list " << list->name() << " compiled by InitScene";
  EXPECT_TRUE(glIsList(scene.moon.shape.displayList().name()));
  EXPECT_FALSE(scene.flares.pictures[5].cover) << "the streak is lit almost everywhere: drawn whole";
  EXPECT_TRUE(glIsList(scene.flares.pictures[kLimbGlow].cover.name()));
  const int lists = ListCount();
  FrameAt(1125.0);
  FrameAt(28700.0);
  EXPECT_EQ(ListCount(), lists) << "frames compile nothing";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneListsTest, ListsAndCoversDrawThePictureThatDirectDrawingDraws) {
  // The sun in view above the limb, at two positions; the sun behind the planet (the limb
  // glow and the mask only); the orbit's ordinary frame.
  const double times[] = {1125.0, 1137.0, 2145.0, 28700.0};
  std::vector<std::vector<uint32_t>> replayed;
  for (double sceneTime : times) {
    FrameAt(sceneTime);  // the very first frame lacks the shells' specular material
    replayed.push_back(FrameAt(sceneTime));
    pictures::Save(gl, "lists_" + std::to_string(static_cast<int>(sceneTime)));
  }
  // Without its cover a flare picture is drawn as its whole square; a body without its list
  // compiles it again while drawing, which draws what direct calls draw.
  for (FlarePicture& picture : scene.flares.pictures) picture.cover.Release();
  for (size_t t = 0; t < std::size(times); ++t) {
    for (GlList* list : FixedLists()) list->Release();
    const std::vector<uint32_t> direct = FrameAt(times[t]);
    pictures::Save(gl, "direct_" + std::to_string(static_cast<int>(times[t])));

    int largest = 0, beyondOne = 0, bright = 0;
    for (size_t k = 0; k < direct.size(); ++k) {
      int difference = 0;
      for (int shift : {0, 8, 16}) {
        difference = std::max(difference, std::abs(static_cast<int>((replayed[t][k] >> shift) & 0xffu) -
                                                   static_cast<int>((direct[k] >> shift) & 0xffu)));
      }
      largest = std::max(largest, difference);
      beyondOne += difference > 1;
      bright += OffscreenGl::Red(direct[k]) > 60;
    }
    // Each draw that leaves out its picture's single-level noise may lose one level; a
    // pixel under two such draws two.
    EXPECT_LE(largest, 2) << "SceneTime " << times[t];
    EXPECT_LT(beyondOne, static_cast<int>(direct.size() / 1000)) << "SceneTime " << times[t];
    EXPECT_GT(bright, static_cast<int>(direct.size() / 500)) << "a picture worth comparing at " << times[t];
  }
}

TEST_F(SceneListsTest, ReleaseDeletesExactlyTheScenesObjects) {
  GLuint hostTexture = 0;
  glGenTextures(1, &hostTexture);
  glBindTexture(GL_TEXTURE_2D, hostTexture);
  const GLuint hostList = glGenLists(1);
  glNewList(hostList, GL_COMPILE);
  glEndList();
  FrameAt(1125.0);

  std::vector<const GlTexture*> textures{&scene.planet.atmosphereTexture, &scene.planet.cloudShadowTexture,
                                         &scene.moon.texture};
  for (const GlTexture& texture : scene.planet.surfaceTextures) textures.push_back(&texture);
  std::vector<const GlList*> lists{&scene.moon.shape.displayList()};
  for (const GlList* list : FixedLists()) lists.push_back(list);
  for (const FlarePicture& picture : scene.flares.pictures) {
    textures.push_back(&picture.texture);
    if (picture.cover) lists.push_back(&picture.cover);
  }
  std::vector<GLuint> textureNames, listNames;
  for (const GlTexture* texture : textures) textureNames.push_back(texture->name());
  for (const GlList* list : lists) listNames.push_back(list->name());

  ReleaseSceneGLObjects(scene);
  for (GLuint name : textureNames) EXPECT_FALSE(glIsTexture(name)) << "texture " << name;
  for (GLuint name : listNames) EXPECT_FALSE(glIsList(name)) << "list " << name;
  for (const GlTexture* texture : textures) EXPECT_FALSE(*texture) << "a handle still names a deleted texture";
  for (const GlList* list : lists) EXPECT_FALSE(*list) << "a handle still names a deleted list";
  ReleaseSceneGLObjects(scene);  // nothing left to delete
  EXPECT_TRUE(glIsTexture(hostTexture)) << "not the scene's";
  EXPECT_TRUE(glIsList(hostList)) << "not the scene's";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
