#include "scene/picture_loader.h"

#include <cstdio>
#include <string>
#include <utility>

#include "resources/image_reader.h"
#include "resources/resource_pak.h"
#include "scene/gl.h"
#include "scene/scene_buffers.h"

namespace {

GLenum PixelFormat(int bitsPerPixel) { return bitsPerPixel == 32 ? GL_RGBA : GL_RGB; }

// The planet's four pictures meet edge to edge. OpenGL 1.1's GL_CLAMP lets linear
// filtering blend the (black) border colour into the outermost texels, which draws dark
// lines along the equator and the meridians where the quarters meet; from OpenGL 1.2 on,
// clamping to the edge texels is available and keeps the seams invisible.
GLint ClampMode() {
  constexpr GLint kClampToEdge = 0x812F;  // GL_CLAMP_TO_EDGE, OpenGL 1.2
  return PictureLoader::ClampsToEdge() ? kClampToEdge : GL_CLAMP;
}

}  // namespace

bool PictureLoader::ClampsToEdge() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int major = 0, minor = 0;
  return version && std::sscanf(version, "%d.%d", &major, &minor) == 2 && (major > 1 || minor >= 2);
}

SceneLoadResult PictureLoader::Read(const char* member, Image* image) {
  const ImageResult read = ReadImage(image, member, pak_);
  if (!read) return SceneLoadResult::Fail(SceneLoadError::PictureUnreadable, read.reason());
  return SceneLoadResult::Ok();
}

GlTexture PictureLoader::Texture(const Image& image, Wrap wrap) const {
  GlTexture texture = GlTexture::Create();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  if (wrap == Wrap::Clamp) {
    const GLint clamp = ClampMode();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, clamp);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, clamp);
  }
  glTexImage2D(GL_TEXTURE_2D, 0, 3, image.width, image.height, 0, PixelFormat(image.bitsPerPixel), GL_UNSIGNED_BYTE,
               image.pixels.get());
  return texture;
}

GlTexture PictureLoader::MipmappedTexture(const Image& image) const {
  GlTexture texture = GlTexture::Create();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, PixelFormat(image.bitsPerPixel), GL_UNSIGNED_BYTE,
                    image.pixels.get());
  return texture;
}

void PictureLoader::Keep(Image& image) { buffers_.Append(std::move(image.pixels)); }
