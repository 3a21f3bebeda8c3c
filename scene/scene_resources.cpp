#include "scene/scene_resources.h"

#include <cstdio>
#include <utility>

#include "resources/image_reader.h"
#include "resources/resource_pak.h"
#include "scene/cover_list.h"
#include "scene/gl.h"
#include "scene/picture_cover.h"
#include "scene/scene.h"

namespace {

constexpr char kArchiveFailed[] = "Can't open resource data file.";
constexpr char kTextureFailed[] = "Can't load pTexture.";
constexpr char kMemoryFailed[] = "Can't allocate memory for texture.";
constexpr char kShapeFailed[] = "Can't load 3D shape.";

enum class Wrap { Repeat, Clamp };

GLenum PixelFormat(int bitsPerPixel) { return bitsPerPixel == 32 ? GL_RGBA : GL_RGB; }

// The planet's four pictures meet edge to edge. OpenGL 1.1's GL_CLAMP lets linear
// filtering blend the (black) border colour into the outermost texels, which draws dark
// lines along the equator and the meridians where the quarters meet; from OpenGL 1.2 on,
// clamping to the edge texels is available and keeps the seams invisible.
GLint ClampMode() {
  constexpr GLint kClampToEdge = 0x812F;  // GL_CLAMP_TO_EDGE, OpenGL 1.2
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int major = 0, minor = 0;
  if (version && std::sscanf(version, "%d.%d", &major, &minor) == 2 && (major > 1 || minor >= 2)) return kClampToEdge;
  return GL_CLAMP;
}

// One texture from a decoded picture, linear filters, level 0 only. Row 0 (the picture's
// top) lands at t = 0. The texture keeps three components whatever the picture holds.
GLuint CreateTexture(const Image& image, Wrap wrap) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  if (wrap == Wrap::Clamp) {
    const GLint clamp = ClampMode();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, clamp);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, clamp);
  }
  glTexImage2D(GL_TEXTURE_2D, 0, 3, image.width, image.height, 0, PixelFormat(image.bitsPerPixel), GL_UNSIGNED_BYTE,
               image.pixels.get());
  return name;
}

// The moon is seen from very near and very far, so it gets all mipmap levels.
GLuint CreateMipmappedTexture(const Image& image) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, PixelFormat(image.bitsPerPixel), GL_UNSIGNED_BYTE,
                    image.pixels.get());
  return name;
}

// Reads and decodes a picture; its pixels join the scene's retained buffers once uploaded.
class Loader {
 public:
  Loader(Scene& scene, ResourcePak& pak) : scene_(scene), pak_(pak) {}

  // A flare picture with the list of where it can change a pixel. The limb mask multiplies
  // what lies under it; every other flare picture adds light. Where clamping reads the
  // black border (OpenGL 1.1), the mask darkens its square's rim too, so it stays whole.
  bool Flare(int n) {
    char member[32];
    std::snprintf(member, sizeof member, "flare%d.jpg", n);
    Image image;
    if (!ReadImage(&image, member, pak_)) return false;
    const int index = n - 1;
    scene_.textures.flareTextures[index] = CreateTexture(image, Wrap::Clamp);
    const bool multiplies = index == kLimbMask;
    if (!multiplies || ClampMode() != GL_CLAMP)
      scene_.textures.flareCovers[index] =
          CompileCoverList(CoverOf(image, multiplies ? PictureBlend::Multiplies : PictureBlend::Adds));
    scene_.sceneBuffers.Append(std::move(image.pixels));
    return true;
  }

  bool Texture(const char* member, Wrap wrap, unsigned int* texture) {
    Image image;
    if (!ReadImage(&image, member, pak_)) return false;
    *texture = CreateTexture(image, wrap);
    scene_.sceneBuffers.Append(std::move(image.pixels));
    return true;
  }

  // The atmosphere and, from the same pixels, its inverted grey copy for the inner shell.
  const char* Atmosphere() {
    Image image;
    if (!ReadImage(&image, "atmos.jpg", pak_)) return kTextureFailed;
    scene_.textures.atmosphereTexture = CreateTexture(image, Wrap::Repeat);
    const size_t pixelCount = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    Image inverted;
    inverted.bitsPerPixel = 24;
    inverted.width = image.width;
    inverted.height = image.height;
    inverted.pixels = AllocateBytes(pixelCount * 3);
    if (!inverted.pixels) {
      scene_.sceneBuffers.Append(std::move(image.pixels));
      return kMemoryFailed;
    }
    InvertToGrey(image.pixels.get(), pixelCount, image.bitsPerPixel / 8, inverted.pixels.get());
    scene_.sceneBuffers.Append(std::move(image.pixels));
    scene_.textures.cloudShadowTexture = CreateTexture(inverted, Wrap::Repeat);
    scene_.sceneBuffers.Append(std::move(inverted.pixels));
    return nullptr;
  }

  bool MoonTexture() {
    Image image;
    if (!ReadImage(&image, "phobos2.jpg", pak_)) return false;
    scene_.textures.moonTexture = CreateMipmappedTexture(image);
    scene_.sceneBuffers.Append(std::move(image.pixels));
    return true;
  }

  bool MoonShape() {
    ByteBuffer bytes;
    const int32_t length = pak_.Extract("phobos2.dat", &bytes);
    return length > 0 && scene_.moon.Load(bytes.get(), static_cast<size_t>(length));
  }

 private:
  Scene& scene_;
  ResourcePak& pak_;
};

// Everything up to the first failure; the message of that failure, or null.
const char* LoadAll(Scene& scene, ResourcePak& pak) {
  Loader load(scene, pak);
  char member[32];
  for (int n = 1; n <= 10; ++n)
    if (!load.Flare(n)) return kTextureFailed;
  if (const char* failure = load.Atmosphere()) return failure;
  for (int n = 0; n <= 3; ++n) {
    std::snprintf(member, sizeof member, "surface%d.jpg", n);
    if (!load.Texture(member, Wrap::Clamp, &scene.textures.surfaceTextures[n])) return kTextureFailed;
  }
  if (!load.MoonTexture()) return kTextureFailed;
  if (!load.MoonShape()) return kShapeFailed;
  return nullptr;
}

}  // namespace

void InvertToGrey(const uint8_t* rgb, size_t pixelCount, int bytesPerPixel, uint8_t* out) {
  const size_t stride = bytesPerPixel > 3 ? static_cast<size_t>(bytesPerPixel) : 3;
  for (size_t k = 0; k < pixelCount; ++k, rgb += stride, out += 3) {
    const int sum = rgb[0] + rgb[1] + rgb[2];
    const uint8_t value = static_cast<uint8_t>(255 - sum / 3);
    out[0] = out[1] = out[2] = value;
  }
}

void LoadSceneResources(Scene& scene) {
  SceneHost& host = *scene.host;
  ResourcePak pak;
  const char* failure = kArchiveFailed;
  if (host.OpenArchive(pak)) {
    // The decoded rows are tightly packed; OpenGL's default would pad them to 4 bytes.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    failure = LoadAll(scene, pak);
    pak.Close();
  }
  if (failure == nullptr) return;
  host.ShowMessage(failure, MessageIcon::Stop);
  host.RequestQuit();
}

void ReleaseSceneBuffers(Scene& scene) { scene.sceneBuffers.Release(); }

void ReleaseSceneTextures(SceneTextures& textures) {
  auto texture = [](unsigned int& name) {
    if (name != 0) glDeleteTextures(1, &name);
    name = 0;
  };
  auto list = [](unsigned int& name) {
    if (name != 0) glDeleteLists(name, 1);
    name = 0;
  };
  for (unsigned int& name : textures.flareTextures) texture(name);
  for (unsigned int& name : textures.flareCovers) list(name);
  texture(textures.atmosphereTexture);
  texture(textures.cloudShadowTexture);
  for (unsigned int& name : textures.surfaceTextures) texture(name);
  texture(textures.moonTexture);
}
