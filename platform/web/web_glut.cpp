// GLUT in the browser: the window is the page's canvas with a WebGL 2
// context, game mode is the same canvas (the page asked for full screen when
// Okay was pressed), and the main loop is the browser's animation frame.
#include "core/exit_list.h"
#include "platform/web/web_page.h"

#include <GL/freeglut.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

struct WebGlutRecord {
  int Width, Height;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE Context;
  double Start;
  bool RedisplayPosted;
  bool Reshaped;
  void (*Display)();
  void (*Idle)();
  void (*Reshape)(int, int);
  void (*Keyboard)(unsigned char, int, int);
  unsigned char Keys[16];  // keys since the last frame, delivered in it
  int KeyCount;
  void (*BeforeFirstFrame)();
};

static WebGlutRecord Glut = {640, 480, 0, 0, false, false, nullptr, nullptr, nullptr, nullptr, {}, 0, nullptr};

void WebGlutBeforeFirstFrame(void (*hook)()) { Glut.BeforeFirstFrame = hook; }

void glutInit(int *, char **) { Glut.Start = emscripten_get_now(); }
void glutInitDisplayMode(unsigned int) {}

void glutInitWindowSize(int width, int height) {
  Glut.Width = width;
  Glut.Height = height;
}

// Keys go to the show between frames, where ending the program is safe.
static EM_BOOL KeyDown(int, const EmscriptenKeyboardEvent *event, void *) {
  unsigned char key = 0;
  if (strcmp(event->key, "Escape") == 0) key = 27;
  else if (strlen(event->key) == 1) key = (unsigned char)event->key[0];
  if (key && Glut.KeyCount < (int)sizeof Glut.Keys) Glut.Keys[Glut.KeyCount++] = key;
  return key == 27;
}

int glutCreateWindow(const char *title) {
  emscripten_set_canvas_element_size("#canvas", Glut.Width, Glut.Height);
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.alpha = false;
  attributes.depth = true;
  attributes.antialias = false;
  attributes.preserveDrawingBuffer = true;  // a screenshot sees the last frame
  attributes.majorVersion = 2;
  Glut.Context = emscripten_webgl_create_context("#canvas", &attributes);
  if (Glut.Context <= 0) {
    WebPageShowBox(title, "This browser cannot draw the show: it offers no WebGL 2.");
    EndProgram(1);
  }
  emscripten_webgl_make_context_current(Glut.Context);
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, true, KeyDown);
  WebPageSetTitle(title);
  return 1;
}

void glutSetWindowTitle(const char *title) { WebPageSetTitle(title); }

static char GameMode[48];
void glutGameModeString(const char *mode) { snprintf(GameMode, sizeof GameMode, "%s", mode); }

static bool InGameMode;
int glutGameModeGet(GLenum query) {
  if (query == GLUT_GAME_MODE_POSSIBLE) return 1;
  if (query == GLUT_GAME_MODE_ACTIVE) return InGameMode;
  return 0;
}

// The mode's size is the canvas's; the page stretches it over the screen.
int glutEnterGameMode() {
  int width = 0, height = 0;
  if (sscanf(GameMode, "%dx%d", &width, &height) == 2 && width > 0 && height > 0) glutInitWindowSize(width, height);
  InGameMode = glutCreateWindow("") != 0;
  return InGameMode;
}

void glutLeaveGameMode() {
  InGameMode = false;
  WebPageLeaveFullscreen();
}

void glutSetCursor(int cursor) {
  if (cursor == GLUT_CURSOR_NONE) WebPageHideCursor();
}

void glutReshapeFunc(void (*callback)(int, int)) {
  Glut.Reshape = callback;
  Glut.Reshaped = false;
}

void glutIdleFunc(void (*callback)()) { Glut.Idle = callback; }
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) { Glut.Keyboard = callback; }
void glutDisplayFunc(void (*callback)()) { Glut.Display = callback; }
void glutCloseFunc(void (*)()) {}
void glutSetOption(GLenum, int) {}
void glutPostRedisplay() { Glut.RedisplayPosted = true; }
void glutSwapBuffers() {}

int glutGet(GLenum query) {
  switch (query) {
  case GLUT_ELAPSED_TIME: return (int)(emscripten_get_now() - Glut.Start);
  case GLUT_WINDOW_WIDTH: return Glut.Width;
  case GLUT_WINDOW_HEIGHT: return Glut.Height;
  default: return 0;
  }
}

// WebGL has no generic compressed formats to upload into.
int glutExtensionSupported(const char *) { return 0; }
void (*glutGetProcAddress(const char *))() { return nullptr; }

static void Frame() {
  if (Glut.BeforeFirstFrame) {
    void (*hook)() = Glut.BeforeFirstFrame;
    Glut.BeforeFirstFrame = nullptr;
    hook();
  }
  if (!Glut.Reshaped && Glut.Reshape) {
    Glut.Reshaped = true;
    Glut.Reshape(Glut.Width, Glut.Height);
    Glut.RedisplayPosted = true;
  }
  for (int i = 0; i < Glut.KeyCount; i++) {
    unsigned char key = Glut.Keys[i];
    Glut.Keys[i] = 0;
    if (Glut.Keyboard) Glut.Keyboard(key, 0, 0);
  }
  Glut.KeyCount = 0;
  if (Glut.Idle) Glut.Idle();
  if (Glut.RedisplayPosted && Glut.Display) {
    Glut.RedisplayPosted = false;
    double start = emscripten_get_now();
    Glut.Display();
    WebPageFrameDrawn(emscripten_get_now() - start);
  }
}

// The main loop holds the runtime alive: the program's end lets go first,
// so that its exit reaches the page (Module.onExit) with its code.
EM_JS(void, LetRuntimeExit, (), {
  runtimeKeepaliveCounter = 0;
  noExitRuntime = false;
});

void WebGlutLetProgramEnd() {
  emscripten_cancel_main_loop();
  LetRuntimeExit();
}

void glutMainLoop() { emscripten_set_main_loop(Frame, 0, 1); }
