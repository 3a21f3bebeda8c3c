#pragma once
// The planet's surface grid: one quarter of a sphere (x >= 0, z >= 0) stored as a
// latitude/longitude grid and drawn four times, turned or mirrored into the other three
// quarters, each quarter with its own texture. The grid is built once and only read after.
#include <cstddef>
#include <cstdint>
#include <memory>

struct SphereVertex {
  double x, y, z;     // position
  double nx, ny, nz;  // unit normal, pointing away from the centre
  double s, t;        // texture coordinates
};
static_assert(sizeof(SphereVertex) == 64, "a grid point is eight doubles");

class SphereMesh {
 public:
  // Grids above this many points are treated as storage that cannot be obtained.
  static constexpr int64_t kMaxPoints = int64_t{1} << 22;

  // (Re)fills the grid of `columns` points per parallel and `rows` parallels from the
  // equator (row 0) to the pole (row rows-1). Refuses columns < 1, rows < 1 or radius <= 0
  // with false, leaving the mesh as it was; false with an empty mesh when no storage.
  bool Build(double radius, int32_t columns, int32_t rows);

  // Four passes, one per quarter, each grid quad as two triangles; textures[3] and [2]
  // cover the north at longitudes -90..+90 and +90..+270, textures[1] and [0] the south at
  // the same longitudes.
  // False, issuing no OpenGL call at all, while the mesh is empty.
  bool Draw(const unsigned int textures[4]) const;

  int32_t columns() const { return columns_; }
  int32_t rows() const { return rows_; }
  // Point of row j and column i; only valid for j < rows(), i < columns().
  const SphereVertex& At(int32_t j, int32_t i) const { return vertices_[static_cast<size_t>(j) * columns_ + i]; }
  bool HasGrid() const { return vertices_ != nullptr; }
  // Points the current array can hold; a smaller rebuild keeps the array and its capacity.
  size_t capacity() const { return capacity_; }

 private:
  int32_t columns_ = 0;
  int32_t rows_ = 0;
  std::unique_ptr<SphereVertex[]> vertices_;
  size_t capacity_ = 0;
};
