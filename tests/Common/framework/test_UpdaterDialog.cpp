// The version check: the request it sends (a table, up to the longest that fits), the answer's
// links read against a loopback HTTP server (good answers, marks only, too-long and unsafe links,
// HTTP 500, an answer too big, a closed port), and the real dialog from Updater.ui under Xvfb
// driven inside its modal loop, its link button starting a recording xdg-open.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ComMacGui.h"
#include "DialogDriver.h"
#include "FrameworkTestUtil.h"
#include "LoopbackHttp.h"
#include "Updater.h"
#include "Various.h"

using dialogtest::Click;
using dialogtest::Find;

namespace {

const std::string kScript = "/cgi-bin/common/updater/CheckVersion.cgi";

char RunUpdater(int program, float version, char flag, const char* file = "Updater", long text_id = 1) {
  const uint32_t sig = ComMacGuiFourCC("UPDT");
  return Updater(program, version, flag, (char*)file, (char*)"Updater", sig, text_id, sig, 2, sig, 3);
}

class UpdaterTest : public fwtest::TempDirTest {
 protected:
  void SetUp() override {
    fwtest::TempDirTest::SetUp();
    const char* p = getenv("PATH");
    old_path_ = p ? p : "";
    char cwd[1024];
    ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
    old_cwd_ = cwd;
    ASSERT_EQ(chdir(LECTREL_RESOURCES), 0);
  }
  void TearDown() override {
    VariousSetWebSite(nullptr);
    setenv("PATH", old_path_.c_str(), 1);
    ASSERT_EQ(chdir(old_cwd_.c_str()), 0);
    fwtest::TempDirTest::TearDown();
  }
  // The answer read from the server, as UpdaterReadURL leaves it.
  char Read(looptest::LoopbackHttp& server, int status, const std::string& body, char test_only = 0) {
    server.Answer(status, body);
    std::string url = server.Base() + kScript;
    return UpdaterReadURL(&url[0], test_only);
  }
  // A fake xdg-open first on PATH that writes its arguments, one a line, to opened.txt.
  void InstallFakeOpener() {
    const std::string bin = Path("bin"), record = Path("opened.txt");
    mkdir(bin.c_str(), 0755);
    fwtest::WriteAll(bin + "/xdg-open",
                     "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + record + "'; done\n");
    chmod((bin + "/xdg-open").c_str(), 0755);
    setenv("PATH", (bin + ":" + old_path_).c_str(), 1);
  }
  std::string Opened(size_t want_bytes) {
    for (int i = 0; i < 250 && fwtest::ReadAll(Path("opened.txt")).size() < want_bytes; i++) usleep(20000);
    return fwtest::ReadAll(Path("opened.txt"));
  }
  std::string old_path_, old_cwd_;
};

TEST_F(UpdaterTest, RequestTableUpToTheLongestThatFits) {
  VariousSetWebSite("http://127.0.0.1:9");
  struct Case {
    int program;
    float version;
    char flag;
    std::string query;
  } cases[] = {
      {1, 1.0f, 0, "?platform=Mac&program=Lectrel&program_type=full&version=1.000"},
      {2, 2.5f, 1, "?platform=Mac&program=Chess&program_type=demo&version=2.500"},
      {3, 10.1234f, 7, "?platform=Mac&program=Backgammon&program_type=demo&version=10.123"},
      {1, -0.5f, 0, "?platform=Mac&program=Lectrel&program_type=full&version=-0.500"},
  };
  for (const Case& c : cases) {
    // No such interface file: the request is made, then the dialog cannot load.
    EXPECT_EQ(RunUpdater(c.program, c.version, c.flag, "NoSuchFile"), 0);
    EXPECT_EQ(up_url, "http://127.0.0.1:9" + kScript + c.query);
    EXPECT_STREQ(up_platform_str, "Mac");
  }
  EXPECT_TRUE(Logged("Updater", "Could not load dialog"));
  EXPECT_EQ(RunUpdater(3, 1.0f, 0, "NoSuchFile"), 0);
  EXPECT_STREQ(up_program_name, "Quorvane Backgammon");

  for (int program : {0, 4, -1}) {
    snprintf(up_url, sizeof(up_url), "old");
    EXPECT_EQ(RunUpdater(program, 1.0f, 0, "NoSuchFile"), 0);
    EXPECT_STREQ(up_url, "old") << "nothing is asked for an unknown program";
  }
  EXPECT_TRUE(Logged("Updater", "Unknown program name"));

  // The request buffer holds 511 characters: a site that makes it exactly that long is taken,
  // one character more is refused whole, never cut.
  const std::string query = cases[0].query;
  const std::string tail = kScript + query;
  std::string site = "http://" + std::string(sizeof(up_url) - 1 - tail.size() - 7, 'a');
  ASSERT_LT(site.size(), (size_t)VARIOUS_MAX_SITE);
  VariousSetWebSite(site.c_str());
  EXPECT_EQ(RunUpdater(1, 1.0f, 0, "NoSuchFile"), 0);
  EXPECT_EQ(std::string(up_url), site + tail);
  EXPECT_EQ(strlen(up_url), sizeof(up_url) - 1);
  site += "a";
  VariousSetWebSite(site.c_str());
  EXPECT_EQ(RunUpdater(1, 1.0f, 0, "NoSuchFile"), 0);
  EXPECT_STREQ(up_url, "");
  EXPECT_TRUE(Logged("Updater", "Request too long"));
  VariousSetWebSite("http://127.0.0.1:9");
  EXPECT_EQ(RunUpdater(1, 1e30f, 0, "NoSuchFile"), 0) << "a huge version is written whole";
  EXPECT_NE(std::string(up_url).find("version=1000000015047466219876688855040.000"), std::string::npos);
  // A site too long to keep puts back the built-in one.
  VariousSetWebSite(std::string(VARIOUS_MAX_SITE, 'h').c_str());
  EXPECT_STREQ(VariousGetWebSite(), "https://www.quorvane.com");
}

TEST_F(UpdaterTest, AnswersLinksAndFailures) {
  looptest::LoopbackHttp server;
  ASSERT_GT(server.Port(), 0);
  const std::string long_link = "http://a/" + std::string(300, 'x');
  struct Case {
    std::string body, shown, link1, link2;
  } cases[] = {
      {"Version 2.0 is out.\n#L1:<http://127.0.0.1/get>#L2:<https://x.invalid/notes>", "Version 2.0 is out.\n",
       "http://127.0.0.1/get", "https://x.invalid/notes"},
      {"You have the latest version.", "You have the latest version.", "", ""},
      // Only link 1's mark cuts the answer: before it the text is shown whole, link 2's mark too.
      {"Only notes #L2:<https://x.invalid/notes>", "Only notes #L2:<https://x.invalid/notes>", "",
       "https://x.invalid/notes"},
      {"Notes #L2:<https://x.invalid/notes> get #L1:<http://127.0.0.1/get>", "Notes #L2:<https://x.invalid/notes> get ",
       "http://127.0.0.1/get", "https://x.invalid/notes"},
      // A long text after a link costs it nothing.
      {"New #L1:<http://127.0.0.1/get> " + std::string(400, 't'), "New ", "http://127.0.0.1/get", ""},
      {"New #L1:<http://127.0.0.1/get> #L2:<" + long_link + ">", "New ", "http://127.0.0.1/get", ""},
      {"Bad #L1:<javascript:alert(1)>#L2:<http://a/\x01" "b>", "Bad ", "", ""},
      {"Short #L1:<http:>", "Short ", "", ""},
      {"No end #L1:<http://127.0.0.1/get", "No end ", "http://127.0.0.1/get", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body.substr(0, 60));
    EXPECT_EQ(Read(server, 200, c.body), 1);
    EXPECT_EQ(up_html, c.shown);
    EXPECT_EQ(up_link1, c.link1);
    EXPECT_EQ(up_link2, c.link2);
  }
  const std::string log = Log();
  EXPECT_TRUE(Logged("UpdaterReadURL", "Link 2 too long <" + ("#L2:<" + long_link).substr(0, 256) + "...>"));
  EXPECT_TRUE(Logged("UpdaterReadURL", "Link 2 refused <http://a/?b>"));
  EXPECT_TRUE(Logged("UpdaterReadURL", "Link 1 refused <javascript:alert(1)>"));

  // A too-long link full of control bytes is logged without them.
  EXPECT_EQ(Read(server, 200, "#L1:<http://a/" + std::string(300, '\x1b') + ">"), 1);
  EXPECT_STREQ(up_link1, "");
  EXPECT_TRUE(Logged("UpdaterReadURL", "Link 1 too long <#L1:<http://a/" + std::string(256 - 14, '?') + "...>"));
  EXPECT_EQ(Log().find('\x1b'), std::string::npos);

  // Failures: the reason is kept for the dialog.
  EXPECT_EQ(Read(server, 500, "#L1:<http://127.0.0.1/get>"), 0);
  EXPECT_STREQ(up_str, "Problem downloading the information from the internet.");
  EXPECT_EQ(Read(server, 200, std::string(sizeof(up_html), 'v')), 0);
  EXPECT_STREQ(up_str, "Problem downloading the information from the internet.");
  std::string closed = "http://127.0.0.1:" + std::to_string(looptest::ClosedPort()) + kScript;
  EXPECT_EQ(UpdaterReadURL(&closed[0], 0), 0);
  EXPECT_STREQ(up_str, "Could not connect to the internet");

  // The bare test of the connection asks the script with no question.
  VariousSetWebSite(server.Base().c_str());
  server.Answer(200, "OK");
  char out[64] = "";
  EXPECT_EQ(UpdaterDoInternetCheck(out, sizeof(out)), 1);
  EXPECT_STREQ(out, "Internet Test Ok");
  EXPECT_EQ(server.Targets().back(), kScript);
  char small[20] = "unchanged";
  EXPECT_EQ(UpdaterDoInternetCheck(small, sizeof(small)), 1);
  EXPECT_STREQ(small, "unchanged") << "too small for the text";
  server.Answer(500, "");
  char cut[10];
  EXPECT_EQ(UpdaterDoInternetCheck(cut, sizeof(cut)), 0);
  EXPECT_STREQ(cut, "Problem d");
  EXPECT_EQ(UpdaterDoInternetCheck(nullptr, 0), 0);
}

std::string TextOf(GtkWidget* view) {
  GtkTextBuffer* b = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  GtkTextIter s, e;
  gtk_text_buffer_get_bounds(b, &s, &e);
  gchar* t = gtk_text_buffer_get_text(b, &s, &e, FALSE);
  std::string r = t;
  g_free(t);
  return r;
}

TEST_F(UpdaterTest, DialogShowsTheAnswerAndOpensItsLinks) {
  ASSERT_TRUE(ComMacGuiInitGtk()) << "no X display";
  InstallFakeOpener();
  looptest::LoopbackHttp server;
  VariousSetWebSite(server.Base().c_str());
  server.Answer(200, "Version 2.0 is out.\n#L1:<http://127.0.0.1/get?a=1&b=2>#L2:<https://x.invalid/notes>");
  std::string first_text, answer_text, button1;
  bool hidden_at_first = false, shown_after = false;
  dialogtest::Driver d("Updater", [&](GtkWidget* w) {
    GtkWidget *text = Find(w, "UPDT-1"), *b1 = Find(w, "UPDT-2"), *b2 = Find(w, "UPDT-3");
    if (first_text.empty()) {
      first_text = TextOf(text);
      hidden_at_first = !gtk_widget_get_visible(b1) && !gtk_widget_get_visible(b2);
    }
    if (!gtk_widget_get_visible(b1)) return false;  // the check has not run yet
    answer_text = TextOf(text);
    shown_after = gtk_widget_get_visible(b2);
    button1 = gtk_button_get_label(GTK_BUTTON(b1));
    Click(b1);
    Click(b2);
    Click(Find(w, "UPOK"));
    return true;
  });
  EXPECT_EQ(RunUpdater(1, 1.25f, 0), 1);
  EXPECT_FALSE(d.TimedOut());
  EXPECT_EQ(first_text, "Checking For New Version ...\n\n");
  EXPECT_TRUE(hidden_at_first);
  EXPECT_EQ(answer_text, "Version 2.0 is out.\n");
  EXPECT_TRUE(shown_after);
  EXPECT_EQ(button1, "http://127.0.0.1/get?a=1&b=2");
  ASSERT_EQ(server.Targets().size(), 1u);
  EXPECT_EQ(server.Targets()[0], kScript + "?platform=Mac&program=Lectrel&program_type=full&version=1.250");
  const std::string want = "http://127.0.0.1/get?a=1&b=2\nhttps://x.invalid/notes\n";
  EXPECT_EQ(Opened(want.size()), want);
  EXPECT_EQ(dialogtest::FindWindow("Updater"), nullptr);
}

TEST_F(UpdaterTest, DialogFailuresAndACloseBeforeTheCheck) {
  ASSERT_TRUE(ComMacGuiInitGtk()) << "no X display";
  VariousSetWebSite(("http://127.0.0.1:" + std::to_string(looptest::ClosedPort())).c_str());
  std::string text;
  dialogtest::Driver d("Updater", [&](GtkWidget* w) {
    text = TextOf(Find(w, "UPDT-1"));
    if (text.rfind("Check Failed.", 0) != 0) return false;
    EXPECT_FALSE(gtk_widget_get_visible(Find(w, "UPDT-2")));
    dialogtest::Close(w);  // the window manager's close ends it too
    return true;
  });
  EXPECT_EQ(RunUpdater(2, 1.0f, 1), 1);
  EXPECT_FALSE(d.TimedOut());
  EXPECT_EQ(text, "Check Failed.\n\nReason: Could not connect to the internet");

  // Closed at once: the pending check goes with the dialog and never runs.
  looptest::LoopbackHttp server;
  VariousSetWebSite(server.Base().c_str());
  dialogtest::Driver quick("Updater", [&](GtkWidget* w) {
    Click(Find(w, "UPOK"));
    return true;
  });
  EXPECT_EQ(RunUpdater(1, 1.0f, 0), 1);
  gint64 end = g_get_monotonic_time() + 1500 * 1000;
  while (g_get_monotonic_time() < end) {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    g_usleep(20000);
  }
  EXPECT_TRUE(server.Targets().empty());

  // A dialog without the controls asked for is refused and leaves no window behind.
  EXPECT_EQ(RunUpdater(1, 1.0f, 0, "Updater", 9), 0);
  EXPECT_TRUE(Logged("Updater", "Could not get text control"));
  const uint32_t sig = ComMacGuiFourCC("UPDT");
  EXPECT_EQ(Updater(1, 1.0f, 0, (char*)"Updater", (char*)"Updater", sig, 1, sig, 8, sig, 3), 0);
  EXPECT_TRUE(Logged("Updater", "Could not get button 1 control"));
  EXPECT_EQ(Updater(1, 1.0f, 0, (char*)"Updater", (char*)"Updater", sig, 1, sig, 2, sig, 8), 0);
  EXPECT_TRUE(Logged("Updater", "Could not get button 2 control"));
  EXPECT_EQ(dialogtest::FindWindow("Updater"), nullptr);
  EXPECT_TRUE(server.Targets().empty());
}

}  // namespace
