// The user's folders with a temporary HOME and XDG_CONFIG_HOME, the resource folder, path
// references, the fixed system answers, and pointer control on Xvfb.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "ComDebug.h"
#include "ComMacWin.h"
#include "ShellTestApp.h"
// Last: its macros (None, Bool) clash with the test framework's names.
#include <X11/Xlib.h>

using namespace shelltest;

namespace {

class FoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = MakeTempHome();
    ASSERT_FALSE(home_.empty());
    Reset();
    log_ = home_ + "/log.txt";
    DebugSetLogFilename(log_.c_str(), 1);
  }
  void TearDown() override {
    Reset();
    RemoveTree(home_);
  }
  bool IsDir(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  std::string home_, log_;
};

TEST_F(FoldersTest, PreferencesFolderFromXdgOrHome) {
  char out[512];
  ASSERT_EQ(1, ComMacMiscGetPreferencesFolder(out, sizeof(out)));
  EXPECT_EQ(home_ + "/config", out);
  setenv("XDG_CONFIG_HOME", "relative/not/used", 1);
  ASSERT_EQ(1, ComMacMiscGetPreferencesFolder(out, sizeof(out)));
  EXPECT_EQ(home_ + "/.config", out);
  unsetenv("XDG_CONFIG_HOME");
  ASSERT_EQ(1, ComMacMiscGetPreferencesFolder(out, sizeof(out)));
  EXPECT_EQ(home_ + "/.config", out);
  // A path that does not fit is refused, never cut.
  EXPECT_EQ(0, ComMacMiscGetPreferencesFolder(out, 5));
  EXPECT_EQ(0, ComMacMiscGetPreferencesFolder(nullptr, 10));
}

TEST_F(FoldersTest, SubSubFolderCreatesMissingParents) {
  char out[512];
  // The preferences folder itself does not exist yet in a fresh account.
  ASSERT_FALSE(IsDir(home_ + "/config"));
  ASSERT_EQ(1, ComMacMiscGetPreferencesSubSubFolder((char*)"Quorvane", (char*)"Quorvane Lectrel", out, sizeof(out), 1, 1));
  EXPECT_EQ(home_ + "/config/Quorvane/Quorvane Lectrel", out);
  EXPECT_TRUE(IsDir(out));
  ASSERT_EQ(1, ComMacMiscGetPreferencesSubFolder((char*)"Other", out, sizeof(out), 1));
  EXPECT_TRUE(IsDir(home_ + "/config/Other"));
}

TEST_F(FoldersTest, SubSubFolderFailureTexts) {
  char out[512];
  EXPECT_EQ(0, ComMacMiscGetPreferencesSubSubFolder((char*)"Missing", (char*)"Sub", out, sizeof(out), 0, 1));
  EXPECT_EQ(1, CountOf(ReadFile(log_), "Main directory does not exist <" + home_ + "/config/Missing>"));
  EXPECT_EQ(0, ComMacMiscGetPreferencesSubSubFolder((char*)"Main", (char*)"Sub", out, sizeof(out), 1, 0));
  EXPECT_EQ(1, CountOf(ReadFile(log_), "Sub directory does not exist <" + home_ + "/config/Main/Sub>"));
  EXPECT_EQ(0, ComMacMiscGetPreferencesSubFolder((char*)"Nope", out, sizeof(out), 0));
  EXPECT_EQ(1, CountOf(ReadFile(log_), "Directory does not exist <" + home_ + "/config/Nope>"));
  // Null arguments give 0 without a message; names with "/" are refused.
  std::string before = ReadFile(log_);
  EXPECT_EQ(0, ComMacMiscGetPreferencesSubSubFolder(nullptr, (char*)"Sub", out, sizeof(out), 1, 1));
  EXPECT_EQ(0, ComMacMiscGetPreferencesSubFolder((char*)"x", nullptr, 10, 1));
  EXPECT_EQ(before, ReadFile(log_));
  EXPECT_EQ(0, ComMacMiscGetPreferencesSubSubFolder((char*)"../escape", (char*)"Sub", out, sizeof(out), 1, 1));
  EXPECT_FALSE(IsDir(home_ + "/escape"));
  // Room for the names is kept: a buffer too small for the whole path is refused.
  EXPECT_EQ(0, ComMacMiscGetPreferencesSubSubFolder((char*)"Quorvane", (char*)"Quorvane Lectrel", out,
                                                    (int)(home_.size() + 20), 1, 1));
}

TEST_F(FoldersTest, DocumentsAndDesktopFromUserDirsThenHome) {
  char out[512];
  ASSERT_EQ(1, ComMacMiscGetDocumentsDirectory(out, sizeof(out)));
  EXPECT_EQ(home_, out);  // neither configured nor present
  mkdir((home_ + "/Documents").c_str(), 0700);
  ASSERT_EQ(1, ComMacMiscGetDocumentsDirectory(out, sizeof(out)));
  EXPECT_EQ(home_ + "/Documents", out);
  mkdir((home_ + "/config").c_str(), 0700);
  mkdir((home_ + "/Books").c_str(), 0700);
  mkdir((home_ + "/Schreibtisch").c_str(), 0700);
  FILE* f = fopen((home_ + "/config/user-dirs.dirs").c_str(), "w");
  ASSERT_NE(nullptr, f);
  fprintf(f, "# written by a test\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\nXDG_DOCUMENTS_DIR=\"%s/Books\"\n", home_.c_str());
  fclose(f);
  ASSERT_EQ(1, ComMacMiscGetDocumentsDirectory(out, sizeof(out)));
  EXPECT_EQ(home_ + "/Books", out);
  ASSERT_EQ(1, ComMacMiscGetDesktopDirectory(out, sizeof(out)));
  EXPECT_EQ(home_ + "/Schreibtisch", out);
  EXPECT_EQ(0, ComMacMiscGetDesktopDirectory(out, 4));
}

TEST_F(FoldersTest, TempFolderPathReferencesAndFixedAnswers) {
  char out[512];
  std::string tmp = home_ + "/tmp/inner";
  setenv("TMPDIR", tmp.c_str(), 1);
  EXPECT_EQ(0, ComMacMiscGetTempFolder(out, sizeof(out), 0));
  EXPECT_EQ(1, ComMacMiscGetTempFolder(out, sizeof(out), 1));
  EXPECT_TRUE(IsDir(tmp));
  unsetenv("TMPDIR");
  FSSpec fs_spec;
  EXPECT_EQ(0, ComMacMiscPathToFSSpec((home_ + "/none").c_str(), &fs_spec, 1));
  EXPECT_EQ(0, CountOf(ReadFile(log_), "File not found"));
  EXPECT_EQ(0, ComMacMiscPathToFSSpec((home_ + "/none").c_str(), &fs_spec, 0));
  EXPECT_EQ(1, CountOf(ReadFile(log_), "File not found: <" + home_ + "/none>"));
  FSRef ref;
  EXPECT_EQ(1, ComMacMiscPathToFSRef(tmp.c_str(), &ref));
  EXPECT_EQ(tmp, ref.path);
  EXPECT_GE(ComMacMiscGetOsxVersion(), 0x1050);
  EXPECT_STREQ("LT----", LT(7));
  EXPECT_STREQ("LangGetScriptTextPointer----", LangGetScriptTextPointer(7));
  char name[64];
  EXPECT_EQ(1, ComMacMiscGetUserName(name, sizeof(name)));
  EXPECT_GT(strlen(name), 0u);
  ASSERT_EQ(1, ComMacMiscGetResourceFolder(out, sizeof(out)));
  EXPECT_EQ(std::string::npos, std::string(out).find("//"));
  EXPECT_EQ("/Resources", std::string(out).substr(strlen(out) - 10));
}

TEST(PointerTest, AccelerationSwitchedOffAndRestored) {
  int n0, d0, t0;
  ASSERT_EQ(1, ComMacMiscIOGetPointerControl(&n0, &d0, &t0));
  ComMacMiscIORestoreMouseScaling();  // without a switch-off: nothing
  int n, d, t;
  ComMacMiscIOGetPointerControl(&n, &d, &t);
  EXPECT_EQ(n0, n);
  ASSERT_EQ(1, ComMacMiscIODisableMouseScaling());
  ComMacMiscIOGetPointerControl(&n, &d, &t);
  EXPECT_EQ(1, n);
  EXPECT_EQ(1, d);
  EXPECT_EQ(0, ComMacMiscIODisableMouseScaling());  // "Already disabled", the first save kept
  ComMacMiscIORestoreMouseScaling();
  ComMacMiscIOGetPointerControl(&n, &d, &t);
  EXPECT_EQ(n0, n);
  EXPECT_EQ(d0, d);
  EXPECT_EQ(t0, t);
  EXPECT_EQ(0, cmm_mouse_scaling_disabled);
}

TEST(PointerTest, CursorMovesToTheScreenPosition) {
  Display* d = XOpenDisplay(nullptr);
  ASSERT_NE(nullptr, d);
  auto where = [d](int* x, int* y) {
    Window root, child;
    int wx, wy;
    unsigned mask;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, x, y, &wx, &wy, &mask);
  };
  int x0 = 0, y0 = 0;
  where(&x0, &y0);
  ASSERT_EQ(1, ComMacMiscIOSetCursorPosition(123, 45));
  int x = -1, y = -1;
  where(&x, &y);
  // Put the pointer back at once: other window tests share the server.
  ComMacMiscIOSetCursorPosition(x0, y0);
  XCloseDisplay(d);
  EXPECT_EQ(123, x);
  EXPECT_EQ(45, y);
}

}  // namespace
