#pragma once
// Frame timing without a clock of its own: times are seconds on any steady clock.

// When the next frame is due at a fixed rate. A late frame (a slow machine, or a process
// stopped with SIGSTOP and continued) starts the schedule again from then instead of drawing
// the missed frames in a burst.
class FramePacer {
 public:
  // 0: every frame is due at once.
  explicit FramePacer(double framesPerSecond) : period_(framesPerSecond > 0.0 ? 1.0 / framesPerSecond : 0.0) {}

  // Milliseconds to wait at `now` before the next frame; 0 when it is due.
  int WaitMilliseconds(double now) const;
  // A frame starts at `now`: the next is due one period after the one now due, or one
  // period from now when that time has passed already. Returns the frame's own time: when
  // it was due, or `now` for a frame that came a period late or more, or without a rate.
  double FrameStarted(double now);

 private:
  double period_;
  double due_ = 0.0;
};
