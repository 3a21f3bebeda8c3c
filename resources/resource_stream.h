#pragma once
// A read-only stream over archive bytes that stands in for a file under the ZIP reader.
// The bytes are never copied and never freed by the stream: they are either the locked
// resource memory of the program module or a buffer that outlives the stream.
#include <minizip/ioapi.h>

#include <cstddef>
#include <cstdint>
#include <memory>

class ResourceStream {
 public:
  // The program's resource of type "RFILE" with that identifier. None (null) when the mode
  // is not exactly "rb", or the resource is missing, empty or cannot be loaded.
  static std::unique_ptr<ResourceStream> Open(int32_t resourceId, const char* mode);
  // Any read-only bytes; none when the mode is not exactly "rb", the data is null or the
  // size is not positive.
  static std::unique_ptr<ResourceStream> OpenBytes(const void* data, int32_t size, const char* mode);

  // Copies whole elements only: n = min(elementSize * count, size - position) / elementSize
  // elements (n * elementSize bytes); a tail shorter than one element stays unread.
  size_t Read(void* destination, size_t elementSize, size_t count);
  // origin 0: offset from the start; 1: from the cursor; 2: back from the end (size - offset).
  // 0 on success; -1 for another origin or a target outside [0, size], cursor unchanged.
  int Seek(int64_t offset, int origin);
  int32_t Tell() const { return position_; }
  int Error() const { return 0; }  // the stream has no error state
  int32_t Size() const { return size_; }
  const void* ResourceHandle() const { return resource_; }  // null for a plain buffer

 private:
  ResourceStream(const void* data, int32_t size, const void* resource)
      : size_(size), data_(static_cast<const uint8_t*>(data)), resource_(resource) {}

  int32_t size_;
  const uint8_t* data_;
  const void* resource_;  // the loaded-resource handle, or null for a plain buffer
  int32_t position_ = 0;
};

// What the ZIP reader's open call turns into a stream: a resource identifier, or (when
// `data` is set) a byte buffer.
struct StreamSource {
  int32_t resourceId = 0;
  const void* data = nullptr;
  int32_t size = 0;
  int32_t openedSize = 0;  // set by the open call: the byte length of the stream it made
};

// The reader's read-only I/O table over ResourceStream. `source` must outlive the archive
// opened with it; the file name handed to the reader is not used.
zlib_filefunc_def ResourceStreamFunctions(StreamSource* source);
