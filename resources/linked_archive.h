#pragma once
// The data archive inside a native program: the build assembles the packed data folder into
// the program (the Windows program carries the same archive as resource "RFILE" 152). Read it
// with ResourcePak::Open(data, size).
#include <cstdint>

struct LinkedArchive {
  const void* data;  // read-only, lives as long as the program
  int32_t size;
};

LinkedArchive ProgramArchive();
