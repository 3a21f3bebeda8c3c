#include <windows.h>

#include "resources/resource_lookup.h"

bool LockProgramResource(int32_t resourceId, LockedResource* out) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(resourceId), "rfile");
  if (info == nullptr) return false;
  DWORD size = SizeofResource(module, info);
  if (size == 0 || size > 0x7FFFFFFFu) return false;
  HGLOBAL loaded = LoadResource(module, info);
  if (loaded == nullptr) return false;
  const void* data = LockResource(loaded);
  if (data == nullptr) return false;
  out->data = data;
  out->size = static_cast<int32_t>(size);
  out->resource = loaded;
  return true;
}
