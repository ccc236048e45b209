// What the browser build asks of its page (web/frosten.js) and tells it:
// the launcher's choices, the test-only fixed tick, message boxes, the
// music player, and the first frame.
#pragma once

#include <cstdint>

struct WebChoicesRecord {
  int32_t Width;
  int32_t Height;
  bool Fullscreen;
  bool TexCompress;
  int32_t FixedTick;  // -1: the show's own clock
};

WebChoicesRecord WebPageChoices();
// A box on the page: title and text, carriage returns as line breaks.
void WebPageShowBox(const char *title, const char *text);
// The module's bytes to the page's player, which keeps them until told to
// play; stop ends the playing.
bool WebPageLoadMusic(const uint8_t *bytes, uint32_t size);
bool WebPagePlayMusic();
void WebPageStopMusic();
// Called after each frame with the time the display callback took.
void WebPageFrameDrawn(double milliseconds);
void WebPageSetTitle(const char *title);
void WebPageHideCursor();
void WebPageLeaveFullscreen();

// Runs once in the main loop, before its first frame (web_glut.cpp).
void WebGlutBeforeFirstFrame(void (*hook)());
// Ends the main loop and lets the runtime end with the program's exit: the
// browser launcher's first exit procedure, so it runs last.
void WebGlutLetProgramEnd();
