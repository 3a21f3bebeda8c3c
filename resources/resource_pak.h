#pragma once
// The ZIP archive that carries the screensaver's data: opened in place over the program's
// resource (or over any byte buffer), its member table read once, members handed out by
// name as newly allocated buffers that belong to the caller.
#include <minizip/unzip.h>

#include <cstdint>
#include <memory>
#include <string>

#include "base/result.h"
#include "resources/byte_buffer.h"
#include "resources/resource_lookup.h"
#include "resources/resource_stream.h"

struct PakEntry {
  char name[256];               // as stored, NUL-terminated
  uint32_t externalAttributes;  // kept, not used
  int32_t uncompressedSize;     // exact byte count Extract must deliver
  uint32_t directoryPosition;   // with `index`: re-selects the member directly
  uint32_t index;
  uint32_t compressedSize;
  uint32_t compressionMethod;
  bool encrypted;
  bool listed;  // false when the reader gave no usable record (the entry never matches)
};

enum class PakError { None, CantOpen, NoMemory, NotFound, CantExtract };

class ResourcePak {
 public:
  ResourcePak() = default;
  ~ResourcePak() { Close(); }
  ResourcePak(const ResourcePak&) = delete;
  ResourcePak& operator=(const ResourcePak&) = delete;

  // The program's own archive, resource "RFILE" 152 (Windows build only; elsewhere false).
  bool Open() { return Open(kArchiveResourceId); }
  bool Open(int32_t resourceId);
  // An archive held in memory; the bytes are not copied and must outlive the pak.
  bool Open(const void* data, int32_t size);

  // Length > 0 and the member's bytes (exactly that many, no terminator) on success; 0 and
  // no buffer on failure. The first member whose name equals `memberName` ignoring ASCII
  // letter case is taken.
  int32_t Extract(const char* memberName, ByteBuffer* bytes);
  // The same, handing over a raw buffer that the caller releases with free().
  int32_t Extract(const char* memberName, uint8_t** bytes);

  // Safe on a pak that is closed or whose Open failed.
  void Close();

  bool IsOpen() const { return archive_ != nullptr; }
  const char* Name() const { return name_; }
  // The outcome of the last Open or Extract: success, or the code and the trace of why it
  // failed ("File \"_ResourceData:stars.dat\" not found"). Open and Extract keep their
  // plain answers (true or false, a length or 0); this is where their reason waits.
  const Result<PakError>& LastResult() const { return lastResult_; }
  int32_t EntryCount() const { return entryCount_; }
  const PakEntry* Entries() const { return entries_.get(); }

 private:
  bool OpenSource();
  void ReadDirectory();
  const PakEntry* Find(const char* memberName) const;

  char name_[256] = "";
  Result<PakError> lastResult_;
  StreamSource source_;
  unzFile archive_ = nullptr;
  int32_t entryCount_ = 0;
  uint32_t commentSize_ = 0;  // not used further
  std::unique_ptr<PakEntry[]> entries_;
};
