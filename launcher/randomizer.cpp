#include "launcher/randomizer.h"

#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "rotation/choice.h"
#include "rotation/maker.h"
#include "rotation/member_start.h"
#include "settings/collection_registry.h"
#include "settings/registry_key.h"
#include "settings/registry_names.h"
#include "settings/user_registration.h"

namespace launcher {

using rotation::IsFullScreenRun;
using rotation::kMakerWebAddress;
using rotation::MemberProcess;
using rotation::PickCandidate;
using rotation::StartMember;

namespace {

// The programs of the members listed under "List" whose program exists, in list order.
std::vector<std::string> CandidatePaths(const RegistryKey& collection) {
  std::vector<std::string> paths;
  for (CollectionEntry& member : collection_registry::ReadMembers(collection))
    paths.push_back(std::move(member.executablePath));
  return paths;
}

}  // namespace

std::string InstallErrorText() {
  return std::string(
             "This screensaver is not installed properly. Please reinstall it.\n"
             "(if you have lost installer, you can download it from ") +
         kMakerWebAddress;
}

std::string OwnExecutablePath() {
  RegistryKey collection;
  if (!collection.Open(HKEY_CURRENT_USER, registry_names::kCollectionKey)) return {};
  return collection_registry::ReadExecutablePath(collection, registry_names::kProductKey);
}

std::string ChooseExecutablePath(const std::string& arguments, uint32_t seed) {
  RegistryKey collection;
  if (IsFullScreenRun(arguments) && collection.OpenPlain(HKEY_CURRENT_USER, registry_names::kCollectionKey) &&
      collection_registry::ReadStartRandom(collection)) {
    try {
      std::vector<std::string> candidates = CandidatePaths(collection);
      if (std::optional<std::size_t> index = PickCandidate(seed, candidates.size()))
        return std::move(candidates[*index]);
    } catch (const std::bad_alloc&) {
      // Out of memory for the candidates: this screensaver runs instead.
    }
  }
  return OwnExecutablePath();
}

Result<rotation::StartError> RunRandomizer(const std::string& arguments) {
  // An account that starts the installed launcher before the screensaver has no registration yet.
  user_registration::RegisterInstalledProgramForUser();
  const std::string path = ChooseExecutablePath(arguments, GetTickCount());
  if (path.empty())
    return Result<rotation::StartError>::Fail(rotation::StartError::ProgramMissing, "no program registered");
  MemberProcess started;
  const Result<rotation::StartError> start = StartMember(path, arguments, &started);
  // The host sees the screensaver running until the member's full-screen run ends.
  // The launcher owns no window, so nothing waits for its answer meanwhile.
  if (start && IsFullScreenRun(arguments)) WaitForSingleObject(started.Handle(), INFINITE);
  return start;
}

}  // namespace launcher
