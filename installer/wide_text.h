#pragma once
// The programs' ANSI texts (UTF-8 under their manifest) as the wide texts of the system's calls.
#include <windows.h>

#include <string>

inline std::wstring WideText(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                         static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return wide;
}
