// The frame-rate overlay: its figures over stretches of a second, and its text drawn off
// screen in the picture's bottom-left corner, glyph for glyph, over whatever OpenGL state
// the scene left, which it leaves as it found it.
#include "scene/frame_rate_overlay.h"

#include <gtest/gtest.h>

#include <string>

#include "scene/overlay_font.h"
#include "tests/support/offscreen_gl.h"

namespace {

bool IsText(uint32_t pixel) {
  return OffscreenGl::Red(pixel) >= 250 && OffscreenGl::Green(pixel) >= 250 && OffscreenGl::Blue(pixel) <= 5;
}

// An overlay whose text is "FPS: 25.0\nFrame: 4.0 ms".
void Count25FramesOf4Ms(FrameRateOverlay& overlay) {
  overlay.CountFrame(9.9, 10.0);  // starts the stretch
  for (int k = 1; k <= 25; ++k) overlay.CountFrame(10.0 + k * 0.04 - 0.004, 10.0 + k * 0.04);
}

TEST(FrameRateOverlay, FiguresOfEachSecondsStretch) {
  FrameRateOverlay overlay;
  overlay.CountFrame(9.9, 10.0);
  for (int k = 1; k < 25; ++k) overlay.CountFrame(10.0 + k * 0.04 - 0.004, 10.0 + k * 0.04);
  EXPECT_EQ(overlay.Text(), "") << "no figure before a second has passed";
  overlay.CountFrame(10.996, 11.0);
  EXPECT_EQ(overlay.Text(), "FPS: 25.0\nFrame: 4.0 ms");
  for (int k = 1; k <= 10; ++k) overlay.CountFrame(11.0 + k * 0.2 - 0.05, 11.0 + k * 0.2);  // a slow second
  EXPECT_EQ(overlay.Text(), "FPS: 5.0\nFrame: 50.0 ms");
}

TEST(FrameRateOverlay, DrawsItsTextInTheCornerAndLeavesTheStateAsItFoundIt) {
  for (const int height : {360, 720}) {
    const int scale = height / 360;
    OffscreenGl gl(height * 4 / 3, height);
    ASSERT_TRUE(gl.ok());
    // The scene's state: depth, light and textures on, a perspective projection, a grey picture.
    glViewport(0, 0, gl.width(), gl.height());
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    gluPerspective(45.0, 4.0 / 3.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glColor3f(0.25f, 0.5f, 0.75f);
    GLfloat projection[16], projectionAfter[16], colour[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);

    FrameRateOverlay overlay;
    overlay.Draw(gl.width(), gl.height());
    EXPECT_EQ(gl.Pixel(2, 2), gl.Pixel(gl.width() / 2, gl.height() / 2)) << "nothing drawn without figures";
    Count25FramesOf4Ms(overlay);
    overlay.Draw(gl.width(), gl.height());

    // "F" of the top line: 3 font pixels in from the box's edge, the second line 9 below.
    const int left = 3 * scale, bottom = (3 + 9) * scale;
    const OverlayGlyph& f = kOverlayGlyphs[OverlayGlyphIndex('F')];
    for (int y = 0; y < kOverlayGlyphHeight * scale; ++y)
      for (int x = 0; x < kOverlayGlyphWidth * scale; ++x)
        EXPECT_EQ(IsText(gl.Pixel(left + x, bottom + y)), f.rows[kOverlayGlyphHeight - 1 - y / scale][x / scale] == '#')
            << "height " << height << ", pixel " << x << "," << y << " of F";
    int text = 0, darkened = 0, elsewhere = 0;
    const int corner = 100 * scale;  // wider than "Frame: 4.0 ms" and its box
    for (int y = 0; y < gl.height(); ++y) {
      for (int x = 0; x < gl.width(); ++x) {
        const uint32_t p = gl.Pixel(x, y);
        const bool inCorner = x < corner && y < 30 * scale;
        text += inCorner && IsText(p);
        darkened += inCorner && OffscreenGl::Red(p) < 100;
        elsewhere += !inCorner && (IsText(p) || OffscreenGl::Red(p) != 128);
      }
    }
    EXPECT_GT(text, 100 * scale * scale) << "height " << height;
    EXPECT_GT(darkened, 1000 * scale * scale) << "the half-dark box";
    EXPECT_EQ(elsewhere, 0) << "height " << height;

    glGetFloatv(GL_PROJECTION_MATRIX, projectionAfter);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(projectionAfter[i], projection[i]);
    EXPECT_FLOAT_EQ(colour[2], 0.75f);
    overlay.Release();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  }
}

}  // namespace
