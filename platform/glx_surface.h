// A GL context on an X window without GLUT's window handling: on a window
// of our own, or on a window some other program gives us (a screen-saver
// daemon's window, the root window). GLUT cannot adopt a foreign window, so
// this opens its own connection, picks a double-buffered RGB visual with a
// depth buffer and makes a context current on the window itself when its
// visual allows that, else on a child window that fills it and follows its
// size.
#pragma once

typedef struct _XDisplay Display;
typedef unsigned long XWindowId;
typedef struct __GLXcontextRec *GLXContext;

struct GlxSurface {
  Display *Connection;
  XWindowId Target;    // the window asked for (ours, a given one, the root)
  XWindowId Drawable;  // where GL draws: Target itself or our child in it
  GLXContext Context;
  bool OwnWindow;      // Target is ours: keys and the close button end it
  int Width, Height;   // of Target, as last seen
  unsigned long DeleteWindowAtom;
  bool EndRequested;   // Escape or the close button on our own window
  bool TargetLost;     // the given window was destroyed
  bool Hidden;         // Target is unmapped (iconified): nothing to draw
};

// A top-level window of our own, titled title, resizable.
bool OpenGlxOwnWindow(GlxSurface &surface, int width, int height, const char *title, char *error,
                      int errorSize);
// A window by its id, or the root window when window is 0.
bool OpenGlxOnWindow(GlxSurface &surface, XWindowId window, char *error, int errorSize);
// Takes the events that arrived: size changes, unmapping and mapping,
// Escape and the close button on our own window, the given window's
// destruction.
void PollGlxEvents(GlxSurface &surface);
void SwapGlxBuffers(GlxSurface &surface);
// Releases the context, our windows and the connection.
void CloseGlxSurface(GlxSurface &surface);
// A window id in decimal or 0x hexadecimal, as screen-saver daemons pass it.
bool ParseWindowId(const char *text, XWindowId &window);
