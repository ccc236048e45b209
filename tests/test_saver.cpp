// frosten-saver against windows of the test X server: it draws the scene
// into a window it is given, keeps the picture 4:3 with black bars as the
// window changes shape, draws on the root window, keeps to its frame rate,
// shows it when asked as screen-saver daemons ask, and ends cleanly on
// SIGTERM, Escape, the close button and the loss of its window.
// frosten-test: x11
// frosten-test-links: show
#include <gtest/gtest.h>
// After the test library, whose names Xlib's macros would hit.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

static const char SaverPath[] = FROSTEN_BINARY_DIR "/tools/saver/frosten-saver";
// The parent windows' own colour: wherever it shows, the saver drew nothing.
static const unsigned long PARENT_BLUE = 0x0000ff;

struct Rgb {
  int R, G, B;
};
// The bars around the picture in a window the saver is given.
static bool IsBar(Rgb c) { return c.R == 0 && c.G == 0 && c.B == 0; }
static bool IsParentBlue(Rgb c) { return c.R == 0 && c.G == 0 && c.B == 255; }
static bool IsScene(Rgb c) { return !IsBar(c) && !IsParentBlue(c); }
static bool IsWhite(Rgb c) { return c.R > 200 && c.G > 200 && c.B > 200; }

struct Picture {
  int Width = 0, Height = 0;
  std::vector<Rgb> Pixels;
  // How many pixels of the box [x0, x1) x [y0, y1) pass the test.
  int Count(int x0, int y0, int x1, int y1, bool (*test)(Rgb)) const {
    int n = 0;
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1; x++) n += test(Pixels[(size_t)y * Width + x]);
    return n;
  }
  // The scene fills the box: no parent colour, and the tree, lights and
  // snow make more than a twentieth of it.
  bool SceneIn(int x0, int y0, int x1, int y1) const {
    return Width > 0 && Count(x0, y0, x1, y1, IsParentBlue) == 0 &&
           Count(x0, y0, x1, y1, IsScene) > (x1 - x0) * (y1 - y0) / 20;
  }
  bool BarIn(int x0, int y0, int x1, int y1) const {
    return Width > 0 && Count(x0, y0, x1, y1, IsBar) == (x1 - x0) * (y1 - y0);
  }
};

// A depth-24 visual that GL cannot double-buffer, or null.
static Visual *SingleBufferedVisual(Display *x) {
  XVisualInfo wanted = {};
  wanted.depth = 24;
  wanted.c_class = TrueColor;
  int count = 0;
  XVisualInfo *all = XGetVisualInfo(x, VisualDepthMask | VisualClassMask, &wanted, &count);
  Visual *visual = nullptr;
  for (int i = 0; i < count && !visual; i++) {
    int useGL = 0, doubleBuffer = 1;
    glXGetConfig(x, &all[i], GLX_USE_GL, &useGL);
    glXGetConfig(x, &all[i], GLX_DOUBLEBUFFER, &doubleBuffer);
    if (useGL && !doubleBuffer) visual = all[i].visual;
  }
  if (all) XFree(all);
  return visual;
}

class Saver : public testing::Test {
 protected:
  Display *X = nullptr;
  pid_t Pid = 0;
  char ErrorFile[64] = "/tmp/frosten-saver-test-XXXXXX";

  void SetUp() override {
    X = getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
    if (!X) GTEST_SKIP() << "no X display";
    int fd = mkstemp(ErrorFile);
    ASSERT_GE(fd, 0);
    close(fd);
  }
  void TearDown() override {
    if (Pid > 0) kill(Pid, SIGKILL), waitpid(Pid, nullptr, 0);
    unlink(ErrorFile);
    if (X) XCloseDisplay(X);
  }

  Window Parent(int width, int height, Visual *visual = nullptr) {
    XSetWindowAttributes a = {};
    a.background_pixel = PARENT_BLUE;
    unsigned long mask = CWBackPixel;
    if (visual) a.colormap = XCreateColormap(X, DefaultRootWindow(X), visual, AllocNone), mask |= CWColormap;
    Window w = XCreateWindow(X, DefaultRootWindow(X), 0, 0, width, height, 0, visual ? 24 : CopyFromParent,
                             InputOutput, visual ? visual : CopyFromParent, mask, &a);
    XMapWindow(X, w);
    XSync(X, False);
    return w;
  }
  int Children(Window w) {
    Window root, up, *children = nullptr;
    unsigned count = 0;
    XQueryTree(X, w, &root, &up, &children, &count);
    if (children) XFree(children);
    return (int)count;
  }

  // Starts the saver in the source folder (data/ and mod/) with these
  // arguments and environment entries, XSCREENSAVER_WINDOW only when given
  // there; its stderr goes to ErrorFile.
  void Start(std::vector<std::string> arguments, std::vector<std::string> environment = {}) {
    if (Pid > 0) kill(Pid, SIGKILL), waitpid(Pid, nullptr, 0);  // one that did not end in time
    std::vector<char *> argv = {const_cast<char *>(SaverPath)}, envp;
    for (auto &a : arguments) argv.push_back(a.data());
    for (char **e = environ; *e; e++)
      if (strncmp(*e, "XSCREENSAVER_WINDOW=", 20) != 0) environment.push_back(*e);
    for (auto &e : environment) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, ErrorFile, O_WRONLY | O_TRUNC, 0);
    ASSERT_EQ(chdir(FROSTEN_SOURCE_DIR), 0);
    ASSERT_EQ(posix_spawn(&Pid, SaverPath, &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
  }
  // The exit status, or -1 when the saver has not ended within the time.
  int WaitExit(int seconds = 20) {
    for (int i = 0; i < seconds * 20; i++, usleep(50000)) {
      int status;
      if (waitpid(Pid, &status, WNOHANG) != Pid) continue;
      Pid = 0;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    return -1;
  }
  std::string Errors() {
    std::string text;
    char line[512];
    FILE *f = fopen(ErrorFile, "r");
    while (f && fgets(line, sizeof line, f)) text += line;
    if (f) fclose(f);
    return text;
  }

  Picture Grab(Window w) {
    Picture p;
    XWindowAttributes a;
    // (An unmapped window has no picture: Xlib would end the test.)
    if (!XGetWindowAttributes(X, w, &a) || a.map_state != IsViewable) return p;
    XImage *image = XGetImage(X, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!image) return p;
    p.Width = a.width;
    p.Height = a.height;
    for (int y = 0; y < a.height; y++)
      for (int x = 0; x < a.width; x++) {
        unsigned long v = XGetPixel(image, x, y);
        p.Pixels.push_back({(int)(v >> 16 & 255), (int)(v >> 8 & 255), (int)(v & 255)});
      }
    XDestroyImage(image);
    return p;
  }
  // Grabs the window until the picture passes (the scene loads first, and a
  // new size shows a frame later), for up to a minute; the last grab.
  Picture WaitPicture(Window w, const std::function<bool(const Picture &)> &good) {
    Picture p;
    for (int i = 0; i < 600 && Running(); i++, usleep(100000))
      if (good(p = Grab(w))) break;
    return p;
  }
  bool Running() {
    siginfo_t info = {};
    return waitid(P_PID, (id_t)Pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
  }
};

// In a window whose visual GL cannot double-buffer: through a child window
// that must follow the parent's size.
TEST_F(Saver, WindowIdKeepsFourToThreeAsTheWindowChangesAndEndsOnSigterm) {
  Visual *visual = SingleBufferedVisual(X);
  if (!visual) GTEST_SKIP() << "no single-buffered GL visual";
  Window parent = Parent(320, 240, visual);
  Start({"--window-id", std::to_string(parent)});
  Picture p = WaitPicture(parent, [](const Picture &p) { return p.SceneIn(0, 0, 320, 240); });
  ASSERT_TRUE(p.SceneIn(0, 0, 320, 240)) << "no scene in the 4:3 window: " << Errors();
  EXPECT_EQ(Children(parent), 1);
  // The picture reaches the edges: its left and right columns are not all
  // the bars' black.
  EXPECT_LT(p.Count(0, 0, 4, 240, IsBar) + p.Count(316, 0, 320, 240, IsBar), 2 * 4 * 240);

  // Wider: a 320x240 picture in the middle, bars of 80 either side.
  XResizeWindow(X, parent, 480, 240);
  XSync(X, False);
  p = WaitPicture(parent, [](const Picture &p) {
    return p.Width == 480 && p.BarIn(0, 0, 80, 240) && p.BarIn(400, 0, 480, 240) &&
           p.SceneIn(80, 0, 400, 240);
  });
  EXPECT_TRUE(p.BarIn(0, 0, 80, 240)) << "left bar";
  EXPECT_TRUE(p.BarIn(400, 0, 480, 240)) << "right bar";
  EXPECT_TRUE(p.SceneIn(80, 0, 400, 240)) << "picture between the bars";
  EXPECT_GT(p.Count(80, 0, 84, 240, IsScene) + p.Count(396, 0, 400, 240, IsScene), 0) << "bars too wide";

  // Taller: 240x180 in the middle, bars of 60 above and below.
  XResizeWindow(X, parent, 240, 300);
  XSync(X, False);
  p = WaitPicture(parent, [](const Picture &p) {
    return p.Width == 240 && p.BarIn(0, 0, 240, 60) && p.BarIn(0, 240, 240, 300) &&
           p.SceneIn(0, 60, 240, 240);
  });
  EXPECT_TRUE(p.BarIn(0, 0, 240, 60)) << "top bar";
  EXPECT_TRUE(p.BarIn(0, 240, 240, 300)) << "bottom bar";
  EXPECT_TRUE(p.SceneIn(0, 60, 240, 240)) << "picture between the bars";

  kill(Pid, SIGTERM);
  EXPECT_EQ(WaitExit(), 0);
  EXPECT_EQ(Errors(), "");
  EXPECT_EQ(Children(parent), 0) << "the saver's window is left";
}

// As the daemon starts it: its window in the environment, --root asked, with
// the options every daemon program takes, the frame rate shown (--fps as a
// flag) and paced (--fps with a number, as before). The window's own visual
// serves, so no child. It ends when the daemon destroys the window.
TEST_F(Saver, KeepsToTenFramesASecondInTheDaemonsWindowAndShowsTheRate) {
  Window parent = Parent(400, 120);
  Start({"-root", "--visual", "default", "-install", "--fps", "--fps", "10", "--stats"},
        {"XSCREENSAVER_WINDOW=" + std::to_string(parent)});
  // The picture 160x120 in the middle; "FPS: 10.0" over the lower left bar
  // once a second has passed.
  Picture p = WaitPicture(parent, [](const Picture &p) {
    return p.SceneIn(120, 0, 280, 120) && p.Count(0, 90, 120, 120, IsWhite) > 40;
  });
  ASSERT_TRUE(p.SceneIn(120, 0, 280, 120)) << Errors();
  EXPECT_GT(p.Count(0, 90, 120, 120, IsWhite), 40) << "no frame rate in the corner";
  EXPECT_TRUE(p.BarIn(0, 0, 120, 80)) << "the left bar above the frame rate";
  EXPECT_TRUE(p.BarIn(280, 0, 400, 120)) << "the right bar";
  EXPECT_EQ(Children(parent), 0);
  sleep(3);
  XDestroyWindow(X, parent);
  XSync(X, False);
  ASSERT_EQ(WaitExit(), 0);
  long frames = 0;
  double seconds = 0, cpu = 0;
  std::string text = Errors();
  ASSERT_EQ(sscanf(text.c_str(), "frosten-saver: %ld frames in %lf s, %lf s CPU", &frames, &seconds, &cpu), 3)
      << text;
  ASSERT_GT(seconds, 2.5);
  // Never faster than asked; slower only on a machine that cannot keep up.
  EXPECT_LE(frames / seconds, 10.5) << text;
  EXPECT_GE(frames / seconds, 5.0) << text;
}

// With the music asked for but no sound to be had: one line, and the
// picture all the same.
TEST_F(Saver, DrawsOnTheRootWindowWithoutSound) {
  Window root = DefaultRootWindow(X);
  Start({"--root", "--music"}, {"SDL_AUDIODRIVER=no-such-driver"});
  auto centre = [](const Picture &p) {
    return p.SceneIn(p.Width / 2 - 100, p.Height / 2 - 75, p.Width / 2 + 100, p.Height / 2 + 75);
  };
  EXPECT_TRUE(centre(WaitPicture(root, centre))) << Errors();
  kill(Pid, SIGTERM);
  EXPECT_EQ(WaitExit(), 0);
  std::string errors = Errors();
  EXPECT_EQ(errors.rfind("frosten-saver: no music: ", 0), 0u) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
  XClearWindow(X, root);
  XSync(X, False);
}

// The saver's own top-level window, by its name.
static Window FindNamed(Display *x, const char *name) {
  Window root, up, *children = nullptr, found = 0;
  unsigned count = 0;
  XQueryTree(x, DefaultRootWindow(x), &root, &up, &children, &count);
  for (unsigned i = 0; i < count && !found; i++) {
    char *text = nullptr;
    if (!XFetchName(x, children[i], &text) || !text) continue;
    if (!strcmp(text, name)) found = children[i];
    XFree(text);
  }
  if (children) XFree(children);
  return found;
}

// The first time it is also hidden (unmapped, as when iconified) for three
// seconds at 5 frames a second, and draws nothing then.
TEST_F(Saver, OwnWindowEndsOnEscapeAndOnTheCloseButton) {
  for (int way = 0; way < 2; way++) {
    Start({"--fps", "5", "--stats"});
    Window w = 0;
    for (int i = 0; i < 600 && !w; i++, usleep(100000)) w = FindNamed(X, "frosten-saver");
    ASSERT_NE(w, 0u) << Errors();
    auto whole = [](const Picture &p) { return p.SceneIn(0, 0, p.Width, p.Height); };
    Picture p = WaitPicture(w, whole);
    EXPECT_EQ(p.Width, 640);
    EXPECT_EQ(p.Height, 480);
    EXPECT_TRUE(p.SceneIn(0, 0, 640, 480));
    if (way == 0) {
      XUnmapWindow(X, w);
      XSync(X, False);
      sleep(3);
      XMapWindow(X, w);
      XSync(X, False);
      EXPECT_TRUE(whole(WaitPicture(w, whole))) << "nothing drawn after the window came back";
    }
    XEvent e = {};
    if (way == 0) {
      e.xkey.type = KeyPress;
      e.xkey.window = w;
      e.xkey.root = DefaultRootWindow(X);
      e.xkey.same_screen = True;
      e.xkey.keycode = XKeysymToKeycode(X, XK_Escape);
      XSendEvent(X, w, False, KeyPressMask, &e);
    } else {
      e.xclient.type = ClientMessage;
      e.xclient.window = w;
      e.xclient.message_type = XInternAtom(X, "WM_PROTOCOLS", False);
      e.xclient.format = 32;
      e.xclient.data.l[0] = (long)XInternAtom(X, "WM_DELETE_WINDOW", False);
      XSendEvent(X, w, False, NoEventMask, &e);
    }
    XSync(X, False);
    EXPECT_EQ(WaitExit(), 0) << (way == 0 ? "Escape" : "close button");
    EXPECT_EQ(FindNamed(X, "frosten-saver"), 0u) << "window left behind";
    long frames = 0;
    double seconds = 0;
    ASSERT_EQ(sscanf(Errors().c_str(), "frosten-saver: %ld frames in %lf s", &frames, &seconds), 2);
    // Drawing all the time makes 5 a second; hidden, some 15 fewer.
    if (way == 0) {
      EXPECT_LE(frames, 5 * seconds - 5.5) << Errors();
    }
  }
}

TEST_F(Saver, RefusesBadArgumentsAndMissingWindows) {
  for (const char *bad : {"--window-id=0", "--window-id=12x", "--fps=fast", "--fps=-1"}) {
    const char *equals = strchr(bad, '=');
    Start({std::string(bad, equals), equals + 1});
    EXPECT_EQ(WaitExit(), 2) << bad;
  }
  Start({"--window-id", "0x1fffff0"});
  EXPECT_EQ(WaitExit(60), 1);
  EXPECT_EQ(Errors(), "frosten-saver: no window 0x1fffff0 on the X display\n");
}
