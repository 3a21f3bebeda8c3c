// The planet's quarter grid: its points, its storage, and what its four passes hand to a
// real OpenGL context (feedback mode and pixels of an off-screen context).
#include <cstddef>

#include "scene/sphere_mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <array>
#include <set>
#include <tuple>

#include "tests/scene/gl_feedback.h"
#include "tests/support/offscreen_gl.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void ExpectPoint(const SphereVertex& v, double x, double y, double z, double s, double t, const char* what) {
  SCOPED_TRACE(what);
  EXPECT_NEAR(v.x, x, 1e-12);
  EXPECT_NEAR(v.y, y, 1e-12);
  EXPECT_NEAR(v.z, z, 1e-12);
  EXPECT_NEAR(v.nx, x, 1e-12) << "a unit sphere's normal is its position";
  EXPECT_NEAR(v.ny, y, 1e-12);
  EXPECT_NEAR(v.nz, z, 1e-12);
  EXPECT_NEAR(v.s, s, 1e-12);
  EXPECT_NEAR(v.t, t, 1e-12);
}

TEST(SphereMeshGridTest, PointsOfThePlanetGrid) {
  SphereMesh mesh;
  ASSERT_TRUE(mesh.Build(1.0, 31, 21));
  EXPECT_EQ(mesh.columns(), 31);
  EXPECT_EQ(mesh.rows(), 21);
  ExpectPoint(mesh.At(0, 0), 0, -1, 0, 0, 0, "element 0: the -y side of the equator");
  ExpectPoint(mesh.At(0, 15), 1, 0, 0, 0.5, 0, "element 15: the middle column passes through +x");
  ExpectPoint(mesh.At(0, 30), 0, 1, 0, 1, 0, "element 30: the +y side");
  ExpectPoint(mesh.At(20, 15), 0, 0, 1, 0.5, 1, "element 20*31+15: the pole");
  // Every point of the top row sits on the pole but keeps its own s.
  for (int i = 0; i < 31; ++i) {
    EXPECT_NEAR(mesh.At(20, i).z, 1.0, 1e-12) << "column " << i;
    EXPECT_NEAR(mesh.At(20, i).s, i / 30.0, 1e-12) << "column " << i;
  }
}

TEST(SphereMeshGridTest, StorageIsReusedWhenLargeEnoughAndReplacedOtherwise) {
  SphereMesh mesh;
  ASSERT_TRUE(mesh.Build(1.0, 31, 21));
  EXPECT_EQ(mesh.capacity(), 651u);
  ASSERT_TRUE(mesh.Build(1.0, 10, 10));
  EXPECT_EQ(mesh.capacity(), 651u) << "a smaller grid keeps the old array";
  EXPECT_EQ(mesh.columns(), 10);
  ExpectPoint(mesh.At(9, 4), 0, 0, 1, 4 / 9.0, 1, "the 10 x 10 grid is filled anew");
  ExpectPoint(mesh.At(0, 9), 0, 1, 0, 1, 0, "the 10 x 10 grid is filled anew");
  ASSERT_TRUE(mesh.Build(1.0, 40, 40));
  EXPECT_EQ(mesh.capacity(), 1600u) << "a larger grid replaces the array";
  ExpectPoint(mesh.At(39, 39), 0, 0, 1, 1, 1, "the far corner of the new array");
}

// An orthographic view of the box [-2, 2]^3 onto 200 x 200 pixels: window x = 50 (x + 2),
// window depth = (2 - z) / 4, so window coordinates give back world positions.
class SphereMeshDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl.ok()) << "no off-screen OpenGL context";
    glViewport(0, 0, 200, 200);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -2, 2, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
  }

  static double WorldX(const gl_feedback::Vertex& v) { return v.x / 50.0 - 2.0; }
  static double WorldY(const gl_feedback::Vertex& v) { return v.y / 50.0 - 2.0; }
  static double WorldZ(const gl_feedback::Vertex& v) { return 2.0 - 4.0 * v.z; }

  // Polygons the rasteriser receives for one GL_QUADS quad (implementations split them).
  static size_t PolygonsPerQuad() {
    const gl_feedback::Result one = gl_feedback::Capture([] {
      glBegin(GL_QUADS);
      glVertex2d(0, 0);
      glVertex2d(1, 0);
      glVertex2d(1, 1);
      glVertex2d(0, 1);
      glEnd();
    });
    return one.polygons.size();
  }

  gl_feedback::Result Draw(const SphereMesh& mesh, bool* drew = nullptr) {
    return gl_feedback::Capture([&] {
      const bool result = mesh.Draw(kNoTextures);
      if (drew) *drew = result;
    });
  }

  static constexpr unsigned int kNoTextures[4] = {0, 0, 0, 0};
  OffscreenGl gl{200, 200};
};

TEST_F(SphereMeshDrawTest, FreshMeshIssuesNoOpenGLCalls) {
  GLuint sentinel = 0;
  glGenTextures(1, &sentinel);
  glBindTexture(GL_TEXTURE_2D, sentinel);
  SphereMesh mesh;
  const unsigned int textures[4] = {sentinel + 1, sentinel + 2, sentinel + 3, sentinel + 4};
  bool drew = true;
  const gl_feedback::Result result = gl_feedback::Capture([&] { drew = mesh.Draw(textures); });
  EXPECT_FALSE(drew);
  EXPECT_EQ(result.values, 0u) << "nothing reached the rasteriser";
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), sentinel) << "no texture was bound";
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SphereMeshDrawTest, EachPassEmitsOneQuadPerGridCell) {
  const size_t perQuad = PolygonsPerQuad();
  ASSERT_GE(perQuad, 1u);

  SphereMesh tiny;
  ASSERT_TRUE(tiny.Build(1.0, 2, 2));
  bool drew = false;
  EXPECT_EQ(Draw(tiny, &drew).polygons.size(), 4 * perQuad) << "2 x 2 points: one quad per pass, four in all";
  EXPECT_TRUE(drew);

  SphereMesh line;
  ASSERT_TRUE(line.Build(1.0, 31, 1));
  EXPECT_EQ(Draw(line, &drew).polygons.size(), 0u) << "a single row draws no quads";
  EXPECT_TRUE(drew) << "but it is a grid";

  SphereMesh planet;
  ASSERT_TRUE(planet.Build(1.0, 31, 21));
  const gl_feedback::Result all = Draw(planet);
  ASSERT_FALSE(all.overflow);
  ASSERT_EQ(all.polygons.size(), 2400 * perQuad) << "4 x 30 x 20 quads";
  // Sort the quads (each `perQuad` polygons in a row) into quarters by their centre: 600 each.
  int quarters[2][2] = {};
  for (size_t first = 0; first < all.polygons.size(); first += perQuad) {
    double x = 0, z = 0;
    int n = 0;
    for (size_t p = first; p < first + perQuad; ++p)
      for (const gl_feedback::Vertex& v : all.polygons[p].vertices) {
        x += WorldX(v);
        z += WorldZ(v);
        ++n;
      }
    ++quarters[x / n < 0][z / n < 0];
  }
  EXPECT_EQ(quarters[0][0], 600) << "x >= 0, north";
  EXPECT_EQ(quarters[1][0], 600) << "x <= 0, north";
  EXPECT_EQ(quarters[0][1], 600) << "x >= 0, south";
  EXPECT_EQ(quarters[1][1], 600) << "x <= 0, south";
}

TEST_F(SphereMeshDrawTest, RefusedArgumentsLeaveABuiltMeshDrawingAsBefore) {
  SphereMesh mesh;
  ASSERT_TRUE(mesh.Build(1.0, 31, 21));
  const gl_feedback::Result before = Draw(mesh);
  ASSERT_FALSE(before.polygons.empty());
  const struct {
    double radius;
    int columns, rows;
  } refused[] = {{0.0, 31, 21}, {-1.0, 31, 21}, {std::nan(""), 31, 21}, {1.0, 0, 21}, {1.0, 31, 0}, {1.0, -5, 21}};
  for (const auto& arguments : refused) {
    SCOPED_TRACE(testing::Message() << "Build(" << arguments.radius << ", " << arguments.columns << ", "
                                    << arguments.rows << ")");
    EXPECT_FALSE(mesh.Build(arguments.radius, arguments.columns, arguments.rows));
    EXPECT_EQ(mesh.columns(), 31);
    EXPECT_EQ(mesh.rows(), 21);
    const gl_feedback::Result after = Draw(mesh);
    ASSERT_EQ(after.polygons.size(), before.polygons.size());
    for (size_t p = 0; p < after.polygons.size(); p += 97) {
      const gl_feedback::Vertex a = after.polygons[p].Centroid(), b = before.polygons[p].Centroid();
      EXPECT_FLOAT_EQ(a.x, b.x) << "polygon " << p;
      EXPECT_FLOAT_EQ(a.y, b.y) << "polygon " << p;
      EXPECT_FLOAT_EQ(a.z, b.z) << "polygon " << p;
    }
  }
}

// Window positions of the vertices that lie on a seam, from the polygons of one side of it.
using Key = std::tuple<float, float, float>;
template <typename OnSide, typename OnSeam>
std::set<Key> SeamVertices(const gl_feedback::Result& result, OnSide onSide, OnSeam onSeam) {
  std::set<Key> keys;
  for (const gl_feedback::Polygon& polygon : result.polygons) {
    if (!onSide(polygon.Centroid())) continue;
    for (const gl_feedback::Vertex& v : polygon.vertices)
      if (onSeam(v)) keys.insert(Key(v.x, v.y, v.z));
  }
  return keys;
}

TEST_F(SphereMeshDrawTest, PassesMeetAtTheSameVertices) {
  SphereMesh mesh;
  ASSERT_TRUE(mesh.Build(1.0, 31, 21));
  const gl_feedback::Result all = Draw(mesh);
  auto north = [](const gl_feedback::Vertex& c) { return WorldZ(c) > 0; };
  auto south = [](const gl_feedback::Vertex& c) { return WorldZ(c) < 0; };
  auto equatorAtPositiveX = [](const gl_feedback::Vertex& v) {
    return std::fabs(WorldZ(v)) < 1e-5 && WorldX(v) > 1e-5;
  };
  const std::set<Key> northEquator = SeamVertices(all, [&](auto c) { return north(c) && WorldX(c) > 0; },
                                                  equatorAtPositiveX);
  const std::set<Key> southEquator = SeamVertices(all, [&](auto c) { return south(c) && WorldX(c) > 0; },
                                                  equatorAtPositiveX);
  EXPECT_EQ(northEquator.size(), 29u) << "the equator's inner points of the x >= 0 half";
  EXPECT_EQ(northEquator, southEquator) << "the hemispheres close without a gap";

  auto meridianAtPositiveY = [](const gl_feedback::Vertex& v) {
    return std::fabs(WorldX(v)) < 1e-5 && WorldY(v) > 1e-5 && WorldZ(v) > 1e-5;
  };
  const std::set<Key> first = SeamVertices(all, [&](auto c) { return north(c) && WorldX(c) > 0; }, meridianAtPositiveY);
  const std::set<Key> second =
      SeamVertices(all, [&](auto c) { return north(c) && WorldX(c) < 0; }, meridianAtPositiveY);
  EXPECT_EQ(first.size(), 19u) << "the +90 deg meridian between equator and pole";
  EXPECT_EQ(first, second) << "pass 1's last column meets pass 2's first";
}

TEST_F(SphereMeshDrawTest, EveryQuadFacesOutwardSoCullingRemovesTheFarSide) {
  SphereMesh mesh;
  ASSERT_TRUE(mesh.Build(1.0, 31, 21));
  const double views[][4] = {{0, 0, 0, 1}, {180, 1, 0, 0}, {90, 1, 0, 0}, {-90, 0, 1, 0}, {37, 1, 2, 3}, {143, -2, 1, 0.5}};
  for (const auto& view : views) {
    SCOPED_TRACE(testing::Message() << "rotated " << view[0] << " deg about (" << view[1] << ", " << view[2] << ", "
                                    << view[3] << ")");
    glLoadIdentity();
    glRotated(view[0], view[1], view[2], view[3]);
    glDisable(GL_CULL_FACE);
    const gl_feedback::Result all = Draw(mesh);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    const gl_feedback::Result kept = Draw(mesh);
    glCullFace(GL_FRONT);
    const gl_feedback::Result culled = Draw(mesh);
    glCullFace(GL_BACK);

    // Window depth 0.5 is the plane through the centre; nearer is smaller.
    int farKept = 0;
    for (const gl_feedback::Polygon& polygon : kept.polygons) farKept += polygon.Centroid().z > 0.5 + 0.01;
    EXPECT_EQ(farKept, 0) << "nothing of the far side survives culling";
    EXPECT_EQ(kept.polygons.size() + culled.polygons.size(), all.polygons.size())
        << "every polygon faces exactly one way";
    EXPECT_GT(kept.polygons.size(), all.polygons.size() / 3);
  }
}

// Four textures of 2 x 2 texels, each texel its own colour, sampled at points of the sphere
// turned to face the viewer: shows which texture and which texel every quarter receives.
TEST_F(SphereMeshDrawTest, EachQuarterShowsItsOwnTextureTheRightWayRound) {
  GLuint textures[4];
  glGenTextures(4, textures);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  auto texel = [](int texture, int column, int row) {
    return std::array<uint8_t, 3>{static_cast<uint8_t>(40 + 60 * texture), static_cast<uint8_t>(60 + 120 * column),
                                  static_cast<uint8_t>(60 + 120 * row)};
  };
  for (int k = 0; k < 4; ++k) {
    uint8_t pixels[12];
    for (int row = 0; row < 2; ++row)
      for (int column = 0; column < 2; ++column) {
        const auto c = texel(k, column, row);
        for (int ch = 0; ch < 3; ++ch) pixels[(row * 2 + column) * 3 + ch] = c[static_cast<size_t>(ch)];
      }
    glBindTexture(GL_TEXTURE_2D, textures[k]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
  }
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glEnable(GL_CULL_FACE);
  glEnable(GL_DEPTH_TEST);
  SphereMesh mesh;
  ASSERT_TRUE(mesh.Build(1.0, 31, 21));

  // (longitude, latitude) in degrees -> texture, texel column (s), texel row (t).
  const struct {
    double longitude, latitude;
    int texture, column, row;
  } samples[] = {
      {45, 60, 3, 1, 1},     {-45, 30, 3, 0, 0},  // north, -90..+90: the pole along the bottom rows
      {135, 60, 2, 0, 1},    {225, 30, 2, 1, 0},  // north, +90..+270
      {45, -60, 1, 1, 0},    {-45, -30, 1, 0, 1}, // south, -90..+90: the pole along the top rows
      {135, -60, 0, 0, 0},   {225, -30, 0, 1, 1}, // south, +90..+270
  };
  for (const auto& sample : samples) {
    SCOPED_TRACE(testing::Message() << "longitude " << sample.longitude << ", latitude " << sample.latitude);
    const double lon = sample.longitude * kPi / 180, lat = sample.latitude * kPi / 180;
    const double p[3] = {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
    // Turn p onto +z, towards the viewer, about p x z.
    glLoadIdentity();
    glRotated(std::acos(p[2]) * 180 / kPi, p[1], -p[0], 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ASSERT_TRUE(mesh.Draw(textures));
    const uint32_t pixel = gl.Pixel(100, 100);
    const auto expected = texel(sample.texture, sample.column, sample.row);
    EXPECT_EQ(OffscreenGl::Red(pixel), expected[0]) << "texture";
    EXPECT_EQ(OffscreenGl::Green(pixel), expected[1]) << "texel column (s)";
    EXPECT_EQ(OffscreenGl::Blue(pixel), expected[2]) << "texel row (t)";
  }
  glDeleteTextures(4, textures);
}

}  // namespace
