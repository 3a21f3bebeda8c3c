#include "resources/resource_pak.h"

#include <cstring>
#include <new>

#include "base/ascii.h"
#include "resources/trace.h"

namespace {

constexpr char kPakName[] = "_ResourceData";
constexpr uLong kMaxMembers = 65535;  // the classic 16-bit member count
constexpr uLong kMethodStored = 0;
constexpr uLong kMethodDeflated = 8;
constexpr uLong kFlagEncrypted = 1;
// Deflate cannot expand one input byte into more than about 1032 output bytes.
constexpr uint64_t kMaxDeflateRatio = 1032;
constexpr uint64_t kDeflateSlack = 1024;

// Whether the member can possibly deliver its recorded size from an archive of
// `archiveSize` bytes: a stored member holds its bytes one to one, a deflated one expands
// them at most ~1032 times, and no other method can be read; neither can an encrypted
// member (without a key its stored bytes would come out as cipher text). Refusing the rest
// before the buffer is allocated keeps a forged size from claiming gigabytes.
bool SizeIsAttainable(const PakEntry& entry, int32_t archiveSize) {
  if (entry.encrypted) return false;
  const uint64_t compressed =
      entry.compressedSize < static_cast<uint32_t>(archiveSize) ? entry.compressedSize
                                                                : static_cast<uint32_t>(archiveSize);
  const uint64_t wanted = static_cast<uint64_t>(entry.uncompressedSize);
  if (entry.compressionMethod == kMethodStored) return wanted <= compressed;
  if (entry.compressionMethod == kMethodDeflated) return wanted <= compressed * kMaxDeflateRatio + kDeflateSlack;
  return false;
}

}  // namespace

bool ResourcePak::Open(int32_t resourceId) {
  Close();
  lastResult_ = Result<PakError>::Ok();
  source_ = StreamSource{};
  source_.resourceId = resourceId;
  return OpenSource();
}

bool ResourcePak::Open(const void* data, int32_t size) {
  Close();
  lastResult_ = Result<PakError>::Ok();
  source_ = StreamSource{};
  source_.data = data;
  source_.size = size;
  // A null buffer would read as "the resource with identifier 0"; refuse it here.
  if (data == nullptr) {
    std::strcpy(name_, kPakName);
    lastResult_ = Result<PakError>::Fail(PakError::CantOpen, TraceError("Can't open file \"%s\"", name_));
    return false;
  }
  return OpenSource();
}

bool ResourcePak::OpenSource() {
  std::strcpy(name_, kPakName);
  zlib_filefunc_def functions = ResourceStreamFunctions(&source_);
  archive_ = unzOpen2(name_, &functions);
  unz_global_info global{};
  if (archive_ != nullptr && (unzGetGlobalInfo(archive_, &global) != UNZ_OK || global.number_entry > kMaxMembers)) {
    unzClose(archive_);
    archive_ = nullptr;
  }
  if (archive_ == nullptr) {
    lastResult_ = Result<PakError>::Fail(PakError::CantOpen, TraceError("Can't open file \"%s\"", name_));
    return false;
  }
  entryCount_ = static_cast<int32_t>(global.number_entry);
  commentSize_ = static_cast<uint32_t>(global.size_comment);

  entries_.reset(new (std::nothrow) PakEntry[static_cast<size_t>(entryCount_)]());
  if (!entries_) {
    lastResult_ =
        Result<PakError>::Fail(PakError::NoMemory, TraceError("Not enought memory to load pak file \"%s\"", name_));
    unzClose(archive_);
    archive_ = nullptr;
    entryCount_ = 0;
    return false;
  }
  ReadDirectory();
  return true;
}

// Walks the central directory once (the open has selected the first member). A record the
// reader cannot describe, or whose name does not fit the table, stays unlisted. Once the
// reader reports the end of the directory or a damaged record it describes no further
// member, so the walk stops there and the rest of the table stays unlisted.
void ResourcePak::ReadDirectory() {
  for (int32_t i = 0; i < entryCount_; ++i) {
    PakEntry& entry = entries_[static_cast<size_t>(i)];
    unz_file_info info{};
    const int described = unzGetCurrentFileInfo(archive_, &info, entry.name, sizeof entry.name,
                                                 nullptr, 0, nullptr, 0);
    entry.listed = described == UNZ_OK && info.size_filename < sizeof entry.name;
    if (!entry.listed) entry.name[0] = '\0';
    entry.name[sizeof entry.name - 1] = '\0';
    entry.externalAttributes = static_cast<uint32_t>(info.external_fa);
    entry.uncompressedSize =
        info.uncompressed_size > 0x7FFFFFFFu ? -1 : static_cast<int32_t>(info.uncompressed_size);
    entry.compressedSize =
        info.compressed_size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(info.compressed_size);
    entry.compressionMethod = static_cast<uint32_t>(info.compression_method);
    entry.encrypted = (info.flag & kFlagEncrypted) != 0;
    unz_file_pos position{};
    unzGetFilePos(archive_, &position);
    entry.directoryPosition = static_cast<uint32_t>(position.pos_in_zip_directory);
    entry.index = static_cast<uint32_t>(position.num_of_file);
    if (described != UNZ_OK || unzGoToNextFile(archive_) != UNZ_OK) break;
  }
}

const PakEntry* ResourcePak::Find(const char* memberName) const {
  if (memberName == nullptr) return nullptr;
  for (int32_t i = 0; i < entryCount_; ++i) {
    const PakEntry& entry = entries_[static_cast<size_t>(i)];
    if (entry.listed && ascii::EqualNoCase(entry.name, memberName)) return &entry;
  }
  return nullptr;
}

int32_t ResourcePak::Extract(const char* memberName, ByteBuffer* bytes) {
  bytes->reset();
  lastResult_ = Result<PakError>::Ok();
  const char* shownName = memberName != nullptr ? memberName : "";
  const PakEntry* entry = archive_ != nullptr ? Find(memberName) : nullptr;
  if (entry == nullptr) {
    lastResult_ =
        Result<PakError>::Fail(PakError::NotFound, TraceError("File \"%s:%s\" not found", name_, shownName));
    return 0;
  }
  ByteBuffer buffer;
  int read = 0;
  if (entry->uncompressedSize > 0 && SizeIsAttainable(*entry, source_.openedSize)) {
    buffer = AllocateBytes(static_cast<size_t>(entry->uncompressedSize));
  }
  if (buffer) {
    unz_file_pos position{entry->directoryPosition, entry->index};
    unzGoToFilePos(archive_, &position);
    unzOpenCurrentFile(archive_);
    read = unzReadCurrentFile(archive_, buffer.get(), static_cast<unsigned>(entry->uncompressedSize));
    unzCloseCurrentFile(archive_);  // a CRC-32 mismatch reported here does not fail the extraction
  }
  if (!buffer || read != entry->uncompressedSize) {
    lastResult_ =
        Result<PakError>::Fail(PakError::CantExtract, TraceError("Can't extract file \"%s:%s\"", name_, shownName));
    return 0;
  }
  *bytes = std::move(buffer);
  return entry->uncompressedSize;
}

int32_t ResourcePak::Extract(const char* memberName, uint8_t** bytes) {
  ByteBuffer buffer;
  const int32_t length = Extract(memberName, &buffer);
  *bytes = buffer.release();
  return length;
}

void ResourcePak::Close() {
  entries_.reset();
  entryCount_ = 0;
  commentSize_ = 0;
  if (archive_ != nullptr) {
    unzClose(archive_);
    archive_ = nullptr;
  }
}
