// Shape files of any bytes: a load either refuses them or copies exactly the triangles the
// count announces, all of which lie inside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "scene/shape_mesh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly `size` bytes, so that a read past the end leaves the allocation.
  std::vector<uint8_t> bytes(data, data + size);
  bytes.shrink_to_fit();
  ShapeMesh mesh;
  if (!mesh.Load(bytes.data(), bytes.size())) {
    if (mesh.triangleCount() != 0 || mesh.vertices() != nullptr) std::abort();  // refusals leave it empty
    return 0;
  }
  const size_t count = static_cast<size_t>(mesh.triangleCount());
  if (4 + count * ShapeMesh::kTriangleBytes > size) std::abort();
  if (count > 0 && std::memcmp(mesh.vertices(), bytes.data() + 4, count * ShapeMesh::kTriangleBytes) != 0)
    std::abort();
  return 0;
}
