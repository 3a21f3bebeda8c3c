#pragma once
// The planet on the monitors beside the main one, for the time of the run: a window over
// each monitor, covering it exactly at its own size, that the run's one rendering context
// draws in turn, each from its own view of the one loaded scene (the archive is read and
// decoded once for all). Input on them goes to the run's window (CMonitorWindow).
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "scene/scene.h"
#include "shell/rendering_context.h"

class CMonitorWindow;

class MonitorViews {
 public:
  static constexpr char kClassName[] = "TellaroMonitor";

  MonitorViews();
  ~MonitorViews();
  MonitorViews(const MonitorViews&) = delete;
  MonitorViews& operator=(const MonitorViews&) = delete;

  // A window over every monitor but the primary, below `run`. Each view starts as the options
  // say, from a seed of its own after `seed` (the main view's). A window that refuses the
  // context's pixel format stays black; one that cannot be created is left out.
  void Open(HWND run, RenderingContext& context, const SceneOptions& options, uint32_t seed);
  // One frame of every other monitor's view, each swapped without waiting for a refresh;
  // then the context is current on the run's window again, with its projection.
  void DrawFrames(Scene& scene, RenderingContext& context, double seconds);
  // With the context current on the run's window: the windows and their device contexts go.
  void Close();
  size_t Count() const;

 private:
  struct View;
  HWND run_ = nullptr;
  std::vector<View> views_;
};
