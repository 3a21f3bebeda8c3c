#include "x11/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "scene/scene_options.h"

namespace {

bool ParseLong(const char* text, long* value) {
  if (text == nullptr || *text == '\0') return false;
  char* end = nullptr;
  errno = 0;
  *value = std::strtol(text, &end, 10);
  return errno == 0 && *end == '\0';
}

bool ParseDouble(const char* text, double* value) {
  if (text == nullptr || *text == '\0') return false;
  char* end = nullptr;
  errno = 0;
  *value = std::strtod(text, &end);
  return errno == 0 && *end == '\0' && std::isfinite(*value);
}

const char* TourName(int32_t mode) { return kCameraTourRange.Holds(mode) ? kCameraTourNames[mode].option : "?"; }

// One option: a switch (argument null), optionally with a "no-" twin that clears it, or an
// option that takes the next argument as its value.
struct Spec {
  const char* name;
  const char* negation;
  const char* argument;
  std::string (*help)();
  // value: the argument (options with one) or null; negated: spelled as the negation.
  bool (*apply)(Options& options, const char* value, bool negated, std::string* error);
};

const Spec kSpecs[] = {
    {"root", nullptr, nullptr,
     [] { return std::string("draw on the root window, or on the virtual root a desktop names"); },
     [](Options& o, const char*, bool, std::string*) {
       if (o.target == DrawTarget::OwnWindow) o.target = DrawTarget::Root;
       return true;
     }},
    {"window", nullptr, nullptr,
     [] { return std::string("open a window of its own, even where XSCREENSAVER_WINDOW names one; the later of "
                             "-root and -window counts"); },
     [](Options& o, const char*, bool, std::string*) {
       if (o.target == DrawTarget::Root) o.target = DrawTarget::OwnWindow;
       return true;
     }},
    {"window-id", nullptr, "ID",
     [] {
       return std::string("draw into window ID (0x hexadecimal or decimal); XSCREENSAVER_WINDOW names one too");
     },
     [](Options& o, const char* value, bool, std::string* error) {
       if (!ParseWindowId(value, &o.windowId)) {
         *error = std::string("-window-id takes a window number, not \"") + value + "\"";
         return false;
       }
       o.target = DrawTarget::WindowId;
       return true;
     }},
    {"display", nullptr, "NAME", [] { return std::string("the X display to use (default: $DISPLAY)"); },
     [](Options& o, const char* value, bool, std::string*) {
       o.display = value;
       return true;
     }},
    {"speed", nullptr, "N",
     [] {
       return "animation speed, " + std::to_string(kAnimationSpeedRange.low) + " (slow) to " +
              std::to_string(kAnimationSpeedRange.high) + " (fast); default " +
              std::to_string(kSceneOptionDefaults.animationSpeed);
     },
     [](Options& o, const char* value, bool, std::string* error) {
       long speed = 0;
       if (!ParseLong(value, &speed) || speed < kAnimationSpeedRange.low || speed > kAnimationSpeedRange.high) {
         *error = "-speed takes " + std::to_string(kAnimationSpeedRange.low) + " to " +
                  std::to_string(kAnimationSpeedRange.high) + ", not \"" + value + "\"";
         return false;
       }
       o.scene.animationSpeed = static_cast<int32_t>(speed);
       return true;
     }},
    {"tour", nullptr, "NAME",
     [] {
       std::string text = "camera tour:";
       for (int32_t mode = kCameraTourRange.low; mode <= kCameraTourRange.high; ++mode)
         text += std::string(mode == kCameraTourRange.low ? " " : ", ") + kCameraTourNames[mode].option + " (" +
                 kCameraTourNames[mode].title + ")";
       return text + "; default " + TourName(kSceneOptionDefaults.cameraTour);
     },
     [](Options& o, const char* value, bool, std::string* error) {
       std::string names;
       for (int32_t mode = kCameraTourRange.low; mode <= kCameraTourRange.high; ++mode) {
         if (std::strcmp(value, kCameraTourNames[mode].option) == 0) {
           o.scene.cameraTour = mode;
           return true;
         }
         names += std::string(mode == kCameraTourRange.low ? "" : mode == kCameraTourRange.high ? " or " : ", ") +
                  kCameraTourNames[mode].option;
       }
       *error = "-tour takes " + names + ", not \"" + value + "\"";
       return false;
     }},
    {"random", "no-random", nullptr,
     [] {
       return std::string("start the tour at a random point; default ") +
              (kSceneOptionDefaults.randomStart != 0 ? "-random" : "-no-random");
     },
     [](Options& o, const char*, bool negated, std::string*) {
       o.scene.randomStart = negated ? 0 : 1;
       return true;
     }},
    {"night-side", "no-night-side", nullptr,
     [] {
       return std::string("the Windows setting NightSide, kept for the scene (the unlit side is always dark); "
                          "default ") +
              (kSceneOptionDefaults.nightSide != 0 ? "-night-side" : "-no-night-side");
     },
     [](Options& o, const char*, bool negated, std::string*) {
       o.scene.nightSide = negated ? 0 : 1;
       return true;
     }},
    {"start", nullptr, "T",
     [] {
       return "start the tour at scene time T, 0 to " + std::to_string(kMaxStartTime) +
              ", for a chosen picture; no random start";
     },
     [](Options& o, const char* value, bool, std::string* error) {
       if (!ParseDouble(value, &o.startTime) || o.startTime < 0.0 || o.startTime > kMaxStartTime) {
         *error = "-start takes a scene time from 0 to " + std::to_string(kMaxStartTime) + ", not \"" + value + "\"";
         return false;
       }
       o.startTimeGiven = true;
       return true;
     }},
    {"pause-after", nullptr, "S",
     [] {
       return "stop the motion after S seconds of it, 0 to " + std::to_string(kMaxPauseSeconds) +
              ", and keep that picture; says its scene time on standard output, for comparing runs";
     },
     [](Options& o, const char* value, bool, std::string* error) {
       if (!ParseDouble(value, &o.pauseAfter) || o.pauseAfter < 0.0 || o.pauseAfter > kMaxPauseSeconds) {
         *error = "-pause-after takes seconds from 0 to " + std::to_string(kMaxPauseSeconds) + ", not \"" + value +
                  "\"";
         return false;
       }
       o.pauseGiven = true;
       return true;
     }},
    {"fps", "no-fps", nullptr,
     [] {
       return std::string("show the frames per second and the time a frame takes in the bottom-left corner; "
                          "default -no-fps");
     },
     [](Options& o, const char*, bool negated, std::string*) {
       o.showFrameRate = !negated;
       return true;
     }},
    {"frame-rate", nullptr, "N",
     [] {
       return "frames per second at most, 0 to " + std::to_string(kMaxFrameRate) +
              "; 0: as fast as it can draw; default: the display's refresh";
     },
     [](Options& o, const char* value, bool, std::string* error) {
       long rate = 0;
       if (!ParseLong(value, &rate) || rate < 0 || rate > kMaxFrameRate) {
         *error = "-frame-rate takes 0 to " + std::to_string(kMaxFrameRate) + ", not \"" + value + "\"";
         return false;
       }
       o.frameRate = static_cast<int>(rate);
       return true;
     }},
    {"help", nullptr, nullptr, [] { return std::string("this list"); },
     [](Options& o, const char*, bool, std::string*) {
       o.help = true;
       return true;
     }},
};

// "-name" and "--name" alike; null for anything else.
const char* SwitchName(const char* arg) {
  if (arg[0] != '-') return nullptr;
  return arg[1] == '-' ? arg + 2 : arg + 1;
}

}  // namespace

bool ParseWindowId(const char* text, unsigned long* id) {
  if (text == nullptr) return false;
  int base = 10;
  if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text += 2;
  }
  // strtoul would take blanks, signs and a second "0x"; a window number has digits only.
  for (const char* c = text; *c != '\0'; ++c) {
    const bool digit = *c >= '0' && *c <= '9';
    const bool hexLetter = (*c >= 'a' && *c <= 'f') || (*c >= 'A' && *c <= 'F');
    if (!digit && !(base == 16 && hexLetter)) return false;
  }
  if (*text == '\0') return false;
  errno = 0;
  const unsigned long value = std::strtoul(text, nullptr, base);
  if (errno != 0 || value == 0 || value > 0xFFFFFFFFul) return false;  // X resource numbers have 29 bits
  *id = value;
  return true;
}

ParseResult ParseOptions(int argc, const char* const* argv, const char* xscreensaverWindow, Options* options) {
  ParseResult result;
  bool windowIdGiven = false;
  bool ownWindowChosen = false;  // -window, not followed by -root
  for (int i = 0; i < argc; ++i) {
    const char* name = SwitchName(argv[i]);
    const Spec* spec = nullptr;
    bool negated = false;
    if (name) {
      for (const Spec& candidate : kSpecs) {
        if (std::strcmp(name, candidate.name) == 0) {
          spec = &candidate;
        } else if (candidate.negation && std::strcmp(name, candidate.negation) == 0) {
          spec = &candidate;
          negated = true;
        }
        if (spec) break;
      }
    }
    if (!spec) {
      result.ok = false;
      result.error = std::string("unknown option \"") + argv[i] + "\" (-help lists them)";
      return result;
    }
    const char* value = nullptr;
    if (spec->argument) {
      if (i + 1 >= argc) {
        result.ok = false;
        result.error = std::string("-") + spec->name + " needs a value (" + spec->argument + ")";
        return result;
      }
      value = argv[++i];
    }
    if (!spec->apply(*options, value, negated, &result.error)) {
      result.ok = false;
      return result;
    }
    if (std::strcmp(spec->name, "window-id") == 0) windowIdGiven = true;
    if (std::strcmp(spec->name, "window") == 0) ownWindowChosen = true;
    if (std::strcmp(spec->name, "root") == 0) ownWindowChosen = false;
  }
  if (!windowIdGiven && !ownWindowChosen && xscreensaverWindow != nullptr) {
    if (!ParseWindowId(xscreensaverWindow, &options->windowId)) {
      result.ok = false;
      result.error = std::string("XSCREENSAVER_WINDOW holds no window number: \"") + xscreensaverWindow + "\"";
      return result;
    }
    options->target = DrawTarget::WindowId;
  }
  if (options->startTimeGiven) options->scene.randomStart = 0;
  return result;
}

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "Usage: tellaro [options]\n"
               "Tellaro: a planet turning in space with its clouds, a small moon, the stars, a sun\n"
               "with lens flares and three camera tours. Options (one dash or two):\n");
  for (const Spec& spec : kSpecs) {
    std::string names = std::string("-") + spec.name;
    if (spec.negation) names += std::string(", -") + spec.negation;
    if (spec.argument) names += std::string(" ") + spec.argument;
    std::fprintf(out, "  %-28s %s\n", names.c_str(), spec.help().c_str());
  }
}
