// The input's zero bytes split it into arguments; a first piece that starts with "X" is the
// value of XSCREENSAVER_WINDOW instead. What the parser accepts keeps every setting in its
// range and names a window when it chose one; a refusal says why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "scene/scene_options.h"
#include "x11/options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> pieces(1);
  for (size_t i = 0; i < size; ++i) data[i] ? pieces.back() += static_cast<char>(data[i]) : pieces.emplace_back();
  const bool variable = pieces[0].size() > 0 && pieces[0][0] == 'X';
  std::vector<const char*> args;
  for (size_t i = variable ? 1 : 0; i < pieces.size(); ++i) args.push_back(pieces[i].c_str());

  Options o;
  const ParseResult result =
      ParseOptions(static_cast<int>(args.size()), args.data(), variable ? pieces[0].c_str() + 1 : nullptr, &o);
  if (!result.ok) return result.error.empty() ? (std::abort(), 0) : 0;
  const SceneOptions& s = o.scene;
  if (!kAnimationSpeedRange.Holds(s.animationSpeed) || !kCameraTourRange.Holds(s.cameraTour) ||
      !kSwitchRange.Holds(s.randomStart) || !kSwitchRange.Holds(s.nightSide) ||
      (o.target == DrawTarget::WindowId && o.windowId == 0) ||
      o.frameRate < kDisplayFrameRate || o.frameRate > kMaxFrameRate ||
      (o.startTimeGiven && (!(o.startTime >= 0.0 && o.startTime <= kMaxStartTime) || s.randomStart != 0)))
    std::abort();
  return 0;
}
