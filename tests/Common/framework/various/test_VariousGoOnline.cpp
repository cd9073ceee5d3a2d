// Going online: the page opened at once or after the OK/Cancel popup (driven through the menu
// layer with the headless kit), ending the program first and opening the page after exit, the
// limits of the address, and a recording xdg-open first on PATH in place of the browser.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "Common/framework/FrameworkTestUtil.h"
#include "ComMacWin.h"
#include "Mui.h"
#include "MuiPopup.h"
#include "Various.h"
#include "Common/mui/support_MuiKit.h"

namespace {

const std::string kSite = "http://127.0.0.1:9";

class GoOnline : public MuiKitTest {
 protected:
  void SetUp() override {
    MuiKitTest::SetUp();
    char tmpl[] = "/tmp/lectrel-online-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    const char* p = getenv("PATH");
    old_path_ = p ? p : "";
    record_ = dir_ + "/opened.txt";
    fwtest::WriteAll(dir_ + "/xdg-open", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + record_ +
                                             "'; done\necho -- >> '" + record_ + "'\n");
    chmod((dir_ + "/xdg-open").c_str(), 0755);
    setenv("PATH", (dir_ + ":" + old_path_).c_str(), 1);
    VariousSetWebSite(kSite.c_str());
    run_windowed = 1;
    cme_quit_main_loop = 0;
    ComWinSetAfterExitCallback(nullptr);
  }
  void TearDown() override {
    if (MuiPopupIsOn()) MuiPopupClose(0);
    cme_quit_main_loop = 0;
    ComWinSetAfterExitCallback(nullptr);
    run_windowed = 1;
    VariousSetWebSite(nullptr);
    setenv("PATH", old_path_.c_str(), 1);
    unlink(record_.c_str());
    unlink((dir_ + "/xdg-open").c_str());
    rmdir(dir_.c_str());
    MuiKitTest::TearDown();
  }
  // What the fake opener recorded once it has run count times (it runs detached), or after 5 s.
  std::string Opened(int count) {
    for (int i = 0; i < 250; i++) {
      std::string r = fwtest::ReadAll(record_);
      int n = 0;
      for (size_t p = r.find("--\n"); p != std::string::npos; p = r.find("--\n", p + 1)) n++;
      if (n >= count) return r;
      usleep(20000);
    }
    return fwtest::ReadAll(record_);
  }
  // Nothing reached the opener (given time to have run if it had been started).
  bool NothingOpened() {
    usleep(200000);
    return !fwtest::PathExists(record_);
  }
  // The user's click on a popup button.
  static void ClickButton(int id) {
    ASSERT_TRUE(MuiIsButtonShown(id));
    int x1, y1, x2, y2;
    MuiGetDimensions(id, &x1, &y1, &x2, &y2);
    MuiKitClick((x1 + x2) / 2, (y1 + y2) / 2);
  }
  std::string dir_, old_path_, record_;
};

TEST_F(GoOnline, AtOnceOrAfterTheQuestionInTheWindow) {
  // The flags of the other mode do not count.
  VariousGoOnlineToQuorvane(nullptr, (char*)"lectrel/news.html", 1, 0, 1, 0);
  EXPECT_FALSE(MuiPopupIsOn());
  EXPECT_EQ(Opened(1), kSite + "/lectrel/news.html\n--\n");
  EXPECT_EQ(cme_quit_main_loop, 0);

  unlink(record_.c_str());
  VariousGoOnlineToQuorvane(nullptr, nullptr, 0, 1, 0, 0);
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_STREQ(MuiGetText(muiMuiPopupText), "Go Online ?");
  ClickButton(muiMuiPopupButton3);  // CANCEL
  EXPECT_FALSE(MuiPopupIsOn());
  EXPECT_TRUE(NothingOpened());

  VariousGoOnlineToQuorvane((char*)"See the forum ?", (char*)"forum", 0, 1, 0, 0);
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_STREQ(MuiGetText(muiMuiPopupText), "See the forum ?");
  // Asked again while the question shows: refused, and the pending page stays the first.
  VariousGoOnlineToQuorvane(nullptr, (char*)"other", 0, 1, 0, 0);
  EXPECT_TRUE(MuiKitLogHas("Already a box being displayed"));
  ClickButton(muiMuiPopupButton1);  // OK
  EXPECT_FALSE(MuiPopupIsOn());
  EXPECT_EQ(Opened(1), kSite + "/forum\n--\n");
  EXPECT_EQ(cme_quit_main_loop, 0);
}

TEST_F(GoOnline, InFullScreenTheProgramEndsFirstAndThePageOpensAfterExit) {
  run_windowed = 0;
  VariousGoOnlineToQuorvane(nullptr, (char*)"update", 1, 0, 1, 0);
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_STREQ(MuiGetText(muiMuiPopupText), "Exit Program and Go Online ?");
  ClickButton(muiMuiPopupButton3);
  EXPECT_EQ(cme_quit_main_loop, 0) << "cancel keeps the program running";

  VariousGoOnlineToQuorvane(nullptr, (char*)"update", 1, 0, 1, 0);
  ClickButton(muiMuiPopupButton1);
  EXPECT_EQ(cme_quit_main_loop, 1);
  EXPECT_TRUE(NothingOpened()) << "the browser waits for the program to end";
  ComMacWinDoAfterExit();
  EXPECT_EQ(Opened(1), kSite + "/update\n--\n");

  // Without the question the program is asked to end at once.
  cme_quit_main_loop = 0;
  unlink(record_.c_str());
  VariousGoOnlineToQuorvane(nullptr, nullptr, 0, 1, 1, 0);
  EXPECT_FALSE(MuiPopupIsOn());
  EXPECT_EQ(cme_quit_main_loop, 1);
  ComMacWinDoAfterExit();
  EXPECT_EQ(Opened(1), kSite + "\n--\n");
}

TEST_F(GoOnline, AddressesTooLongOrUnsafeAreRefusedBeforeAnything) {
  // 506 characters are taken, 507 refused whole.
  std::string sub(506 - kSite.size() - 1, 'p');
  VariousGoOnlineToQuorvane(nullptr, &sub[0], 0, 0, 0, 0);
  EXPECT_EQ(Opened(1), kSite + "/" + sub + "\n--\n");
  unlink(record_.c_str());
  sub += "p";
  VariousGoOnlineToQuorvane(nullptr, &sub[0], 1, 1, 1, 1);
  EXPECT_TRUE(MuiKitLogHas("Path too long"));
  EXPECT_FALSE(MuiPopupIsOn());

  // An address the launcher would refuse neither asks nor ends the program.
  for (const char* bad : {"file:///etc", "javascript:alert(1)//"}) {
    VariousSetWebSite(bad);
    VariousGoOnlineToQuorvane(nullptr, (char*)"x", 1, 1, 1, 1);
    EXPECT_FALSE(MuiPopupIsOn());
  }
  VariousSetWebSite(kSite.c_str());
  VariousGoOnlineToQuorvane(nullptr, (char*)"a\nb", 0, 0, 1, 1);
  EXPECT_TRUE(MuiKitLogHas("Refused URL"));
  EXPECT_EQ(cme_quit_main_loop, 0);
  EXPECT_TRUE(NothingOpened());
}

}  // namespace
