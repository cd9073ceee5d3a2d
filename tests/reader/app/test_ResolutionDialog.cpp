// The start-up display dialog from the real Resolution.ui under the test's X server, driven by a
// timer inside its own modal loop: the lists it shows, what is disabled, a change of mode that
// refills the rates, Start writing the display-mode file, Done and the window's close leaving
// without it, the links and the show-again option; the display-mode file's validation; and the
// start without any dialog file.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ComDebug.h"
#include "ComGlMiscModes.h"
#include "ComMacGui.h"
#include "ComMacMessageBox.h"
#include "ComMacWin.h"
#include "Config.h"
#include "DialogDriver.h"
#include "PrefFolder.h"
#include "Resolution.h"
#include "Various.h"

using dialogtest::Choose;
using dialogtest::Click;
using dialogtest::Driver;
using dialogtest::Find;

namespace {

std::vector<std::string> g_popups;
void RecordPopup(char* title, char* text, char) {
  g_popups.push_back(std::string(title ? title : "") + "|" + (text ? text : ""));
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The items of a popup list, "|"-separated, and its selection.
std::string Items(GtkWidget* combo) {
  std::string all;
  int n = ComMacGuiGetMenuCount(combo);
  for (int i = 1; i <= n; i++) {
    char item[256];
    ComMacGuiGetMenuItemString(combo, item, i);
    all += (i > 1 ? "|" : "") + std::string(item);
  }
  return all;
}
int Pos(GtkWidget* combo) { return gtk_combo_box_get_active(GTK_COMBO_BOX(combo)); }
bool On(GtkWidget* w) { return gtk_widget_get_sensitive(w); }

class StartupDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[1024];
    ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
    old_cwd_ = cwd;
    char tmpl[] = "/tmp/lectrel-resdlg-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    home_ = tmpl;
    setenv("HOME", home_.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt");
    DebugSetLogFilename((home_ + "/log.txt").c_str(), 1);
    g_popups.clear();
    ComWinSetPopupMessagesCallback(RecordPopup, RecordPopup);
    // The dialog's files are in the resource folder, the program's working folder.
    ASSERT_EQ(chdir(LECTREL_RESOURCES), 0);
    ConfigLoad();
    // Two full-screen modes of two rates and one, and a 16-bit one.
    const _ComGlModeEntry modes[] = {
        {1024, 768, 32, 75}, {1024, 768, 32, 60}, {800, 600, 32, 60}, {640, 480, 16, 60}};
    ASSERT_TRUE(ComGlMiscGetResolutionModesFromList(modes, 4, 0));
    ASSERT_TRUE(ComMacGuiInitGtk()) << "no X display";
  }
  void TearDown() override {
    ASSERT_EQ(chdir(old_cwd_.c_str()), 0);
    DebugSetLogFilename(nullptr, 0);
  }
  std::string Log() { return ReadAll(home_ + "/log.txt"); }
  std::string File() { return ReadAll(home_ + "/.config/Quorvane/Quorvane Lectrel/Resolution.dat"); }
  void StoreRecord(const _Resolution& r) {
    resolution = r;
    ResolutionSaveSettings();
  }
  _Resolution Stored() {
    _Resolution r{};
    std::string f = File();
    if (f.size() == sizeof(r)) memcpy(&r, f.data(), sizeof(r));
    return r;
  }
  std::string home_, old_cwd_;
};

TEST_F(StartupDialog, ShowsTheModesAndStartWritesTheChoice) {
  ResolutionSetDefaultResolution();
  _Resolution r = resolution;
  r.windowed = 0;
  r.fs_width = 800;
  r.fs_height = 600;
  r.fs_frequency = 85;  // not offered: the last rate is chosen
  r.anti_aliasing = 2;
  StoreRecord(r);
  std::string seen;
  int step = 0;
  Driver d("Startup", [&](GtkWidget* w) {
    GtkWidget *res = Find(w, "RES-13"), *freq = Find(w, "FREQ-14"), *anti = Find(w, "ANTI-15");
    GtkWidget* mode = Find(w, "MODE-12");
    if (step++ == 0) {
      char vers[32];
      ComMacGuiGetStaticTextString(Find(w, "VERS-11"), vers, sizeof(vers));
      EXPECT_STREQ(vers, "V1.81");
      EXPECT_EQ(Items(res), "640 x 480 x 16|800 x 600 x 32|1024 x 768 x 32");
      EXPECT_EQ(Pos(res), 1);
      EXPECT_EQ(Items(anti), "Off|Medium [2x2]|Strong [4x4]");
      EXPECT_EQ(Pos(anti), 1);
      EXPECT_EQ(ComMacGuiGetPopupControlCurrentSelection(mode), 0) << "full screen";
      EXPECT_TRUE(On(res));
      EXPECT_EQ(Items(freq), "60 Hz");
      EXPECT_FALSE(On(freq)) << "one rate: nothing to choose";
      EXPECT_NE(gtk_image_get_pixbuf(GTK_IMAGE(Find(w, "TPIC-10"))), nullptr) << "Title.jpg shown";
      // The user picks the mode with two rates: the rates are refilled, the last one chosen.
      Choose(res, 2);
      EXPECT_EQ(Items(freq), "60 Hz|75 Hz");
      EXPECT_EQ(Pos(freq), 1);
      EXPECT_TRUE(On(freq));
      EXPECT_EQ(resolution.fs_frequency, 75);
      Choose(freq, 0);
      Choose(anti, 2);
      return false;
    }
    // The user switches to a window: both lists go grey, the chosen mode stays; and back.
    dialogtest::Toggle(Find(w, "MODE-2"), true);
    EXPECT_FALSE(On(res));
    EXPECT_FALSE(On(freq));
    EXPECT_EQ(Pos(res), 2);
    EXPECT_EQ(resolution.windowed, 1);
    dialogtest::Toggle(Find(w, "MODE-1"), true);
    EXPECT_TRUE(On(res));
    seen = Items(freq) + "/" + std::to_string(Pos(freq));
    Click(Find(w, "STAR-14"));
    return true;
  });
  EXPECT_EQ(ResolutionDoDialog(0, nullptr), 1);
  EXPECT_FALSE(d.TimedOut());
  EXPECT_EQ(seen, "60 Hz|75 Hz/0");
  ASSERT_EQ(File().size(), 40u);
  _Resolution s = Stored();
  EXPECT_EQ(s.windowed, 0);
  EXPECT_EQ(s.fs_width, 1024);
  EXPECT_EQ(s.fs_height, 768);
  EXPECT_EQ(s.fs_frequency, 60);
  EXPECT_EQ(s.anti_aliasing, 4);
  EXPECT_EQ(run_windowed, 0);
  EXPECT_EQ(WIDTH, 1024);
  EXPECT_EQ(FREQUENCY, 60);
  EXPECT_EQ(ANTI_ALIASING, 4);
  EXPECT_EQ(Log().find("Internal Error"), std::string::npos);
}

TEST_F(StartupDialog, DoneAndTheWindowCloseLeaveWithoutWriting) {
  ResolutionSetDefaultResolution();
  _Resolution r = resolution;
  r.win_width = 700;
  StoreRecord(r);
  const std::string before = File();
  for (int how = 0; how < 2; how++) {
    Driver d("Startup", [&](GtkWidget* w) {
      // A change that Done must not keep.
      dialogtest::Toggle(Find(w, "MODE-1"), true);
      if (how == 0) Click(Find(w, "DONE"));
      else dialogtest::Close(w);
      return true;
    });
    EXPECT_EQ(ResolutionDoDialog(0, nullptr), -1) << how;
    EXPECT_FALSE(d.TimedOut());
    EXPECT_EQ(File(), before);
    EXPECT_EQ(dialogtest::FindWindow("Startup"), nullptr) << "the dialog is gone";
  }
  EXPECT_TRUE(g_popups.empty());
}

TEST_F(StartupDialog, ShowAgainOptionLinksAndHelp) {
  dialogtest::RecordingOpener opener(home_);
  VariousSetWebSite("http://127.0.0.1:9");

  config.show_resolution_window = 1;
  ASSERT_TRUE(ConfigSave(0));
  Driver d("Startup", [&](GtkWidget* w) {
    EXPECT_TRUE(ComMacGuiIsButtonChecked(Find(w, "SHOW-16")));
    Click(Find(w, "HOME"));
    Click(Find(w, "FORU"));
    Click(Find(w, "CHVE"));
    Click(Find(w, "AAHE"));
    dialogtest::Toggle(Find(w, "SHOW-16"), false);
    Click(Find(w, "STAR-14"));
    return true;
  });
  EXPECT_EQ(ResolutionDoDialog(0, nullptr), 1);
  VariousSetWebSite(nullptr);
  ConfigLoad();
  EXPECT_EQ(config.show_resolution_window, 0) << "the option is stored with the settings";
  ASSERT_EQ(g_popups.size(), 1u);
  EXPECT_EQ(g_popups[0],
            "Anti-Aliasing|Anti-aliasing removes the jagged edges that appear when running the program in low "
            "resolutions.\n\nNote: Anti-Aliasing is not really needed due to the internal font blending used by "
            "the program.");
  // The three pages arrive, in any order.
  const std::string opened = opener.Opened(3);
  for (const char* page : {"home_page", "forum", "check_version"})
    EXPECT_NE(opened.find(std::string("http://127.0.0.1:9/lectrel/iga/m_") + page + ".html\n"), std::string::npos)
        << opened;
}

TEST_F(StartupDialog, NoModesAndNoDialogFile) {
  com_gl_num_res_modes = 0;
  Driver d("Startup", [&](GtkWidget* w) {
    EXPECT_EQ(Items(Find(w, "RES-13")), "No Resolution Modes");
    Click(Find(w, "STAR-14"));
    return true;
  });
  EXPECT_EQ(ResolutionDoDialog(0, nullptr), 1);
  EXPECT_NE(Log().find("Could not get any resolution modes"), std::string::npos);
  EXPECT_NE(Log().find("Internal Error"), std::string::npos);

  // Without the interface file the reader still starts, with the stored (here default) mode.
  ASSERT_EQ(chdir(home_.c_str()), 0);
  unlink((home_ + "/.config/Quorvane/Quorvane Lectrel/Resolution.dat").c_str());
  EXPECT_EQ(ResolutionDoDialog(0, nullptr), 1);
  EXPECT_NE(Log().find("Could not get create dialog"), std::string::npos);
  EXPECT_EQ(run_windowed, 1);
  EXPECT_EQ(File(), "") << "nothing chosen, nothing stored";
}

// The display-mode file: only sane values are taken; anything else gives the defaults (and the
// dialog), as a file of the wrong size or version does.
TEST_F(StartupDialog, AbsurdDisplayModeFilesAreInvalid) {
  ResolutionSetDefaultResolution();
  const _Resolution good = resolution;
  StoreRecord(good);
  ASSERT_EQ(ResolutionLoadSettings(), 1);
  struct Case {
    const char* what;
    void (*spoil)(_Resolution&);
  } cases[] = {
      {"width 0", [](_Resolution& r) { r.win_width = 0; }},
      {"height 100000", [](_Resolution& r) { r.fs_height = 100000; }},
      {"depth 7", [](_Resolution& r) { r.win_bpp = 7; }},
      {"full-screen depth 8", [](_Resolution& r) { r.fs_bpp = 8; }},
      {"anti-aliasing 3", [](_Resolution& r) { r.anti_aliasing = 3; }},
      {"windowed 2", [](_Resolution& r) { r.windowed = 2; }},
      {"negative rate", [](_Resolution& r) { r.fs_frequency = -60; }},
  };
  for (const Case& c : cases) {
    _Resolution r = good;
    r.win_width = 777;
    c.spoil(r);
    StoreRecord(r);
    EXPECT_EQ(ResolutionLoadSettings(), 0) << c.what;
    EXPECT_NE(resolution.win_width, 777) << c.what;
    EXPECT_EQ(run_windowed, 1) << c.what;
  }
  // The edges of the sane range are kept.
  _Resolution r = good;
  r.win_width = 2;
  r.fs_height = 16384;
  r.win_bpp = 16;
  r.anti_aliasing = 4;
  StoreRecord(r);
  EXPECT_EQ(ResolutionLoadSettings(), 1);
}

// Without a preferences folder the program's fallback is its working folder, the resource
// folder: the display-mode file is never read from or written there.
TEST_F(StartupDialog, NoDisplayModeFileWithoutThePreferencesFolder) {
  const std::string work = home_ + "/work";
  mkdir(work.c_str(), 0755);
  ASSERT_EQ(chdir(work.c_str()), 0);
  const std::string other = home_ + "/other";
  mkdir(other.c_str(), 0755);
  mkdir((other + "/.config").c_str(), 0755);
  std::ofstream(other + "/.config/Quorvane") << "a file where the folder should be";
  setenv("HOME", other.c_str(), 1);
  PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt");
  ASSERT_EQ(PrefFolderIsFallback(), 1);
  ResolutionSetDefaultResolution();
  ResolutionSaveSettings();
  EXPECT_EQ(ReadAll(work + "/Resolution.dat"), "");
  EXPECT_EQ(ResolutionLoadSettings(), 0);
  EXPECT_NE(Log().find("No preferences folder"), std::string::npos);
  EXPECT_TRUE(g_popups.empty());
}

}  // namespace
