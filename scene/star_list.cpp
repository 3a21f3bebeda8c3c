#include "scene/star_list.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

int8_t StarColourClass(char letter) {
  switch (letter) {
    case 'O': return 0;
    case 'B': return 1;
    case 'A': return 2;
    case 'G': return 4;
    case 'K': return 5;
    case 'M': return 6;
    default: return 3;  // F, and whatever else stands there
  }
}

int32_t CountStarLines(const char* text, size_t size) {
  int32_t count = 0;
  const char* end = text + size;
  for (const char* p = text; p < end; ++count) {
    p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    if (!p) break;
    ++p;
  }
  return count;
}

int32_t ParseStarList(const char* text, size_t size, StarRecord* records, int32_t capacity) {
  // Each line is copied into a terminated string of its own before the format reads it:
  // the format's readers stop only at a zero, which the archive's text does not have.
  // The line's CR, if any, is left out, so a line that ends right after the third ";"
  // has no class letter and is skipped instead of being classed by its line end.
  std::string line;
  int32_t read = 0;
  const char* p = text;
  const char* end = text + size;
  for (int32_t lineIndex = 0; lineIndex < capacity && p < end; ++lineIndex) {
    const char* feed = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    if (!feed) break;  // a last line without its line feed is not a record
    const char* lineEnd = feed;
    if (lineEnd > p && lineEnd[-1] == '\r') --lineEnd;
    line.assign(p, static_cast<size_t>(lineEnd - p));
    p = feed + 1;

    double magnitude = 0.0, rightAscension = 0.0, declination = 0.0;
    char letter = 0;
    if (std::sscanf(line.c_str(), "%lf;%lf;%lf;%c", &magnitude, &rightAscension, &declination, &letter) != 4) continue;
    if (!std::isfinite(magnitude) || !std::isfinite(rightAscension) || !std::isfinite(declination)) continue;
    records[read++] = StarRecord{rightAscension, declination, magnitude, StarColourClass(letter)};
  }
  return read;
}
