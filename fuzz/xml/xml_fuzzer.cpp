// Parses the input's bytes as a text (exactly its bytes, no terminator after them; a zero
// inside ends it early) and checks what comes out: a refusal leaves no pairs, every value is
// a non-empty run of at most 1,023 characters without "<", and every key, looked up in
// another letter case, finds the first pair of that key.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalogue/xml_pairs.h"

namespace {

std::string SwapCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  XmlPairs xml;
  xml.Parse("<held>pair</held>");
  if (!xml.ParseBytes(data, size)) {
    if (!xml.pairs().empty()) std::abort();
    return 0;
  }
  for (const XmlPair& pair : xml.pairs()) {
    if (pair.value.empty() || pair.value.size() > 1023 || pair.value.find('<') != std::string::npos) std::abort();
    std::string value;
    int32_t number = 0;
    if (!xml.GetString(SwapCase(pair.key), &value) || !xml.GetInt(pair.key, &number)) std::abort();
    for (const XmlPair& first : xml.pairs()) {
      if (Lower(first.key) != Lower(pair.key)) continue;
      if (first.value != value) std::abort();
      break;
    }
  }
  std::string value;
  int32_t number = 0;
  xml.GetString("English.ProductsList.Count", &value);
  xml.GetInt("English.ProductsList.Count", &number);
  return 0;
}
