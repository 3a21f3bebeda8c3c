#include "scene/shape_mesh.h"

#include <cstring>
#include <new>

#include "scene/gl.h"

bool ShapeMesh::Load(const uint8_t* bytes, size_t length) {
  Release();
  if (bytes == nullptr || length < 4) return false;
  int32_t count = 0;
  // The count is little-endian on disk whatever the host's byte order.
  const uint32_t raw = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                       static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  std::memcpy(&count, &raw, sizeof count);
  if (count < 0) return false;
  if (static_cast<uint64_t>(count) * kTriangleBytes > length - 4) return false;
  if (count == 0) return true;

  const size_t vertexCount = static_cast<size_t>(count) * 3;
  vertices_.reset(new (std::nothrow) ShapeVertex[vertexCount]);
  if (!vertices_) return false;
  std::memcpy(vertices_.get(), bytes + 4, vertexCount * sizeof(ShapeVertex));
  triangleCount_ = count;
  return true;
}

void ShapeMesh::EmitTriangles() const {
  glBegin(GL_TRIANGLES);
  const size_t vertexCount = static_cast<size_t>(triangleCount_) * 3;
  for (size_t k = 0; k < vertexCount; ++k) {
    const ShapeVertex& v = vertices_[k];
    glNormal3fv(v.normal);
    glTexCoord2fv(v.texCoord);
    glVertex3fv(v.position);
  }
  glEnd();
}

bool ShapeMesh::Draw() {
  displayList_.Draw([this] { EmitTriangles(); });
  return true;
}

void ShapeMesh::Compile() {
  displayList_.Compile([this] { EmitTriangles(); });
}

void ShapeMesh::Release() {
  vertices_.reset();
  triangleCount_ = 0;
  displayList_.Release();
}
