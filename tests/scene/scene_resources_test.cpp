// Loading the scene's resources from archives: the committed data folder, and copies of it
// with one member missing, damaged or replaced, each failure with its message.
#include <cstddef>

#include "scene/scene_resources.h"

#include <gtest/gtest.h>

#include <jpeglib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resources/image_reader.h"
#include "resources/resource_pak.h"
#include "scene/scene.h"
#include "tests/scene/scene_data.h"
#include "tests/support/fake_scene_host.h"
#include "tests/support/offscreen_gl.h"

namespace {

using scene_data::DataMembers;
using scene_data::Member;

// Every texture name in the order LoadSceneResources creates them.
std::vector<unsigned int> TexturesInLoadOrder(const SceneTextures& t) {
  std::vector<unsigned int> names(t.flareTextures, t.flareTextures + 10);
  names.push_back(t.atmosphereTexture);
  names.push_back(t.cloudShadowTexture);
  names.insert(names.end(), t.surfaceTextures, t.surfaceTextures + 4);
  names.push_back(t.moonTexture);
  return names;
}

class SceneResourcesTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl.ok()) << "no off-screen OpenGL context"; }

  void Load(const std::vector<Member>& members) {
    host.archive = scene_data::Zip(members);
    scene.host = &host;
    LoadSceneResources(scene);
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
  Load(members);
  ASSERT_TRUE(host.messages.empty()) << host.messages[0].text;
  EXPECT_EQ(host.quitRequests, 0);

  const std::vector<unsigned int> names = TexturesInLoadOrder(scene.textures);
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_NE(names[i], 0u) << "texture " << i;
    EXPECT_TRUE(glIsTexture(names[i])) << "texture " << i;
    for (size_t j = 0; j < i; ++j) EXPECT_NE(names[i], names[j]) << "textures " << j << " and " << i;
  }
  EXPECT_EQ(LevelParameter(scene.textures.surfaceTextures[2], 0, GL_TEXTURE_WIDTH), 1024);
  EXPECT_EQ(LevelParameter(scene.textures.surfaceTextures[2], 0, GL_TEXTURE_HEIGHT), 512);
  EXPECT_EQ(LevelParameter(scene.textures.flareTextures[5], 0, GL_TEXTURE_HEIGHT), 16) << "the streak";
  EXPECT_EQ(LevelParameter(scene.textures.atmosphereTexture, 0, GL_TEXTURE_WIDTH), 1024);
  EXPECT_EQ(LevelParameter(scene.textures.moonTexture, 1, GL_TEXTURE_WIDTH), 256) << "the moon has mipmaps";
  EXPECT_EQ(LevelParameter(scene.textures.moonTexture, 9, GL_TEXTURE_WIDTH), 1) << "down to one texel";

  EXPECT_EQ(TextureParameter(scene.textures.moonTexture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
  EXPECT_EQ(TextureParameter(scene.textures.moonTexture, GL_TEXTURE_WRAP_S), GL_REPEAT) << "the moon's s wraps";
  EXPECT_EQ(TextureParameter(scene.textures.atmosphereTexture, GL_TEXTURE_WRAP_S), GL_REPEAT);
  EXPECT_EQ(TextureParameter(scene.textures.surfaceTextures[0], GL_TEXTURE_MIN_FILTER), GL_LINEAR);
  // The quarters are clamped to their edge texels so that their seams stay invisible.
  EXPECT_EQ(TextureParameter(scene.textures.surfaceTextures[0], GL_TEXTURE_WRAP_S), 0x812F);
  EXPECT_EQ(TextureParameter(scene.textures.surfaceTextures[3], GL_TEXTURE_WRAP_T), 0x812F);

  EXPECT_EQ(scene.moon.triangleCount(), 2208);
  // 10 flares, the atmosphere, its inverted copy, 4 surfaces, the moon.
  EXPECT_EQ(scene.sceneBuffers.Count(), 17u);
  ReleaseSceneBuffers(scene);
  EXPECT_EQ(scene.sceneBuffers.Count(), 0u);
  ReleaseSceneBuffers(scene);  // a second release finds nothing to free
}

TEST_F(SceneResourcesTest, TheInnerShellGetsTheInvertedCloudMap) {
  Load(DataMembers());
  ASSERT_TRUE(host.messages.empty());
  // Decode atmos.jpg again and compare with what OpenGL holds for the inner shell.
  ResourcePak pak;
  ASSERT_TRUE(pak.Open(host.archive.data(), static_cast<int32_t>(host.archive.size())));
  Image atmos;
  ASSERT_EQ(ReadImage(&atmos, "atmos.jpg", pak), 1);
  const size_t pixels = static_cast<size_t>(atmos.width) * static_cast<size_t>(atmos.height);
  std::vector<uint8_t> held(pixels * 3);
  glBindTexture(GL_TEXTURE_2D, scene.textures.cloudShadowTexture);
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
  glBindTexture(GL_TEXTURE_2D, scene.textures.atmosphereTexture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, held.data());
  EXPECT_EQ(std::memcmp(held.data(), atmos.pixels.get(), pixels * 3), 0);
}

// One member taken out at a time: its message with the stop icon, one quit request, and
// nothing of the members after it (their textures stay uncreated).
class MissingMemberTest : public SceneResourcesTest, public testing::WithParamInterface<size_t> {};

TEST_P(MissingMemberTest, StopsAtTheMissingMember) {
  const std::vector<std::string> order = scene_data::SceneMembersInOrder();
  const size_t missing = GetParam();
  const std::string name = order[missing];
  Load(scene_data::Without(DataMembers(), name));

  ASSERT_EQ(host.messages.size(), 1u) << "without " << name;
  const bool shape = name == "phobos2.dat";
  EXPECT_EQ(host.messages[0].text, shape ? "Can't load 3D shape." : "Can't load pTexture.") << "without " << name;
  EXPECT_EQ(host.messages[0].icon, MessageIcon::Stop);
  EXPECT_EQ(host.quitRequests, 1);

  // Texture k of the load order comes from member k, except that the atmosphere makes two.
  const std::vector<unsigned int> names = TexturesInLoadOrder(scene.textures);
  auto memberOfTexture = [](size_t texture) { return texture <= 10 ? texture : texture - 1; };
  for (size_t t = 0; t < names.size(); ++t) {
    if (memberOfTexture(t) < missing)
      EXPECT_NE(names[t], 0u) << "texture " << t << " comes before " << name;
    else
      EXPECT_EQ(names[t], 0u) << "texture " << t << " was made although " << name << " failed before it";
  }
  EXPECT_EQ(scene.moon.triangleCount(), 0) << "the shape is read last";
}

INSTANTIATE_TEST_SUITE_P(EachMember, MissingMemberTest, testing::Range(size_t{0}, size_t{17}),
                         [](const testing::TestParamInfo<size_t>& param) {
                           std::string name = scene_data::SceneMembersInOrder()[param.param];
                           for (char& c : name)
                             if (c == '.') c = '_';
                           return name;
                         });

TEST_F(SceneResourcesTest, AnArchiveThatCannotBeOpenedIsReported) {
  scene.host = &host;  // no archive bytes: the host cannot open it
  LoadSceneResources(scene);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Can't open resource data file.");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::Stop);
  EXPECT_EQ(host.quitRequests, 1);
  for (unsigned int name : TexturesInLoadOrder(scene.textures)) EXPECT_EQ(name, 0u);

  Scene garbage;
  host.messages.clear();
  host.archive = {'P', 'K', 1, 2, 3};
  garbage.host = &host;
  LoadSceneResources(garbage);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Can't open resource data file.");
}

TEST_F(SceneResourcesTest, AnUndecodablePictureIsReportedLikeAMissingOne) {
  Load(scene_data::Replacing(DataMembers(), "surface2.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F'}));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Can't load pTexture.");
  EXPECT_NE(scene.textures.surfaceTextures[1], 0u);
  EXPECT_EQ(scene.textures.surfaceTextures[2], 0u);
  EXPECT_EQ(scene.textures.moonTexture, 0u);
}

TEST_F(SceneResourcesTest, ShapeFilesThatAreEmptyOrLieAboutTheirLengthAreRefused) {
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
  } shapes[] = {
      {"an empty member", {}},
      {"a negative count", {0xFF, 0xFF, 0xFF, 0xFF}},
      {"one triangle announced, none present", {1, 0, 0, 0}},
      {"two bytes", {0, 0}},
  };
  for (const auto& shape : shapes) {
    FakeSceneHost shapeHost;
    Scene shapeScene;
    shapeHost.archive = scene_data::Zip(scene_data::Replacing(DataMembers(), "phobos2.dat", shape.bytes));
    shapeScene.host = &shapeHost;
    LoadSceneResources(shapeScene);
    ASSERT_EQ(shapeHost.messages.size(), 1u) << shape.what;
    EXPECT_EQ(shapeHost.messages[0].text, "Can't load 3D shape.") << shape.what;
    EXPECT_EQ(shapeHost.messages[0].icon, MessageIcon::Stop) << shape.what;
    EXPECT_EQ(shapeHost.quitRequests, 1) << shape.what;
    EXPECT_NE(shapeScene.textures.moonTexture, 0u) << "every texture was loaded before: " << shape.what;
    EXPECT_EQ(shapeScene.moon.triangleCount(), 0) << shape.what;
  }
  // A shape of no triangles is a valid file: the moon is simply not drawn.
  Load(scene_data::Replacing(DataMembers(), "phobos2.dat", {0, 0, 0, 0}));
  EXPECT_TRUE(host.messages.empty());
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
  Load(scene_data::Replacing(DataMembers(), "flare1.jpg", picture));
  ASSERT_TRUE(host.messages.empty()) << host.messages[0].text;
  ResourcePak pak;
  ASSERT_TRUE(pak.Open(host.archive.data(), static_cast<int32_t>(host.archive.size())));
  Image decoded;
  ASSERT_EQ(ReadImage(&decoded, "flare1.jpg", pak), 1);
  ASSERT_EQ(decoded.width, 3);
  std::vector<uint8_t> held(3 * 5 * 3);
  glBindTexture(GL_TEXTURE_2D, scene.textures.flareTextures[0]);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, held.data());
  for (size_t k = 0; k < held.size(); ++k)
    ASSERT_EQ(held[k], decoded.pixels[k]) << "byte " << k << " (row " << k / 9 << ")";
}

}  // namespace
