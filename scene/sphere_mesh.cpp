#include "scene/sphere_mesh.h"

#include <cmath>
#include <initializer_list>
#include <new>

#include "scene/gl.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// How one pass turns the stored quarter into its own: signs of x/y (a half turn about the
// axis) and of z (the mirror into the south); mirrored passes flip t and reverse the point
// order, so that every quad stays counter-clockwise seen from outside.
struct Pass {
  int textureIndex;
  double xy;
  double z;
  bool mirrored;
};
constexpr Pass kPasses[4] = {
    {3, 1.0, 1.0, false},    // north, longitudes -90..+90
    {2, -1.0, 1.0, false},   // north, longitudes +90..+270
    {1, 1.0, -1.0, true},    // south, longitudes -90..+90
    {0, -1.0, -1.0, true},   // south, longitudes +90..+270
};

void EmitPoint(const SphereVertex& v, const Pass& pass) {
  glTexCoord2d(v.s, pass.mirrored ? 1.0 - v.t : v.t);
  glNormal3d(pass.xy * v.nx, pass.xy * v.ny, pass.z * v.nz);
  glVertex3d(pass.xy * v.x, pass.xy * v.y, pass.z * v.z);
}

}  // namespace

bool SphereMesh::Build(double radius, int32_t columns, int32_t rows) {
  if (columns < 1 || rows < 1 || !(radius > 0.0)) return false;

  const int64_t points = int64_t{columns} * rows;
  // An existing array is kept whenever it is large enough; only a larger grid replaces it.
  if (vertices_ && (columns != columns_ || rows != rows_) && capacity_ < static_cast<uint64_t>(points)) {
    vertices_.reset();
    capacity_ = 0;
  }
  columns_ = columns;
  rows_ = rows;
  if (!vertices_) {
    if (points <= kMaxPoints) vertices_.reset(new (std::nothrow) SphereVertex[static_cast<size_t>(points)]);
    if (!vertices_) {
      columns_ = 0;
      rows_ = 0;
      capacity_ = 0;
      return false;
    }
    capacity_ = static_cast<size_t>(points);
  }

  // Row j at latitude j * 90deg / (rows-1) from the equator, column i at longitude
  // -90deg + i * 180deg / (columns-1); a single row or column sits at the first of them.
  const double latitudeStep = rows > 1 ? kPi / (2.0 * (rows - 1)) : 0.0;
  const double longitudeStep = columns > 1 ? kPi / (columns - 1) : 0.0;
  for (int32_t j = 0; j < rows; ++j) {
    const double phi = j * latitudeStep;
    for (int32_t i = 0; i < columns; ++i) {
      const double theta = -kPi / 2.0 + i * longitudeStep;
      SphereVertex& v = vertices_[static_cast<size_t>(j) * columns + i];
      v.x = radius * std::cos(phi) * std::cos(theta);
      v.y = radius * std::cos(phi) * std::sin(theta);
      v.z = radius * std::sin(phi);
      const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
      const double scale = length > 0.0 ? 1.0 / length : 1.0;
      v.nx = v.x * scale;
      v.ny = v.y * scale;
      v.nz = v.z * scale;
      v.s = theta / kPi + 0.5;
      v.t = 2.0 * phi / kPi;
    }
  }
  return true;
}

bool SphereMesh::Draw(const unsigned int textures[4]) const {
  if (!vertices_ || columns_ == 0 || rows_ == 0) return false;
  for (const Pass& pass : kPasses) {
    glBindTexture(GL_TEXTURE_2D, textures[pass.textureIndex]);
    glBegin(GL_TRIANGLES);
    for (int32_t j = 0; j + 1 < rows_; ++j) {
      for (int32_t i = 0; i + 1 < columns_; ++i) {
        const SphereVertex* quad[4];
        if (!pass.mirrored) {
          quad[0] = &At(j, i);
          quad[1] = &At(j, i + 1);
          quad[2] = &At(j + 1, i + 1);
          quad[3] = &At(j + 1, i);
        } else {
          quad[0] = &At(j + 1, i);
          quad[1] = &At(j + 1, i + 1);
          quad[2] = &At(j, i + 1);
          quad[3] = &At(j, i);
        }
        // Each quad as two triangles split along the diagonal from its first corner. Left
        // to OpenGL, the split is the implementation's choice and differs between direct
        // drawing and a replayed display list, which moves the sharp specular highlight.
        for (int corner : {0, 1, 2, 0, 2, 3}) EmitPoint(*quad[corner], pass);
      }
    }
    glEnd();
  }
  return true;
}
