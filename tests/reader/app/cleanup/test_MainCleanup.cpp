// The cleanup of converted books: what it deletes and spares, its question and result popups, and
// its refusal where there is no preferences folder.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <dirent.h>

#include "ComFile.h"
#include "GameFolders.h"
#include "MainCleanup.h"
#include "Mui.h"
#include "MuiBox.h"
#include "MuiPopup.h"
#include "PrefFolder.h"
#include "Common/mui/support_MuiKit.h"

namespace {
std::string MakeTempDir() {
  char t[] = "/tmp/lectrel-cleanup-XXXXXX";
  char* d = mkdtemp(t);
  return d ? std::string(d) : std::string();
}

std::vector<std::string> Listing(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

class Cleanup : public MuiKitTest {
 protected:
  void SetUp() override {
    MuiKitTest::SetUp();
    home_ = MakeTempDir();
    ASSERT_FALSE(home_.empty());
    setenv("HOME", home_.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt");
    char dir[1024];
    ASSERT_TRUE(GameGetDataDir(dir, sizeof(dir)));
    data_ = dir;
  }
  void TearDown() override {
    if (MuiPopupIsOn()) MuiPopupClose(0);
    MuiKitTest::TearDown();
  }
  void Make(const std::vector<std::string>& names) {
    for (const std::string& n : names) std::ofstream(data_ + "/" + n) << "x";
  }
  void Press(int id) {
    ASSERT_TRUE(MuiIsButtonShown(id)) << id;
    mouse_box[id].callback(0);
  }
  std::string home_, data_;
};

// Converted books and their leftovers go; the log, books of other kinds, near-miss names and
// folders stay; the count is of what really went, without the plural only for exactly one file.
TEST_F(Cleanup, DeletesConvertedBooksAndLeftoversOnly) {
  Make({"Book One.txt", "SHOUT.TXT", "Half.txt.part", "Other.TXT.PART", "LogFile.txt", "novel.epub",
        "paper.pdf", "x.txt.partial", "notes.txt~", ".txt", "Settings.txt.bak"});
  mkdir((data_ + "/kept.txt").c_str(), 0755);  // a folder is never taken for a book
  std::vector<std::string> before = Listing(data_);
  mouseui_on = 0;  // the reading view: the menu layer is off
  MainDoCleanupCB(1);
  std::vector<std::string> left = Listing(data_);
  for (const char* gone : {"Book One.txt", "SHOUT.TXT", "Half.txt.part", "Other.TXT.PART"})
    EXPECT_EQ(left.end(), std::find(left.begin(), left.end(), gone)) << gone;
  EXPECT_EQ(before.size() - 4, left.size());
  for (const char* kept : {"LogFile.txt", "novel.epub", "paper.pdf", "x.txt.partial", "notes.txt~",
                           "Settings.txt.bak", "kept.txt"})
    EXPECT_NE(left.end(), std::find(left.begin(), left.end(), kept)) << kept;
  EXPECT_FALSE(MuiPopupIsOn());  // no popup while reading

  struct Case {
    std::vector<std::string> files;
    const char* text;
  } cases[] = {{{"a.txt"}, "Deleted 1 Temporary File"}, {{}, "Deleted 0 Temporary Files"}};
  mouseui_on = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Make(c.files);
    MainDoCleanupCB(99);
    ASSERT_TRUE(MuiPopupIsOn());
    EXPECT_STREQ(c.text, MuiGetText(muiMuiPopupText));
    Press(muiMuiPopupButton2);
    EXPECT_FALSE(MuiPopupIsOn());
  }
}

// Temporaries of the write-then-rename routine that a crash left go, in the data folder and its
// Settings folder, at start-up and with Cleanup Files; one that a running writer holds, a user's
// file of a similar name and a folder stay.
TEST_F(Cleanup, LeftoverTemporariesGoButHeldOnesAndSimilarNamesStay) {
  char settings[1024];
  ASSERT_TRUE(GameGetSettingsDir(settings, sizeof(settings)));
  const std::string set = settings;
  Make({"Book.txt.tmp-a1B2c3", "Book.txt.tmp-a1B2c3.tmp-ZZ9zz9", "notes.tmp-1", "photos.tmp-holiday",
        ".tmp-abcdef", "Book.txt.tmp-a1B2c3~", "Book.txt"});
  for (const char* n : {"Lectrel.cfg.tmp-Qx81Lp", "Lectrel.cfg"}) std::ofstream(set + "/" + n) << "x";
  mkdir((data_ + "/dir.tmp-abcdef").c_str(), 0755);
  char held[1100];
  ASSERT_TRUE(ComFileCreateTemporary((data_ + "/Open.txt").c_str(), held, sizeof(held)));

  EXPECT_EQ(3, MainRemoveLeftoverTemporaries());
  std::string held_name = std::string(held).substr(data_.size() + 1);
  std::vector<std::string> kept = {"Book.txt", "Book.txt.tmp-a1B2c3~", "Settings", "dir.tmp-abcdef",
                                   held_name, "notes.tmp-1", "photos.tmp-holiday"};
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(kept, Listing(data_));
  EXPECT_EQ(std::vector<std::string>{"Lectrel.cfg"}, Listing(set));

  // Cleanup Files counts the leftover temporaries with the converted books.
  ComFileReleaseTemporary(held, nullptr);
  Make({"Other.txt.tmp-000000"});
  mouseui_on = 1;
  MainDoCleanupCB(1);
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_STREQ("Deleted 2 Temporary Files", MuiGetText(muiMuiPopupText));  // Book.txt and the leftover
  Press(muiMuiPopupButton2);
}

// The question is a menu popup: Cancel leaves everything, OK deletes and answers with the count.
TEST_F(Cleanup, QuestionPopupCancelKeepsOkDeletesAndReports) {
  Make({"a.txt", "b.txt.part"});
  MainCleanupCB();
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_STREQ("Remove all previously converted files created by Lectrel ?", MuiGetText(muiMuiPopupText));
  Press(muiMuiPopupButton3);  // Cancel
  EXPECT_FALSE(MuiPopupIsOn());
  EXPECT_EQ(2u, Listing(data_).size());

  MainCleanupCB();
  Press(muiMuiPopupButton1);  // OK
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_STREQ("Deleted 2 Temporary Files", MuiGetText(muiMuiPopupText));
  EXPECT_TRUE(Listing(data_).empty());
  Press(muiMuiPopupButton2);
  EXPECT_FALSE(MuiPopupIsOn());

  // Codes other than the confirmation and the unusable settings file do nothing.
  Make({"c.txt"});
  for (char code : {0, 2, 3, 4, 5}) MainDoCleanupCB(code);
  EXPECT_EQ(1u, Listing(data_).size());
  EXPECT_FALSE(MuiPopupIsOn());
}

// Without a preferences folder the data folder would be the working (resource) folder: nothing
// there is touched, and the user is told.
TEST_F(Cleanup, RefusesTheWorkingFolderFallback) {
  const std::string work = home_ + "/work", other = home_ + "/other";
  mkdir(work.c_str(), 0755);
  mkdir(other.c_str(), 0755);
  mkdir((other + "/.config").c_str(), 0755);
  std::ofstream(other + "/.config/Quorvane") << "a file where the folder should be";
  std::ofstream(work + "/default.txt") << "a resource";
  char old[1024];
  ASSERT_NE(nullptr, getcwd(old, sizeof(old)));
  ASSERT_EQ(0, chdir(work.c_str()));
  setenv("HOME", other.c_str(), 1);
  PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt");
  ASSERT_EQ(1, PrefFolderIsFallback());
  MainDoCleanupCB(1);
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_STREQ("Error trying to perform cleanup.", MuiGetText(muiMuiPopupText));
  EXPECT_EQ((std::vector<std::string>{"default.txt"}), Listing(work));
  ASSERT_EQ(0, chdir(old));
}
}  // namespace
