// The owners of the scene's OpenGL objects: a handle hands its object on when moved and
// deletes it once on Release; released, moved from or destroyed it makes no OpenGL call, so
// it never touches another context's object of the same name.
#include "scene/gl_objects.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "scene/gl.h"
#include "tests/support/offscreen_gl.h"

namespace {

GlList CompiledList() {
  GlList list;
  list.Compile([] {});
  return list;
}

TEST(GlObjectsTest, AMovedHandleOwnsTheObjectAndReleasesItOnce) {
  OffscreenGl gl(8, 8);
  ASSERT_TRUE(gl.ok());
  GlTexture texture = GlTexture::Create();
  const GLuint textureName = texture.name();
  ASSERT_TRUE(glIsTexture(textureName));
  GlTexture moved(std::move(texture));
  EXPECT_FALSE(texture);
  texture.Release();
  EXPECT_TRUE(glIsTexture(textureName)) << "the moved-from handle deleted its successor's texture";
  GlTexture assigned;
  assigned = std::move(moved);
  assigned.Release();
  EXPECT_FALSE(glIsTexture(textureName));
  EXPECT_FALSE(assigned);

  GlList list = CompiledList();
  const GLuint listName = list.name();
  ASSERT_TRUE(glIsList(listName));
  GlList other = CompiledList();
  const GLuint otherName = other.name();
  other = std::move(list);  // takes the first list over, deleting its own
  EXPECT_FALSE(glIsList(otherName));
  EXPECT_TRUE(glIsList(listName));
  other.Release();
  EXPECT_FALSE(glIsList(listName));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GlObjectsTest, AfterReleaseOrWithoutOneNoCallReachesAnotherContext) {
  OffscreenGl first(8, 8);
  ASSERT_TRUE(first.ok());
  GlTexture released = GlTexture::Create();
  GlList releasedList = CompiledList();
  auto kept = std::make_unique<GlTexture>(GlTexture::Create());
  released.Release();
  releasedList.Release();

  // A second context whose own objects carry the same names.
  OffscreenGl second(8, 8);
  ASSERT_TRUE(second.ok());
  GLuint names[2] = {0, 0};
  glGenTextures(2, names);
  for (GLuint name : names) glBindTexture(GL_TEXTURE_2D, name);
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glEndList();
  ASSERT_EQ(names[1], kept->name()) << "the contexts number their objects alike";
  ASSERT_EQ(list, 1u);

  released.Release();
  releasedList.Release();
  kept.reset();  // never released: it goes with the first context
  EXPECT_TRUE(glIsTexture(names[0]) && glIsTexture(names[1]));
  EXPECT_TRUE(glIsList(list));
}

}  // namespace
