#include "scene/gl_objects.h"

#include "scene/gl.h"

GlTexture GlTexture::Create() {
  GlTexture texture;
  glGenTextures(1, &texture.name_);
  glBindTexture(GL_TEXTURE_2D, texture.name_);
  return texture;
}

GlTexture& GlTexture::operator=(GlTexture&& other) noexcept {
  if (this != &other) {
    Release();
    name_ = std::exchange(other.name_, 0u);
  }
  return *this;
}

void GlTexture::Bind() const { glBindTexture(GL_TEXTURE_2D, name_); }

void GlTexture::Release() {
  if (name_ != 0) glDeleteTextures(1, &name_);
  name_ = 0;
}

GlList& GlList::operator=(GlList&& other) noexcept {
  if (this != &other) {
    Release();
    name_ = std::exchange(other.name_, 0u);
  }
  return *this;
}

void GlList::Call() const {
  if (name_ != 0) glCallList(name_);
}

void GlList::Release() {
  if (name_ != 0) glDeleteLists(name_, 1);
  name_ = 0;
}

bool GlList::Begin(bool execute) {
  const GLuint name = glGenLists(1);
  if (name == 0) return false;
  glNewList(name, execute ? GL_COMPILE_AND_EXECUTE : GL_COMPILE);
  name_ = name;
  return true;
}

void GlList::End() { glEndList(); }
