#include "resources/resource_stream.h"

#include <cstring>
#include <new>

#include "resources/resource_lookup.h"

namespace {

bool IsReadMode(const char* mode) { return mode != nullptr && std::strcmp(mode, "rb") == 0; }

}  // namespace

std::unique_ptr<ResourceStream> ResourceStream::Open(int32_t resourceId, const char* mode) {
  if (!IsReadMode(mode)) return nullptr;
  LockedResource locked;
  if (!LockProgramResource(resourceId, &locked) || locked.size <= 0) return nullptr;
  return std::unique_ptr<ResourceStream>(new (std::nothrow)
                                             ResourceStream(locked.data, locked.size, locked.resource));
}

std::unique_ptr<ResourceStream> ResourceStream::OpenBytes(const void* data, int32_t size,
                                                          const char* mode) {
  if (!IsReadMode(mode) || data == nullptr || size <= 0) return nullptr;
  return std::unique_ptr<ResourceStream>(new (std::nothrow) ResourceStream(data, size, nullptr));
}

size_t ResourceStream::Read(void* destination, size_t elementSize, size_t count) {
  if (elementSize == 0 || count == 0) return 0;
  const size_t left = static_cast<size_t>(size_ - position_);
  // elementSize * count may overflow; only min(.., left) matters.
  const size_t wanted = count > left / elementSize ? left : elementSize * count;
  const size_t elements = wanted / elementSize;
  const size_t bytes = elements * elementSize;
  if (bytes > 0) std::memcpy(destination, data_ + position_, bytes);
  position_ += static_cast<int32_t>(bytes);
  return elements;
}

int ResourceStream::Seek(int64_t offset, int origin) {
  int64_t target;
  switch (origin) {
    case 0: target = offset; break;
    case 1: target = int64_t{position_} + offset; break;
    case 2: target = int64_t{size_} - offset; break;
    default: return -1;
  }
  if (target < 0 || target > size_) return -1;
  position_ = static_cast<int32_t>(target);
  return 0;
}

// The reader's callbacks. It opens exactly one stream per archive and closes it with the
// archive; every other call names the stream it got from the open call.
namespace {

ResourceStream* AsStream(voidpf stream) { return static_cast<ResourceStream*>(stream); }

voidpf ZCALLBACK OpenCallback(voidpf opaque, const char* /*filename*/, int mode) {
  auto* source = static_cast<StreamSource*>(opaque);
  const bool readExisting = (mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) == ZLIB_FILEFUNC_MODE_READ &&
                            (mode & ZLIB_FILEFUNC_MODE_CREATE) == 0;
  const char* modeText = readExisting ? "rb" : "wb";
  std::unique_ptr<ResourceStream> stream =
      source->data != nullptr ? ResourceStream::OpenBytes(source->data, source->size, modeText)
                              : ResourceStream::Open(source->resourceId, modeText);
  source->openedSize = stream ? stream->Size() : 0;
  return stream.release();  // owned by the archive until CloseCallback
}

uLong ZCALLBACK ReadCallback(voidpf, voidpf stream, void* buffer, uLong size) {
  return static_cast<uLong>(AsStream(stream)->Read(buffer, 1, size));
}

uLong ZCALLBACK WriteCallback(voidpf, voidpf, const void*, uLong) { return 0; }

long ZCALLBACK TellCallback(voidpf, voidpf stream) { return AsStream(stream)->Tell(); }

long ZCALLBACK SeekCallback(voidpf, voidpf stream, uLong offset, int origin) {
  // No valid target lies more than the 32-bit stream size away from any origin.
  if (offset > 0xFFFFFFFFu) return -1;
  return AsStream(stream)->Seek(static_cast<int64_t>(offset), origin);
}

int ZCALLBACK CloseCallback(voidpf, voidpf stream) {
  std::unique_ptr<ResourceStream> release(AsStream(stream));
  return 0;
}

int ZCALLBACK ErrorCallback(voidpf, voidpf stream) { return AsStream(stream)->Error(); }

}  // namespace

zlib_filefunc_def ResourceStreamFunctions(StreamSource* source) {
  zlib_filefunc_def functions{};
  functions.zopen_file = OpenCallback;
  functions.zread_file = ReadCallback;
  functions.zwrite_file = WriteCallback;
  functions.ztell_file = TellCallback;
  functions.zseek_file = SeekCallback;
  functions.zclose_file = CloseCallback;
  functions.zerror_file = ErrorCallback;
  functions.opaque = source;
  return functions;
}
