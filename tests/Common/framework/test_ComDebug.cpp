// The log: exact bytes of every kind of call, the cut of long lines, the first write of a run,
// pending records and the overflow record, the exit levels, the assert, and the message boxes.
#include <gtk/gtk.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "ComDebug.h"
#include "ComMacMessageBox.h"
#include "ComMacWin.h"
#include "FrameworkTestUtil.h"

using fwtest::Popups;
using fwtest::ReadAll;
using fwtest::WriteAll;

namespace {

// The first write of a run needs a process in which nothing has been logged yet: the test
// starts this program again with LECTREL_FW_FRESH_LOG set, and this runs before main.
struct FreshRunChild {
  FreshRunChild() {
    const char* path = getenv("LECTREL_FW_FRESH_LOG");
    if (!path) return;
    ComWinSetPopupMessagesCallback(fwtest::RecordPopup, fwtest::RecordPopup);
    DebugSetLogFilename(path, 0);  // the file of the "previous run" is left in place
    DebugInfo("new run");
    DebugPlainText("second line");
    _exit(0);
  }
} fresh_run_child;

class ComDebugTest : public fwtest::TempDirTest {};

TEST_F(ComDebugTest, EachCallWritesItsExactLine) {
  struct Case {
    const char* what;
    std::function<void()> call;
    std::string want;
  } cases[] = {
      {"error", [] { DebugError("LoadBook", "Bad %s", "page"); }, " <ERROR>  ( LoadBook )  2  Bad page\r\n"},
      {"warning", [] { DebugWarning("f", "x"); }, "<WARNING> ( f )    x\r\n"},
      {"check failed", [] { EXPECT_EQ(DebugCheckOk(0, "f", "n=%d", 3), 0); }, " <ERROR>  ( f )    n=3\r\n"},
      {"check passed", [] { EXPECT_EQ(DebugCheckOk(7, "f", "x"), 1); }, ""},
      {"info", [] { DebugInfo("abc"); }, " |  abc\r\n"},
      {"plain", [] { DebugPlainText("abc"); }, "abc\r\n"},
      {"printf", [] { DebugPrintf(D_WARNERR, "t"); }, " <ERROR>  t\r\n"},
      {"printf2", [] { DebugPrintf2(D_INFO, "f", "t"); }, " |  ( f )    t\r\n"},
      {"printf2 plain", [] { DebugPrintf2(D_PLAIN_TEXT, "f", "t"); }, "( f )    t\r\n"},
      {"invalid level", [] { DebugPrintf(9, "t"); }, "<WARNING> <invalid D_ value: 9> t\r\n"},
      {"negative level", [] { DebugPrintf2(-1, "f", "t"); }, "<WARNING> <invalid D_ value: -1> ( f )    t\r\n"},
      {"popup", [] { DebugPopup("f", "x"); }, " <POPUP>  ( f )     x\r\n"},
      {"popup without function", [] { DebugPopup("", "x"); }, " <POPUP>  x\r\n"},
      {"empty message", [] { DebugInfo("%s", ""); }, ""},
      {"empty plain message", [] { DebugPlainText("%s", ""); }, ""},
      {"user text is data, not a format", [] { DebugInfo("%s", "100%s %n"); }, " |  100%s %n\r\n"},
      {"Latin-1 bytes pass through", [] { DebugPlainText("caf\xe9"); }, "caf\xe9\r\n"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(DebugSetLogFilename(log_.c_str(), 1), 1);
    c.call();
    EXPECT_EQ(Log(), c.want) << c.what;
    EXPECT_EQ(DebugGetNumMessages(), 0) << c.what << ": written at once";
  }
  ASSERT_EQ(Popups().size(), 2u);
  EXPECT_EQ(Popups()[0].title, "Warning");
  EXPECT_EQ(Popups()[0].text, "( f )     x");
  EXPECT_EQ(Popups()[0].kind, 2);
  EXPECT_EQ(Popups()[1].text, "x");
}

TEST_F(ComDebugTest, MessagesAppendInOrder) {
  DebugInfo("one");
  DebugError("f", "two");
  DebugPlainText("three");
  EXPECT_EQ(Log(), " |  one\r\n <ERROR>  ( f )  2  two\r\nthree\r\n");
}

TEST_F(ComDebugTest, LongLinesAreCutAndStoredWhole) {
  const std::string mark = " ... (TRUNCATED)";
  struct Case {
    int level;
    std::string text, want;
  } cases[] = {
      {D_INFO, std::string(600, 'a'), " |  " + std::string(492, 'a') + mark},
      {D_WARNERR, std::string(600, 'e'), " <ERROR>  " + std::string(492, 'e') + mark},
      {D_PLAIN_TEXT, std::string(600, 'p'), std::string(492, 'p') + mark},
      {D_INFO, std::string(512, 'b'), " |  " + std::string(512, 'b')},
      {D_INFO, std::string(513, 'c'), " |  " + std::string(492, 'c') + mark},
      {D_WARN, std::string(9000, 'w'), "<WARNING> " + std::string(492, 'w') + mark},
      {42, std::string(600, 'i'), "<WARNING> " + ("<invalid D_ value: 42> " + std::string(600, 'i')).substr(0, 492) + mark},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(DebugSetLogFilename(log_.c_str(), 1), 1);
    DebugPrintf(c.level, "%s", c.text.c_str());
    EXPECT_EQ(Log(), c.want + "\r\n") << "level " << c.level << " length " << c.text.size();
  }

  // A function name and a text that together outgrow every fixed buffer.
  ASSERT_EQ(DebugSetLogFilename(log_.c_str(), 1), 1);
  std::string func(5000, 'F');
  DebugError(func.c_str(), "%s", std::string(5000, 't').c_str());
  EXPECT_EQ(Log(), " <ERROR>  ( " + std::string(492 - 2, 'F') + mark + "\r\n");
}

TEST_F(ComDebugTest, FirstWriteOfARunReplacesThePreviousFile) {
  WriteAll(log_, "previous run\r\n");
  int status = fwtest::RunInChild([&] {
    setenv("LECTREL_FW_FRESH_LOG", log_.c_str(), 1);
    execl("/proc/self/exe", "test_ComDebug", (char*)nullptr);
    return 99;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Log(), " |  new run\r\nsecond line\r\n");
}

// A log pointed at a sink that is no file (here a pipe, as /dev/null would be) is written to and
// never deleted, neither when it is named nor by the first write of a run.
TEST_F(ComDebugTest, SinkThatIsNoFileIsWrittenAndKept) {
  const std::string fifo = dir_ + "/sink";
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  int status = fwtest::RunInChild([&] {
    setenv("LECTREL_FW_FRESH_LOG", fifo.c_str(), 1);
    execl("/proc/self/exe", "test_ComDebug", (char*)nullptr);
    return 99;
  });
  EXPECT_EQ(status, 0);
  char buf[256];
  ssize_t n = read(reader, buf, sizeof(buf));
  close(reader);
  EXPECT_EQ(std::string(buf, n > 0 ? (size_t)n : 0), " |  new run\r\nsecond line\r\n");
  EXPECT_TRUE(DebugSetLogFilename(fifo.c_str(), 1));
  DebugSetLogFilename(log_.c_str(), 0);
  struct stat st;
  ASSERT_EQ(0, lstat(fifo.c_str(), &st));
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(ComDebugTest, UnwritableLogKeepsRecordsThenOverflows) {
  ASSERT_EQ(DebugSetLogFilename(Path("missing folder/log.txt").c_str(), 0), 1);
  DebugInfo("kept 1");
  DebugError("f", "kept 2");
  ASSERT_EQ(DebugGetNumMessages(), 2);
  EXPECT_STREQ(DebugGetMessage(0)->text, " |  kept 1");
  EXPECT_EQ(DebugGetMessage(0)->level, D_INFO);
  EXPECT_STREQ(DebugGetMessage(1)->text, " <ERROR>  ( f )  2  kept 2");
  EXPECT_EQ(DebugGetMessage(2), nullptr);
  EXPECT_EQ(DebugGetMessage(-1), nullptr);
  DebugSetMessageText(1, "replaced %d", 2);
  EXPECT_STREQ(DebugGetMessage(1)->text, "replaced 2");
  EXPECT_EQ(DebugGetMessage(1)->level, D_PLAIN_TEXT);

  // Once the file opens, everything pending is written with the next message.
  ASSERT_EQ(DebugSetLogFilename(log_.c_str(), 1), 1);
  DebugInfo("now");
  EXPECT_EQ(Log(), " |  kept 1\r\nreplaced 2\r\n |  now\r\n");
  EXPECT_EQ(DebugGetNumMessages(), 0);

  // 200 records with no file: the list becomes the overflow record.
  ASSERT_EQ(DebugSetLogFilename(Path("missing folder/log.txt").c_str(), 0), 1);
  for (int i = 0; i < 200; i++) DebugInfo("lost %d", i);
  ASSERT_EQ(DebugGetNumMessages(), 3);
  EXPECT_STREQ(DebugGetMessage(1)->text, "(MESSAGE LOG OVERFLOWED)");
  for (int i = 0; i < 5; i++) DebugInfo("after %d", i);
  EXPECT_EQ(DebugGetNumMessages(), 8);
  ASSERT_EQ(DebugSetLogFilename(log_.c_str(), 1), 1);
  DebugExit();
  EXPECT_EQ(Log(), " \r\n(MESSAGE LOG OVERFLOWED)\r\n \r\n |  after 0\r\n |  after 1\r\n |  after 2\r\n"
                   " |  after 3\r\n |  after 4\r\n");
}

TEST_F(ComDebugTest, LogFilenameRules) {
  EXPECT_EQ(DebugSetLogFilename(nullptr, 0), 1);
  EXPECT_STREQ(DebugGetLogFilename(), "ErrorLog.txt");
  EXPECT_EQ(DebugSetLogFilename("", 0), 1);
  EXPECT_STREQ(DebugGetLogFilename(), "ErrorLog.txt");

  std::string existing = Path("LogFile.txt");
  WriteAll(existing, "old");
  EXPECT_EQ(DebugSetLogFilename(existing.c_str(), 0), 1);
  EXPECT_EQ(ReadAll(existing), "old");
  EXPECT_EQ(DebugSetLogFilename(existing.c_str(), 1), 1);
  EXPECT_FALSE(fwtest::PathExists(existing));
  EXPECT_STREQ(DebugGetLogFilename(), existing.c_str());

  // Too long: back to the default name in the working folder, which the child sets to the
  // temporary folder.
  std::string dir = dir_;
  int status = fwtest::RunInChild([dir] {
    if (chdir(dir.c_str()) != 0) return 2;
    std::string too_long(1024, 'n');
    if (DebugSetLogFilename(too_long.c_str(), 1) != 0) return 3;
    if (strcmp(DebugGetLogFilename(), "ErrorLog.txt") != 0) return 4;
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_NE(ReadAll(Path("ErrorLog.txt")).find(" <ERROR>  ( DebugSetLogFilename )  2  Filename too long\r\n"),
            std::string::npos);
  EXPECT_EQ(DebugSetLogFilename(std::string(1023, 'k').c_str(), 0), 1);
}

// The exit levels each show their box once per run and ask the program to close; later ones
// are only logged. Run in a child, since the exiting state lasts for the rest of the process.
TEST_F(ComDebugTest, ExitLevelsShowOneBoxAndAskToClose) {
  int status = fwtest::RunInChild([] {
    Popups().clear();
    if (cme_quit_main_loop) return 2;
    DebugExitPopup("LoadFont", "Cannot load %s", "font.ttf");
    if (!cme_quit_main_loop) return 3;
    DebugExitPopup("", "second");
    DebugExitNoMsg("f", "third");
    DebugPopup("f", "popups are also quiet once exiting");
    if (Popups().size() != 1) return 4;
    if (Popups()[0].title != "Error - Exiting" || Popups()[0].text != "( LoadFont )     Cannot load font.ttf" ||
        Popups()[0].kind != 2)
      return 5;
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Log(), " <EXIT>   ( LoadFont )     Cannot load font.ttf\r\n <EXIT>   second\r\n"
                   "<EXIT NM> ( f )     third\r\n <POPUP>  ( f )     popups are also quiet once exiting\r\n");

  status = fwtest::RunInChild([] {
    Popups().clear();
    DebugExitNoMsg("", "internal");
    if (!cme_quit_main_loop || Popups().size() != 1) return 2;
    return Popups()[0].title == "Internal Error" && Popups()[0].text == "(  )     internal" ? 0 : 3;
  });
  EXPECT_EQ(status, 0);
}

void PopupToFile(char* title, char* text, char kind) {
  std::string line = std::string(title ? title : "(null)") + "|" + (text ? text : "(null)") + "|" +
                     std::to_string(kind) + "\n";
  FILE* f = fopen(getenv("LECTREL_FW_POPUP_FILE"), "ab");
  if (f) {
    fputs(line.c_str(), f);
    fclose(f);
  }
}

TEST_F(ComDebugTest, AssertLogsShowsTheReasonAndEndsTheProcess) {
  DebugAssert(0, "f", "never");
  EXPECT_EQ(Log(), "");

  std::string popups = Path("popups.txt");
  int status = fwtest::RunInChild([&] {
    setenv("LECTREL_FW_POPUP_FILE", popups.c_str(), 1);
    ComWinSetPopupMessagesCallback(PopupToFile, PopupToFile);
    DebugAssert(1, "CheckBoxes", "id %d", 7);
    return 0;  // not reached
  });
  EXPECT_EQ(status, 255);
  EXPECT_EQ(Log(), " \r\nEXITING DUE TO FOLLOWING ERROR:\r\n \r\n <ERROR>  ( CheckBoxes )    id 7\r\n");
  EXPECT_EQ(ReadAll(popups), "INTERNAL PROGRAM ERROR |Reason:\n\n( CheckBoxes )    id 7|1\n");
}

TEST_F(ComDebugTest, StopMessageLogsAndSetsTheAfterExitMessage) {
  int status = fwtest::RunInChild([] {
    DebugStopMessage("Title", "Text of it");
    if (strcmp(cmw_after_exit_popup_title, "Title") != 0) return 2;
    if (strcmp(cmw_after_exit_popup_message, "Text of it") != 0) return 3;
    return cmw_after_exit_popup_on == 2 ? 0 : 4;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Log(), ErrorLine("STOP", "Title - Text of it"));
}

TEST_F(ComDebugTest, PopupCallbackTakesEveryBox) {
  ComWinPopupMessage("T", "m", 3);
  ComWinPopupMessage(nullptr, "no title", 1);
  std::string long_text(300, 'L');
  ComWinPopupMessage("", long_text.c_str(), 2);
  DebugMessageBox("box text", "box title");
  ASSERT_EQ(Popups().size(), 4u);
  EXPECT_EQ(Popups()[0].title, "T");
  EXPECT_EQ(Popups()[0].kind, 3);
  EXPECT_EQ(Popups()[1].title, "(null)");
  EXPECT_EQ(Popups()[2].text, long_text) << "the callback gets the text as it came";
  EXPECT_EQ(Popups()[3].title, "box title");
  EXPECT_EQ(Popups()[3].text, "box text");
  EXPECT_EQ(Popups()[3].kind, 2);

  ComWinSetPopupMessagesCallback(nullptr, nullptr);
  ComWinPopupMessage("T", nullptr, 1);
  EXPECT_EQ(ComWinPopupOkCancel("T", nullptr), 0);
  EXPECT_EQ(Log(), ErrorLine("ComWinPopupMessage", "Main string not set") +
                       ErrorLine("ComWinPopupOkCancel", "Main string not set"));
}

// The real GTK boxes, answered by a timer that reads the dialog's texts and presses a button.
struct DialogSeen {
  std::string primary, secondary;
  int type = -1;
  gint answer;
};

gboolean AnswerDialog(gpointer data) {
  DialogSeen* seen = static_cast<DialogSeen*>(data);
  GList* tops = gtk_window_list_toplevels();
  for (GList* l = tops; l; l = l->next) {
    if (!GTK_IS_MESSAGE_DIALOG(l->data)) continue;
    gchar *text = nullptr, *secondary = nullptr;
    GtkMessageType type;
    g_object_get(l->data, "text", &text, "secondary-text", &secondary, "message-type", &type, nullptr);
    seen->primary = text ? text : "";
    seen->secondary = secondary ? secondary : "(none)";
    seen->type = type;
    g_free(text);
    g_free(secondary);
    gtk_dialog_response(GTK_DIALOG(l->data), seen->answer);
    g_list_free(tops);
    return G_SOURCE_REMOVE;
  }
  g_list_free(tops);
  return G_SOURCE_CONTINUE;
}

TEST_F(ComDebugTest, GtkBoxesShowCutLatin1TextAndAnswer) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "needs a display (the test command runs under Xvfb)";
  std::string out = Path("dialogs.txt");
  int status = fwtest::RunInChild([&] {
    gtk_disable_setlocale();
    if (!gtk_init_check(nullptr, nullptr)) return 2;
    ComWinSetPopupMessagesCallback(nullptr, nullptr);
    std::string report;
    DialogSeen seen;

    seen.answer = GTK_RESPONSE_OK;
    g_timeout_add(50, AnswerDialog, &seen);
    std::string long_text = "\xe9t\xe9 \x80 " + std::string(400, 'x');  // Latin-1 e-acute, euro
    ComWinPopupMessage("Caf\xe9", long_text.c_str(), 3);
    report += seen.primary + "|" + std::to_string(seen.secondary.size()) + "|" + seen.secondary.substr(0, 10) +
              "|" + std::to_string(seen.type) + "\n";

    seen = DialogSeen();
    seen.answer = GTK_RESPONSE_OK;
    g_timeout_add(50, AnswerDialog, &seen);
    ComWinPopupMessage("", "only text", 1);
    report += seen.primary + "|" + seen.secondary + "|" + std::to_string(seen.type) + "\n";

    seen = DialogSeen();
    seen.answer = GTK_RESPONSE_OK;
    g_timeout_add(50, AnswerDialog, &seen);
    char ok = ComWinPopupOkCancel("Question", "Go on?");
    seen.answer = GTK_RESPONSE_CANCEL;
    g_timeout_add(50, AnswerDialog, &seen);
    char cancel = ComWinPopupOkCancel(nullptr, "Go on?");
    report += std::to_string(ok) + std::to_string(cancel) + "\n";
    WriteAll(out, report);
    return 0;
  });
  ASSERT_EQ(status, 0);
  // The text is cut to 254 Latin-1 characters (two of them take 2 and one 3 bytes in UTF-8).
  EXPECT_EQ(ReadAll(out), "Caf\xc3\xa9|258|\xc3\xa9t\xc3\xa9 \xe2\x82\xac |" + std::to_string(GTK_MESSAGE_INFO) +
                              "\nonly text|(none)|" + std::to_string(GTK_MESSAGE_WARNING) + "\n10\n");
  EXPECT_NE(Log().find(" <ERROR>  ( ComWinPopupMessage )  2  String too long <"), std::string::npos);
}

}  // namespace
