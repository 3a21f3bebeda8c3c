// The scene with the committed data off screen: the fixed geometry is compiled once at the
// start and only replayed by the frames; the replayed lists and the flare covers draw the
// picture that direct drawing of whole squares draws, within rounding; and the release
// deletes exactly the scene's own OpenGL objects, while its context is current.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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
    InitScene(scene, host, options, gl.width(), gl.height());
    ResizeScene(scene, gl.width(), gl.height());
    ASSERT_TRUE(host.messages.empty()) << host.messages[0].text;
  }

  // Display lists among the first names: unchanged while nothing is compiled.
  static int ListCount() {
    int count = 0;
    for (GLuint name = 1; name < 1000; ++name) count += glIsList(name) ? 1 : 0;
    return count;
  }

  std::vector<uint32_t> FrameAt(double sceneTime) {
    scene.sceneTime = sceneTime;
    DrawFrame(scene);
    return gl.pixels();
  }

  OffscreenGl gl{512, 384};
  FakeSceneHost host;
  Scene scene;
};

TEST_F(SceneListsTest, FixedGeometryIsCompiledAtTheStartAndOnlyReplayed) {
  for (unsigned int list : {scene.lists.sun, scene.lists.innerShell, scene.lists.outerShell, scene.lists.surface,
                            scene.stars.starList, static_cast<unsigned int>(scene.moon.displayList())})
    EXPECT_TRUE(glIsList(list)) << "list " << list << " compiled by InitScene";
  EXPECT_EQ(scene.textures.flareCovers[5], 0u) << "the streak is lit almost everywhere: drawn whole";
  EXPECT_TRUE(glIsList(scene.textures.flareCovers[kLimbGlow]));
  const int lists = ListCount();
  FrameAt(1125.0);
  FrameAt(28700.0);
  EXPECT_EQ(ListCount(), lists) << "frames compile nothing";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneListsTest, ListsAndCoversDrawThePictureThatDirectDrawingDraws) {
  // The sun in view above the limb, at two positions; the sun behind the planet (the limb
  // glow and the mask only); the orbit's ordinary frame.
  const SceneLists lists = scene.lists;
  const SceneTextures textures = scene.textures;
  for (double sceneTime : {1125.0, 1137.0, 2145.0, 28700.0}) {
    scene.lists = lists;
    scene.textures = textures;
    FrameAt(sceneTime);  // the very first frame lacks the shells' specular material
    const std::vector<uint32_t> replayed = FrameAt(sceneTime);
    pictures::Save(gl, "lists_" + std::to_string(static_cast<int>(sceneTime)));
    scene.lists = SceneLists{};
    std::fill(std::begin(scene.textures.flareCovers), std::end(scene.textures.flareCovers), 0u);
    const std::vector<uint32_t> direct = FrameAt(sceneTime);
    pictures::Save(gl, "direct_" + std::to_string(static_cast<int>(sceneTime)));

    int largest = 0, beyondOne = 0, bright = 0;
    for (size_t k = 0; k < direct.size(); ++k) {
      int difference = 0;
      for (int shift : {0, 8, 16}) {
        difference = std::max(difference, std::abs(static_cast<int>((replayed[k] >> shift) & 0xffu) -
                                                   static_cast<int>((direct[k] >> shift) & 0xffu)));
      }
      largest = std::max(largest, difference);
      beyondOne += difference > 1;
      bright += OffscreenGl::Red(direct[k]) > 60;
    }
    // Each draw that leaves out its picture's single-level noise may lose one level; a
    // pixel under two such draws two.
    EXPECT_LE(largest, 2) << "SceneTime " << sceneTime;
    EXPECT_LT(beyondOne, static_cast<int>(direct.size() / 1000)) << "SceneTime " << sceneTime;
    EXPECT_GT(bright, static_cast<int>(direct.size() / 500)) << "a picture worth comparing at " << sceneTime;
  }
  scene.lists = lists;
  scene.textures = textures;
}

TEST_F(SceneListsTest, ReleaseDeletesExactlyTheScenesObjects) {
  GLuint hostTexture = 0;
  glGenTextures(1, &hostTexture);
  glBindTexture(GL_TEXTURE_2D, hostTexture);
  const GLuint hostList = glGenLists(1);
  glNewList(hostList, GL_COMPILE);
  glEndList();
  FrameAt(1125.0);

  std::vector<GLuint> textures(std::begin(scene.textures.flareTextures), std::end(scene.textures.flareTextures));
  textures.insert(textures.end(), std::begin(scene.textures.surfaceTextures), std::end(scene.textures.surfaceTextures));
  for (GLuint name : {scene.textures.atmosphereTexture, scene.textures.cloudShadowTexture, scene.textures.moonTexture})
    textures.push_back(name);
  std::vector<GLuint> lists{scene.lists.sun, scene.lists.innerShell, scene.lists.outerShell, scene.lists.surface,
                            scene.stars.starList, static_cast<GLuint>(scene.moon.displayList())};
  for (GLuint cover : scene.textures.flareCovers)
    if (cover != 0) lists.push_back(cover);

  ReleaseSceneGLObjects(scene);
  for (GLuint name : textures) EXPECT_FALSE(glIsTexture(name)) << "texture " << name;
  for (GLuint name : lists) EXPECT_FALSE(glIsList(name)) << "list " << name;
  EXPECT_EQ(scene.textures.moonTexture, 0u);
  EXPECT_EQ(scene.lists.surface, 0u);
  EXPECT_EQ(scene.stars.starList, 0u);
  EXPECT_EQ(scene.moon.displayList(), -1);
  ReleaseSceneGLObjects(scene);  // nothing left to delete
  EXPECT_TRUE(glIsTexture(hostTexture)) << "not the scene's";
  EXPECT_TRUE(glIsList(hostList)) << "not the scene's";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
