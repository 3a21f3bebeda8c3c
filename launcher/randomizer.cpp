#include "launcher/randomizer.h"

#include <windows.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "rotation/choice.h"
#include "settings/collection_members.h"
#include "rotation/maker.h"
#include "rotation/member_start.h"
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

constexpr DWORD kPathBufferSize = 1024;

std::string OwnKeyPath() {
  return std::string(registry_names::kCollectionKey) + "\\" + registry_names::kProductKey;
}

// The programs of the members listed under "List" whose program exists, in list order.
std::vector<std::string> CandidatePaths(const RegistryKey& collection) {
  std::vector<std::string> paths;
  for (CollectionEntry& member : ReadCollectionMembers(collection.Handle()))
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
  RegistryKey own;
  if (!own.Open(HKEY_CURRENT_USER, OwnKeyPath().c_str())) return {};
  // One byte beyond the path buffer so that a path filling it exactly can still be ended.
  char path[kPathBufferSize + 1] = {};
  DWORD type = REG_NONE;
  DWORD size = kPathBufferSize;
  if (RegQueryValueExA(own.Handle(), registry_names::kExecutablePath, nullptr, &type,
                       reinterpret_cast<BYTE*>(path), &size) != ERROR_SUCCESS)
    return {};
  if (type != REG_SZ || size == 0) return {};
  return std::string(path, strnlen(path, size));
}

std::string ChooseExecutablePath(const std::string& arguments, uint32_t seed) {
  RegistryKey collection;
  if (IsFullScreenRun(arguments) && collection.OpenPlain(HKEY_CURRENT_USER, registry_names::kCollectionKey) &&
      StartRandomIsOn(collection.Handle())) {
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
