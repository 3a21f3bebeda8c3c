// The X11 program as its own process, watched from outside on a private Xvfb of the test's
// own, this test being the other X client: -root shows the planet, the stars and the flares;
// a window of this client in a visual that is not the display's default is drawn over its
// whole area, followed through a resize and a stop, and its destruction ends the run; -fps
// writes the frame rate into the picture's bottom-left corner; the
// virtual root is honoured, XSCREENSAVER_WINDOW beats it; SIGTERM and SIGINT end a run at
// once as a death by that signal (within kSignalEnd, which leaves room for the sanitizer's
// leak scan on a loaded machine); a window of its own, asked for with -window, beats
// XSCREENSAVER_WINDOW and closes on the window manager's request; runs at 30 and 60 frames a
// second from the same start show the same picture after the same seconds of motion.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool clash with its names

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

bool WaitFor(double seconds, const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

// A program started with DISPLAY (and XSCREENSAVER_WINDOW when given) of the test's choosing;
// its stdout and stderr are collected in log().
class Process {
 public:
  Process(std::vector<std::string> argv, const std::string& display, const std::string& window = "") {
    std::vector<std::string> env = {"DISPLAY=" + display};
    if (!window.empty()) env.push_back("XSCREENSAVER_WINDOW=" + window);
    for (char** e = environ; *e; ++e)
      if (std::strncmp(*e, "DISPLAY=", 8) != 0 && std::strncmp(*e, "XSCREENSAVER_WINDOW=", 20) != 0) env.push_back(*e);
    std::vector<char*> args, envp;
    for (std::string& a : argv) args.push_back(a.data());
    for (std::string& e : env) envp.push_back(e.data());
    args.push_back(nullptr);
    envp.push_back(nullptr);
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 2);
    if (posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    out_ = ends[0];
    fcntl(out_, F_SETFL, O_NONBLOCK);
  }
  ~Process() {
    if (running()) Signal(SIGTERM);
    if (running() && WaitExit(5.0) < 0) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
    if (out_ >= 0) close(out_);
  }
  bool running() const { return pid_ > 0 && code_ < 0; }
  void Signal(int signal) const { kill(pid_, signal); }
  // The exit code (128 + n for signal n) once it ended within `seconds`, else -1.
  int WaitExit(double seconds) {
    WaitFor(seconds, [&] {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        signal_ = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
      }
      return code_ >= 0;
    });
    return code_;
  }
  // Whether it died by `signal` (not by an exit) within `seconds`.
  bool WaitKilledBy(int signal, double seconds) { return WaitExit(seconds) >= 0 && signal_ == signal; }
  bool WaitStopped(double seconds) const {
    return WaitFor(seconds, [&] {
      int status = 0;
      return waitpid(pid_, &status, WNOHANG | WUNTRACED) == pid_ && WIFSTOPPED(status);
    });
  }
  const std::string& log() {
    char buffer[4096];
    for (ssize_t n; out_ >= 0 && (n = read(out_, buffer, sizeof buffer)) > 0;)
      log_.append(buffer, static_cast<size_t>(n));
    return log_;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1, code_ = -1, signal_ = 0;
  std::string log_;
};

struct Rgb {
  int r, g, b;
};
struct Picture {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;
  const Rgb& at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

int Luma(const Rgb& p) { return (3 * p.r + 6 * p.g + p.b) / 10; }
bool IsMagenta(const Rgb& p) { return p.r >= 250 && p.g <= 5 && p.b >= 250; }
// The planet's lit surface and limb: reddish brown, never the white or blue-white of stars.
bool IsPlanet(const Rgb& p) { return p.r >= 60 && p.r * 10 >= p.b * 16 && p.r > p.g; }

// The frame rate's yellow text in the bottom-left corner of a picture of up to 719 rows.
size_t CornerText(const Picture& picture) {
  size_t count = 0;
  for (int y = std::max(0, picture.height - 40); y < picture.height; ++y)
    for (int x = 0; x < std::min(120, picture.width); ++x)
      count += picture.at(x, y).r >= 230 && picture.at(x, y).g >= 230 && picture.at(x, y).b <= 40;
  return count;
}

size_t CountMagenta(const Picture& picture) {
  size_t count = 0;
  for (const Rgb& p : picture.pixels) count += IsMagenta(p);
  return count;
}

// The planet's pixels and their centre in fractions of the picture's width and height.
struct Planet {
  size_t pixels = 0;
  double x = 0.0, y = 0.0;
};
Planet FindPlanet(const Picture& picture) {
  Planet planet;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (IsPlanet(picture.at(x, y))) ++planet.pixels, planet.x += x, planet.y += y;
  if (planet.pixels) planet.x /= static_cast<double>(planet.pixels) * picture.width;
  if (planet.pixels) planet.y /= static_cast<double>(planet.pixels) * picture.height;
  return planet;
}

// A frame with the sun in view: the sun's white disc, the flare's glow 60 to 140 pixels
// around it, the planet's limb, and stars (bright points with dark pixels 3 away) far from it.
struct Sky {
  size_t sun = 0, planet = 0, stars = 0;
  double glow = 0.0, ring = 0.0, sx = 0.0, sy = 0.0;
  bool Complete() const { return sun >= 100 && glow >= 40.0 * ring && planet >= 800 && stars >= 30; }
};
Sky Survey(const Picture& p) {
  Sky sky;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (Luma(p.at(x, y)) >= 250) ++sky.sun, sky.sx += x, sky.sy += y;
  for (int y = 3; sky.sun && y + 3 < p.height; ++y) {
    for (int x = 3; x + 3 < p.width; ++x) {
      const double d = std::hypot(x - sky.sx / static_cast<double>(sky.sun), y - sky.sy / static_cast<double>(sky.sun));
      if (d >= 60 && d <= 140) sky.glow += Luma(p.at(x, y)), ++sky.ring;
      sky.planet += d > 250 && IsPlanet(p.at(x, y));
      int around = 0;
      for (int k = -3; k <= 3; k += 3)
        around = std::max({around, Luma(p.at(x + k, y - 3)), Luma(p.at(x + k, y + 3)), Luma(p.at(x - 3, y + k)),
                           Luma(p.at(x + 3, y + k))});
      sky.stars += d > 300 && Luma(p.at(x, y)) >= 90 && around < 40;
    }
  }
  return sky;
}

class X11Program : public testing::Test {
 protected:
  // Xvfb chooses a free display number and writes it to the pipe.
  static void SetUpTestSuite() {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    server_ = new Process({"Xvfb", "-displayfd", std::to_string(ends[1]), "-screen", "0", "1024x768x24", "-nolisten",
                           "tcp", "-noreset"},
                          "");
    close(ends[1]);
    pollfd ready{ends[0], POLLIN, 0};
    for (char c = 0; poll(&ready, 1, 20000) > 0 && read(ends[0], &c, 1) == 1 && c != '\n';) name_ += c;
    close(ends[0]);
    name_ = ":" + name_;
    display_ = XOpenDisplay(name_.c_str());
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  }
  // The connection is left to the end of the process: closing it unloads the OpenGL vendor
  // library, whose retained allocations the leak checker would then count as leaks.
  static void TearDownTestSuite() { delete server_; }
  void SetUp() override { ASSERT_NE(display_, nullptr) << "no private Xvfb"; }

  static Process Saver(std::vector<std::string> args, const std::string& window = "") {
    args.insert(args.begin(), TELLARO_X11_PROGRAM);
    return Process(args, name_, window);
  }
  static Window Root() { return DefaultRootWindow(display_); }

  static Picture Capture(Window window) {
    Picture picture;
    XWindowAttributes a{};
    XImage* image = XGetWindowAttributes(display_, window, &a)
                        ? XGetImage(display_, window, 0, 0, static_cast<unsigned>(a.width),
                                    static_cast<unsigned>(a.height), AllPlanes, ZPixmap)
                        : nullptr;
    if (!image) return picture;
    picture = {a.width, a.height, std::vector<Rgb>(static_cast<size_t>(a.width * a.height))};
    for (int y = 0; y < a.height; ++y) {
      for (int x = 0; x < a.width; ++x) {
        const unsigned long p = XGetPixel(image, x, y);
        // Both visuals used here keep 8 bits a channel at 16, 8 and 0.
        picture.pixels[static_cast<size_t>(y * a.width + x)] = {static_cast<int>((p >> 16) & 255),
                                                                static_cast<int>((p >> 8) & 255),
                                                                static_cast<int>(p & 255)};
      }
    }
    XDestroyImage(image);
    return picture;
  }

  // A window of this client filled with magenta, which every frame drawn over it covers.
  static Window MagentaWindow(int width, int height, Visual* visual = nullptr) {
    if (!visual) visual = DefaultVisual(display_, DefaultScreen(display_));
    XSetWindowAttributes set{};
    set.colormap = XCreateColormap(display_, Root(), visual, AllocNone);
    set.background_pixel = visual->red_mask | visual->blue_mask;
    const Window window = XCreateWindow(display_, Root(), 0, 0, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0, 24, InputOutput, visual,
                                        CWColormap | CWBackPixel | CWBorderPixel, &set);
    XMapWindow(display_, window);
    XSync(display_, False);
    return window;
  }

  // A double-buffered OpenGL visual with a depth buffer other than the display's default.
  static Visual* OtherGlVisual() {
    XVisualInfo wanted{};
    wanted.depth = 24;
    wanted.c_class = TrueColor;
    int count = 0;
    XVisualInfo* list = XGetVisualInfo(display_, VisualDepthMask | VisualClassMask, &wanted, &count);
    Visual* found = nullptr;
    for (int i = 0; i < count && !found; ++i) {
      int gl = 0, doubled = 0, depth = 0;
      glXGetConfig(display_, &list[i], GLX_USE_GL, &gl);
      glXGetConfig(display_, &list[i], GLX_DOUBLEBUFFER, &doubled);
      glXGetConfig(display_, &list[i], GLX_DEPTH_SIZE, &depth);
      if (gl && doubled && depth >= 16 && list[i].visual != DefaultVisual(display_, 0)) found = list[i].visual;
    }
    if (list) XFree(list);  // the Visual itself belongs to the display
    return found;
  }

  static Process* server_;
  static std::string name_;
  static Display* display_;
};
Process* X11Program::server_ = nullptr;
std::string X11Program::name_;
Display* X11Program::display_ = nullptr;

// Idle, a run ends some 0.1 s after the signal, plus 0.2 s of leak scan in the sanitizer build.
constexpr double kSignalEnd = 3.0;

// At 1125 of the orbit tour the sun stands in view beside the planet's lit limb; at 1060 the
// planet is half lit and the sun out of view.
const std::vector<std::string> kSunInView = {"-tour", "orbit", "-start", "1125", "-speed", "0"};
const std::vector<std::string> kHalfLit = {"-tour", "orbit", "-start", "1060", "-speed", "0"};
std::vector<std::string> With(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(X11Program, RootShowsThePlanetTheStarsAndTheFlaresUntilSigterm) {
  Process saver = Saver(With({"-root"}, kSunInView));
  Sky sky;
  EXPECT_TRUE(WaitFor(60.0, [&] { return (sky = Survey(Capture(Root()))).Complete() || !saver.running(); }))
      << "sun " << sky.sun << " px, glow " << sky.glow / sky.ring << ", planet " << sky.planet << " px, stars "
      << sky.stars
      << "\n" << saver.log();
  saver.Signal(SIGTERM);
  EXPECT_TRUE(saver.WaitKilledBy(SIGTERM, kSignalEnd)) << "exit code " << saver.WaitExit(0.0) << "\n" << saver.log();
}

TEST_F(X11Program, AnotherClientsWindowIsFilledFollowedThroughResizeAndStopAndItsEndEndsTheRun) {
  Visual* visual = OtherGlVisual();
  ASSERT_NE(visual, nullptr);
  const Window window = MagentaWindow(320, 240, visual);
  char id[32];
  std::snprintf(id, sizeof id, "0x%lx", window);
  Process saver = Saver(With({"--window-id", id}, kHalfLit));
  Planet before, after;
  ASSERT_TRUE(WaitFor(60.0, [&] {
    const Picture p = Capture(window);
    return (CountMagenta(p) == 0 && (before = FindPlanet(p)).pixels > 300) || !saver.running();
  }) && saver.running()) << saver.log();

  // Larger in the same shape: the frame covers the new area with the planet in its place.
  XResizeWindow(display_, window, 480, 360);
  XSync(display_, False);
  EXPECT_TRUE(WaitFor(30.0, [&] {
    const Picture p = Capture(window);
    after = FindPlanet(p);
    return p.width == 480 && CountMagenta(p) == 0 && std::fabs(after.x - before.x) < 0.03 &&
           std::fabs(after.y - before.y) < 0.03;
  })) << "planet centre " << before.x << "," << before.y << " before, " << after.x << "," << after.y << " after";

  saver.Signal(SIGSTOP);
  ASSERT_TRUE(saver.WaitStopped(5.0));
  const Picture still = Capture(window);
  saver.Signal(SIGCONT);
  EXPECT_TRUE(WaitFor(30.0, [&] {
    const Picture now = Capture(window);
    size_t changed = 0;
    for (size_t i = 0; i < now.pixels.size() && i < still.pixels.size(); ++i)
      changed += std::abs(now.pixels[i].g - still.pixels[i].g) > 8;
    return changed > 20;
  })) << "frames after SIGCONT";

  XDestroyWindow(display_, window);
  XSync(display_, False);
  EXPECT_EQ(saver.WaitExit(5.0), 0) << saver.log();
}

TEST_F(X11Program, FpsShowsTheFrameRateInTheBottomLeftCorner) {
  const Window window = MagentaWindow(480, 360);
  const std::string id = std::to_string(window);
  size_t without = 0, with = 0;
  {
    Process saver = Saver(With({"-window-id", id}, kHalfLit));
    ASSERT_TRUE(WaitFor(60.0, [&] {
      const Picture p = Capture(window);
      without = CornerText(p);
      return (CountMagenta(p) == 0 && FindPlanet(p).pixels > 300) || !saver.running();
    }) && saver.running()) << saver.log();
  }
  Process saver = Saver(With({"-window-id", id, "-fps"}, kHalfLit));
  EXPECT_TRUE(WaitFor(60.0, [&] { return (with = CornerText(Capture(window))) >= 80 || !saver.running(); }) &&
              saver.running())
      << with << " text pixels\n" << saver.log();
  EXPECT_LE(without, 5u) << "without -fps";
  XDestroyWindow(display_, window);
}

TEST_F(X11Program, TheVirtualRootIsHonouredXScreenSaverWindowBeatsItAndSigintEnds) {
  const Window desktop = MagentaWindow(1024, 768);
  const unsigned long self = desktop;
  XChangeProperty(display_, desktop, XInternAtom(display_, "__SWM_VROOT", False), XA_WINDOW, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&self), 1);
  XSync(display_, False);
  {
    Process saver = Saver(With({"--root"}, kHalfLit));
    EXPECT_TRUE(WaitFor(60.0, [&] { return CountMagenta(Capture(desktop)) == 0; })) << saver.log();
    saver.Signal(SIGINT);
    EXPECT_TRUE(saver.WaitKilledBy(SIGINT, kSignalEnd)) << "exit code " << saver.WaitExit(0.0) << "\n" << saver.log();
  }
  const Window small = MagentaWindow(200, 150);
  Process saver = Saver({"-root", "-no-random"}, std::to_string(small));  // decimal
  EXPECT_TRUE(WaitFor(60.0, [&] { return CountMagenta(Capture(small)) == 0; })) << saver.log();
  saver.Signal(SIGTERM);
  EXPECT_TRUE(saver.WaitKilledBy(SIGTERM, kSignalEnd)) << "exit code " << saver.WaitExit(0.0) << "\n" << saver.log();
  XDestroyWindow(display_, small);
  XDestroyWindow(display_, desktop);
}

TEST_F(X11Program, AWindowOfItsOwnAskedForBeatsXScreenSaverWindowAndClosesOnTheWindowManagersRequest) {
  Process saver = Saver({"-window", "-no-random"}, "0xdeadbeef");
  Window own = 0;
  ASSERT_TRUE(WaitFor(60.0, [&] {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(display_, Root(), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count; ++i) {
      char* name = nullptr;
      if (XFetchName(display_, children[i], &name) && std::strcmp(name, "Tellaro") == 0) own = children[i];
      if (name) XFree(name);
    }
    if (children) XFree(children);
    return (own && FindPlanet(Capture(own)).pixels > 1000) || !saver.running();
  }) && own) << saver.log();
  XEvent close{};
  close.xclient = {ClientMessage, 0, False, display_, own, XInternAtom(display_, "WM_PROTOCOLS", False), 32, {}};
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  XSendEvent(display_, own, False, NoEventMask, &close);
  XSync(display_, False);
  EXPECT_EQ(saver.WaitExit(5.0), 0) << saver.log();
}

// The pictures of three runs from one start, each paused by -pause-after: after 3 s at 30
// and at 60 frames a second the same picture at the same scene time, and not the start's.
TEST_F(X11Program, RunsAtThirtyAndSixtyFramesASecondShowTheSamePictureAfterTheSameSeconds) {
  const std::vector<std::string> from = {"-tour", "orbit", "-start", "1060", "-speed", "100"};
  struct Paused {
    Window window;
    Process saver;
  };
  const auto run = [&](const char* rate, const char* seconds) {
    const Window window = MagentaWindow(200, 150);
    return Paused{window,
                  Saver(With({"-window-id", std::to_string(window), "-frame-rate", rate, "-pause-after", seconds}, from))};
  };
  Paused thirty = run("30", "3"), sixty = run("60", "3"), start = run("60", "0");
  const auto pausedAt = [](Process& saver) {
    const std::string& log = saver.log();
    const size_t at = log.find("tellaro: paused at scene time ");
    return at == std::string::npos ? -1.0 : std::atof(log.c_str() + at + 30);
  };
  ASSERT_TRUE(WaitFor(90.0, [&] {
    return (pausedAt(thirty.saver) >= 0.0 && pausedAt(sixty.saver) >= 0.0 && pausedAt(start.saver) >= 0.0) ||
           !thirty.saver.running() || !sixty.saver.running() || !start.saver.running();
  })) << thirty.saver.log() << sixty.saver.log() << start.saver.log();
  // Three seconds of 60 Hz frames, 0.06 * 2^1.5 each at speed 100.
  EXPECT_NEAR(pausedAt(thirty.saver), 1060.0 + 180 * 0.16970562748477142, 1e-6);
  EXPECT_NEAR(pausedAt(sixty.saver), pausedAt(thirty.saver), 1e-6);
  EXPECT_EQ(pausedAt(start.saver), 1060.0);

  const auto differing = [](const Picture& a, const Picture& b) {
    size_t count = 0;
    for (size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i)
      count += std::max({std::abs(a.pixels[i].r - b.pixels[i].r), std::abs(a.pixels[i].g - b.pixels[i].g),
                         std::abs(a.pixels[i].b - b.pixels[i].b)}) > 24;
    return count;
  };
  Picture a, b, c;
  const size_t all = 200 * 150;
  EXPECT_TRUE(WaitFor(30.0, [&] {
    a = Capture(thirty.window), b = Capture(sixty.window), c = Capture(start.window);
    return CountMagenta(a) == 0 && CountMagenta(b) == 0 && differing(a, b) <= all / 200;
  })) << differing(a, b) << " of " << all << " pixels differ";
  EXPECT_GT(differing(a, c), all / 20) << "three seconds of motion from the start: " << differing(a, c) << " of "
                                       << all << " pixels differ";
  for (Paused* p : {&thirty, &sixty, &start}) XDestroyWindow(display_, p->window);
  XSync(display_, False);
}

}  // namespace
