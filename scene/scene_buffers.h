#pragma once
// Heap buffers the scene keeps until its window is destroyed: the decoded pixels the
// textures were uploaded from, the inverted cloud copy and the star records. The list owns
// its entries and frees them, in the order they were added, on Release.
#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "resources/byte_buffer.h"

class SceneBuffers {
 public:
  // Takes the buffer over; an empty buffer is not listed.
  void Append(ByteBuffer buffer) {
    if (buffer) entries_.push_back(std::move(buffer));
  }

  // An array of `count` plain records owned by the list, or null when the heap refuses
  // (nothing is listed then).
  template <typename T>
  T* NewArray(size_t count) {
    static_assert(std::is_trivially_copyable<T>::value && std::is_trivially_destructible<T>::value,
                  "the list frees raw bytes");
    if (count == 0 || count > static_cast<size_t>(-1) / sizeof(T)) return nullptr;
    ByteBuffer bytes = AllocateBytes(count * sizeof(T));
    if (!bytes) return nullptr;
    T* array = reinterpret_cast<T*>(bytes.get());  // malloc's alignment suits any plain record
    std::uninitialized_value_construct_n(array, count);
    entries_.push_back(std::move(bytes));
    return array;
  }

  void Release() { entries_.clear(); }
  size_t Count() const { return entries_.size(); }

 private:
  std::vector<ByteBuffer> entries_;
};
