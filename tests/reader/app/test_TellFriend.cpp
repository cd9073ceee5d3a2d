// Tell-a-friend: the escaping of the form's fields, and the real form from Resolution.ui driven
// inside its modal loop against a loopback HTTP server started by the test: the validation boxes,
// the request sent, every kind of answer, no connection; the web pages' URLs.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ComDebug.h"
#include "ComMacGui.h"
#include "ComMacMessageBox.h"
#include "DialogDriver.h"
#include "LoopbackHttp.h"
#include "PrefFolder.h"
#include "Resolution.h"
#include "TellFriend.h"
#include "Various.h"

using dialogtest::Click;
using dialogtest::Find;

namespace {

std::string Escaped(const std::string& raw, int size) {
  std::vector<char> out((size_t)size + 8, '#');
  std::string in = raw;
  TellFriendConvertArg(&in[0], out.data(), size);
  return out.data();
}

TEST(TellFriendEscaping, TableControlBytesAndBounds) {
  struct Case {
    std::string raw, escaped;
  } cases[] = {
      {"Hi & bye", "Hi%20%26%20bye"},
      {"a=b@c.d-e_f*g$h", "a=b@c.d-e_f*g$h"},  // sent unchanged, as the server expects
      {"\n\t !\"#%'()+/,:&;<>?[\\]^`{|}~", "%0A%09%20%21%22%23%25%27%28%29%2B%2F%2C%3A%26%3B%3C%3E%3F%5B%5C%5D%5E%60%7B%7C%7D%7E"},
      {"line\r\nnext", "line%0Anext"},  // carriage returns dropped
      {"caf\xE9 \x01\x7F\x80", "caf%E9%20%01%7F%80"},  // bytes a URL cannot carry raw
  };
  for (const Case& c : cases) EXPECT_EQ(Escaped(c.raw, 1534), c.escaped) << c.raw;
  // Whole escapes only: the output stops before it could be cut, and always ends in a NUL.
  EXPECT_EQ(Escaped("    ", 10), "%20%20%20");
  EXPECT_EQ(Escaped("abcdefgh", 6), "abc");
  // The form's largest fields fit escaped byte for byte.
  EXPECT_EQ(Escaped(std::string(80, ' '), sizeof(tf_fr_email)).size(), 240u);
  EXPECT_EQ(Escaped(std::string(511, '&'), sizeof(tf_message)).size(), 1533u);
  char out[4] = "xyz";
  TellFriendConvertArg(nullptr, out, 4);
  TellFriendConvertArg(out, out, 0);
  EXPECT_STREQ(out, "xyz");
}

struct Box {
  std::string text;
  char kind;
  std::string button;  // the send button's label while the box was up
  bool button_on;
};
std::vector<Box> g_boxes;
GtkWidget* g_doit = nullptr;

void RecordBox(char* title, char* text, char kind) {
  Box b{std::string(title ? title : "") + "|" + (text ? text : ""), kind, "", false};
  if (g_doit) {
    b.button = gtk_button_get_label(GTK_BUTTON(g_doit));
    b.button_on = gtk_widget_get_sensitive(g_doit);
  }
  g_boxes.push_back(b);
}

class TellFriendForm : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[1024];
    ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
    old_cwd_ = cwd;
    char tmpl[] = "/tmp/lectrel-tellf-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    home_ = tmpl;
    setenv("HOME", home_.c_str(), 1);
    DebugSetLogFilename((home_ + "/log.txt").c_str(), 1);
    g_boxes.clear();
    ComWinSetPopupMessagesCallback(RecordBox, RecordBox);
    ASSERT_EQ(chdir(LECTREL_RESOURCES), 0);
    ASSERT_TRUE(ComMacGuiInitGtk()) << "no X display";
  }
  void TearDown() override {
    VariousSetWebSite(nullptr);
    g_doit = nullptr;
    ASSERT_EQ(chdir(old_cwd_.c_str()), 0);
    DebugSetLogFilename(nullptr, 0);
  }
  std::string Log() {
    std::ifstream in(home_ + "/log.txt", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Type(GtkWidget* w, const char* utf8) {
    if (GTK_IS_ENTRY(w)) gtk_entry_set_text(GTK_ENTRY(w), utf8);
    else gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(w)), utf8, -1);
  }
  std::string home_, old_cwd_;
};

TEST_F(TellFriendForm, ValidatesSendsAndReportsEveryAnswer) {
  looptest::LoopbackHttp server;
  ASSERT_GT(server.Port(), 0);
  VariousSetWebSite(server.Base().c_str());
  struct Answer {
    int status;
    std::string body;
    std::string box;
    char kind;
  } answers[] = {
      {200, "Y1", "|Thanks for your recommendation !", 3},
      {200, "N7", "Error|Problem [7] returned from the web site - sorry.", 1},
      {200, "Q1", "Error|Unrecognised result returned from web site", 1},
      {200, "Y12", "Error|Invalid result returned from web site", 1},
      {200, "", "Error|Invalid result returned from web site", 1},
      {500, "Y1", "|Problem accessing the web site - Sorry.", 1},
      {200, std::string(600, 'Y'), "|Problem accessing the web site - Sorry.", 1},
  };
  std::string list;
  int selected = -1;
  bool focus_on_address = false;
  dialogtest::Driver d("TellFriend", [&](GtkWidget* w) {
    g_doit = Find(w, "DOIT-7");
    GtkWidget *fnam = Find(w, "FNAM-1"), *feml = Find(w, "FEML-2"), *ynam = Find(w, "YNAM-3"),
              *yeml = Find(w, "YEML-4"), *mesg = Find(w, "MESG-5"), *game = Find(w, "GAME-6");
    focus_on_address = gtk_widget_has_focus(feml) || gtk_window_get_focus(GTK_WINDOW(w)) == feml;
    for (int i = 1; i <= ComMacGuiGetMenuCount(game); i++) {
      char item[256];
      ComMacGuiGetMenuItemString(game, item, i);
      list += (i > 1 ? "|" : "") + std::string(item);
    }
    selected = gtk_combo_box_get_active(GTK_COMBO_BOX(game));
    // The validation, in the order the form checks.
    Type(fnam, "Ann Lee");
    for (const char* address : {"", "a@b.", "ann@example", "ann.example.org"}) {
      Type(feml, address);
      Click(g_doit);
    }
    Type(feml, "ann@example.org");
    Click(g_doit);
    Type(ynam, "Bo");
    Type(yeml, "bo@example.org");
    Type(mesg, "Hi & bye=ok\ncaf\xC3\xA9 \xE2\x86\x92");  // "é" and an arrow Latin-1 cannot hold
    for (const Answer& a : answers) {
      server.Answer(a.status, a.body);
      Click(g_doit);
    }
    dialogtest::Close(w);
    return true;
  });
  ResolutionTellAFriend();
  EXPECT_FALSE(d.TimedOut());
  EXPECT_EQ(list, "Quorvane Lectrel|Quorvane Chess|Quorvane Backgammon|Quorvane Solitaire|Quorvane Mahjong|"
                  "Quorvane Sudoku|Quorvane Pool|Quorvane Bowling|Quorvane Puzzles|All Quorvane Programs");
  EXPECT_EQ(selected, 0);
  EXPECT_TRUE(focus_on_address);

  ASSERT_EQ(g_boxes.size(), 5u + sizeof(answers) / sizeof(answers[0]));
  EXPECT_EQ(g_boxes[0].text, "|You must enter your friend's email address.");
  EXPECT_EQ(g_boxes[1].text, "|You must enter a valid email address for your friend.");
  EXPECT_EQ(g_boxes[2].text, "|You must enter a valid email address for your friend.");
  EXPECT_EQ(g_boxes[3].text, "|You must enter a valid email address for your friend.");
  EXPECT_EQ(g_boxes[4].text, "|You must enter your name.");
  for (int i = 0; i < 5; i++) EXPECT_EQ(g_boxes[i].kind, 1);
  for (size_t i = 0; i < sizeof(answers) / sizeof(answers[0]); i++) {
    const Box& b = g_boxes[5 + i];
    EXPECT_EQ(b.text, answers[i].box) << i;
    EXPECT_EQ(b.kind, answers[i].kind) << i;
    EXPECT_EQ(b.button, "Connecting ...") << "shown while the request runs";
    EXPECT_FALSE(b.button_on);
  }
  std::vector<std::string> targets = server.Targets();
  ASSERT_EQ(targets.size(), sizeof(answers) / sizeof(answers[0]));
  EXPECT_EQ(targets[0],
            "/cgi-bin/lectrel/friend/TellAFriend_Auto.cgi?rec=Lectrel_MAC&email2=ann@example.org&name2=Ann%20Lee"
            "&name1=Bo&email1=bo@example.org&message=Hi%20%26%20bye=ok%0Acaf%E9%20%3F");
  EXPECT_EQ(dialogtest::FindWindow("TellFriend"), nullptr);
}

TEST_F(TellFriendForm, NoConnectionAndSettingUp) {
  VariousSetWebSite(("http://127.0.0.1:" + std::to_string(looptest::ClosedPort())).c_str());
  tf_game_id = 0;
  TellFriendSetScriptUrl((char*)"http");  // too short: kept as it was
  std::string url = std::string(VariousGetWebSite()) + "/cgi-bin/lectrel/friend/TellAFriend_Auto.cgi";
  TellFriendSetScriptUrl(&url[0]);
  EXPECT_STREQ(tf_url, url.c_str());
  int selected = -1;
  dialogtest::Driver d("TellFriend", [&](GtkWidget* w) {
    selected = gtk_combo_box_get_active(GTK_COMBO_BOX(Find(w, "GAME-6")));
    gtk_combo_box_set_active(GTK_COMBO_BOX(Find(w, "GAME-6")), 9);
    Type(Find(w, "FEML-2"), "ann@example.org");
    Type(Find(w, "YNAM-3"), "Bo");
    Click(Find(w, "DOIT-7"));
    dialogtest::Close(w);
    return true;
  });
  EXPECT_EQ(TellFriendDoDialog(), 1);
  EXPECT_EQ(selected, 1) << "an unset program is taken as the second entry";
  EXPECT_NE(Log().find("Game to recommend not set"), std::string::npos);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, "Internet Connection not found|Connect to the internet then try again.");
  EXPECT_NE(std::string(r_web_str).find("?rec=All_MAC&"), std::string::npos);

  tf_url[0] = 0;
  EXPECT_EQ(TellFriendDoDialog(), 0);
  EXPECT_NE(Log().find("URL not setup"), std::string::npos);
}

// The pages the start-up dialog and the main menu's title links open: host, "/lectrel/iga/m_",
// the page's stem, ".html", each handed to the opener.
TEST_F(TellFriendForm, WebPagesByTheirStems) {
  dialogtest::RecordingOpener opener(home_);
  VariousSetWebSite("http://127.0.0.1:9");
  struct Case {
    int page;
    const char* stem;
  } cases[] = {{0, "chess"},       {1, "backgammon"}, {2, "solitaire"},  {3, "mahjong"},
               {4, "sudoku"},      {5, "pool"},       {6, "bowling"},    {7, "puzzles"},
               {100, "home_page"}, {101, "forum"},    {102, "support"},  {103, "check_version"},
               {8, "all"},         {99, "all"},       {-1, "all"}};
  std::string expected;
  for (const Case& c : cases) {
    ResolutionGoToWebSite((char)c.page);
    std::string url = std::string("http://127.0.0.1:9/lectrel/iga/m_") + c.stem + ".html";
    EXPECT_EQ(std::string(r_web_str), url) << c.page;
    expected += url + "\n";
  }
  const std::string opened = opener.Opened(sizeof(cases) / sizeof(cases[0]));
  EXPECT_EQ(opened.size(), expected.size());
  for (const Case& c : cases)
    EXPECT_NE(opened.find(std::string("m_") + c.stem + ".html\n"), std::string::npos) << c.stem;
  // The program's own host when nothing is set.
  VariousSetWebSite(nullptr);
  EXPECT_EQ(std::string(VariousGetWebSite()).rfind("https://", 0), 0u);
}

}  // namespace
