// The program's preferences folder and its log file in a temporary HOME, sub-folders of it and
// of the documents and desktop folders, and the fallbacks.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <ftw.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "ComDebug.h"
#include "ComMacMessageBox.h"
#include "PrefFolder.h"

namespace {

int RmOne(const char* p, const struct stat*, int, struct FTW*) { return remove(p); }

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool IsDir(const std::string& p) {
  struct stat st;
  return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void NoBox(char*, char*, char) {}

class PrefFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/lectrel-pref-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(tmpl));
    home_ = tmpl;
    setenv("HOME", home_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_ + "/cfg").c_str(), 1);
    ComWinSetPopupMessagesCallback(NoBox, NoBox);
    main_ = home_ + "/cfg/Quorvane/Quorvane Lectrel";
  }
  void TearDown() override {
    DebugSetLogFilename(nullptr, 0);
    nftw(home_.c_str(), RmOne, 16, FTW_DEPTH | FTW_PHYS);
  }
  std::string home_, main_;
};

TEST_F(PrefFolderTest, SetupMakesTheFolderAndPutsTheLogInIt) {
  std::string old_log = main_ + "/LogFile.txt";
  EXPECT_EQ(main_, PrefFolderSetup((char*)"Quorvane Lectrel", 1, nullptr));
  EXPECT_TRUE(IsDir(main_));
  EXPECT_EQ(0, PrefFolderIsFallback());
  EXPECT_EQ(old_log, DebugGetLogFilename());
  DebugError("Here", "first run");
  EXPECT_NE(std::string::npos, Read(old_log).find("( Here )  2  first run\r\n"));
  EXPECT_EQ(main_, PrefFolderSetup((char*)"Quorvane Lectrel", 1, (char*)"Other"));
  EXPECT_EQ(main_ + "/Other.txt", DebugGetLogFilename());
  // A log name that is not one plain file name falls back to the designed one.
  std::string long_log(200, 'L');
  PrefFolderSetup((char*)"Quorvane Lectrel", 1, &long_log[0]);
  EXPECT_EQ(old_log, DebugGetLogFilename());
  PrefFolderSetup((char*)"Quorvane Lectrel", 1, (char*)"../../escape");
  EXPECT_EQ(old_log, DebugGetLogFilename());
  EXPECT_NE(std::string::npos, Read(old_log).find("( PrefFolderSetup )  2  Invalid log file name"));
}

TEST_F(PrefFolderTest, BadNamesFallBackAndAreReported) {
  struct Case {
    const char* name;
  } cases[] = {{nullptr}, {""}, {"a/b"}, {".."}};
  for (const Case& c : cases) {
    DebugSetLogFilename((home_ + "/log.txt").c_str(), 1);
    EXPECT_STREQ(".", PrefFolderSetup((char*)c.name, 0, nullptr));
    EXPECT_EQ(1, PrefFolderIsFallback());
    std::string log = Read(home_ + "/log.txt");
    EXPECT_NE(std::string::npos, log.find("( PrefFolderSetup )  2  Invalid folder name"));
    EXPECT_NE(std::string::npos, log.find("( PrefFolderGetMainFolder )  2  Folder name is empty"));
  }
  std::string long_name(128, 'n');
  EXPECT_STREQ(".", PrefFolderSetup(&long_name[0], 0, nullptr));
  std::string ok_name(127, 'n');
  EXPECT_EQ(home_ + "/cfg/Quorvane/" + ok_name, PrefFolderSetup(&ok_name[0], 0, nullptr));
  EXPECT_EQ(0, PrefFolderIsFallback());
}

TEST_F(PrefFolderTest, FolderThatCannotBeMadeIsAnError) {
  // A file where the maker's folder should be.
  mkdir((home_ + "/cfg").c_str(), 0700);
  std::ofstream(home_ + "/cfg/Quorvane") << "x";
  DebugSetLogFilename((home_ + "/log.txt").c_str(), 1);
  EXPECT_STREQ(".", PrefFolderSetup((char*)"Quorvane Lectrel", 0, nullptr));
  EXPECT_EQ(1, PrefFolderIsFallback());
  EXPECT_NE(std::string::npos, Read(home_ + "/log.txt").find(" <ERROR>  ( PrefFolderGetMainFolder )  2  Could not create/get directory"));
  // With the log moved there, the fallback is in the new log too.
  char cwd[1024];
  ASSERT_NE(nullptr, getcwd(cwd, sizeof(cwd)));
  ASSERT_EQ(0, chdir(home_.c_str()));
  PrefFolderSetup((char*)"Quorvane Lectrel", 1, (char*)"Fallback");
  EXPECT_NE(std::string::npos, Read(home_ + "/Fallback.txt").find("( PrefFolderSetup )  2  No preferences folder - using <.>"));
  ASSERT_EQ(0, chdir(cwd));
}

TEST_F(PrefFolderTest, SubFoldersAndTheirBuffers) {
  PrefFolderSetup((char*)"Quorvane Lectrel", 0, nullptr);
  char* a = PrefFolderGetSubFolder((char*)"Settings");
  EXPECT_EQ(main_ + "/Settings", a);
  EXPECT_TRUE(IsDir(a));
  char* b = PrefFolderGetSubFolder((char*)"Cache");
  EXPECT_EQ(a, b);  // the same buffer: the first answer is overwritten
  EXPECT_EQ(main_ + "/Cache", a);
  DebugSetLogFilename((home_ + "/log.txt").c_str(), 1);
  std::string long_sub(128, 's');
  EXPECT_EQ(main_, PrefFolderGetSubFolder(&long_sub[0]));
  EXPECT_EQ(main_, PrefFolderGetSubFolder((char*)"x/y"));
  EXPECT_EQ(main_, PrefFolderGetSubFolder(nullptr));
  EXPECT_EQ(3, [&] {
    std::string log = Read(home_ + "/log.txt");
    int n = 0;
    for (size_t p = log.find("Invalid sub folder name"); p != std::string::npos; p = log.find("Invalid sub folder name", p + 1)) n++;
    return n;
  }());
  // The main folder removed while running is made again.
  nftw(main_.c_str(), RmOne, 16, FTW_DEPTH | FTW_PHYS);
  EXPECT_EQ(main_ + "/Settings", PrefFolderGetSubFolder((char*)"Settings"));
  EXPECT_TRUE(IsDir(main_ + "/Settings"));
}

TEST_F(PrefFolderTest, DocumentsAndDesktopSubFolders) {
  mkdir((home_ + "/Documents").c_str(), 0700);
  EXPECT_EQ(home_ + "/Documents", PrefFolderGetMyDocsFolder());
  EXPECT_EQ(home_ + "/Documents/Books", PrefFolderGetMyDocsSubFolder((char*)"Books"));
  EXPECT_TRUE(IsDir(home_ + "/Documents/Books"));
  EXPECT_EQ(home_ + "/Documents/Books/Old", PrefFolderGetMyDocsSubSubFolder((char*)"Books", (char*)"Old"));
  EXPECT_EQ(home_ + "/Documents/Books", PrefFolderGetMyDocsSubSubFolder((char*)"Books", (char*)""));
  // No desktop folder: the home folder stands in.
  EXPECT_EQ(home_ + "/Shots", PrefFolderGetDesktopSubFolder((char*)"Shots"));
}

}  // namespace
