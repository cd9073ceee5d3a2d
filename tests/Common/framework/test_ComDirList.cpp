// The directory listing: names sorted folders first and by bytes, links and kinds, the match
// callback's index, the end of a fetch, refusals in the wrong state, reopening during a fetch,
// full paths at their longest, and a folder that cannot be read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ComDirList.h"
#include "FolderTreeTestUtil.h"
#include "FrameworkTestUtil.h"

namespace {

using fwtest::MakeFile;
using fwtest::MakeFolder;
using fwtest::MakeLink;

struct Seen {
  int index;
  std::string name, folder;
  char is_dir;
};
std::vector<Seen> g_seen;

char AcceptTxt(int index, const char* name, const char* folder) {
  g_seen.push_back(Seen{index, name, folder, DirListIsCurrentADirectory()});
  std::string n = name;
  return n.size() > 4 && n.compare(n.size() - 4, 4, ".txt") == 0;
}

int OpenFds() { return (int)fwtest::ListDir("/proc/self/fd").size(); }

class DirListTest : public fwtest::TempDirTest {
 protected:
  void SetUp() override {
    fwtest::TempDirTest::SetUp();
    tree_ = Path("tree");
    ASSERT_TRUE(MakeFolder(tree_));
    g_seen.clear();
  }
  void TearDown() override {
    DirListCloseDir();
    chmod((tree_ + "/locked").c_str(), 0755);
    fwtest::TempDirTest::TearDown();
  }

  // Every name of a fetch with whether it is a folder, and the number of calls that ended it.
  std::vector<std::pair<std::string, char>> FetchAll() {
    std::vector<std::pair<std::string, char>> got;
    EXPECT_EQ(DirListPrepareToGetFilenamesInDir(), 1);
    for (int guard = 0; guard < 1000; guard++) {
      std::string n = DirListGetNextFilenameInDir();
      if (n.empty()) break;
      got.emplace_back(n, DirListIsCurrentADirectory());
    }
    return got;
  }

  std::string tree_;
};

TEST_F(DirListTest, FoldersFirstThenFilesInByteOrderWithLinksAndOddNames) {
  for (const char* d : {"b", "Zed", "A"}) ASSERT_TRUE(MakeFolder(tree_ + "/" + d));
  for (const char* f : {"a.txt", "B.pdf", "with blank.txt", "caf\xe9.txt", "_x"})
    ASSERT_TRUE(MakeFile(tree_ + "/" + f));
  ASSERT_TRUE(MakeLink(tree_ + "/b", tree_ + "/link to b"));        // a folder behind a link
  ASSERT_TRUE(MakeLink(tree_ + "/a.txt", tree_ + "/link to a"));    // a file behind a link
  ASSERT_TRUE(MakeLink(tree_ + "/nowhere", tree_ + "/dangling"));   // a link to nothing: a file

  ASSERT_EQ(DirListOpenDir(tree_.c_str(), nullptr), 1);
  EXPECT_EQ(DirListCountMatchedFilesInDir(), 11);
  // Byte order puts upper case before lower case and the Latin-1 byte 0xE9 after every ASCII
  // letter; the link to a folder is a folder, the dangling link a file.
  std::vector<std::pair<std::string, char>> want = {{"A", 1}, {"Zed", 1}, {"b", 1}, {"link to b", 1}, {"B.pdf", 0}, {"_x", 0}, {"a.txt", 0},
          {"caf\xe9.txt", 0}, {"dangling", 0}, {"link to a", 0}, {"with blank.txt", 0}};
  EXPECT_EQ(FetchAll(), want);
  EXPECT_EQ(std::string(DirListGetFilenameWithPath("with blank.txt")), tree_ + "/with blank.txt");
}

TEST_F(DirListTest, MatchCallbackSeesAcceptedCountAndKindInBothPasses) {
  ASSERT_TRUE(MakeFolder(tree_ + "/dir.txt"));
  for (const char* f : {"one.txt", "two.pdf", "three.txt"}) ASSERT_TRUE(MakeFile(tree_ + "/" + f));
  ASSERT_EQ(DirListOpenDir(tree_.c_str(), AcceptTxt), 1);

  EXPECT_EQ(DirListCountMatchedFilesInDir(), 3);
  std::vector<std::tuple<int, std::string, char>> want = {
      {0, "dir.txt", 1}, {1, "one.txt", 0}, {2, "three.txt", 0}, {3, "two.pdf", 0}};
  auto seen = [] {
    std::vector<std::tuple<int, std::string, char>> s;
    for (const Seen& x : g_seen) s.emplace_back(x.index, x.name, x.is_dir);
    return s;
  };
  EXPECT_EQ(seen(), want);
  for (const Seen& x : g_seen) EXPECT_EQ(x.folder, tree_);

  g_seen.clear();
  std::vector<std::pair<std::string, char>> names = {{"dir.txt", 1}, {"one.txt", 0}, {"three.txt", 0}};
  EXPECT_EQ(FetchAll(), names);
  EXPECT_EQ(seen(), want) << "the fetch asks in the same order with the count returned so far";
}

TEST_F(DirListTest, EmptyFolderAndTheEndOfAFetchAnswerEmptyUntilPreparedAgain) {
  ASSERT_EQ(DirListOpenDir(tree_.c_str(), nullptr), 1);
  EXPECT_EQ(DirListCountMatchedFilesInDir(), 0);
  ASSERT_EQ(DirListPrepareToGetFilenamesInDir(), 1);
  EXPECT_STREQ(DirListGetNextFilenameInDir(), "");

  ASSERT_TRUE(MakeFile(tree_ + "/only"));
  DirListCleanupAfterGettingFilenamesInDir();
  const int fds = OpenFds();
  ASSERT_EQ(DirListPrepareToGetFilenamesInDir(), 1);
  EXPECT_STREQ(DirListGetNextFilenameInDir(), "only");
  for (int i = 0; i < 3; i++) EXPECT_STREQ(DirListGetNextFilenameInDir(), "");
  // The stream closed at the end is not closed again by the clean-up (a second closedir of a
  // freed stream is what the sanitizer build would catch here).
  DirListCleanupAfterGettingFilenamesInDir();
  EXPECT_EQ(OpenFds(), fds);
  EXPECT_EQ(DirListCountMatchedFilesInDir(), 1) << "back to opened: counting is allowed again";
  EXPECT_EQ(Log().find("<ERROR>"), std::string::npos) << Log();
}

TEST_F(DirListTest, OpeningDuringAFetchDropsItWithoutLeakingTheStream) {
  ASSERT_TRUE(MakeFolder(tree_ + "/other"));
  for (const char* f : {"a", "b", "c"}) ASSERT_TRUE(MakeFile(tree_ + "/" + f));
  const int fds = OpenFds();
  for (int round = 0; round < 20; round++) {
    ASSERT_EQ(DirListOpenDir(tree_.c_str(), nullptr), 1);
    ASSERT_EQ(DirListPrepareToGetFilenamesInDir(), 1);
    EXPECT_STREQ(DirListGetNextFilenameInDir(), "other");
    ASSERT_EQ(DirListOpenDir((tree_ + "/other").c_str(), nullptr), 1);
  }
  EXPECT_EQ(OpenFds(), fds);
  EXPECT_EQ(DirListCountMatchedFilesInDir(), 0) << "the new folder is opened, not fetching";
  EXPECT_STREQ(DirListGetNextFilenameInDir(), "");
  EXPECT_TRUE(Logged("DirListPrepareToGetFilenamesInDir", "Call DirListPrepareToGetFilenamesInDir() first."));
}

TEST_F(DirListTest, RefusalsInTheWrongStateOrWithBadArguments) {
  ASSERT_TRUE(MakeFile(tree_ + "/file"));
  const std::string long_path(DIR_LIST_MAX_PATH + 1, 'p');
  struct Case {
    const char* func;
    const char* text;
    std::function<void()> call;
  } cases[] = {
      {"DirListOpenDir", "Invalid Path Passed In", [] { EXPECT_EQ(DirListOpenDir(nullptr, nullptr), 0); }},
      {"DirListOpenDir", "Invalid Path Passed In", [] { EXPECT_EQ(DirListOpenDir("", nullptr), 0); }},
      {"DirListOpenDir", "Invalid Path Passed In", [&] { EXPECT_EQ(DirListOpenDir(long_path.c_str(), nullptr), 0); }},
      {"DirListOpenDir", "Directory does not exist", [&] { EXPECT_EQ(DirListOpenDir((tree_ + "/none").c_str(), nullptr), 0); }},
      {"DirListOpenDir", "Directory does not exist", [&] { EXPECT_EQ(DirListOpenDir((tree_ + "/file").c_str(), nullptr), 0); }},
      {"DirListCountMatchedFilesInDir", "Directory not opened - call DirListOpenDir() first.",
       [] { EXPECT_EQ(DirListCountMatchedFilesInDir(), 0); }},
      {"DirListPrepareToGetFilenamesInDir", "Directory not opened - call DirListOpenDir() first.",
       [] { EXPECT_EQ(DirListPrepareToGetFilenamesInDir(), 0); }},
      {"DirListPrepareToGetFilenamesInDir", "Call DirListPrepareToGetFilenamesInDir() first.",
       [] { EXPECT_STREQ(DirListGetNextFilenameInDir(), ""); }},
      {"DirListGetFilenameWithPath", "Not setup", [] { EXPECT_STREQ(DirListGetFilenameWithPath("x"), ""); }},
      {"DirListCleanupAfterGettingFilenamesInDir", "Not getting files in dir",
       [] { DirListCleanupAfterGettingFilenamesInDir(); }},
      {"DirListCountMatchedFilesInDir", "Error - get filenames in progress", [&] {
         ASSERT_EQ(DirListOpenDir(tree_.c_str(), nullptr), 1);
         ASSERT_EQ(DirListPrepareToGetFilenamesInDir(), 1);
         EXPECT_EQ(DirListCountMatchedFilesInDir(), 0);
       }},
      {"DirListPrepareToGetFilenamesInDir", "Error - get filenames in progress", [&] {
         ASSERT_EQ(DirListOpenDir(tree_.c_str(), nullptr), 1);
         ASSERT_EQ(DirListPrepareToGetFilenamesInDir(), 1);
         EXPECT_EQ(DirListPrepareToGetFilenamesInDir(), 0);
         EXPECT_STREQ(DirListGetNextFilenameInDir(), "file") << "the fetch goes on";
       }},
      {"DirListGetFilenameWithPath", "No filename", [&] {
         ASSERT_EQ(DirListOpenDir(tree_.c_str(), nullptr), 1);
         EXPECT_STREQ(DirListGetFilenameWithPath(""), "");
         EXPECT_STREQ(DirListGetFilenameWithPath(nullptr), "");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.func) + ": " + c.text);
    DirListCloseDir();
    DebugSetLogFilename(log_.c_str(), 1);
    c.call();
    EXPECT_TRUE(Logged(c.func, c.text)) << Log();
  }
}

TEST_F(DirListTest, FullPathHoldsTheLongestFolderAndName) {
  // A folder path of exactly the longest length, made of nested folders.
  std::string deep = tree_;
  while ((int)deep.size() < DIR_LIST_MAX_PATH) {
    size_t room = DIR_LIST_MAX_PATH - deep.size();
    size_t seg = std::min<size_t>(room - 1, 200);
    if (room - 1 - seg == 1) seg--;  // never leave room for a bare "/"
    deep += "/" + std::string(seg, 'd');
    ASSERT_TRUE(MakeFolder(deep)) << deep.size();
  }
  ASSERT_EQ((int)deep.size(), DIR_LIST_MAX_PATH);
  ASSERT_EQ(DirListOpenDir(deep.c_str(), nullptr), 1);
  const std::string name(DIR_LIST_MAX_NAME, 'n');
  EXPECT_EQ(std::string(DirListGetFilenameWithPath(name.c_str())), deep + "/" + name);

  const std::string too_long(DIR_LIST_MAX_NAME + 1, 'n');
  EXPECT_STREQ(DirListGetFilenameWithPath(too_long.c_str()), "");
  EXPECT_TRUE(Logged("DirListGetFilenameWithPath", "Filename too long"));
}

TEST_F(DirListTest, FolderThatCannotBeRead) {
  const std::string locked = tree_ + "/locked";
  ASSERT_TRUE(MakeFolder(locked));
  ASSERT_TRUE(MakeFile(locked + "/inside"));
  ASSERT_EQ(DirListOpenDir(locked.c_str(), nullptr), 1);
  ASSERT_EQ(chmod(locked.c_str(), 0), 0);
  fwtest::HonourPermissions honour;
  if (!honour.Works(locked)) GTEST_SKIP() << "permission bits are not enforced for this process";

  EXPECT_EQ(DirListCountMatchedFilesInDir(), 0);
  EXPECT_TRUE(Logged("DirListCountMatchedFilesInDir", "Could not open directory"));
  EXPECT_EQ(DirListPrepareToGetFilenamesInDir(), 0);
  EXPECT_TRUE(Logged("DirListPrepareToGetFilenamesInDir", "Could not open directory"));
  EXPECT_STREQ(DirListGetNextFilenameInDir(), "") << "a failed preparation is not a fetch";
  EXPECT_EQ(DirListOpenDir(locked.c_str(), nullptr), 0);
  EXPECT_TRUE(Logged("DirListOpenDir", "Directory does not exist"));
}

}  // namespace
