// Whether the X display can be opened at all, asked before anything else
// tries: quietly, as the X library prints the server's refusal on stderr at
// every attempt.
#pragma once

// name: the display to try, or null for DISPLAY. Waits for a server that is
// starting or resetting as OpenXDisplay does.
bool XDisplayOpensQuietly(const char *name);
