#include "resources/linked_archive.h"

// The packed data folder, taken in byte for byte by the assembler; the build names the file
// (TELLARO_ARCHIVE_PATH) and rebuilds this object whenever the archive changes.
__asm__(
    ".section .rodata.tellaro_archive,\"a\",@progbits\n"
    ".balign 16\n"
    ".globl tellaro_archive_begin\n"
    ".hidden tellaro_archive_begin\n"
    "tellaro_archive_begin:\n"
    ".incbin \"" TELLARO_ARCHIVE_PATH "\"\n"
    ".globl tellaro_archive_end\n"
    ".hidden tellaro_archive_end\n"
    "tellaro_archive_end:\n"
    ".previous\n");

extern "C" const unsigned char tellaro_archive_begin[];
extern "C" const unsigned char tellaro_archive_end[];

LinkedArchive ProgramArchive() {
  return {tellaro_archive_begin, static_cast<int32_t>(tellaro_archive_end - tellaro_archive_begin)};
}
