// Opening the connection to the X server named by DISPLAY.
#pragma once

typedef struct _XDisplay Display;

// Null when there is no X server. A server that resets after its last
// client has left refuses connections for a moment; this waits up to about
// a second for it before giving up.
Display *OpenXDisplay();

// One connection opened on first use and kept for the run, for the small
// queries and settings of the platform layers: a server left without clients
// may reset itself and forget what was set between two queries.
Display *SharedXDisplay();

// Stops the root-window events a connection asked for (structure changes,
// XRandR screen changes): for a connection that stays open but is no longer
// read.
void IgnoreRootWindowChanges(Display *display, int screen);
