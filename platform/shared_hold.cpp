#include "platform/shared_hold.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>

enum { MAX_HOLDERS = 64, MAX_HOLDS = 4 };

// The root-window record: the number of saved values, the values, then the
// holders' windows.
struct HoldRecord {
  int ValueCount;
  long Values[MAX_HOLD_VALUES];
  int HolderCount;
  Window Holders[MAX_HOLDERS];
};

// The holds this program is in, by property name.
struct JoinedHolds {
  const char *Names[MAX_HOLDS];
  int Count;
};

static JoinedHolds Joined;
static Window OwnHolder;

static int JoinedIndex(const char *name) {
  for (int i = 0; i < Joined.Count; i++)
    if (!strcmp(Joined.Names[i], name)) return i;
  return -1;
}

static bool ReadRecord(Display *display, Atom atom, HoldRecord &record) {
  record = HoldRecord{};
  Atom type;
  int format;
  unsigned long items = 0, after;
  unsigned char *data = nullptr;
  if (XGetWindowProperty(display, DefaultRootWindow(display), atom, 0, 1 + MAX_HOLD_VALUES + MAX_HOLDERS, False,
                         XA_CARDINAL, &type, &format, &items, &after, &data) != Success)
    return false;
  const long *cells = (const long *)data;
  bool ok = data && type == XA_CARDINAL && format == 32 && items >= 1 && cells[0] >= 0 &&
            cells[0] <= MAX_HOLD_VALUES && items >= 1 + (unsigned long)cells[0];
  if (ok) {
    record.ValueCount = (int)cells[0];
    for (int i = 0; i < record.ValueCount; i++) record.Values[i] = cells[1 + i];
    for (unsigned long i = 1 + record.ValueCount; i < items && record.HolderCount < MAX_HOLDERS; i++)
      record.Holders[record.HolderCount++] = (Window)cells[i];
  }
  if (data) XFree(data);
  return ok;
}

static void WriteRecord(Display *display, Atom atom, const HoldRecord &record) {
  long cells[1 + MAX_HOLD_VALUES + MAX_HOLDERS];
  int n = 0;
  cells[n++] = record.ValueCount;
  for (int i = 0; i < record.ValueCount; i++) cells[n++] = record.Values[i];
  for (int i = 0; i < record.HolderCount; i++) cells[n++] = (long)record.Holders[i];
  XChangeProperty(display, DefaultRootWindow(display), atom, XA_CARDINAL, 32, PropModeReplace,
                  (unsigned char *)cells, n);
}

// Keeps the holders whose windows still exist (children of the root) and
// are not this program's own.
static void DropDeadAndOwn(Display *display, HoldRecord &record) {
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) count = 0;
  int kept = 0;
  for (int i = 0; i < record.HolderCount; i++) {
    bool alive = false;
    for (unsigned c = 0; c < count && !alive; c++) alive = children[c] == record.Holders[i];
    if (alive && record.Holders[i] != OwnHolder) record.Holders[kept++] = record.Holders[i];
  }
  record.HolderCount = kept;
  if (children) XFree(children);
}

bool JoinSharedHold(Display *display, const char *name, long *values, int count) {
  if (count > MAX_HOLD_VALUES || Joined.Count >= MAX_HOLDS || JoinedIndex(name) >= 0) return false;
  if (!OwnHolder) {
    XSetWindowAttributes attributes = {};
    OwnHolder = XCreateWindow(display, DefaultRootWindow(display), -1, -1, 1, 1, 0, 0, InputOnly,
                              CopyFromParent, 0, &attributes);
  }
  Atom atom = XInternAtom(display, name, False);
  XGrabServer(display);
  HoldRecord record;
  if (ReadRecord(display, atom, record) && record.ValueCount == count) {
    for (int i = 0; i < count; i++) values[i] = record.Values[i];
  } else {
    record = HoldRecord{};
    record.ValueCount = count;
    for (int i = 0; i < count; i++) record.Values[i] = values[i];
  }
  DropDeadAndOwn(display, record);
  if (record.HolderCount < MAX_HOLDERS) record.Holders[record.HolderCount++] = OwnHolder;
  WriteRecord(display, atom, record);
  XUngrabServer(display);
  XSync(display, False);
  Joined.Names[Joined.Count++] = name;
  return true;
}

bool LeaveSharedHold(Display *display, const char *name, long *values, int count) {
  int index = JoinedIndex(name);
  if (index < 0) return false;
  Joined.Names[index] = Joined.Names[--Joined.Count];
  Atom atom = XInternAtom(display, name, False);
  XGrabServer(display);
  HoldRecord record;
  bool last = false;
  if (ReadRecord(display, atom, record)) {
    DropDeadAndOwn(display, record);
    last = record.HolderCount == 0 && record.ValueCount == count;
    if (last) {
      for (int i = 0; i < count; i++) values[i] = record.Values[i];
      XDeleteProperty(display, DefaultRootWindow(display), atom);
    } else {
      WriteRecord(display, atom, record);
    }
  }
  XUngrabServer(display);
  XSync(display, False);
  return last;
}

bool SavedByOthers(Display *display, const char *name, long *values, int count) {
  if (JoinedIndex(name) >= 0) return false;
  Atom atom = XInternAtom(display, name, True);
  HoldRecord record;
  if (atom == None || !ReadRecord(display, atom, record) || record.ValueCount != count) return false;
  for (int i = 0; i < count; i++) values[i] = record.Values[i];
  return true;
}
