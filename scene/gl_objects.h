#pragma once
// Owning handles of the OpenGL objects the scene makes in its rendering context: a texture
// and a display list. A handle is move-only. Release deletes its object, which needs that
// object's context current; a released or moved-from handle holds nothing and never makes an
// OpenGL call again. Destroying a handle makes no OpenGL call: an object its owner did not
// release goes with its context, which by then may be gone, or another one may be current.
#include <utility>

class GlTexture {
 public:
  GlTexture() = default;
  // A new texture name, bound to GL_TEXTURE_2D.
  static GlTexture Create();

  GlTexture(GlTexture&& other) noexcept : name_(std::exchange(other.name_, 0u)) {}
  GlTexture& operator=(GlTexture&& other) noexcept;  // releases what it held first
  GlTexture(const GlTexture&) = delete;
  GlTexture& operator=(const GlTexture&) = delete;
  ~GlTexture() = default;

  unsigned int name() const { return name_; }  // 0 when none
  explicit operator bool() const { return name_ != 0; }
  // Binds to GL_TEXTURE_2D; binding none draws untextured.
  void Bind() const;
  void Release();

 private:
  unsigned int name_ = 0;
};

class GlList {
 public:
  GlList() = default;
  GlList(GlList&& other) noexcept : name_(std::exchange(other.name_, 0u)) {}
  GlList& operator=(GlList&& other) noexcept;  // releases what it held first
  GlList(const GlList&) = delete;
  GlList& operator=(const GlList&) = delete;
  ~GlList() = default;

  unsigned int name() const { return name_; }  // 0 when none
  explicit operator bool() const { return name_ != 0; }

  // Compiles what `emit` sends into a new list without drawing it, unless one is held. With
  // no list name to be had the handle stays empty.
  template <typename Emit>
  void Compile(Emit&& emit) {
    if (name_ != 0 || !Begin(false)) return;
    emit();
    End();
  }

  // Calls the list. Without one it compiles the list while drawing, so the first draw costs
  // no extra frame; with no list name to be had it draws directly and tries again next time.
  template <typename Emit>
  void Draw(Emit&& emit) {
    if (name_ != 0) {
      Call();
      return;
    }
    const bool compiling = Begin(true);
    emit();
    if (compiling) End();
  }

  void Call() const;
  void Release();

 private:
  bool Begin(bool execute);
  void End();

  unsigned int name_ = 0;
};
