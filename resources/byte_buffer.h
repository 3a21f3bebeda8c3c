#pragma once
// Heap buffers handed across the program: extracted archive members and decoded pixels.
// They come from malloc and are released with free, so a caller may also take the raw
// pointer over (release()) and free it itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

struct FreeDeleter {
  void operator()(void* p) const noexcept { std::free(p); }
};

using ByteBuffer = std::unique_ptr<uint8_t[], FreeDeleter>;

// A buffer of `size` bytes (size > 0), or an empty one when the heap refuses.
inline ByteBuffer AllocateBytes(size_t size) {
  return ByteBuffer(static_cast<uint8_t*>(std::malloc(size)));
}
