#pragma once
// Pictures from the resource archive made into the scene's textures. Each decoded picture's
// pixels join the scene's retained buffers once uploaded (scene/scene_buffers.h).
#include "resources/image.h"
#include "scene/gl_objects.h"
#include "scene/scene_load_error.h"

class ResourcePak;
class SceneBuffers;

enum class Wrap { Repeat, Clamp };

class PictureLoader {
 public:
  PictureLoader(ResourcePak& pak, SceneBuffers& buffers) : pak_(pak), buffers_(buffers) {}

  // Reads and decodes the member; PictureUnreadable with the archive's or the decoder's
  // reason when it is missing or undecodable.
  SceneLoadResult Read(const char* member, Image* image);
  // A texture of the picture with linear filters, level 0 only. Row 0 (the picture's top)
  // lands at t = 0; the texture keeps three components whatever the picture holds.
  GlTexture Texture(const Image& image, Wrap wrap) const;
  // All mipmap levels, for a body seen from very near and very far.
  GlTexture MipmappedTexture(const Image& image) const;
  // The picture's pixels join the retained buffers.
  void Keep(Image& image);

  // Whether clamping reaches the edge texels only (OpenGL 1.2 and later), or linear
  // filtering also blends in the black border (OpenGL 1.1's GL_CLAMP).
  static bool ClampsToEdge();

  ResourcePak& pak() { return pak_; }
  SceneBuffers& buffers() { return buffers_; }

 private:
  ResourcePak& pak_;
  SceneBuffers& buffers_;
};
