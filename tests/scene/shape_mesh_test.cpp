// Shape files: the byte layout, the refusals of files that lie about their length, and the
// display list as a real OpenGL context sees it.
#include <cstddef>

#include "scene/shape_mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "tests/scene/gl_feedback.h"
#include "tests/scene/scene_data.h"
#include "tests/support/offscreen_gl.h"

namespace {

void PutFloat(std::vector<uint8_t>& out, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  scene_data::Put32(out, bits);
}

// A shape file of the given vertices (three per triangle), count first.
std::vector<uint8_t> ShapeFile(const std::vector<ShapeVertex>& vertices, int32_t count) {
  std::vector<uint8_t> bytes;
  scene_data::Put32(bytes, static_cast<uint32_t>(count));
  for (const ShapeVertex& v : vertices) {
    for (float f : v.position) PutFloat(bytes, f);
    for (float f : v.normal) PutFloat(bytes, f);
    for (float f : v.texCoord) PutFloat(bytes, f);
  }
  return bytes;
}

// A triangle in the z = 0 plane facing +z, counter-clockwise seen from +z (or clockwise).
std::vector<ShapeVertex> Triangle(float x0, bool clockwise = false) {
  std::vector<ShapeVertex> v = {{{x0, 0, 0}, {0, 0, 1}, {0, 0}},
                                {{x0 + 0.5f, 0, 0}, {0, 0, 1}, {1, 0}},
                                {{x0, 0.5f, 0}, {0, 0, 1}, {0, 1}}};
  if (clockwise) std::swap(v[1], v[2]);
  return v;
}

std::vector<ShapeVertex> Concat(std::vector<ShapeVertex> a, const std::vector<ShapeVertex>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

bool Load(ShapeMesh& mesh, const std::vector<uint8_t>& bytes) { return mesh.Load(bytes.data(), bytes.size()); }

TEST(ShapeFileTest, TheLayoutRoundTrips) {
  const std::vector<ShapeVertex> vertices = Concat(Triangle(0), Triangle(-0.75f));
  const std::vector<uint8_t> bytes = ShapeFile(vertices, 2);
  ASSERT_EQ(bytes.size(), 4u + 2 * 96u);
  ShapeMesh mesh;
  ASSERT_TRUE(Load(mesh, bytes));
  EXPECT_EQ(mesh.triangleCount(), 2);
  EXPECT_FALSE(mesh.displayList()) << "nothing is compiled before the first draw";
  EXPECT_EQ(std::memcmp(mesh.vertices(), bytes.data() + 4, 2 * 96), 0) << "the triangles are copied unchanged";
  EXPECT_FLOAT_EQ(mesh.vertices()[4].position[0], -0.25f) << "second triangle, second vertex";
  EXPECT_FLOAT_EQ(mesh.vertices()[4].texCoord[0], 1.0f);
}

// Each refused file sits in a buffer of exactly its own length, so that a read past the end
// is caught by the address sanitizer; a refusal leaves the mesh empty.
TEST(ShapeFileTest, FilesThatDoNotHoldTheirTrianglesAreRefused) {
  const std::vector<ShapeVertex> one = Triangle(0);
  std::vector<uint8_t> truncated = ShapeFile(one, 1);
  truncated.pop_back();
  std::vector<uint8_t> countOnly(3, 0);
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
  } refused[] = {
      {"a negative count", ShapeFile(one, -1)},
      {"the most negative count", ShapeFile(one, INT32_MIN)},
      {"two triangles announced, one present", ShapeFile(one, 2)},
      {"the last byte missing", truncated},
      {"a count that would overflow 32-bit sizes", ShapeFile(one, 0x02aaaaab)},
      {"the largest count", ShapeFile(one, INT32_MAX)},
      {"shorter than the count", countOnly},
  };
  for (const auto& file : refused) {
    ShapeMesh mesh;
    ASSERT_TRUE(Load(mesh, ShapeFile(one, 1)));
    std::vector<uint8_t> exact(file.bytes);
    exact.shrink_to_fit();
    EXPECT_FALSE(mesh.Load(exact.data(), exact.size())) << file.what;
    EXPECT_EQ(mesh.triangleCount(), 0) << file.what;
    EXPECT_EQ(mesh.vertices(), nullptr) << file.what;
  }
  ShapeMesh mesh;
  EXPECT_FALSE(mesh.Load(nullptr, 0)) << "no bytes at all";
}

TEST(ShapeFileTest, TheShippedMoon) {
  const std::vector<uint8_t> bytes = scene_data::DataFile("phobos2.dat");
  ASSERT_EQ(bytes.size(), 211972u) << "data/phobos2.dat";
  ShapeMesh mesh;
  ASSERT_TRUE(Load(mesh, bytes));
  ASSERT_EQ(mesh.triangleCount(), 2208);
}

class ShapeDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok()) << "no off-screen OpenGL context";
    glViewport(0, 0, 100, 100);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
  }
  gl_feedback::Result Draw(ShapeMesh& mesh) {
    return gl_feedback::Capture([&] { EXPECT_TRUE(mesh.Draw()); });
  }
  OffscreenGl gl{100, 100};
};

TEST_F(ShapeDrawTest, AnEmptyMeshCompilesAnEmptyList) {
  ShapeMesh mesh;
  ASSERT_TRUE(Load(mesh, ShapeFile({}, 0)));
  EXPECT_EQ(Draw(mesh).values, 0u);
  ASSERT_TRUE(mesh.displayList());
  EXPECT_TRUE(glIsList(mesh.displayList().name()));
  EXPECT_EQ(Draw(mesh).values, 0u);
  ShapeMesh never;
  EXPECT_EQ(Draw(never).values, 0u) << "a mesh that was never loaded draws nothing either";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShapeDrawTest, TwoDrawsCompileOnceAndDrawTheSame) {
  ShapeMesh mesh;
  ASSERT_TRUE(Load(mesh, ShapeFile(Concat(Triangle(0), Triangle(-0.75f)), 2)));
  const gl_feedback::Result first = Draw(mesh);
  const GLuint list = mesh.displayList().name();
  ASSERT_NE(list, 0u);
  ASSERT_EQ(first.polygons.size(), 2u) << "the first draw draws while it compiles";
  const gl_feedback::Result second = Draw(mesh);
  EXPECT_EQ(mesh.displayList().name(), list) << "the second draw calls the same list";
  ASSERT_EQ(second.polygons.size(), 2u);
  for (size_t p = 0; p < 2; ++p)
    for (size_t k = 0; k < 3; ++k) {
      EXPECT_EQ(first.polygons[p].vertices[k].x, second.polygons[p].vertices[k].x);
      EXPECT_EQ(first.polygons[p].vertices[k].stpq[0], second.polygons[p].vertices[k].stpq[0]);
    }
  // No further list was taken: the next free name follows the mesh's.
  const GLuint next = glGenLists(1);
  EXPECT_EQ(next, list + 1);
  glDeleteLists(next, 1);
}

TEST_F(ShapeDrawTest, AReloadDeletesTheOldListAndTheNextDrawCompilesTheNewData) {
  ShapeMesh mesh;
  ASSERT_TRUE(Load(mesh, ShapeFile(Triangle(0), 1)));
  Draw(mesh);
  const GLuint old = mesh.displayList().name();
  ASSERT_TRUE(glIsList(old));
  ASSERT_TRUE(Load(mesh, ShapeFile(Concat(Triangle(0), Triangle(-0.75f)), 2)));
  EXPECT_FALSE(glIsList(old)) << "the old list is gone";
  EXPECT_FALSE(mesh.displayList());
  EXPECT_EQ(Draw(mesh).polygons.size(), 2u) << "the new data is drawn";
  mesh.Release();
  EXPECT_FALSE(mesh.displayList());
  EXPECT_EQ(mesh.triangleCount(), 0);
}

TEST_F(ShapeDrawTest, ClockwiseTrianglesAreCulled) {
  ShapeMesh mesh;
  ASSERT_TRUE(Load(mesh, ShapeFile(Concat(Triangle(0), Triangle(-0.75f, true)), 2)));
  const gl_feedback::Result result = Draw(mesh);
  ASSERT_EQ(result.polygons.size(), 1u) << "only the counter-clockwise triangle survives";
  EXPECT_GE(result.polygons[0].vertices[0].x, 50.0f) << "it is the one at x >= 0";
}

}  // namespace
