// Loading the scene's resources from archives: the committed data folder, and copies of it
// with one member missing, damaged or replaced, each failure with its message.
#include <cstddef>

#include "scene/scene.h"

#include <gtest/gtest.h>

#include <jpeglib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resources/image_reader.h"
#include "resources/resource_pak.h"
#include "tests/scene/scene_data.h"
#include "tests/support/fake_scene_host.h"
#include "tests/support/offscreen_gl.h"

namespace {

using scene_data::DataMembers;
using scene_data::Member;

// Every texture name in the order LoadSceneResources creates them.
std::vector<unsigned int> TexturesInLoadOrder(const Scene& scene) {
  std::vector<unsigned int> names;
  for (const FlarePicture& picture : scene.flares.pictures) names.push_back(picture.texture.name());
  names.push_back(scene.planet.atmosphereTexture.name());
  names.push_back(scene.planet.cloudShadowTexture.name());
  for (const GlTexture& texture : scene.planet.surfaceTextures) names.push_back(texture.name());
  names.push_back(scene.moon.texture.name());
  return names;
}

class SceneResourcesTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl.ok()) << "no off-screen OpenGL context"; }

  SceneLoadResult Load(const std::vector<Member>& members) {
    host.archive = scene_data::Zip(members);
    return LoadSceneResources(scene, host);
  }

  static GLint TextureParameter(unsigned int texture, GLenum parameter) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
  }
  static GLint LevelParameter(unsigned int texture, GLint level, GLenum parameter) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
    return value;
  }

  OffscreenGl gl{64, 64};
  FakeSceneHost host;
  Scene scene;
};

TEST_F(SceneResourcesTest, TheDataFolderLoadsEveryTextureAndTheMoon) {
  const std::vector<Member> members = DataMembers();
  ASSERT_GE(members.size(), 17u) << "data folder " << TELLARO_DATA_DIR;
  const SceneLoadResult loaded = Load(members);
  ASSERT_TRUE(loaded.ok()) << loaded.reason();

  const std::vector<unsigned int> names = TexturesInLoadOrder(scene);
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_NE(names[i], 0u) << "texture " << i;
    EXPECT_TRUE(glIsTexture(names[i])) << "texture " << i;
    for (size_t j = 0; j < i; ++j) EXPECT_NE(names[i], names[j]) << "textures " << j << " and " << i;
  }
  EXPECT_EQ(LevelParameter(scene.planet.surfaceTextures[2].name(), 0, GL_TEXTURE_WIDTH), 1024);
  EXPECT_EQ(LevelParameter(scene.planet.surfaceTextures[2].name(), 0, GL_TEXTURE_HEIGHT), 512);
  EXPECT_EQ(LevelParameter(scene.flares.pictures[5].texture.name(), 0, GL_TEXTURE_HEIGHT), 16) << "the streak";
  EXPECT_EQ(LevelParameter(scene.planet.atmosphereTexture.name(), 0, GL_TEXTURE_WIDTH), 1024);
  EXPECT_EQ(LevelParameter(scene.moon.texture.name(), 1, GL_TEXTURE_WIDTH), 256) << "the moon has mipmaps";
  EXPECT_EQ(LevelParameter(scene.moon.texture.name(), 9, GL_TEXTURE_WIDTH), 1) << "down to one texel";

  EXPECT_EQ(TextureParameter(scene.moon.texture.name(), GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
  EXPECT_EQ(TextureParameter(scene.moon.texture.name(), GL_TEXTURE_WRAP_S), GL_REPEAT) << "the moon's s wraps";
  EXPECT_EQ(TextureParameter(scene.planet.atmosphereTexture.name(), GL_TEXTURE_WRAP_S), GL_REPEAT);
  EXPECT_EQ(TextureParameter(scene.planet.surfaceTextures[0].name(), GL_TEXTURE_MIN_FILTER), GL_LINEAR);
  // The quarters are clamped to their edge texels so that their seams stay invisible.
  EXPECT_EQ(TextureParameter(scene.planet.surfaceTextures[0].name(), GL_TEXTURE_WRAP_S), 0x812F);
  EXPECT_EQ(TextureParameter(scene.planet.surfaceTextures[3].name(), GL_TEXTURE_WRAP_T), 0x812F);

  EXPECT_EQ(scene.moon.shape.triangleCount(), 2208);
  // 10 flares, the atmosphere, its inverted copy, 4 surfaces, the moon.
  EXPECT_EQ(scene.sceneBuffers.Count(), 17u);
  ReleaseSceneBuffers(scene);
  EXPECT_EQ(scene.sceneBuffers.Count(), 0u);
  ReleaseSceneBuffers(scene);  // a second release finds nothing to free
}

TEST_F(SceneResourcesTest, TheInnerShellGetsTheInvertedCloudMap) {
  ASSERT_TRUE(Load(DataMembers()).ok());
  // Decode atmos.jpg again and compare with what OpenGL holds for the inner shell.
  ResourcePak pak;
  ASSERT_TRUE(pak.Open(host.archive.data(), static_cast<int32_t>(host.archive.size())));
  Image atmos;
  ASSERT_TRUE(ReadImage(&atmos, "atmos.jpg", pak));
  const size_t pixels = static_cast<size_t>(atmos.width) * static_cast<size_t>(atmos.height);
  std::vector<uint8_t> held(pixels * 3);
  scene.planet.cloudShadowTexture.Bind();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, held.data());
  size_t wrong = 0, first = pixels;
  for (size_t k = 0; k < pixels; ++k) {
    const uint8_t* p = atmos.pixels.get() + 3 * k;
    const int expected = 255 - (p[0] + p[1] + p[2]) / 3;
    if (held[3 * k] != expected || held[3 * k + 1] != expected || held[3 * k + 2] != expected) {
      if (wrong++ == 0) first = k;
    }
  }
  EXPECT_EQ(wrong, 0u) << "first wrong pixel " << first;
  // And the outer shell holds the picture itself, row 0 first.
  scene.planet.atmosphereTexture.Bind();
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, held.data());
  EXPECT_EQ(std::memcmp(held.data(), atmos.pixels.get(), pixels * 3), 0);
}

// A broken archive stops the load at its first bad part: its failure, whose notice bears the
// stop icon, with the archive's or the decoder's reason, and no texture made from that part
// on (the shape is read last).
struct Broken {
  std::string name;
  std::string member;               // taken out, or replaced by `bytes` when `replace`
  bool replace;
  std::vector<uint8_t> bytes;       // the whole archive when `member` is empty
  std::string message;
  size_t firstUnmade;               // in TexturesInLoadOrder
};

std::vector<Broken> BrokenArchives() {
  const std::string texture = "Can't load pTexture.", shape = "Can't load 3D shape.";
  const std::string open = "Can't open resource data file.";
  std::vector<Broken> cases = {
      {"NoArchive", "", false, {}, open, 0},
      {"NotAZip", "", false, {'P', 'K', 1, 2, 3}, open, 0},
      {"UndecodableSurface2", "surface2.jpg", true, {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F'}, texture, 14},
      {"EmptyShape", "phobos2.dat", true, {}, shape, 17},
      {"NegativeShapeCount", "phobos2.dat", true, {0xFF, 0xFF, 0xFF, 0xFF}, shape, 17},
      {"ShapeCountBeyondItsBytes", "phobos2.dat", true, {1, 0, 0, 0}, shape, 17},
      {"ShapeOfTwoBytes", "phobos2.dat", true, {0, 0}, shape, 17},
  };
  // Member k missing: texture k of the load order is the first not made, except that the
  // atmosphere (member 10) makes two.
  const std::vector<std::string> order = scene_data::SceneMembersInOrder();
  for (size_t k = 0; k < order.size(); ++k) {
    std::string name = "Without_" + order[k];
    for (char& c : name)
      if (c == '.') c = '_';
    cases.push_back({name, order[k], false, {}, order[k] == "phobos2.dat" ? shape : texture, k <= 10 ? k : k + 1});
  }
  return cases;
}

class BrokenArchiveTest : public SceneResourcesTest, public testing::WithParamInterface<Broken> {};

TEST_P(BrokenArchiveTest, StopsAtTheFirstBadPart) {
  const Broken& broken = GetParam();
  SceneLoadResult loaded;
  if (broken.member.empty()) {
    host.archive = broken.bytes;
    loaded = LoadSceneResources(scene, host);
  } else {
    loaded = Load(broken.replace ? scene_data::Replacing(DataMembers(), broken.member, broken.bytes)
                                 : scene_data::Without(DataMembers(), broken.member));
  }
  ASSERT_FALSE(loaded.ok());
  EXPECT_EQ(NoticeOf(loaded.code()).text, broken.message);
  EXPECT_TRUE(NoticeOf(loaded.code()).stopIcon);
  EXPECT_FALSE(loaded.reason().empty()) << "the archive's or the decoder's reason travels along";
  const std::vector<unsigned int> names = TexturesInLoadOrder(scene);
  for (size_t t = 0; t < names.size(); ++t)
    EXPECT_EQ(names[t] != 0u, t < broken.firstUnmade) << "texture " << t;
  EXPECT_EQ(scene.moon.shape.triangleCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Each, BrokenArchiveTest, testing::ValuesIn(BrokenArchives()),
                         [](const testing::TestParamInfo<Broken>& param) { return param.param.name; });

TEST_F(SceneResourcesTest, AShapeOfNoTrianglesIsValid) {
  EXPECT_TRUE(Load(scene_data::Replacing(DataMembers(), "phobos2.dat", {0, 0, 0, 0})).ok());
}

// A small JPEG picture made with libjpeg.
std::vector<uint8_t> EncodeJpeg(int width, int height) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  for (size_t k = 0; k < rgb.size(); ++k) rgb[k] = static_cast<uint8_t>((k * 37) % 251);
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = rgb.data() + static_cast<size_t>(info.next_scanline) * static_cast<size_t>(width) * 3;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&info);
  std::free(out);
  return bytes;
}

TEST_F(SceneResourcesTest, PicturesOfOddWidthsArriveRowByRow) {
  // Decoded rows are tightly packed: 3 pixels make 9 bytes, not OpenGL's default 12.
  const std::vector<uint8_t> picture = EncodeJpeg(3, 5);
  const SceneLoadResult loaded = Load(scene_data::Replacing(DataMembers(), "flare1.jpg", picture));
  ASSERT_TRUE(loaded.ok()) << loaded.reason();
  ResourcePak pak;
  ASSERT_TRUE(pak.Open(host.archive.data(), static_cast<int32_t>(host.archive.size())));
  Image decoded;
  ASSERT_TRUE(ReadImage(&decoded, "flare1.jpg", pak));
  ASSERT_EQ(decoded.width, 3);
  std::vector<uint8_t> held(3 * 5 * 3);
  scene.flares.pictures[0].texture.Bind();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, held.data());
  for (size_t k = 0; k < held.size(); ++k)
    ASSERT_EQ(held[k], decoded.pixels[k]) << "byte " << k << " (row " << k / 9 << ")";
}

}  // namespace
