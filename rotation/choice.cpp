#include "rotation/choice.h"

namespace rotation {

bool IsFullScreenRun(std::string_view arguments) { return arguments == "/s" || arguments == "-s"; }

std::optional<std::size_t> PickCandidate(uint32_t seed, std::size_t candidateCount) {
  if (candidateCount == 0) return std::nullopt;
  ClassicRandom random(seed);
  return static_cast<std::size_t>(random.Next()) % candidateCount;
}

}  // namespace rotation
