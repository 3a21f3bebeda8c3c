#pragma once
// A triangle mesh from a shape file, drawn through one display list compiled at the scene's
// start or on the first draw. File layout (little-endian): int32 N, then N triangles of three vertices, each
// vertex eight floats: position x, y, z, unit normal nx, ny, nz, texture s, t. Triangles
// run counter-clockwise seen from the side their normals face.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "scene/gl_objects.h"

struct ShapeVertex {
  float position[3];
  float normal[3];
  float texCoord[2];
};
static_assert(sizeof(ShapeVertex) == 32, "a shape vertex is eight floats");

class ShapeMesh {
 public:
  static constexpr size_t kTriangleBytes = 3 * sizeof(ShapeVertex);

  ShapeMesh() = default;
  // Frees the triangles only: the display list goes with Release while its context is
  // current, or with the context itself.
  virtual ~ShapeMesh() = default;
  ShapeMesh(const ShapeMesh&) = delete;
  ShapeMesh& operator=(const ShapeMesh&) = delete;

  // Replaces the content with the file's triangles, copying them. Refused (false, mesh left
  // empty) when the bytes are shorter than the count field, the count is negative, its
  // triangles do not fit in `length` bytes, or no memory is left. Bytes after the
  // triangles are ignored. A count of 0 loads an empty mesh.
  bool Load(const uint8_t* bytes, size_t length);

  // Calls the display list, compiling it (and drawing meanwhile) on the first call after a
  // Load; an empty mesh compiles an empty list. Uses the current texture and material.
  bool Draw();

  // Compiles the list without drawing when there is none yet.
  void Compile();

  // Empties the mesh and deletes its display list; needs the list's context current.
  void Release();

  int32_t triangleCount() const { return triangleCount_; }
  const GlList& displayList() const { return displayList_; }
  const ShapeVertex* vertices() const { return vertices_.get(); }  // 3 per triangle

 private:
  void EmitTriangles() const;

  std::unique_ptr<ShapeVertex[]> vertices_;
  int32_t triangleCount_ = 0;
  GlList displayList_;
};
