#pragma once
// Finding the program's own archive resource: type "RFILE" (looked up as "rfile"; resource
// type names match without regard to case) with an integer identifier, in the module the
// program was started from. Only the Windows build has such resources; elsewhere nothing
// is ever found.
#include <cstdint>

#include "base/resource_ids.h"

struct LockedResource {
  const void* data = nullptr;      // read-only, owned by the module, never freed
  int32_t size = 0;
  const void* resource = nullptr;  // the loaded-resource handle the data was locked from
};

// True and `out` filled when the resource exists, is not empty and could be loaded and
// locked; false otherwise.
bool LockProgramResource(int32_t resourceId, LockedResource* out);

// The identifier of the screensaver's data archive.
constexpr int32_t kArchiveResourceId = IDR_ARCHIVE;
