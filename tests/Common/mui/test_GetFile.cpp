// The file selector over a real folder tree: the list (sorted, filtered by the reader's
// extensions in any case, links, odd names shown for the menu font), browsing down, up and at the
// root, choosing by click or double click, the chosen path, the start folder (relative, "/", a
// file, missing) and its fall-backs, the path cap, and the set-up and reset calls.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ftw.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Common/framework/FolderTreeTestUtil.h"
#include "Common/framework/FrameworkTestUtil.h"
#include "GetFile.h"
#include "Mui.h"
#include "MuiPanel.h"
#include "support_MuiKit.h"

namespace {

using fwtest::MakeFile;
using fwtest::MakeFolder;
using fwtest::MakeLink;
using Strs = std::vector<std::string>;

void Finished(char r) { MuiKitRecord("finish", r); }
void FolderChanged(char c) { MuiKitRecord("folder", c); }

// Keeps an environment variable for the test and puts it back.
class EnvVar {
 public:
  EnvVar(const char* name, const std::string& value) : name_(name) {
    const char* old = getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~EnvVar() {
    if (had_) setenv(name_, old_.c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  std::string old_;
};

class GetFileTest : public MuiKitTest {
 protected:
  void SetUp() override {
    MuiKitTest::SetUp();
    char tmpl[] = "/tmp/lectrel-getfile-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    home_ = root_ + "/home";
    tree_ = root_ + "/tree";
    ASSERT_TRUE(MakeFolder(home_));
    ASSERT_TRUE(MakeFolder(home_ + "/Desktop"));
    ASSERT_TRUE(MakeFolder(tree_));
    home_env_ = new EnvVar("HOME", home_);
    xdg_env_ = new EnvVar("XDG_CONFIG_HOME", home_ + "/.config");
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
    cwd_ = cwd;

    // The Load screen's four boxes, in its places.
    title_ = MuiAddNewScreenBox(147, 52, 494, 71, nullptr);
    dir_ = MuiAddNewScreenBox(15, 76, 625, 103, nullptr);
    files_ = MuiAddNewScreenBox(82, 109, 626, 410, GetFileFilesCB);
    MuiSetType(files_, MUI_TYPE_PANEL);
    drives_ = MuiAddNewScreenBox(15, 109, 79, 410, GetFileDriveCB);
    MuiSetType(drives_, MUI_TYPE_PANEL);
    GetFileExit();
    GetFileSetButtonIds(title_, dir_, drives_, files_);
    GetFileSetFinishCB(Finished);
    GetFileSetNewDirOrDriveSelectedCB(FolderChanged);
    GetFileUseDoubleClick(0);
  }

  void TearDown() override {
    GetFileExit();
    GetFileUseDoubleClick(0);
    if (chdir(cwd_.c_str()) != 0) ADD_FAILURE() << "working folder not restored";
    delete xdg_env_;
    delete home_env_;
    chmod((tree_ + "/locked").c_str(), 0755);
    nftw(
        root_.c_str(), [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
    MuiKitTest::TearDown();
  }

  void Start(const char* dir) {
    GetFileSetStartDir(dir);
    GetFileStartingCB();
    MuiKitClearRecords();
  }

  // The rows as the panel shows them.
  Strs Rows() const {
    Strs rows;
    for (int i = 0; i < mui_panel[files_].num; i++) rows.push_back(GetFileFilesFillCB(i));
    return rows;
  }

  int RowOf(const std::string& text) const {
    Strs rows = Rows();
    for (size_t i = 0; i < rows.size(); i++)
      if (rows[i] == text) return (int)i;
    ADD_FAILURE() << "no row " << text;
    return -1;
  }

  // The centre of entry i's row on the page (scrolled to it first).
  int RowY(int i) {
    MuiPanelSetDisplayPos(files_, i < 15 ? 0 : i - 14);
    return mouse_box[files_].y1 + (i - MuiPanelGetDisplayPos(files_)) * 20 + 10;
  }

  void Click(const std::string& row) {
    int i = RowOf(row);
    if (i >= 0) MuiPanelHandleMousePress(files_, 300, RowY(i));
  }

  void DoubleClick(const std::string& row) {
    int i = RowOf(row);
    if (i < 0) return;
    const int y = RowY(i);
    MuiPanelHandleMousePress(files_, 300, y);
    MuiKitMoveTo(300, y);
    MuiPanelHandleDoubleClick(files_);
  }

  // A folder tree with an entry of every kind the list tells apart.
  void FillTree() {
    for (const char* d : {"Books", "b2", "Tool.app", "locked"}) ASSERT_TRUE(MakeFolder(tree_ + "/" + d));
    ASSERT_TRUE(MakeLink(tree_ + "/Books", tree_ + "/linked"));
    for (const char* f : {"a.PDF", "b.pdf.bak", "notes", "c.html", "D.Htm", "e.opf", "f.TXT", "g.txt", "h.epub",
                          "with blank.pdf", "caf\xc3\xa9.txt", "l\xe9gende.pdf", "setup.exe", ".pdf"})
      ASSERT_TRUE(MakeFile(tree_ + "/" + f));
    ASSERT_TRUE(MakeFile(tree_ + "/Books/inside.pdf"));
  }

  static std::vector<std::string> Calls() { return MuiKitCalls(); }

  std::string root_, home_, tree_, cwd_;
  EnvVar* home_env_ = nullptr;
  EnvVar* xdg_env_ = nullptr;
  int title_ = -1, dir_ = -1, files_ = -1, drives_ = -1;
};

TEST_F(GetFileTest, ListsParentFoldersAndTheReadersBooksSortedAndShownForTheMenuFont) {
  FillTree();
  GetFileSetFileExtensionsToSearchFor("pdf", "txt", "html", "htm", "opf", nullptr, nullptr, nullptr, nullptr,
                                      nullptr);
  GetFileSetTitle("Select eBook to Open");
  Start(tree_.c_str());

  EXPECT_EQ(Rows(), (Strs{"[ ^ ]", "[ Books ]", "[ b2 ]", "[ linked ]", "[ locked ]", ".pdf", "D.Htm", "a.PDF",
                          "c.html", "caf\xe9.txt", "e.opf", "f.TXT", "g.txt", "l\xe9gende.pdf",
                          "with blank.pdf"}));
  EXPECT_STREQ(MuiGetText(title_), "Select eBook to Open");
  EXPECT_EQ(std::string(MuiGetText(dir_)), tree_);
  EXPECT_EQ(GetFileGetLastDir(), tree_);

  // The drives box is hidden and the folder line and the list take its place on the left; the
  // list shrinks to whole rows of (410 - 109) / 15 = 20.
  EXPECT_EQ(mouse_box[drives_].shown, 0);
  EXPECT_EQ(mouse_box[dir_].x1, 15);
  EXPECT_EQ(mouse_box[files_].x1, 15);
  EXPECT_EQ(mouse_box[files_].y1, 109);
  EXPECT_EQ(mouse_box[files_].y2, 109 + 15 * 20);
  EXPECT_EQ(mui_panel[files_].num_per_page, 15);
  EXPECT_EQ(MuiPanelGetPos(files_), 0);
  EXPECT_STREQ(GetFileGetFilename(), "") << "the selected parent row is not a chosen file";
  EXPECT_EQ(Calls(), Strs{}) << "listing calls nobody";
}

TEST_F(GetFileTest, FiltersAndTheThreeLetterRuleWithoutThem) {
  FillTree();
  struct {
    const char* what;
    std::vector<const char*> exts;
    Strs files;  // the rows after the folders
  } cases[] = {
      {"pdf and html", {"pdf", "html"}, {".pdf", "a.PDF", "c.html", "l\xe9gende.pdf", "with blank.pdf"}},
      {"no filter: a dot fourth from the end",
       {},
       {".pdf", "D.Htm", "Tool.app", "a.PDF", "b.pdf.bak", "caf\xe9.txt", "e.opf", "f.TXT", "g.txt",
        "l\xe9gende.pdf", "setup.exe", "with blank.pdf"}},
      {"exe: application packages only", {"exe"}, {"Tool.app"}},
      {"a filter too long ends the list", {"epub", "longerthan9", "pdf"}, {"h.epub"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<const char*> e = c.exts;
    e.resize(10, nullptr);
    GetFileSetFileExtensionsToSearchFor(e[0], e[1], e[2], e[3], e[4], e[5], e[6], e[7], e[8], e[9]);
    Start(tree_.c_str());
    Strs rows = Rows();
    ASSERT_GE(rows.size(), 5u);
    EXPECT_EQ(Strs(rows.begin() + 5, rows.end()), c.files);
    GetFileRestoreCurrentDirectory();
  }
}

TEST_F(GetFileTest, BrowsesDownUpThroughLinksAndRefusesAFolderItCannotRead) {
  FillTree();
  GetFileSetFileExtensionsToSearchFor("pdf", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr);
  Start(tree_.c_str());

  Click("[ Books ]");
  EXPECT_EQ(GetFileGetLastDir(), tree_ + "/Books");
  EXPECT_EQ(Rows(), (Strs{"[ ^ ]", "inside.pdf"}));
  EXPECT_EQ(mouse_box[files_].y2, 109 + 2 * 20) << "two rows";
  EXPECT_EQ(Calls(), Strs{"folder:0"});
  Click("[ ^ ]");
  EXPECT_EQ(GetFileGetLastDir(), tree_);
  Click("[ linked ]");
  EXPECT_EQ(GetFileGetLastDir(), tree_ + "/linked") << "a link to a folder is entered like the folder";
  EXPECT_EQ(Rows(), (Strs{"[ ^ ]", "inside.pdf"}));
  Click("[ ^ ]");
  EXPECT_EQ(GetFileGetLastDir(), tree_);

  ASSERT_EQ(chmod((tree_ + "/locked").c_str(), 0), 0);
  fwtest::HonourPermissions honour;
  if (honour.Works(tree_ + "/locked")) {
    MuiKitClearRecords();
    const Strs before = Rows();
    Click("[ locked ]");
    EXPECT_EQ(GetFileGetLastDir(), tree_) << "a folder that cannot be listed is not entered";
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(Calls(), Strs{});
  }
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
  EXPECT_EQ(cwd_, cwd) << "browsing never changes the working folder";
}

TEST_F(GetFileTest, ChoosingAFileGivesItsRawPathInItsOwnBuffer) {
  FillTree();
  GetFileSetFileExtensionsToSearchFor("pdf", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr);
  Start(tree_.c_str());
  Click("l\xe9gende.pdf");
  EXPECT_EQ(Calls(), Strs{"finish:1"});
  EXPECT_EQ(std::string(GetFileGetFilename()), tree_ + "/l\xe9gende.pdf");
  // Drawing the rows refills the row buffer; the chosen path does not change with it.
  for (int i = 0; i < 5; i++) GetFileFilesFillCB(i);
  EXPECT_EQ(std::string(GetFileGetFilename()), tree_ + "/l\xe9gende.pdf");

  Click("with blank.pdf");
  EXPECT_EQ(std::string(GetFileGetFilename()), tree_ + "/with blank.pdf");
  Click("[ Books ]");
  EXPECT_STREQ(GetFileGetFilename(), "") << "a new folder has no chosen file";

  // A name in UTF-8 is shown in the menu font's Latin-1 and kept as it is in the path.
  GetFileSetFileExtensionsToSearchFor("txt", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr);
  Click("[ ^ ]");
  Click("caf\xe9.txt");
  EXPECT_EQ(std::string(GetFileGetFilename()), tree_ + "/caf\xc3\xa9.txt");
}

TEST_F(GetFileTest, DoubleClickModeSelectsOnOneClickAndOpensOnTwo) {
  FillTree();
  for (int i = 0; i < 20; i++) ASSERT_TRUE(MakeFile(tree_ + "/z" + std::to_string(i) + ".pdf"));
  GetFileSetFileExtensionsToSearchFor("pdf", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr);
  GetFileUseDoubleClick(1);
  Start(tree_.c_str());

  Click("[ Books ]");
  EXPECT_EQ(GetFileGetLastDir(), tree_) << "one click only selects";
  EXPECT_EQ(Calls(), Strs{"folder:2"});
  MuiKitClearRecords();
  DoubleClick("[ Books ]");
  EXPECT_EQ(GetFileGetLastDir(), tree_ + "/Books");
  EXPECT_EQ(Calls(), (Strs{"folder:2", "folder:0"}));

  MuiKitClearRecords();
  Click("inside.pdf");
  EXPECT_EQ(Calls(), Strs{"finish:2"});
  EXPECT_EQ(std::string(GetFileGetFilename()), tree_ + "/Books/inside.pdf");
  MuiKitClearRecords();
  DoubleClick("inside.pdf");
  EXPECT_EQ(Calls(), (Strs{"finish:2", "finish:1"}));

  // Two quick clicks on the side bar of a long list page down and open nothing.
  DoubleClick("[ ^ ]");
  ASSERT_EQ(GetFileGetLastDir(), tree_);
  ASSERT_GT(mui_panel[files_].num, 15);
  MuiPanelSetDisplayPos(files_, 0);
  MuiPanelSetPos(files_, 1, 0);  // "[ Books ]" selected
  MuiKitClearRecords();
  const int bar_x = mouse_box[files_].x2 - 2, bar_y = mouse_box[files_].y2 - 2;
  MuiPanelHandleMousePress(files_, bar_x, bar_y);
  MuiKitMoveTo(bar_x, bar_y);
  MuiPanelHandleDoubleClick(files_);
  EXPECT_EQ(GetFileGetLastDir(), tree_);
  EXPECT_EQ(Calls(), Strs{});
  EXPECT_GT(MuiPanelGetDisplayPos(files_), 0);
}

// With every click opening, a double click's first click opens a folder; its second lands on a
// row of the new listing the user has not seen yet and opens nothing there, down or up.
TEST_F(GetFileTest, ADoubleClickOpensNothingOfTheListingItsFirstClickShowed) {
  ASSERT_TRUE(MakeFolder(tree_ + "/Books"));
  ASSERT_TRUE(MakeFolder(tree_ + "/Books/Deeper"));
  ASSERT_TRUE(MakeFile(tree_ + "/Books/inside.pdf"));
  ASSERT_TRUE(MakeFile(tree_ + "/a.pdf"));
  Start(tree_.c_str());
  ASSERT_EQ(Rows(), (Strs{"[ ^ ]", "[ Books ]", "a.pdf"}));

  DoubleClick("[ Books ]");  // row 1: the new listing has "[ Deeper ]" there
  EXPECT_EQ(GetFileGetLastDir(), tree_ + "/Books");
  EXPECT_EQ(Calls(), Strs{"folder:0"});
  EXPECT_EQ(MuiPanelGetPos(files_), 0);

  MuiKitClearRecords();
  DoubleClick("[ ^ ]");  // row 0: the selected row of the new listing, its parent entry
  EXPECT_EQ(GetFileGetLastDir(), tree_);
  EXPECT_EQ(Calls(), Strs{"folder:0"});

  // A double click within one listing still acts: a file is opened (by each click).
  MuiKitClearRecords();
  DoubleClick("a.pdf");
  EXPECT_EQ(Calls(), (Strs{"finish:1", "finish:1"}));
  EXPECT_EQ(std::string(GetFileGetFilename()), tree_ + "/a.pdf");
}

TEST_F(GetFileTest, BrowsingWithThePointerAsTheLoadScreenDoes) {
  FillTree();
  GetFileSetFileExtensionsToSearchFor("pdf", "txt", "html", "htm", "opf", nullptr, nullptr, nullptr, nullptr,
                                      nullptr);
  GetFileUseDoubleClick(1);
  Start(tree_.c_str());
  auto double_click = [&](const std::string& row) {
    const int y = RowY(RowOf(row));
    MuiKitClick(300, y);
    MuiDoubleClick(0);
    MuiKitRelease();
  };
  double_click("[ Books ]");
  EXPECT_EQ(GetFileGetLastDir(), tree_ + "/Books");
  double_click("inside.pdf");
  EXPECT_EQ(Calls(), (Strs{"folder:2", "folder:0", "finish:2", "finish:1"}));
  EXPECT_EQ(std::string(GetFileGetFilename()), tree_ + "/Books/inside.pdf");
  MuiKitClearRecords();
  MuiKitMoveTo(300, RowY(0));
  MuiKeyDown(246);  // Up selects the parent row
  MuiKeyDown(13);   // Return opens it
  EXPECT_EQ(GetFileGetLastDir(), tree_);
  EXPECT_EQ(Calls(), (Strs{"folder:2", "folder:0"}));
}

TEST_F(GetFileTest, TheRootStaysTheRoot) {
  struct {
    const char* start;
    const char* after_up;
  } cases[] = {{"/", "/"}, {"/tmp", "/"}, {"/tmp/", "/"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    Start(c.start);
    EXPECT_STREQ(GetFileGetLastDir(), std::string(c.start).size() > 1 ? "/tmp" : "/");
    Click("[ ^ ]");
    EXPECT_STREQ(GetFileGetLastDir(), c.after_up);
    Click("[ ^ ]");
    EXPECT_STREQ(GetFileGetLastDir(), "/") << "up from the root";
    GetFileRestoreCurrentDirectory();
  }
  EXPECT_FALSE(MuiKitLogHas("Cannot access start dir"));
  Click("[ tmp ]");
  EXPECT_STREQ(GetFileGetLastDir(), "/tmp") << "no double slash below the root";
}

TEST_F(GetFileTest, StartFolderRelativeMissingOrAFileFallsBackToSomethingListable) {
  FillTree();
  ASSERT_EQ(chdir(root_.c_str()), 0);
  Start("tree/");
  EXPECT_EQ(GetFileGetLastDir(), tree_) << "relative to the working folder, kept absolute";
  GetFileRestoreCurrentDirectory();
  Start(nullptr);
  EXPECT_EQ(GetFileGetLastDir(), home_ + "/Desktop");
  GetFileRestoreCurrentDirectory();

  struct {
    std::string start;
    std::function<void()> prepare;
    std::string want;
  } cases[] = {
      {tree_ + "/missing", [] {}, home_ + "/Desktop"},
      {tree_ + "/a.PDF", [] {}, home_ + "/Desktop"},  // a file is not a folder
      {tree_ + "/missing", [&] { rmdir((home_ + "/Desktop").c_str()); }, home_},
      {tree_ + "/missing", [&] { setenv("HOME", (root_ + "/nohome").c_str(), 1); }, "/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start + " -> " + c.want);
    c.prepare();
    MuiKitClearLog();
    Start(c.start.c_str());
    EXPECT_EQ(GetFileGetLastDir(), c.want);
    EXPECT_TRUE(MuiKitLogHas("Cannot access start dir <" + c.start + ">")) << MuiKitLog();
    EXPECT_EQ(Rows().at(0), "[ ^ ]");
    GetFileRestoreCurrentDirectory();
  }

  // Starting again without the application finishing is logged.
  Start(tree_.c_str());
  MuiKitClearLog();
  GetFileStartingCB();
  EXPECT_TRUE(MuiKitLogHas("Current directory was not restored"));
}

TEST_F(GetFileTest, PathsPastTheCapAreRefusedNeverCut) {
  // A folder whose path is 508 characters, holding folders that reach 511 and 512.
  std::string deep = tree_;
  while (deep.size() < 508) {
    size_t room = 508 - deep.size();
    size_t seg = std::min<size_t>(room - 1, 100);
    if (room - 1 - seg == 1) seg--;
    deep += "/" + std::string(seg, 'd');
    ASSERT_TRUE(MakeFolder(deep));
  }
  ASSERT_EQ(deep.size(), 508u);
  ASSERT_TRUE(MakeFolder(deep + "/ab"));
  ASSERT_TRUE(MakeFolder(deep + "/abc"));
  ASSERT_TRUE(MakeFile(deep + "/x.pdf"));    // 514 characters
  ASSERT_TRUE(MakeFile(deep + "/ab/y.pdf"));
  Start(deep.c_str());

  Click("x.pdf");
  EXPECT_EQ(Calls(), Strs{});
  EXPECT_STREQ(GetFileGetFilename(), "");
  EXPECT_TRUE(MuiKitLogHas("Path too long")) << MuiKitLog();
  MuiKitClearLog();
  Click("[ abc ]");
  EXPECT_EQ(GetFileGetLastDir(), deep) << "a folder past the cap is not entered";
  EXPECT_TRUE(MuiKitLogHas("Path too long"));
  Click("[ ab ]");
  EXPECT_EQ(GetFileGetLastDir(), deep + "/ab") << "a path of exactly 511 characters is kept";
  EXPECT_EQ(Rows(), (Strs{"[ ^ ]", "y.pdf"})) << "listed: only choosing it needs the longer path";
  Click("y.pdf");
  EXPECT_EQ(Calls(), Strs{"folder:0"});
  EXPECT_STREQ(GetFileGetFilename(), "");

  // A start folder past the cap is refused, not cut: an empty start folder is the working one.
  MuiKitClearLog();
  GetFileRestoreCurrentDirectory();
  ASSERT_EQ(chdir(tree_.c_str()), 0);
  Start((deep + "/abc").c_str());
  EXPECT_TRUE(MuiKitLogHas("dir too long"));
  EXPECT_EQ(GetFileGetLastDir(), tree_);
}

TEST_F(GetFileTest, TitlesTwentyEntriesAndTheReset) {
  for (int i = 0; i < 19; i++) ASSERT_TRUE(MakeFile(tree_ + "/" + std::string(1, (char)('a' + i)) + ".txt"));
  GetFileSetTitle(std::string(254, 't').c_str());
  GetFileSetTitle(std::string(255, 'u').c_str());
  Start(tree_.c_str());
  EXPECT_EQ(std::string(MuiGetText(title_)), std::string(254, 't')) << "a title of 255 is ignored";
  EXPECT_EQ(mui_panel[files_].num, 20);
  EXPECT_EQ(mui_panel[files_].num_per_page, 15);
  EXPECT_EQ(mouse_box[files_].y2, 109 + 300);

  GetFileSetTitle(nullptr);
  GetFileStartingCB();
  EXPECT_STREQ(MuiGetText(title_), "Select A File");

  GetFileCancelCB(0);
  EXPECT_EQ(Calls(), Strs{"finish:0"});
  GetFileExit();
  EXPECT_STREQ(GetFileGetFilename(), "");
  EXPECT_EQ(GetFileGetLastDir(), home_ + "/Desktop");
  GetFileFilesCB(1);  // no list, no ids: nothing happens
  EXPECT_EQ(Calls(), Strs{"finish:0"});
  EXPECT_STREQ(GetFileFilesFillCB(0), "");
}

TEST_F(GetFileTest, IdsReadFromTheApplicationsVariablesAtStart) {
  int t = title_, d = dir_, dr = drives_, f = files_;
  int *pt = &t, *pd = &d, *pdr = &dr, *pf = &f;
  GetFileSetButtonIds(-1, -1, -1, -1);
  GetFileSetButtonIdVars(&pt, &pd, &pdr, &pf);
  Start(tree_.c_str());
  EXPECT_EQ(std::string(MuiGetText(dir_)), tree_);
  EXPECT_EQ(mouse_box[drives_].shown, 0);
  EXPECT_EQ(Rows(), Strs{"[ ^ ]"});
}

}  // namespace
