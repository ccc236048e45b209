// frosten-saver against windows of the test X server: it draws the scene
// into a window it is given, keeps the picture 4:3 with bars of the show's
// background as the window changes shape, draws on the root window, keeps
// to its frame rate, and ends cleanly on SIGTERM, Escape and the close
// button.
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
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

static const char SaverPath[] = FROSTEN_BINARY_DIR "/tools/saver/frosten-saver";
// The parent windows' own colour: wherever it shows, the saver drew nothing.
static const unsigned long ParentBlue = 0x0000ff;

struct Rgb {
  int R, G, B;
};

// The show's clear colour, 0.9 grey, as 8-bit channels.
static bool IsBackground(Rgb c) {
  return c.R >= 229 && c.R <= 230 && c.G == c.R && c.B == c.R;
}
static bool IsParentBlue(Rgb c) { return c.R == 0 && c.G == 0 && c.B == 255; }

struct Picture {
  int Width = 0, Height = 0;
  std::vector<Rgb> Pixels;
  Rgb At(int x, int y) const { return Pixels[(size_t)y * Width + x]; }
  // How many pixels of the box [x0, x1) x [y0, y1) pass the test.
  int Count(int x0, int y0, int x1, int y1, bool (*test)(Rgb)) const {
    int n = 0;
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1; x++) n += test(At(x, y));
    return n;
  }
};

static bool NotBackground(Rgb c) { return !IsBackground(c) && !IsParentBlue(c); }

class Saver : public testing::Test {
 protected:
  Display *X = nullptr;
  pid_t Pid = 0;
  std::string ErrorFile;

  void SetUp() override {
    X = getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
    if (!X) GTEST_SKIP() << "no X display";
    char name[] = "/tmp/frosten-saver-test-XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    ErrorFile = name;
  }
  void TearDown() override {
    if (Pid > 0) {
      kill(Pid, SIGKILL);
      waitpid(Pid, nullptr, 0);
    }
    if (!ErrorFile.empty()) unlink(ErrorFile.c_str());
    if (X) XCloseDisplay(X);
  }

  Window Parent(int width, int height) {
    Window w = XCreateSimpleWindow(X, DefaultRootWindow(X), 0, 0, width, height, 0, 0, ParentBlue);
    XMapWindow(X, w);
    XSync(X, False);
    return w;
  }

  // A parent of a visual that GL cannot double-buffer, so that the saver
  // draws in a child window of its own; 0 when the server has none.
  Window SingleBufferedParent(int width, int height) {
    XVisualInfo wanted = {};
    wanted.depth = 24;
    wanted.c_class = TrueColor;
    int count = 0;
    XVisualInfo *all = XGetVisualInfo(X, VisualDepthMask | VisualClassMask, &wanted, &count);
    Visual *visual = nullptr;
    for (int i = 0; i < count && !visual; i++) {
      int useGL = 0, doubleBuffer = 1;
      glXGetConfig(X, &all[i], GLX_USE_GL, &useGL);
      glXGetConfig(X, &all[i], GLX_DOUBLEBUFFER, &doubleBuffer);
      if (useGL && !doubleBuffer) visual = all[i].visual;
    }
    if (all) XFree(all);
    if (!visual) return 0;
    XSetWindowAttributes a = {};
    a.colormap = XCreateColormap(X, DefaultRootWindow(X), visual, AllocNone);
    a.background_pixel = ParentBlue;
    Window w = XCreateWindow(X, DefaultRootWindow(X), 0, 0, width, height, 0, 24, InputOutput, visual,
                             CWColormap | CWBackPixel | CWBorderPixel, &a);
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

  // Starts the saver with these arguments (and XSCREENSAVER_WINDOW when
  // given); its stderr goes to ErrorFile.
  void Start(std::vector<std::string> arguments, const std::string &daemonWindow = "",
             const std::string &extraEnvironment = "") {
    std::vector<char *> argv = {const_cast<char *>(SaverPath)};
    for (auto &a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char **e = environ; *e; e++)
      if (strncmp(*e, "XSCREENSAVER_WINDOW=", 20) != 0) env.push_back(*e);
    if (!daemonWindow.empty()) env.push_back("XSCREENSAVER_WINDOW=" + daemonWindow);
    if (!extraEnvironment.empty()) env.push_back(extraEnvironment);
    std::vector<char *> envp;
    for (auto &e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, ErrorFile.c_str(), O_WRONLY | O_TRUNC, 0);
    // Run in the source folder, which holds data/ and mod/.
    ASSERT_EQ(chdir(FROSTEN_SOURCE_DIR), 0);
    ASSERT_EQ(posix_spawn(&Pid, SaverPath, &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
  }

  // The exit status after the signal, or -1 when it did not end in time.
  int EndWith(int signal, int seconds = 20) {
    if (signal) kill(Pid, signal);
    return WaitExit(seconds);
  }
  int WaitExit(int seconds) {
    for (int i = 0; i < seconds * 20; i++) {
      int status;
      if (waitpid(Pid, &status, WNOHANG) == Pid) {
        Pid = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      usleep(50000);
    }
    return -1;
  }
  std::string Errors() {
    FILE *f = fopen(ErrorFile.c_str(), "r");
    std::string text;
    char line[512];
    while (f && fgets(line, sizeof line, f)) text += line;
    if (f) fclose(f);
    return text;
  }

  Picture Grab(Window w) {
    Picture p;
    XWindowAttributes a;
    XGetWindowAttributes(X, w, &a);
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

  // Grabs the window until the picture passes, for up to seconds; the last
  // picture grabbed.
  Picture WaitPicture(Window w, const std::function<bool(const Picture &)> &good, int seconds = 60) {
    Picture p;
    for (int i = 0; i < seconds * 10; i++) {
      p = Grab(w);
      if (p.Width > 0 && good(p)) break;
      if (waitpid(Pid, nullptr, WNOHANG) == Pid) {
        Pid = 0;
        break;
      }
      usleep(100000);
    }
    return p;
  }
};

// The scene fills the box: no parent colour left, and the tree and lights
// in it (pixels of neither background nor parent colour).
static bool SceneIn(const Picture &p, int x0, int y0, int x1, int y1) {
  int area = (x1 - x0) * (y1 - y0);
  return p.Count(x0, y0, x1, y1, IsParentBlue) == 0 && p.Count(x0, y0, x1, y1, NotBackground) > area / 20;
}
// Every pixel of the box is the show's background.
static bool BackgroundIn(const Picture &p, int x0, int y0, int x1, int y1) {
  return p.Count(x0, y0, x1, y1, IsBackground) == (x1 - x0) * (y1 - y0);
}

// In a window whose visual GL cannot draw on as it is, through a child
// window that must follow the parent's size.
TEST_F(Saver, WindowIdKeepsFourToThreeAsTheWindowChangesAndEndsOnSigterm) {
  Window parent = SingleBufferedParent(320, 240);
  if (!parent) GTEST_SKIP() << "no single-buffered GL visual";
  Start({"--window-id", std::to_string(parent)});
  Picture p = WaitPicture(parent, [](const Picture &p) { return SceneIn(p, 0, 0, 320, 240); });
  ASSERT_TRUE(SceneIn(p, 0, 0, 320, 240)) << "no scene in the 4:3 window: " << Errors();
  EXPECT_EQ(Children(parent), 1);
  // The picture reaches the window's edges: the scene's ground and sky are
  // not the bars' exact grey everywhere along the left and right columns.
  EXPECT_LT(p.Count(0, 0, 4, 240, IsBackground) + p.Count(316, 0, 320, 240, IsBackground), 2 * 4 * 240);

  // Wider: a 320x240 picture in the middle, bars of 80 either side.
  XResizeWindow(X, parent, 480, 240);
  XSync(X, False);
  p = WaitPicture(parent, [](const Picture &p) {
    return p.Width == 480 && BackgroundIn(p, 0, 0, 80, 240) && BackgroundIn(p, 400, 0, 480, 240) &&
           SceneIn(p, 80, 0, 400, 240);
  });
  EXPECT_EQ(p.Width, 480);
  EXPECT_TRUE(BackgroundIn(p, 0, 0, 80, 240)) << "left bar";
  EXPECT_TRUE(BackgroundIn(p, 400, 0, 480, 240)) << "right bar";
  EXPECT_TRUE(SceneIn(p, 80, 0, 400, 240)) << "picture between the bars";
  // The bars end where the picture begins.
  EXPECT_GT(p.Count(80, 0, 84, 240, NotBackground) + p.Count(396, 0, 400, 240, NotBackground), 0);

  // Taller: 240x180 in the middle, bars of 60 above and below.
  XResizeWindow(X, parent, 240, 300);
  XSync(X, False);
  p = WaitPicture(parent, [](const Picture &p) {
    return p.Width == 240 && BackgroundIn(p, 0, 0, 240, 60) && BackgroundIn(p, 0, 240, 240, 300) &&
           SceneIn(p, 0, 60, 240, 240);
  });
  EXPECT_TRUE(BackgroundIn(p, 0, 0, 240, 60)) << "top bar";
  EXPECT_TRUE(BackgroundIn(p, 0, 240, 240, 300)) << "bottom bar";
  EXPECT_TRUE(SceneIn(p, 0, 60, 240, 240)) << "picture between the bars";

  EXPECT_EQ(EndWith(SIGTERM), 0);
  EXPECT_EQ(Errors(), "");
  // Nothing of the saver is left in the window.
  EXPECT_EQ(Children(parent), 0);
  XDestroyWindow(X, parent);
}

TEST_F(Saver, KeepsToTenFramesASecondInTheDaemonsWindow) {
  Window parent = Parent(160, 120);
  // As the daemon starts it: its window in the environment, --root asked.
  char id[32];
  snprintf(id, sizeof id, "0x%lx", parent);
  Start({"--root", "--fps", "10", "--stats"}, id);
  Picture p = WaitPicture(parent, [](const Picture &p) { return SceneIn(p, 0, 0, 160, 120); });
  ASSERT_TRUE(SceneIn(p, 0, 0, 160, 120)) << Errors();
  // The window's own visual serves: no child window.
  EXPECT_EQ(Children(parent), 0);
  sleep(3);
  ASSERT_EQ(EndWith(SIGINT), 0);
  long frames = 0;
  double seconds = 0, cpu = 0;
  std::string text = Errors();
  ASSERT_EQ(sscanf(text.c_str(), "frosten-saver: %ld frames in %lf s, %lf s CPU", &frames, &seconds, &cpu), 3)
      << text;
  ASSERT_GT(seconds, 2.5);
  // Never faster than asked; slower only on a machine that cannot keep up.
  EXPECT_LE(frames / seconds, 10.5) << text;
  EXPECT_GE(frames / seconds, 5.0) << text;
  XDestroyWindow(X, parent);
}

// With the music asked for but no sound to be had: one line, and the
// picture all the same.
TEST_F(Saver, DrawsOnTheRootWindowWithoutSound) {
  Window root = DefaultRootWindow(X);
  Start({"--root", "--music"}, "", "SDL_AUDIODRIVER=no-such-driver");
  Picture p = WaitPicture(root, [](const Picture &p) {
    int cx = p.Width / 2, cy = p.Height / 2;
    return SceneIn(p, cx - 100, cy - 75, cx + 100, cy + 75);
  });
  int cx = p.Width / 2, cy = p.Height / 2;
  EXPECT_TRUE(SceneIn(p, cx - 100, cy - 75, cx + 100, cy + 75)) << Errors();
  EXPECT_EQ(EndWith(SIGTERM), 0);
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
    if (XFetchName(x, children[i], &text) && text) {
      if (!strcmp(text, name)) found = children[i];
      XFree(text);
    }
  }
  if (children) XFree(children);
  return found;
}

TEST_F(Saver, OwnWindowEndsOnEscapeAndOnTheCloseButton) {
  for (int way = 0; way < 2; way++) {
    Start({});
    Window w = 0;
    for (int i = 0; i < 600 && !w; i++, usleep(100000)) w = FindNamed(X, "frosten-saver");
    ASSERT_NE(w, 0u) << Errors();
    Picture p = WaitPicture(w, [](const Picture &p) { return SceneIn(p, 0, 0, p.Width, p.Height); });
    EXPECT_EQ(p.Width, 640);
    EXPECT_EQ(p.Height, 480);
    EXPECT_TRUE(SceneIn(p, 0, 0, 640, 480));
    XEvent e = {};
    if (way == 0) {
      e.xkey.type = KeyPress;
      e.xkey.display = X;
      e.xkey.window = w;
      e.xkey.root = DefaultRootWindow(X);
      e.xkey.keycode = XKeysymToKeycode(X, XK_Escape);
      e.xkey.same_screen = True;
      XSendEvent(X, w, False, KeyPressMask, &e);
    } else {
      e.xclient.type = ClientMessage;
      e.xclient.window = w;
      e.xclient.message_type = XInternAtom(X, "WM_PROTOCOLS", False);
      e.xclient.format = 32;
      e.xclient.data.l[0] = (long)XInternAtom(X, "WM_DELETE_WINDOW", False);
      e.xclient.data.l[1] = CurrentTime;
      XSendEvent(X, w, False, NoEventMask, &e);
    }
    XSync(X, False);
    EXPECT_EQ(WaitExit(20), 0) << (way == 0 ? "Escape" : "close button");
    EXPECT_EQ(FindNamed(X, "frosten-saver"), 0u) << "window left behind";
  }
}

TEST_F(Saver, RefusesBadArgumentsAndMissingWindows) {
  Start({"--window-id", "0"});
  EXPECT_EQ(WaitExit(20), 2);
  Start({"--fps", "fast"});
  EXPECT_EQ(WaitExit(20), 2);
  Start({"--window-id", "0x1fffff0"});
  EXPECT_EQ(WaitExit(60), 1);
  EXPECT_EQ(Errors(), "frosten-saver: no window 0x1fffff0 on the X display\n");
}

// The daemon destroys its window when the saver is no longer wanted.
TEST_F(Saver, EndsQuietlyWhenItsWindowIsDestroyed) {
  Window parent = Parent(160, 120);
  Start({"--window-id", std::to_string(parent)});
  Picture p = WaitPicture(parent, [](const Picture &p) { return SceneIn(p, 0, 0, 160, 120); });
  ASSERT_TRUE(SceneIn(p, 0, 0, 160, 120)) << Errors();
  XDestroyWindow(X, parent);
  XSync(X, False);
  EXPECT_EQ(WaitExit(20), 0);
  EXPECT_EQ(Errors(), "");
}
