#include "rotation/choice.h"

namespace rotation {

bool IsFullScreenRun(std::string_view arguments) { return arguments == "/s" || arguments == "-s"; }

int ClassicRandom::Next() {
  state_ = state_ * 214013u + 2531011u;  // unsigned arithmetic wraps modulo 2^32
  return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

std::optional<std::size_t> PickCandidate(uint32_t seed, std::size_t candidateCount) {
  if (candidateCount == 0) return std::nullopt;
  ClassicRandom random(seed);
  return static_cast<std::size_t>(random.Next()) % candidateCount;
}

}  // namespace rotation
