#pragma once
// What reaches OpenGL's rasteriser, read back through feedback mode: every polygon after
// transformation, clipping and culling, with window coordinates, colour and texture
// coordinates per vertex. Pass-through markers separate the output of several draws.
#include <cstddef>
#include <functional>
#include <vector>

#include "scene/gl.h"

namespace gl_feedback {

struct Vertex {
  float x, y, z;     // window coordinates, depth 0 (near) .. 1 (far)
  float rgba[4];
  float stpq[4];
};

struct Polygon {
  std::vector<Vertex> vertices;
  int marker = 0;  // the last glPassThrough value before it (0 before any)

  Vertex Centroid() const {
    Vertex c{};
    for (const Vertex& v : vertices) {
      c.x += v.x;
      c.y += v.y;
      c.z += v.z;
    }
    const float n = static_cast<float>(vertices.size());
    c.x /= n;
    c.y /= n;
    c.z /= n;
    return c;
  }
};

struct Result {
  std::vector<Polygon> polygons;
  int otherPrimitives = 0;  // points, lines, pixels
  int markers = 0;
  bool overflow = false;
  size_t values = 0;  // everything the draw returned, markers included
};

// Runs `draw` in feedback mode with room for `capacity` floats.
inline Result Capture(const std::function<void()>& draw, size_t capacity = 1 << 20) {
  std::vector<GLfloat> buffer(capacity);
  glFeedbackBuffer(static_cast<GLsizei>(capacity), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint count = glRenderMode(GL_RENDER);
  Result result;
  if (count < 0) {
    result.overflow = true;
    return result;
  }
  result.values = static_cast<size_t>(count);
  constexpr size_t kVertexFloats = 11;  // x y z, r g b a, s t p q
  auto vertexAt = [&](size_t at) {
    Vertex v;
    v.x = buffer[at];
    v.y = buffer[at + 1];
    v.z = buffer[at + 2];
    for (int k = 0; k < 4; ++k) v.rgba[k] = buffer[at + 3 + k];
    for (int k = 0; k < 4; ++k) v.stpq[k] = buffer[at + 7 + k];
    return v;
  };
  int marker = 0;
  size_t at = 0;
  while (at < result.values) {
    const GLint token = static_cast<GLint>(buffer[at++]);
    switch (token) {
      case GL_PASS_THROUGH_TOKEN:
        marker = static_cast<int>(buffer[at++]);
        ++result.markers;
        break;
      case GL_POLYGON_TOKEN: {
        const size_t n = static_cast<size_t>(buffer[at++]);
        Polygon polygon;
        polygon.marker = marker;
        for (size_t k = 0; k < n; ++k, at += kVertexFloats) polygon.vertices.push_back(vertexAt(at));
        result.polygons.push_back(std::move(polygon));
        break;
      }
      case GL_POINT_TOKEN:
      case GL_BITMAP_TOKEN:
      case GL_DRAW_PIXEL_TOKEN:
      case GL_COPY_PIXEL_TOKEN:
        at += kVertexFloats;
        ++result.otherPrimitives;
        break;
      case GL_LINE_TOKEN:
      case GL_LINE_RESET_TOKEN:
        at += 2 * kVertexFloats;
        ++result.otherPrimitives;
        break;
      default:
        result.overflow = true;  // unknown token: the stream cannot be read further
        return result;
    }
  }
  return result;
}

}  // namespace gl_feedback
