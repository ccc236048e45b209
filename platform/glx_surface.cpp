#include "platform/glx_surface.h"

#include "platform/x_display.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

// The window whose loss ends the drawing; X errors about it mark it lost
// instead of ending the process, as Xlib's default handler would.
static GlxSurface *Watched;

static int NoteXError(Display *, XErrorEvent *event) {
  if (Watched && (event->resourceid == Watched->Target || event->resourceid == Watched->Drawable))
    Watched->TargetLost = true;
  return 0;
}

static int VisualAttributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1,
                                 GLX_BLUE_SIZE, 1, GLX_DEPTH_SIZE, 16, None};

static bool Fail(char *error, int errorSize, const char *text) {
  snprintf(error, errorSize, "%s", text);
  return false;
}

static bool OpenConnection(GlxSurface &surface, char *error, int errorSize) {
  surface = GlxSurface{};
  surface.Connection = OpenXDisplay();
  if (!surface.Connection) return Fail(error, errorSize, "cannot open the X display");
  int errorBase, eventBase;
  if (!glXQueryExtension(surface.Connection, &errorBase, &eventBase))
    return Fail(error, errorSize, "the X display has no GLX");
  XSetErrorHandler(NoteXError);
  Watched = &surface;
  return true;
}

// Whether GL can draw on a window of this visual as we need it.
static bool VisualFits(Display *display, XVisualInfo *info) {
  int useGL = 0, rgba = 0, doubleBuffer = 0, depth = 0;
  glXGetConfig(display, info, GLX_USE_GL, &useGL);
  glXGetConfig(display, info, GLX_RGBA, &rgba);
  glXGetConfig(display, info, GLX_DOUBLEBUFFER, &doubleBuffer);
  glXGetConfig(display, info, GLX_DEPTH_SIZE, &depth);
  return useGL && rgba && doubleBuffer && depth >= 16;
}

static XVisualInfo *VisualOfWindow(Display *display, const XWindowAttributes &attributes) {
  XVisualInfo wanted = {};
  wanted.visualid = XVisualIDFromVisual(attributes.visual);
  int count = 0;
  XVisualInfo *info = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
  if (info && count > 0 && VisualFits(display, info)) return info;
  if (info) XFree(info);
  return nullptr;
}

static XWindowId CreateWindowOf(Display *display, XWindowId parent, XVisualInfo *info, int width, int height,
                                long events) {
  XSetWindowAttributes attributes = {};
  attributes.colormap = XCreateColormap(display, parent, info->visual, AllocNone);
  attributes.background_pixmap = None;
  attributes.border_pixel = 0;
  attributes.event_mask = events;
  return XCreateWindow(display, parent, 0, 0, (unsigned)width, (unsigned)height, 0, info->depth, InputOutput,
                       info->visual, CWColormap | CWBackPixmap | CWBorderPixel | CWEventMask, &attributes);
}

static bool MakeCurrent(GlxSurface &surface, XVisualInfo *info, char *error, int errorSize) {
  surface.Context = glXCreateContext(surface.Connection, info, nullptr, True);
  if (!surface.Context) return Fail(error, errorSize, "cannot create a GL context");
  XSync(surface.Connection, False);
  if (!glXMakeCurrent(surface.Connection, surface.Drawable, surface.Context))
    return Fail(error, errorSize, "cannot make the GL context current on the window");
  return true;
}

bool OpenGlxOwnWindow(GlxSurface &surface, int width, int height, const char *title, char *error,
                      int errorSize) {
  if (!OpenConnection(surface, error, errorSize)) return false;
  Display *display = surface.Connection;
  XVisualInfo *info = glXChooseVisual(display, DefaultScreen(display), VisualAttributes);
  if (!info) return Fail(error, errorSize, "no double-buffered GL visual with a depth buffer");
  XWindowId root = RootWindow(display, info->screen);
  surface.Target = CreateWindowOf(display, root, info, width, height, KeyPressMask | StructureNotifyMask);
  surface.Drawable = surface.Target;
  surface.OwnWindow = true;
  surface.Width = width;
  surface.Height = height;
  XStoreName(display, surface.Target, title);
  XClassHint hint = {const_cast<char *>(title), const_cast<char *>(title)};
  XSetClassHint(display, surface.Target, &hint);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, surface.Target, &deleteWindow, 1);
  surface.DeleteWindowAtom = deleteWindow;
  XMapWindow(display, surface.Target);
  bool ok = MakeCurrent(surface, info, error, errorSize);
  XFree(info);
  return ok;
}

bool OpenGlxOnWindow(GlxSurface &surface, XWindowId window, char *error, int errorSize) {
  if (!OpenConnection(surface, error, errorSize)) return false;
  Display *display = surface.Connection;
  if (window == 0) window = DefaultRootWindow(display);
  surface.Target = window;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes) || surface.TargetLost) {
    char text[80];
    snprintf(text, sizeof text, "no window 0x%lx on the X display", window);
    return Fail(error, errorSize, text);
  }
  surface.Width = attributes.width;
  surface.Height = attributes.height;
  surface.Hidden = attributes.map_state == IsUnmapped;
  // Only the window's size and end matter; its input belongs to its owner.
  XSelectInput(display, window, StructureNotifyMask);
  XVisualInfo *info = VisualOfWindow(display, attributes);
  if (info) {
    surface.Drawable = window;
  } else {
    info = glXChooseVisual(display, XScreenNumberOfScreen(attributes.screen), VisualAttributes);
    if (!info) return Fail(error, errorSize, "no double-buffered GL visual with a depth buffer");
    surface.Drawable = CreateWindowOf(display, window, info, surface.Width, surface.Height, NoEventMask);
    XMapWindow(display, surface.Drawable);
  }
  bool ok = MakeCurrent(surface, info, error, errorSize);
  XFree(info);
  return ok;
}

static void TakeEvent(GlxSurface &surface, XEvent &event) {
  switch (event.type) {
    case ConfigureNotify:
      if (event.xconfigure.window != surface.Target) break;
      surface.Width = event.xconfigure.width;
      surface.Height = event.xconfigure.height;
      if (surface.Drawable != surface.Target)
        XResizeWindow(surface.Connection, surface.Drawable, (unsigned)surface.Width, (unsigned)surface.Height);
      break;
    case UnmapNotify:
    case MapNotify:
      if (event.xany.window == surface.Target) surface.Hidden = event.type == UnmapNotify;
      break;
    case DestroyNotify:
      if (event.xdestroywindow.window == surface.Target) surface.TargetLost = true;
      break;
    case KeyPress:
      if (surface.OwnWindow && XLookupKeysym(&event.xkey, 0) == XK_Escape) surface.EndRequested = true;
      break;
    case ClientMessage:
      if (surface.OwnWindow && (unsigned long)event.xclient.data.l[0] == surface.DeleteWindowAtom)
        surface.EndRequested = true;
      break;
  }
}

void PollGlxEvents(GlxSurface &surface) {
  while (XPending(surface.Connection)) {
    XEvent event;
    XNextEvent(surface.Connection, &event);
    TakeEvent(surface, event);
  }
}

void SwapGlxBuffers(GlxSurface &surface) {
  if (!surface.TargetLost) glXSwapBuffers(surface.Connection, surface.Drawable);
}

void CloseGlxSurface(GlxSurface &surface) {
  Display *display = surface.Connection;
  if (!display) return;
  glXMakeCurrent(display, None, nullptr);
  if (surface.Context) glXDestroyContext(display, surface.Context);
  if (!surface.TargetLost && surface.Drawable && surface.Drawable != surface.Target)
    XDestroyWindow(display, surface.Drawable);
  if (!surface.TargetLost && surface.OwnWindow) XDestroyWindow(display, surface.Target);
  XSync(display, False);
  Watched = nullptr;
  XCloseDisplay(display);
  surface = GlxSurface{};
}

bool ParseWindowId(const char *text, XWindowId &window) {
  if (!text || !*text || *text == '-' || *text == '+') return false;
  char *end;
  errno = 0;
  unsigned long long value = strtoull(text, &end, 0);
  // Base 0 also reads a leading 0 as octal; ids come in decimal or 0x hex.
  if (text[0] == '0' && text[1] != 'x' && text[1] != 'X' && text[1] != 0) value = strtoull(text, &end, 10);
  if (errno || *end || value == 0 || value > 0x1fffffffULL) return false;
  window = (XWindowId)value;
  return true;
}
