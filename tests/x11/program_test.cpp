// The X11 program as its own process, run as XScreenSaver runs it and watched from outside on
// a private Xvfb of the test's own, this test being the other X client: -root shows the
// planet, the stars and the flares; a virtual root is honoured and its destruction ends the
// run; a window of this client, in a visual that is not the display's default, is drawn over
// its whole area and followed through a resize; a stopped run goes on after SIGCONT; SIGTERM
// and SIGINT end it within a second; XSCREENSAVER_WINDOW beats -root; a window of its own
// closes on the window manager's request.
// GoogleTest before Xlib, whose macros (None, Bool) would clash with its names.
#include <gtest/gtest.h>

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Checks `condition` every 50 ms until it holds or `seconds` have passed.
bool WaitFor(double seconds, const std::function<bool()>& condition) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (condition()) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

std::string Hex(unsigned long value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", value);
  return text;
}

// Xvfb on a display number of its own choosing, 1024x768 in 24 bits.
class PrivateServer {
 public:
  PrivateServer() {
    int ends[2];
    if (pipe(ends) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ends[0]);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      const std::string fd = std::to_string(ends[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ends[1]);
    std::string number;
    pollfd ready{ends[0], POLLIN, 0};
    char c = 0;
    while (poll(&ready, 1, 20000) > 0 && read(ends[0], &c, 1) == 1 && c != '\n') number += c;
    close(ends[0]);
    if (!number.empty()) name_ = ":" + number;
  }
  ~PrivateServer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

// The program under test with its own environment; stdout and stderr are collected.
class SaverProcess {
 public:
  SaverProcess(const std::string& display, const std::vector<std::string>& args, const char* xscreensaverWindow = nullptr) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
      if (std::strncmp(*entry, "DISPLAY=", 8) != 0 && std::strncmp(*entry, "XSCREENSAVER_WINDOW=", 20) != 0)
        environment.push_back(*entry);
    }
    environment.push_back("DISPLAY=" + display);
    if (xscreensaverWindow) environment.push_back(std::string("XSCREENSAVER_WINDOW=") + xscreensaverWindow);
    std::vector<char*> envp, argv;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> all = {TELLARO_X11_PROGRAM};
    all.insert(all.end(), args.begin(), args.end());
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);

    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      dup2(err[1], 2);
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
    close(out[1]);
    close(err[1]);
    out_ = out[0];
    err_ = err[0];
    fcntl(out_, F_SETFL, O_NONBLOCK);
    fcntl(err_, F_SETFL, O_NONBLOCK);
  }
  ~SaverProcess() {
    if (running()) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
    if (err_ >= 0) close(err_);
  }

  bool running() const { return pid_ > 0 && !exited_; }
  void Signal(int signal) { kill(pid_, signal); }

  // The exit code once the process has ended within `seconds`; -1 when it still runs,
  // 128 + n when signal n ended it.
  int WaitExit(double seconds) {
    WaitFor(seconds, [&] {
      Drain();
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
      exited_ = true;
      code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return true;
    });
    Drain();
    return exited_ ? code_ : -1;
  }

  bool WaitStopped(double seconds) {
    return WaitFor(seconds, [&] {
      Drain();
      int status = 0;
      return waitpid(pid_, &status, WNOHANG | WUNTRACED) == pid_ && WIFSTOPPED(status);
    });
  }

  const std::string& output() {
    Drain();
    return output_;
  }
  const std::string& errors() {
    Drain();
    return errors_;
  }

 private:
  void Drain() {
    char buffer[4096];
    ssize_t n;
    while (out_ >= 0 && (n = read(out_, buffer, sizeof buffer)) > 0) output_.append(buffer, static_cast<size_t>(n));
    while (err_ >= 0 && (n = read(err_, buffer, sizeof buffer)) > 0) errors_.append(buffer, static_cast<size_t>(n));
  }

  pid_t pid_ = -1;
  int out_ = -1, err_ = -1;
  bool exited_ = false;
  int code_ = -1;
  std::string output_, errors_;
};

struct Rgb {
  int r, g, b;
};

struct Picture {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;
  const Rgb& at(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }

  void SaveAsPpm(const char* path) const {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (const Rgb& p : pixels) {
      const unsigned char rgb[3] = {static_cast<unsigned char>(p.r), static_cast<unsigned char>(p.g),
                                    static_cast<unsigned char>(p.b)};
      std::fwrite(rgb, 1, 3, file);
    }
    std::fclose(file);
  }
};

int Luma(const Rgb& p) { return (3 * p.r + 6 * p.g + p.b) / 10; }
bool IsMagenta(const Rgb& p) { return p.r >= 250 && p.g <= 5 && p.b >= 250; }
// The planet's lit surface and limb: reddish brown, never the white or blue-white of stars.
bool IsPlanetLike(const Rgb& p) { return p.r >= 60 && p.r * 10 >= p.b * 16 && p.r > p.g; }

int Shift(unsigned long mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

int CaptureErrors = 0;
int CountError(Display*, XErrorEvent*) {
  ++CaptureErrors;
  return 0;
}

class X11ProgramTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = new PrivateServer();
    display_ = server_->name().empty() ? nullptr : XOpenDisplay(server_->name().c_str());
    XSetErrorHandler(CountError);
  }
  // The connection is left to the end of the process: closing it unloads the OpenGL vendor
  // library, whose retained allocations the leak checker would then count as leaks.
  static void TearDownTestSuite() { delete server_; }
  void SetUp() override { ASSERT_NE(display_, nullptr) << "no private Xvfb"; }

  Window Root() const { return DefaultRootWindow(display_); }

  Picture Capture(Window window) const {
    Picture picture;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, window, &attributes)) return picture;
    XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) return picture;
    picture.width = attributes.width;
    picture.height = attributes.height;
    picture.pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
    const int rs = Shift(image->red_mask), gs = Shift(image->green_mask), bs = Shift(image->blue_mask);
    for (int y = 0; y < picture.height; ++y) {
      for (int x = 0; x < picture.width; ++x) {
        const unsigned long p = XGetPixel(image, x, y);
        picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + x] = {
            static_cast<int>((p & image->red_mask) >> rs), static_cast<int>((p & image->green_mask) >> gs),
            static_cast<int>((p & image->blue_mask) >> bs)};
      }
    }
    XDestroyImage(image);
    return picture;
  }

  // A plain window of this client filled with magenta, which any frame drawn over it hides.
  Window MagentaWindow(int width, int height, const XVisualInfo* visual = nullptr) {
    XVisualInfo info{};
    if (visual) {
      info = *visual;
    } else {
      info.visual = DefaultVisual(display_, DefaultScreen(display_));
      info.depth = DefaultDepth(display_, DefaultScreen(display_));
      info.red_mask = info.visual->red_mask;
      info.blue_mask = info.visual->blue_mask;
    }
    XSetWindowAttributes set{};
    set.colormap = XCreateColormap(display_, Root(), info.visual, AllocNone);
    set.background_pixel = info.red_mask | info.blue_mask;
    set.border_pixel = 0;
    const Window window =
        XCreateWindow(display_, Root(), 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                      info.depth, InputOutput, info.visual, CWColormap | CWBackPixel | CWBorderPixel, &set);
    XMapWindow(display_, window);
    XSync(display_, False);
    return window;
  }

  // A double-buffered OpenGL visual with a depth buffer that is not the display's default.
  bool OtherGlVisual(XVisualInfo* chosen) const {
    XVisualInfo wanted{};
    wanted.screen = DefaultScreen(display_);
    wanted.c_class = TrueColor;
    wanted.depth = 24;
    int count = 0;
    XVisualInfo* list = XGetVisualInfo(display_, VisualScreenMask | VisualClassMask | VisualDepthMask, &wanted, &count);
    const VisualID standard = XVisualIDFromVisual(DefaultVisual(display_, wanted.screen));
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
      int gl = 0, rgba = 0, doubled = 0, depth = 0;
      glXGetConfig(display_, &list[i], GLX_USE_GL, &gl);
      glXGetConfig(display_, &list[i], GLX_RGBA, &rgba);
      glXGetConfig(display_, &list[i], GLX_DOUBLEBUFFER, &doubled);
      glXGetConfig(display_, &list[i], GLX_DEPTH_SIZE, &depth);
      if (gl && rgba && doubled && depth >= 16 && list[i].visualid != standard) {
        *chosen = list[i];
        found = true;
      }
    }
    if (list) XFree(list);
    return found;
  }

  // The top-level window named `name`, or 0.
  Window FindTopLevel(const char* name) const {
    Window root = 0, parent = 0, found = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, Root(), &root, &parent, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
      char* title = nullptr;
      if (XFetchName(display_, children[i], &title) && title) {
        if (std::strcmp(title, name) == 0) found = children[i];
        XFree(title);
      }
    }
    if (children) XFree(children);
    return found;
  }

  static PrivateServer* server_;
  static Display* display_;
};

PrivateServer* X11ProgramTest::server_ = nullptr;
Display* X11ProgramTest::display_ = nullptr;

size_t CountMagenta(const Picture& picture) {
  size_t count = 0;
  for (const Rgb& p : picture.pixels) count += IsMagenta(p) ? 1 : 0;
  return count;
}

// Where the planet lies, in fractions of the picture's width and height.
struct Centre {
  size_t pixels = 0;
  double x = 0.0, y = 0.0;
};
Centre PlanetCentre(const Picture& picture) {
  Centre centre;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (!IsPlanetLike(picture.at(x, y))) continue;
      ++centre.pixels;
      centre.x += x;
      centre.y += y;
    }
  }
  if (centre.pixels == 0) return centre;
  centre.x /= static_cast<double>(centre.pixels) * picture.width;
  centre.y /= static_cast<double>(centre.pixels) * picture.height;
  return centre;
}

// What a frame with the sun in view shows, found in its pixels.
struct SkyCensus {
  size_t sunPixels = 0;  // the sun's disc: white through and through
  int sunX = 0, sunY = 0;
  double haloLuma = 0.0;   // mean brightness 60 to 140 pixels from the sun: the flare's glow
  double streakLuma = 0.0; // mean brightness along the sun's row, 300 to 500 pixels off: the flare's streak
  size_t planetPixels = 0; // reddish pixels more than 250 pixels from the sun
  size_t stars = 0;        // bright points on a dark ring, more than 300 pixels from the sun
};

SkyCensus Census(const Picture& picture) {
  SkyCensus census;
  double sx = 0.0, sy = 0.0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const Rgb& p = picture.at(x, y);
      if (p.r >= 245 && p.g >= 245 && p.b >= 245) {
        ++census.sunPixels;
        sx += x;
        sy += y;
      }
    }
  }
  if (census.sunPixels == 0) return census;
  census.sunX = static_cast<int>(sx / static_cast<double>(census.sunPixels));
  census.sunY = static_cast<int>(sy / static_cast<double>(census.sunPixels));
  double halo = 0.0, streak = 0.0;
  size_t haloCount = 0, streakCount = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const double distance = std::hypot(x - census.sunX, y - census.sunY);
      const Rgb& p = picture.at(x, y);
      if (distance >= 60 && distance <= 140) {
        halo += Luma(p);
        ++haloCount;
      }
      if (y == census.sunY && distance >= 300 && distance <= 500) {
        streak += Luma(p);
        ++streakCount;
      }
      if (distance > 250 && IsPlanetLike(p)) ++census.planetPixels;
      if (distance > 300 && x >= 3 && y >= 3 && x + 3 < picture.width && y + 3 < picture.height && Luma(p) >= 90) {
        int ring = 0;
        for (int k = -3; k <= 3; ++k) {
          ring = std::max({ring, Luma(picture.at(x + k, y - 3)), Luma(picture.at(x + k, y + 3)),
                           Luma(picture.at(x - 3, y + k)), Luma(picture.at(x + 3, y + k))});
        }
        if (ring < 40) ++census.stars;
      }
    }
  }
  census.haloLuma = haloCount ? halo / static_cast<double>(haloCount) : 0.0;
  census.streakLuma = streakCount ? streak / static_cast<double>(streakCount) : 0.0;
  return census;
}

bool ShowsPlanetStarsAndFlares(const SkyCensus& c) {
  return c.sunPixels >= 100 && c.haloLuma >= 40.0 && c.streakLuma >= 20.0 && c.planetPixels >= 800 && c.stars >= 30;
}

// The scene's start times used here: at 1125 of the orbit tour the sun stands in view beside
// the planet's lit limb; at 1060 the planet is half lit, and no sun is in view.
const std::vector<std::string> kSunInView = {"-tour", "orbit", "-start", "1125", "-speed", "0"};
const std::vector<std::string> kHalfLitPlanet = {"-tour", "orbit", "-start", "1060", "-speed", "0"};

std::vector<std::string> With(std::vector<std::string> first, const std::vector<std::string>& more) {
  first.insert(first.end(), more.begin(), more.end());
  return first;
}

TEST_F(X11ProgramTest, RootShowsThePlanetTheStarsAndTheFlaresUntilSigterm) {
  SaverProcess saver(server_->name(), With({"-root"}, kSunInView));
  Picture picture;
  SkyCensus census;
  const bool shown = WaitFor(60.0, [&] {
    picture = Capture(Root());
    census = Census(picture);
    return ShowsPlanetStarsAndFlares(census) || !saver.running();
  });
  picture.SaveAsPpm("x11_root.ppm");
  ASSERT_TRUE(shown && ShowsPlanetStarsAndFlares(census))
      << "sun " << census.sunPixels << " px at " << census.sunX << "," << census.sunY << ", halo " << census.haloLuma
      << ", streak " << census.streakLuma << ", planet " << census.planetPixels << " px, stars " << census.stars
      << " (x11_root.ppm)\n"
      << saver.errors();

  saver.Signal(SIGTERM);
  EXPECT_EQ(saver.WaitExit(1.0), 0) << "SIGTERM ends the run at once and cleanly\n" << saver.errors();
}

TEST_F(X11ProgramTest, TheVirtualRootIsDrawnAndItsDestructionEndsTheRun) {
  // A desktop's window over the root, naming itself as the virtual root.
  const Window desktop = MagentaWindow(1024, 768);
  const Atom vroot = XInternAtom(display_, "__SWM_VROOT", False);
  const unsigned long self = desktop;
  XChangeProperty(display_, desktop, vroot, XA_WINDOW, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&self),
                  1);
  XSync(display_, False);

  SaverProcess saver(server_->name(), With({"--root"}, kHalfLitPlanet));
  EXPECT_TRUE(WaitFor(60.0, [&] { return CountMagenta(Capture(desktop)) == 0 || !saver.running(); }) &&
              CountMagenta(Capture(desktop)) == 0)
      << saver.errors();

  XDestroyWindow(display_, desktop);
  XSync(display_, False);
  EXPECT_EQ(saver.WaitExit(5.0), 0) << "the end of its window ends the run cleanly\n" << saver.errors();
}

TEST_F(X11ProgramTest, AnotherClientsWindowIsFilledInItsVisualFollowedThroughAResizeAndAStop) {
  XVisualInfo visual{};
  ASSERT_TRUE(OtherGlVisual(&visual)) << "the server offers a single OpenGL visual";
  const Window window = MagentaWindow(320, 240, &visual);

  SaverProcess saver(server_->name(), With({"--window-id", Hex(window), "-fps"}, kHalfLitPlanet));
  Centre before;
  ASSERT_TRUE(WaitFor(60.0, [&] {
    const Picture picture = Capture(window);
    before = PlanetCentre(picture);
    return (CountMagenta(picture) == 0 && before.pixels > 300) || !saver.running();
  }) && saver.running())
      << saver.errors();

  // Larger, same shape: the frame covers the new area and the planet keeps its place in it.
  XResizeWindow(display_, window, 480, 360);
  XSync(display_, False);
  Picture resized;
  Centre after;
  const bool followed = WaitFor(30.0, [&] {
    resized = Capture(window);
    after = PlanetCentre(resized);
    return resized.width == 480 && CountMagenta(resized) == 0 && after.pixels > 300 &&
           std::fabs(after.x - before.x) < 0.03 && std::fabs(after.y - before.y) < 0.03;
  });
  resized.SaveAsPpm("x11_window_resized.ppm");
  EXPECT_TRUE(followed) << "planet at " << before.x << "," << before.y << " before, " << after.x << "," << after.y
                        << " after; " << CountMagenta(resized) << " magenta pixels left (x11_window_resized.ppm)";

  // Stopped it draws nothing; continued it draws on.
  saver.Signal(SIGSTOP);
  ASSERT_TRUE(saver.WaitStopped(5.0));
  const Picture still = Capture(window);
  saver.Signal(SIGCONT);
  EXPECT_TRUE(WaitFor(30.0, [&] {
    const Picture now = Capture(window);
    size_t changed = 0;
    for (size_t i = 0; i < now.pixels.size() && i < still.pixels.size(); ++i)
      changed += std::abs(now.pixels[i].g - still.pixels[i].g) > 8 ? 1 : 0;
    return changed > 20;
  })) << "frames after SIGCONT";
  EXPECT_TRUE(WaitFor(10.0, [&] { return saver.output().find("frames per second") != std::string::npos; }))
      << "-fps prints the frame rate";

  saver.Signal(SIGTERM);
  EXPECT_EQ(saver.WaitExit(1.0), 0) << saver.errors();
  XDestroyWindow(display_, window);
}

TEST_F(X11ProgramTest, XScreenSaverWindowInDecimalBeatsRootAndSigintEndsTheRun) {
  const Window window = MagentaWindow(200, 150);
  const std::string decimal = std::to_string(window);
  SaverProcess saver(server_->name(), {"-root", "-no-random"}, decimal.c_str());
  EXPECT_TRUE(WaitFor(60.0, [&] { return CountMagenta(Capture(window)) == 0 || !saver.running(); }) &&
              saver.running())
      << saver.errors();
  saver.Signal(SIGINT);
  EXPECT_EQ(saver.WaitExit(1.0), 0) << saver.errors();
  XDestroyWindow(display_, window);

  SaverProcess missing(server_->name(), {"-window-id", "0x7fffff0"});
  EXPECT_EQ(missing.WaitExit(30.0), 1);
  EXPECT_NE(missing.errors().find("no window 0x7fffff0"), std::string::npos) << missing.errors();
}

TEST_F(X11ProgramTest, AWindowOfItsOwnClosesOnTheWindowManagersRequest) {
  SaverProcess saver(server_->name(), {"-no-random"});
  Window own = 0;
  ASSERT_TRUE(WaitFor(60.0, [&] {
    own = FindTopLevel("Tellaro");
    return (own && PlanetCentre(Capture(own)).pixels > 1000) || !saver.running();
  }) && own)
      << saver.errors();
  XWindowAttributes attributes{};
  XGetWindowAttributes(display_, own, &attributes);
  EXPECT_EQ(attributes.width, 800);
  EXPECT_EQ(attributes.height, 600);

  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = own;
  close.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  XSendEvent(display_, own, False, NoEventMask, &close);
  XSync(display_, False);
  EXPECT_EQ(saver.WaitExit(5.0), 0) << saver.errors();
  EXPECT_EQ(FindTopLevel("Tellaro"), 0u) << "its window is gone";
}

}  // namespace
