// A desktop setting that several programs on one X display switch off at
// once (the screen saver's timeout, DPMS): the first one to hold it saves
// the settings, the last one to let go puts them back. The record is a
// property of the root window: the saved values and one window of each
// holder, which the server destroys with the holder's connection, so a
// holder that was killed drops out, and the saved values wait for the next
// program that holds the setting and lets go of it.
#pragma once

typedef struct _XDisplay Display;

enum { MAX_HOLD_VALUES = 8 };

// Joins the hold named `name` (a property name). values[0..count) are the
// settings now; when another program holds them, or a killed holder left the
// record, they are replaced by the ones it saved. True on success.
bool JoinSharedHold(Display *display, const char *name, long *values, int count);

// Leaves the hold. True when this program held it and no other living
// program does: values[0..count) then are the saved settings to put back,
// and the record is gone.
bool LeaveSharedHold(Display *display, const char *name, long *values, int count);

// Whether other programs hold it, or a killed holder left its record, while
// this one does not: values[0..count) then are the settings saved.
bool SavedByOthers(Display *display, const char *name, long *values, int count);
