#pragma once
// The command line of the X11 program, in the manner of XScreenSaver's display programs:
// where to draw, the scene's options with their ranges and defaults (the Windows program's
// registry values have the same), and the frame rate. Every option may be spelled with one dash or two.
#include <cstdio>
#include <string>

#include "scene/scene_options.h"

enum class DrawTarget { OwnWindow, Root, WindowId };

// Options::frameRate: draw at the display's refresh rate.
inline constexpr int kDisplayFrameRate = -1;
inline constexpr int kMaxFrameRate = 1000;
// The tours repeat within some ten thousand units of scene time; a start far beyond that
// shows nothing new and only costs the clock its precision.
inline constexpr int kMaxStartTime = 1000000;
// A day of motion: more than any comparison of runs needs.
inline constexpr int kMaxPauseSeconds = 86400;

struct Options {
  SceneOptions scene;
  DrawTarget target = DrawTarget::OwnWindow;
  unsigned long windowId = 0;  // DrawTarget::WindowId
  std::string display;         // empty: $DISPLAY
  bool showFrameRate = false;  // over the picture, in its bottom-left corner
  int frameRate = kDisplayFrameRate;  // frames per second at most; 0: as fast as it can draw
  bool startTimeGiven = false;
  double startTime = 0.0;  // SceneTime of the first frame, when given
  bool pauseGiven = false;
  double pauseAfter = 0.0;  // seconds of motion after which the picture stays, when given
  bool help = false;
};

struct ParseResult {
  bool ok = true;
  std::string error;  // when !ok: one line for the user
};

// `argv` holds the arguments after the program's name. `xscreensaverWindow` is the value of
// XSCREENSAVER_WINDOW, or null. The window is the first that applies: -window-id, -window
// (when no -root follows it), the variable, -root (the virtual root is looked up later),
// else a window of the program's own.
ParseResult ParseOptions(int argc, const char* const* argv, const char* xscreensaverWindow, Options* options);

// The option list with each option's range and default, as -help prints it.
void PrintUsage(std::FILE* out);

// "0x1a00003" (hexadecimal, as XScreenSaver writes it) or "27262979"; nothing else, never 0.
bool ParseWindowId(const char* text, unsigned long* id);
