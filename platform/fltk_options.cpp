#include "platform/fltk_options.h"

#include <FL/Fl.H>
#include <FL/Fl_Preferences.H>

#include <cstring>

// FLTK keeps the options and the "already read" mark as private static
// members. An explicit instantiation may name private members: the friends
// of this template hand out their addresses.
unsigned char *FltkOptionsReadMark();
unsigned char *FltkOptionValues();
template <unsigned char *Mark, unsigned char *Values> struct FltkOptionStorage {
  friend unsigned char *FltkOptionsReadMark() { return Mark; }
  friend unsigned char *FltkOptionValues() { return Values; }
};
template struct FltkOptionStorage<&Fl::options_read_, Fl::options_>;

struct OptionName {
  Fl::Fl_Option Option;
  const char *Key;
  unsigned char Default;
};

static const OptionName Options[] = {
  {Fl::OPTION_ARROW_FOCUS, "ArrowFocus", 0},     {Fl::OPTION_VISIBLE_FOCUS, "VisibleFocus", 1},
  {Fl::OPTION_DND_TEXT, "DNDText", 1},           {Fl::OPTION_SHOW_TOOLTIPS, "ShowTooltips", 1},
  {Fl::OPTION_FNFC_USES_GTK, "FNFCUsesGTK", 1},
};

// The "options" group is opened by its index: opening a group by name marks
// the file for writing, even when the group exists.
static void ReadOptions(Fl_Preferences::Root root) {
  Fl_Preferences prefs(root, "fltk.org", "fltk");
  for (int i = 0; i < prefs.groups(); i++) {
    if (strcmp(prefs.group(i), "options") != 0) continue;
    Fl_Preferences group(prefs, i);
    for (const OptionName &option : Options) {
      int value;
      group.get(option.Key, value, -1);
      if (value >= 0) FltkOptionValues()[option.Option] = value != 0;
    }
  }
}

void ReadFltkOptionsWithoutWriting() {
  if (*FltkOptionsReadMark()) return;
  for (const OptionName &option : Options) FltkOptionValues()[option.Option] = option.Default;
  ReadOptions(Fl_Preferences::SYSTEM);
  ReadOptions(Fl_Preferences::USER);
  *FltkOptionsReadMark() = 1;
}
