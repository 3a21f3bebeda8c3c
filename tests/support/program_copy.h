#pragma once
// Copies of a program with one resource replaced: the failures that a user meets only with a
// damaged program file.
#include <windows.h>

#include <string>
#include <vector>

namespace program_copy {

inline BOOL CALLBACK FirstLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found) {
  *reinterpret_cast<WORD*>(found) = language;
  return FALSE;
}

}  // namespace program_copy

// A copy of `program` named `name`.scr in the temporary folder whose resource `type`/`id`
// holds `bytes` instead; empty when the copy can't be made.
inline std::string ProgramWithResource(const std::string& program, const std::string& name, LPCSTR type, WORD id,
                                       const std::vector<char>& bytes) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string copy = std::string(folder) + name + ".scr";
  if (!CopyFileA(program.c_str(), copy.c_str(), FALSE)) return {};

  WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
  if (HMODULE module = LoadLibraryExA(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
    EnumResourceLanguagesA(module, type, MAKEINTRESOURCEA(id), &program_copy::FirstLanguage,
                           reinterpret_cast<LONG_PTR>(&language));
    FreeLibrary(module);
  }
  HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
  if (!update) return {};
  const bool replaced = UpdateResourceA(update, type, MAKEINTRESOURCEA(id), language, const_cast<char*>(bytes.data()),
                                        static_cast<DWORD>(bytes.size()));
  return EndUpdateResourceA(update, !replaced) && replaced ? copy : std::string();
}
