#pragma once
// How the launcher decides what to start: which argument strings mean a full-screen run,
// and the random pick among the installed members. No Win32 here, so the rules build and
// run in the native build as well.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/classic_random.h"

namespace rotation {

// True only for the argument strings "/s" and "-s", compared whole and letter-exact:
// "/S", "/s " or "/s 1" are not full-screen runs.
bool IsFullScreenRun(std::string_view arguments);

// The member that a run with this seed starts: the first value drawn from a generator
// seeded with `seed`, modulo the number of candidates. None when there is no candidate.
std::optional<std::size_t> PickCandidate(uint32_t seed, std::size_t candidateCount);

}  // namespace rotation
