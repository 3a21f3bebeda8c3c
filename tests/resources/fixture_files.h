#pragma once
// Reading the committed fixtures (made by fixtures/make_fixtures.py) for the tests.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace fixtures {

// The first `keep` bytes (all by default) in a buffer of exactly their length, so that a read
// beyond the end lands outside the allocation where the address sanitizer sees it.
inline std::vector<uint8_t> Prefix(const std::vector<uint8_t>& bytes, size_t keep = SIZE_MAX) {
  std::vector<uint8_t> exact(bytes.begin(), bytes.begin() + static_cast<long>(std::min(keep, bytes.size())));
  exact.shrink_to_fit();
  return exact;
}

inline std::vector<uint8_t> Fixture(const std::string& name) {
  std::ifstream file(std::string(TELLARO_FIXTURES_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(file) << "cannot open fixture " << name;
  return Prefix(std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
}

// The first `size` bytes of a decoded buffer (none for a null buffer), for comparing.
inline std::vector<uint8_t> Bytes(const uint8_t* data, size_t size) {
  return data != nullptr ? std::vector<uint8_t>(data, data + size) : std::vector<uint8_t>();
}

// Width, height and the RGB bytes of a binary PPM (P6, maxval 255) as djpeg writes it.
struct Ppm {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
};

inline Ppm ReadPpm(const std::string& name) {
  const std::vector<uint8_t> bytes = Fixture(name);
  const std::string text(bytes.begin(), bytes.end());
  Ppm ppm;
  int maxval = 0;
  int consumed = 0;
  EXPECT_EQ(std::sscanf(text.c_str(), "P6 %d %d %d%n", &ppm.width, &ppm.height, &maxval, &consumed), 3) << name;
  EXPECT_EQ(maxval, 255) << name << " is not an 8-bit PPM";
  ppm.rgb.assign(bytes.begin() + consumed + 1, bytes.end());  // one whitespace byte after maxval
  return ppm;
}

}  // namespace fixtures
