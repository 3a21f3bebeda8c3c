#pragma once
// Reading the committed fixtures (made by fixtures/make_fixtures.py) for the tests.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace fixtures {

inline std::string PathOf(const std::string& name) { return std::string(TELLARO_FIXTURES_DIR) + "/" + name; }

// The file's bytes in a buffer of exactly their length, so that a read beyond the end
// lands outside the allocation where the address sanitizer sees it.
inline std::vector<uint8_t> Read(const std::string& path) {
  std::vector<uint8_t> bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    ADD_FAILURE() << "cannot open fixture " << path;
    return bytes;
  }
  std::fseek(file, 0, SEEK_END);
  const long size = std::ftell(file);
  std::fseek(file, 0, SEEK_SET);
  bytes.resize(static_cast<size_t>(size));
  if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    ADD_FAILURE() << "cannot read fixture " << path;
  }
  std::fclose(file);
  bytes.shrink_to_fit();
  return bytes;
}

inline std::vector<uint8_t> Fixture(const std::string& name) { return Read(PathOf(name)); }

// Width, height and the RGB bytes of a binary PPM (P6, maxval 255) as djpeg writes it.
struct Ppm {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

inline Ppm ReadPpm(const std::string& name) {
  const std::vector<uint8_t> bytes = Fixture(name);
  Ppm ppm;
  std::string text(bytes.begin(), bytes.end());
  int maxval = 0;
  int consumed = 0;
  if (std::sscanf(text.c_str(), "P6 %d %d %d%n", &ppm.width, &ppm.height, &maxval, &consumed) != 3 ||
      maxval != 255) {
    ADD_FAILURE() << name << " is not a binary 8-bit PPM";
    return ppm;
  }
  const size_t start = static_cast<size_t>(consumed) + 1;  // one whitespace byte after maxval
  ppm.rgb.assign(bytes.begin() + static_cast<long>(start), bytes.end());
  return ppm;
}

}  // namespace fixtures
