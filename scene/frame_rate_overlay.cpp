#include "scene/frame_rate_overlay.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "scene/gl.h"
#include "scene/overlay_font.h"

namespace {

constexpr int kCellWidth = kOverlayGlyphWidth + 1;    // a blank column between letters
constexpr int kLineHeight = kOverlayGlyphHeight + 2;  // two blank rows between lines
constexpr int kPadding = 3;                           // around the text inside its box
constexpr double kStretchSeconds = 1.0;

// Font pixels grow with the picture: 1 up to 719 rows, 2 at 720, 3 at 1080, at most 4.
int ScaleFor(int height) { return std::clamp(height / 360, 1, 4); }

// The glyph at `scale` screen pixels per font pixel as glBitmap takes it: rows bottom
// first, each ceil(width / 8) bytes, the leftmost pixel in the highest bit.
std::vector<GLubyte> GlyphBitmap(const OverlayGlyph& glyph, int scale) {
  const int width = kOverlayGlyphWidth * scale;
  const int rowBytes = (width + 7) / 8;
  std::vector<GLubyte> bitmap(static_cast<size_t>(rowBytes * kOverlayGlyphHeight * scale), 0);
  for (int y = 0; y < kOverlayGlyphHeight * scale; ++y) {
    const char* row = glyph.rows[kOverlayGlyphHeight - 1 - y / scale];
    for (int x = 0; x < width; ++x)
      if (row[x / scale] == '#')
        bitmap[static_cast<size_t>(y * rowBytes + x / 8)] |= static_cast<GLubyte>(0x80 >> (x % 8));
  }
  return bitmap;
}

}  // namespace

void FrameRateOverlay::CountFrame(double start, double end) {
  if (!started_) {
    started_ = true;
    stretchStart_ = end;
    return;
  }
  ++frames_;
  busy_ += end - start;
  const double elapsed = end - stretchStart_;
  if (elapsed < kStretchSeconds) return;
  const double framesPerSecond = std::min(frames_ / elapsed, 99999.9);
  const double milliseconds = std::clamp(busy_ / frames_ * 1000.0, 0.0, 99999.9);
  char text[64];
  std::snprintf(text, sizeof text, "FPS: %.1f\nFrame: %.1f ms", framesPerSecond, milliseconds);
  text_ = text;
  stretchStart_ = end;
  busy_ = 0.0;
  frames_ = 0;
}

void FrameRateOverlay::CompileFont(int scale) {
  Release();
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
  const GLsizei width = kOverlayGlyphWidth * scale, height = kOverlayGlyphHeight * scale;
  const GLfloat advance = static_cast<GLfloat>(kCellWidth * scale);
  glyphs_.resize(kOverlayGlyphCount + 1);
  for (int i = 0; i < kOverlayGlyphCount; ++i) {
    const std::vector<GLubyte> bitmap = GlyphBitmap(kOverlayGlyphs[i], scale);
    glyphs_[static_cast<size_t>(i)].Compile(
        [&] { glBitmap(width, height, 0.0f, 0.0f, advance, 0.0f, bitmap.data()); });
  }
  // A space: one blank pixel, since Mesa cannot keep an empty bitmap in a list.
  const GLubyte blank = 0;
  glyphs_.back().Compile([&] { glBitmap(1, 1, 0.0f, 0.0f, advance, 0.0f, &blank); });
  glPopClientAttrib();
  // Without list names to be had the font stays empty and nothing is drawn.
  if (!std::all_of(glyphs_.begin(), glyphs_.end(), [](const GlList& list) { return bool(list); })) Release();
  fontScale_ = scale;
}

void FrameRateOverlay::Draw(int width, int height) {
  if (text_.empty() || width <= 0 || height <= 0) return;
  const int scale = ScaleFor(height);
  if (scale != fontScale_) CompileFont(scale);
  if (glyphs_.empty()) return;

  int lines = 1, column = 0, columns = 0;
  for (const char c : text_) {
    column = c == '\n' ? 0 : column + 1;
    lines += c == '\n';
    columns = std::max(columns, column);
  }
  const int pad = kPadding * scale;
  const int boxWidth = (columns * kCellWidth - 1) * scale + 2 * pad;
  const int boxHeight = ((lines - 1) * kLineHeight + kOverlayGlyphHeight) * scale + 2 * pad;

  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_TRANSFORM_BIT | GL_VIEWPORT_BIT);
  for (const GLenum state : {GL_DEPTH_TEST, GL_LIGHTING, GL_TEXTURE_2D, GL_FOG, GL_CULL_FACE, GL_ALPHA_TEST,
                             GL_STENCIL_TEST, GL_SCISSOR_TEST})
    glDisable(state);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();

  // 1. A half-dark box, so that the text reads over the lit planet and the flares as well.
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
  glRecti(0, 0, boxWidth, boxHeight);
  glDisable(GL_BLEND);

  // 2. The text, top line first; each glyph's list moves the raster position on by a cell.
  glColor3f(1.0f, 1.0f, 0.0f);
  int line = 0;
  glRasterPos2i(pad, pad + (lines - 1) * kLineHeight * scale);
  for (const char c : text_) {
    if (c == '\n') {
      ++line;
      glRasterPos2i(pad, pad + (lines - 1 - line) * kLineHeight * scale);
      continue;
    }
    const int glyph = OverlayGlyphIndex(c);
    glyphs_[static_cast<size_t>(glyph >= 0 ? glyph : kOverlayGlyphCount)].Call();
  }

  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}

void FrameRateOverlay::Release() {
  for (GlList& glyph : glyphs_) glyph.Release();
  glyphs_.clear();
  fontScale_ = 0;
}
