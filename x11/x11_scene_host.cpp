#include "x11/x11_scene_host.h"

#include <time.h>

#include "resources/linked_archive.h"
#include "resources/resource_pak.h"

bool X11SceneHost::OpenArchive(ResourcePak& pak) {
  const LinkedArchive archive = ProgramArchive();
  return pak.Open(archive.data, archive.size);
}

uint32_t X11SceneHost::TickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const uint64_t milliseconds =
      static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(milliseconds);  // wraps like GetTickCount
}
