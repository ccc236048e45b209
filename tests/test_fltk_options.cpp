// FLTK's options come from the preference files without any file being
// written: a user's setting is honoured, the file keeps its bytes and time,
// and nothing else appears in the home folder.
#include "platform/fltk_options.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

static std::string ReadAll(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(FltkOptions, ReadsTheUserSettingAndWritesNothing) {
  fs::path home = fs::temp_directory_path() / ("fltk_options_" + std::to_string(getpid()));
  fs::path prefs = home / ".fltk" / "fltk.org" / "fltk.prefs";
  fs::create_directories(prefs.parent_path());
  const std::string text = "; FLTK preferences file format 1.0\n; vendor: fltk.org\n; application: fltk\n\n"
                           "[.]\n\n[./options]\nVisibleFocus:0\n";
  std::ofstream(prefs, std::ios::binary) << text;
  auto written = fs::file_time_type::clock::now() - std::chrono::hours(24);
  fs::last_write_time(prefs, written);
  setenv("HOME", home.c_str(), 1);

  ReadFltkOptionsWithoutWriting();
  EXPECT_EQ(Fl::visible_focus(), 0);       // the user's setting
  EXPECT_EQ(Fl::option(Fl::OPTION_DND_TEXT), true);  // FLTK's default
  ReadFltkOptionsWithoutWriting();         // a second call changes nothing
  EXPECT_EQ(Fl::visible_focus(), 0);

  EXPECT_EQ(ReadAll(prefs), text);
  EXPECT_EQ(fs::last_write_time(prefs), written);
  int entries = 0;
  for (auto it = fs::recursive_directory_iterator(home); it != fs::recursive_directory_iterator(); ++it) entries++;
  EXPECT_EQ(entries, 3);  // .fltk, fltk.org, fltk.prefs
  fs::remove_all(home);
}
