#pragma once
// The frame-rate overlay's bitmap font: the characters its text needs, each 5 pixels wide
// and 7 high, drawn here as rows of '#' (ink) and '.' (none), top row first. Letters sit on
// the baseline; none has a descender.

inline constexpr int kOverlayGlyphWidth = 5;
inline constexpr int kOverlayGlyphHeight = 7;

struct OverlayGlyph {
  char character;
  const char* rows[kOverlayGlyphHeight];
};

inline constexpr OverlayGlyph kOverlayGlyphs[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {':', {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####"}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###."}},
    {'m', {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#...#", "#...#"}},
    {'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####."}},
};
inline constexpr int kOverlayGlyphCount = static_cast<int>(sizeof kOverlayGlyphs / sizeof kOverlayGlyphs[0]);

// Index into kOverlayGlyphs of `c`, or -1 for a character the font lacks (a space among them).
constexpr int OverlayGlyphIndex(char c) {
  for (int i = 0; i < kOverlayGlyphCount; ++i)
    if (kOverlayGlyphs[i].character == c) return i;
  return -1;
}

// Every row exactly as wide as a glyph and of '#' and '.' only.
constexpr bool OverlayFontIsWellFormed() {
  for (const OverlayGlyph& glyph : kOverlayGlyphs) {
    for (const char* row : glyph.rows) {
      int length = 0;
      for (; row[length] != '\0'; ++length)
        if (row[length] != '#' && row[length] != '.') return false;
      if (length != kOverlayGlyphWidth) return false;
    }
  }
  return true;
}
static_assert(OverlayFontIsWellFormed(), "a glyph row of the overlay font is malformed");
