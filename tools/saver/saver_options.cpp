#include "tools/saver/saver.h"

#include "platform/glx_surface.h"
#include "tools/common/tool_cli.h"

#include <cstdlib>
#include <cstring>
#include <iterator>

const char SaverUsage[] =
    "usage: frosten-saver [--window | --window-id ID | --root] [--delay USEC | --fps N]\n"
    "                     [--fps] [--music] [--stats]\n"
    "Draws the Frosten show as a screen saver.\n"
    "  --window        a window of its own, 640x480 and resizable (the default);\n"
    "                  Escape or closing it ends the saver\n"
    "  --window-id ID  draws into the window ID (decimal or 0x hexadecimal)\n"
    "  --root          draws into the root window\n"
    "                  (XSCREENSAVER_WINDOW, when set, names the window for --root\n"
    "                  and when no window is chosen)\n"
    "  --delay USEC    microseconds from one frame to the next, 0 to 10000000\n"
    "                  (default 33333: 30 frames a second; 0 draws back to back)\n"
    "  --fps N         N frames a second instead, 0 to 1000\n"
    "  --fps           shows the frame rate in the lower left corner\n"
    "  --music         plays the show's music (silent by default)\n"
    "  --stats         prints the frames drawn, seconds and CPU seconds at the end\n"
    "  --visual V, --display D, --install, --mono and the other options that\n"
    "                  screen-saver daemons pass are taken; --display chooses the\n"
    "                  X display, the rest do not apply\n"
    "  -h, --help      prints this text\n"
    "  --version       prints the version\n";

enum { MAX_FPS = 1000, MAX_DELAY_US = 10000000 };

// The collection's programs take their options with one dash or two.
static const char *LongName(const char *argument) {
  if (argument[0] == '-' && argument[1] == '-') return argument;
  static char twoDashes[64];
  if (argument[0] != '-' || strlen(argument) + 2 > sizeof twoDashes) return argument;
  twoDashes[0] = '-';
  strcpy(twoDashes + 1, argument);
  return twoDashes;
}

// Options every program of the screen-saver collection takes: these do not
// apply here (the saver picks its own GL visual and colours).
static const char *const IgnoredFlags[] = {"--install", "--noinstall", "--mono", "--pair", "--sync"};
static const char *const IgnoredWithValue[] = {"--visual"};

static bool Listed(const char *option, const char *const *names, size_t count) {
  for (size_t i = 0; i < count; i++)
    if (!strcmp(option, names[i])) return true;
  return false;
}

// "--fps 30" from before the flag: a number after --fps is a rate.
static bool NumberFollows(int argc, char **argv, int i) {
  if (i + 1 >= argc) return false;
  const char *text = argv[i + 1];
  if (*text == '-') text++;
  return *text >= '0' && *text <= '9';
}

static void TakeWindowId(SaverOptions &options, const char *option, const char *text) {
  XWindowId window;
  if (!ParseWindowId(text, window)) ToolUsageError("%s takes a window id, not %s", option, text);
  options.Target = SAVER_WINDOW_ID;
  options.WindowId = window;
}

SaverOptions ParseSaverOptions(int argc, char **argv, const char *environmentWindow) {
  SaverOptions options;
  bool chosen = false;
  for (int i = 1; i < argc; i++) {
    const char *option = LongName(argv[i]);
    if (!strcmp(option, "--window")) {
      options.Target = SAVER_OWN_WINDOW;
      chosen = true;
    } else if (!strcmp(option, "--window-id")) {
      TakeWindowId(options, "--window-id", ToolOptionValue(argc, argv, i));
      chosen = true;
    } else if (!strcmp(option, "--root")) {
      options.Target = SAVER_ROOT;
      chosen = true;
    } else if (!strcmp(option, "--fps") && NumberFollows(argc, argv, i)) {
      int fps = ToolIntValue("--fps", ToolOptionValue(argc, argv, i), 0, MAX_FPS);
      options.FramePeriodNs = fps ? 1000000000 / fps : 0;
    } else if (!strcmp(option, "--fps")) {
      options.ShowFrameRate = true;
    } else if (!strcmp(option, "--no-fps")) {
      options.ShowFrameRate = false;
    } else if (!strcmp(option, "--display")) {
      setenv("DISPLAY", ToolOptionValue(argc, argv, i), 1);
    } else if (Listed(option, IgnoredWithValue, std::size(IgnoredWithValue))) {
      ToolOptionValue(argc, argv, i);
    } else if (Listed(option, IgnoredFlags, std::size(IgnoredFlags))) {
      // taken, and nothing to do
    } else if (!strcmp(option, "--delay")) {
      options.FramePeriodNs = (int64_t)ToolIntValue("--delay", ToolOptionValue(argc, argv, i), 0, MAX_DELAY_US) * 1000;
    } else if (!strcmp(option, "--music")) {
      options.Music = true;
    } else if (!strcmp(option, "--stats")) {
      options.Stats = true;
    } else {
      ToolUsageError("unknown option %s", argv[i]);
    }
  }
  bool daemonWindow = environmentWindow && *environmentWindow;
  if (daemonWindow && (!chosen || options.Target == SAVER_ROOT))
    TakeWindowId(options, "XSCREENSAVER_WINDOW", environmentWindow);
  return options;
}
