// Opens the input as an archive and extracts every member it lists, by its own name and by
// the name in upper case, and decodes it when its name says it is a picture; a refused
// picture leaves no pixels.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/image_reader.h"
#include "resources/resource_pak.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0x7FFFFFFF) return 0;
  ResourcePak pak;
  if (!pak.Open(data, static_cast<int32_t>(size))) return 0;
  std::vector<std::string> names;
  for (int32_t i = 0; i < pak.EntryCount(); ++i) {
    if (pak.Entries()[i].listed) names.emplace_back(pak.Entries()[i].name);
  }
  for (const std::string& name : names) {
    ByteBuffer bytes;
    const int32_t length = pak.Extract(name.c_str(), &bytes);
    if (length > 0) {
      volatile uint8_t last = bytes[static_cast<size_t>(length) - 1];  // the whole length is there
      (void)last;
    }
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    pak.Extract(upper.c_str(), &bytes);
    Image image;
    if (!ReadImage(&image, name.c_str(), pak) && image.pixels) std::abort();
  }
  pak.Close();
  return 0;
}
