#pragma once
// A read position over (bytes, length) that cannot pass the end: every read first checks
// that the bytes are there and reports false, reading nothing, when they are not.
#include <cstddef>
#include <cstdint>
#include <cstring>

class ByteCursor {
 public:
  ByteCursor(const uint8_t* bytes, size_t length) : bytes_(bytes), length_(length) {}

  size_t Remaining() const { return length_ - position_; }
  size_t Position() const { return position_; }

  bool Skip(size_t count) {
    if (count > Remaining()) return false;
    position_ += count;
    return true;
  }

  bool ReadU8(uint8_t* value) {
    if (Remaining() < 1) return false;
    *value = bytes_[position_++];
    return true;
  }

  bool ReadU16LE(uint16_t* value) {
    if (Remaining() < 2) return false;
    *value = static_cast<uint16_t>(bytes_[position_] | (bytes_[position_ + 1] << 8));
    position_ += 2;
    return true;
  }

  // The next `count` bytes, or null when fewer remain; the cursor moves past them.
  const uint8_t* Take(size_t count) {
    if (count > Remaining()) return nullptr;
    const uint8_t* start = bytes_ + position_;
    position_ += count;
    return start;
  }

 private:
  const uint8_t* bytes_;
  size_t length_;
  size_t position_ = 0;
};
