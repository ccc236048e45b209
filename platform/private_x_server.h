// A private X server (Xvfb) for programs that draw without a display: it
// picks a free display number itself, DISPLAY is pointed at it, and it ends
// with the process that started it.
#pragma once

// Starts Xvfb with a screen of at least width x height (24-bit) and sets
// DISPLAY. False, with a one-line reason in error, when it cannot start.
bool StartPrivateXServer(int width, int height, char *error, int errorSize);
// Stops the server started above; also run at process exit.
void StopPrivateXServer();
