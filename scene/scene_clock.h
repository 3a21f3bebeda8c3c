#pragma once
// The scene clock. SceneTime and the tours move in frames of 60 Hz, whatever the display
// shows: the host gives each frame its presentation time on a monotonic clock, and the time
// since the previous frame becomes a (fractional) number of 60 Hz frames. A random start
// draws the first value of the classic generator (base/classic_random.h).
#include <cstdint>
#include <limits>

inline constexpr double kSceneStartTime = 28659.0;

// The rate whose frames the scene's steps are made for.
inline constexpr double kSceneFramesPerSecond = 60.0;
// The most one frame moves the scene on: after a stall (a debugger, a suspended process, a
// display waking up) the tour goes on from where it stood, a quarter of a second later at
// most; a machine that draws four frames a second or more keeps the full speed.
inline constexpr double kMostFramesPerFrame = 15.0;

// Step per 60 Hz frame: 0.06 * 2^((speed - 50) * 0.03), the speed clamped to the slider's
// range so that a stray registry value cannot drive the clock to infinity.
double SceneTimeStep(int32_t animationSpeed);

// A random start point of the tour, 0..32767: the first value of the generator seeded with
// the tick count.
double RandomStartTime(uint32_t tickCount);

// Presentation times (seconds on a monotonic clock) to 60 Hz frames of motion.
class SceneClock {
 public:
  // The 60 Hz frames from the previous frame's presentation to this one's at `seconds`: 0
  // for the first frame and for a time before the previous one, at most kMostFramesPerFrame.
  double FramesUntil(double seconds);

  // The motion stops once it adds up to `frames` of 60 Hz from the first frame on, however
  // the frames fell; every later frame shows that moment. For comparing runs.
  void StopAfter(double frames) { stopAfter_ = frames; }
  bool Stopped() const { return moved_ >= stopAfter_; }

 private:
  bool started_ = false;
  double previous_ = 0.0;
  double moved_ = 0.0;  // 60 Hz frames so far
  double stopAfter_ = std::numeric_limits<double>::infinity();
};
