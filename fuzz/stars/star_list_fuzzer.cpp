// Parses the input as a star list, exactly as long as libFuzzer hands it over (no zero
// after it), and checks what comes out: never more records than line feeds, every record
// with finite numbers and a colour class of the seven.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "scene/star_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const int32_t lines = CountStarLines(text, size);
  if (lines < 0 || static_cast<size_t>(lines) > size) std::abort();
  // One record more than asked for, filled with a marker: the parser must leave it alone.
  std::vector<StarRecord> records(static_cast<size_t>(lines) + 1, StarRecord{-7.0, -7.0, -7.0, -7});
  const int32_t read = ParseStarList(text, size, records.data(), lines);
  if (read < 0 || read > lines) std::abort();
  for (int32_t i = 0; i < read; ++i) {
    const StarRecord& star = records[static_cast<size_t>(i)];
    if (!std::isfinite(star.magnitude) || !std::isfinite(star.rightAscension) || !std::isfinite(star.declination))
      std::abort();
    if (star.colourClass < 0 || star.colourClass > 6) std::abort();
  }
  if (records[static_cast<size_t>(lines)].colourClass != -7) std::abort();
  return 0;
}
