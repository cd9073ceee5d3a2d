// The reading view's loading side: naming a book and its cache, the line axis and the last page,
// snapping, the progress box's cancel and drawing cadence, a key pressed while the frame timing
// settles, the book shown in the frames of that settle, a cancelled PDF conversion, and the
// reading position through a re-layout and the exit.
#include <cairo-pdf.h>
#include <cairo.h>
#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "BookCache.h"
#include "Common/framework/FrameworkTestUtil.h"
#include "BookParagraphs.h"
#include "ComDebug.h"
#include "ComMacMessageBox.h"
#include "ComMacWin.h"
#include "DialogDriver.h"
#include "Config.h"
#include "Game.h"
#include "Resolution.h"
#include "GameFolders.h"
#include "Load.h"
#include "MainLoad.h"
#include "MainRender.h"
#include "MainTick.h"
#include "Mui.h"
#include "ComFreeType.h"
#include "ComGlMisc.h"
#include "ComGlMiscModes.h"
#include "LecFont.h"
#include "PrefFolder.h"
#include "Slots.h"

namespace {

void QuietPopup(char*, char*, char) {}

std::string MakeTempDir(const char* tag) {
  std::string t = std::string("/tmp/lectrel-") + tag + "-XXXXXX";
  std::vector<char> buf(t.begin(), t.end());
  buf.push_back(0);
  char* d = mkdtemp(buf.data());
  return d ? std::string(d) : std::string();
}

void WriteFile(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
}

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// A fresh preferences folder in a throwaway HOME, the settings at their defaults.
class ReaderHome : public ::testing::Test {
 protected:
  void SetUp() override {
    ComWinSetPopupMessagesCallback(QuietPopup, QuietPopup);
    home_ = MakeTempDir("home");
    ASSERT_FALSE(home_.empty());
    books_ = home_ + "/books";
    mkdir(books_.c_str(), 0755);
    setenv("HOME", home_.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt");
    char dir[1024];
    ASSERT_TRUE(GameGetDataDir(dir, sizeof(dir)));
    data_ = dir;
    // The log goes to the temporary folder, never to the working folder.
    DebugSetLogFilename((home_ + "/test-log.txt").c_str(), 1);
    pdf_filename[0] = text_filename[0] = book_name[0] = 0;
    use_command_line = 1;
    ConfigLoad();
  }
  void TearDown() override {
    MainExit();
    use_command_line = 1;
  }
  std::string home_, books_, data_;
};

TEST_F(ReaderHome, SetupFilenameTable) {
  WriteFile(books_ + "/Novel.PDF", "%PDF-1.4\n");
  WriteFile(books_ + "/notes.txt", "hello\n");
  WriteFile(books_ + "/page.xhtml", "<html/>");
  struct Case {
    std::string path;
    int result;
    const char* error_start;   // expected start of the error text
    const char* book;          // expected book_name when ready
  } cases[] = {
      {books_ + "/Novel.PDF", 1, "", "Novel"},
      {"\"" + books_ + "/notes.txt\"", 1, "", "notes"},
      {books_ + "/page.xhtml", 0, "File type not supported (", nullptr},
      {".pdf", 0, "File type not supported (", nullptr},
      {books_ + "/Missing.html", 0, "Cannot access file (", nullptr},
      {std::string(1024, 'a'), 0, "File name is too big", nullptr},
      {"/" + std::string(1018, 'b') + ".txt", 0, "Cannot access file (", nullptr},
  };
  for (const Case& c : cases) {
    char error[512] = "stale";
    std::vector<char> path(c.path.begin(), c.path.end());
    path.push_back(0);
    EXPECT_EQ(MainSetupFilename(path.data(), error), c.result) << c.path.substr(0, 60);
    EXPECT_EQ(std::string(error).rfind(c.error_start, 0), 0u) << error;
    if (c.book) {
      EXPECT_STREQ(book_name, c.book);
      EXPECT_EQ(std::string(text_filename), data_ + "/" + c.book + ".txt");
      EXPECT_EQ(pdf_filename[0], '/');  // the quotes are gone
      EXPECT_FALSE(Exists(text_filename)) << "the writability probe must not stay behind";
    }
  }
}

// A path too long for the message is shortened from its front: the message still ends with the
// book's file name, which is what the reader needs to recognise it.
TEST_F(ReaderHome, ALongPathKeepsItsFileNameInTheMessage) {
  const std::string tail = "/Chapter-Notes.pdf";
  const std::string path = "/" + std::string(1023 - 1 - tail.size(), 'd') + tail;
  ASSERT_EQ(1023u, path.size());
  std::vector<char> buf(path.begin(), path.end());
  buf.push_back(0);
  char error[512] = "stale";
  EXPECT_EQ(0, MainSetupFilename(buf.data(), error));
  const std::string e = error;
  EXPECT_EQ(511u, e.size());
  EXPECT_EQ(0u, e.rfind("Cannot access file (...", 0)) << e.substr(0, 40);
  EXPECT_EQ(tail + ")", e.substr(e.size() - tail.size() - 1)) << e.substr(e.size() - 40);

  // The same book gone when the settings are reloaded from the options screen.
  memcpy(pdf_filename, path.c_str(), path.size() + 1);
  lf_err_msg[0] = 0;
  EXPECT_EQ(0, GameLoadConfigAndOpenCurrentBook(1));
  EXPECT_EQ(e, std::string(lf_err_msg));
}

TEST_F(ReaderHome, BooksOfTheSameNameShareOneCacheAndNeverTheLog) {
  mkdir((books_ + "/a").c_str(), 0755);
  mkdir((books_ + "/b").c_str(), 0755);
  WriteFile(books_ + "/a/Same.htm", "<p>x</p>");
  WriteFile(books_ + "/b/Same.htm", "<p>y</p>");
  WriteFile(books_ + "/LogFile.txt", "a book named like the log\n");
  std::string p1 = books_ + "/a/Same.htm", p2 = books_ + "/b/Same.htm";
  ASSERT_EQ(MainSetupFilename(&p1[0], nullptr), 1);
  std::string first = text_filename;
  ASSERT_EQ(MainSetupFilename(&p2[0], nullptr), 1);
  EXPECT_EQ(first, std::string(text_filename));
  std::string p3 = books_ + "/LogFile.txt";
  ASSERT_EQ(MainSetupFilename(&p3[0], nullptr), 1);
  EXPECT_STREQ(book_name, "LogFile");
  EXPECT_NE(std::string(text_filename), data_ + "/LogFile.txt");
}

TEST_F(ReaderHome, PdfFilenameCanBeHandedBackToItself) {
  WriteFile(books_ + "/Self.txt", "text\n");
  snprintf(pdf_filename, sizeof(pdf_filename), "\"%s/Self.txt\"", books_.c_str());
  ASSERT_EQ(MainSetupFilename(pdf_filename, nullptr), 1);
  EXPECT_EQ(std::string(pdf_filename), books_ + "/Self.txt");
}

TEST_F(ReaderHome, RememberedBookIsForgottenWhenGoneAndUsedWithoutCommandLine) {
  std::string gone = books_ + "/Gone.pdf";
  snprintf(config.last_book, sizeof(config.last_book), "%s", gone.c_str());
  pdf_filename[0] = 0;
  ASSERT_TRUE(ConfigSave(0));
  EXPECT_EQ(MainSetupFilename(nullptr, nullptr), 0);
  EXPECT_EQ(config.last_book[0], 0);
  ConfigLoad();
  EXPECT_EQ(config.last_book[0], 0) << "the forgetting is saved";

  // With the command line switched off, a given path is not taken: the remembered book is.
  WriteFile(books_ + "/Kept.txt", "kept\n");
  WriteFile(books_ + "/Other.txt", "other\n");
  snprintf(config.last_book, sizeof(config.last_book), "%s/Kept.txt", books_.c_str());
  ASSERT_TRUE(ConfigSave(0));
  use_command_line = 0;
  std::string other = books_ + "/Other.txt";
  EXPECT_EQ(MainSetupFilename(&other[0], nullptr), 1);
  EXPECT_STREQ(book_name, "Kept");
}

// A FIFO, a folder, a socket or a link to /dev/zero as the last book read, as a slot and as the
// settings file: each is refused as a missing file of its kind is (the Load screen's reason for
// the book, an empty slot, the defaults for the settings), and at once: each case runs in a child
// with a time limit, where a FIFO opened for reading would wait for a writer for good.
TEST_F(ReaderHome, ANonFileAsBookSlotOrSettingsIsTakenForAMissingOneAtOnce) {
  char settings_dir[1024];
  ASSERT_TRUE(GameGetSettingsDir(settings_dir, sizeof(settings_dir)));
  const std::string book = books_ + "/Thing.txt", slot = std::string(settings_dir) + "/Slot01.lcs";
  const std::string settings = config_filename;
  auto remember = [&] {
    snprintf(config.last_book, sizeof(config.last_book), "%s", book.c_str());
    return ConfigSave(0) == 1;
  };
  // What a missing book, slot and settings file give.
  ASSERT_TRUE(remember());
  char missing_reason[512] = "";
  ASSERT_EQ(MainSetupFilename(nullptr, missing_reason), 0);
  ASSERT_STRNE(missing_reason, "");
  unlink(slot.c_str());
  ASSERT_EQ(SlotsDoesSlotExist(0), 0);
  unlink(settings.c_str());
  ConfigLoad();
  const float default_size = config.text_size;

  struct Case {
    const char* what;
    std::string path;
    std::function<void()> check;  // runs in the child
  } cases[] = {
      {"book", book,
       [&] {
         char reason[512] = "stale";
         EXPECT_EQ(MainSetupFilename(nullptr, reason), 0);
         EXPECT_STREQ(reason, missing_reason);
         EXPECT_EQ(config.last_book[0], 0) << "forgotten as a missing book is";
       }},
      {"slot", slot,
       [&] {
         EXPECT_EQ(SlotsDoesSlotExist(0), 0);
         EXPECT_EQ(SlotsReadSlot(0), 0);
         unlink(settings.c_str());  // a fresh start checks the preset slots
         EXPECT_EQ(ConfigLoad(), 1);
       }},
      {"settings", settings,
       [&] {
         config.text_size = default_size + 3;
         EXPECT_EQ(ConfigLoad(), 1);
         EXPECT_EQ(config.text_size, default_size);
         ConfigSave(0);  // over a folder it fails; it never waits
       }},
  };
  for (fwtest::NonFile kind : fwtest::kNonFiles) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " as a " + fwtest::NonFileName(kind));
      ASSERT_TRUE(remember());
      unlink(c.path.c_str());
      ASSERT_TRUE(fwtest::MakeNonFile(kind, c.path));
      const int status = fwtest::RunChecksInChild(c.check, 5);
      EXPECT_EQ(status, 0) << "-1: the child waited past its time limit";
      fwtest::RemoveNonFile(c.path);
    }
  }
}

TEST_F(ReaderHome, ShowResWinSurvivesTheReloadAndOnlyBlocksTheCommandLine) {
  config.show_resolution_window = 0;
  pdf_filename[0] = 0;
  ASSERT_TRUE(ConfigSave(0));
  char a0[] = "lectrel", a1[] = "SHOWRESWIN";
  char* argv[] = {a0, a1, nullptr};
  // The display dialog comes up from the resource folder: the user presses Start.
  char cwd[1024];
  ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
  ASSERT_EQ(chdir(LECTREL_RESOURCES), 0);
  bool shown = false;
  dialogtest::Driver start("Startup", [&](GtkWidget* w) {
    shown = true;
    dialogtest::Click(dialogtest::Find(w, "STAR-14"));
    return true;
  });
  EXPECT_EQ(GamePreCreateWindowCB(2, argv), 1);
  ASSERT_EQ(chdir(cwd), 0);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(start.TimedOut());
  EXPECT_EQ(config.show_resolution_window, 1);
  EXPECT_EQ(use_command_line, 0);
  ConfigLoad();
  EXPECT_EQ(config.show_resolution_window, 1) << "the settings reloaded at start-up keep it";
  EXPECT_EQ(GamePre3dInitCB(2, argv), 1);
  EXPECT_EQ(use_command_line, 1) << "a book chosen later is taken";
}

TEST_F(ReaderHome, DisplayModeFileOfTheWrongSizeOrVersionGivesDefaults) {
  ResolutionSetDefaultResolution();
  resolution.win_width = 700;
  resolution.win_height = 500;
  ResolutionSaveSettings();
  ASSERT_EQ(ResolutionLoadSettings(), 1);
  EXPECT_EQ(resolution.win_width, 700);
  EXPECT_EQ(WIDTH, 700);
  EXPECT_EQ(run_windowed, 1);
  // 39 bytes, then version 2.0: both refused, the defaults (a window) applied.
  std::string path = res_file_str;
  WriteFile(path, std::string(39, '\0'));
  EXPECT_EQ(ResolutionLoadSettings(), 0);
  EXPECT_EQ(resolution.windowed, 1);
  EXPECT_NE(resolution.win_width, 700);
  _Resolution r = resolution;
  r.version = 2.0f;
  WriteFile(path, std::string(reinterpret_cast<char*>(&r), sizeof(r)));
  EXPECT_EQ(ResolutionLoadSettings(), 0);
}

// ---- The line axis ----

class LineAxis : public ::testing::Test {
 protected:
  void SetUp() override {
    MainExit();
    line_ygap = 20;
    empty_line_ygap = 10;
    top_margin = 10;
    bottom_margin = 470;
    config.paragraph_spacing = 0.5f;
    config.scrolling = 0;
  }
  void TearDown() override { MainExit(); }
  // "" is an empty line, "#" a horizontal rule (mark 2), anything else a line of text.
  void Lines(const std::vector<std::string>& texts) {
    MainExit();
    num_formatted_lines = (int)texts.size();
    formatted_line_list = static_cast<_Line*>(calloc(texts.size() ? texts.size() : 1, sizeof(_Line)));
    for (size_t i = 0; i < texts.size(); i++) {
      _Line& l = formatted_line_list[i];
      l.text = strdup(texts[i] == "#" ? "\x01" : texts[i].c_str());
      l.length = (uint32_t)strlen(l.text);
      l.mark = texts[i] == "#" ? 2 : 0;
    }
  }
};

TEST_F(LineAxis, PositionsEmptinessAndSpacing) {
  Lines({"one", "", "two", " \t\xa0", "#", "three"});
  MainCalcTotalBookHeight();
  const double expect_y[] = {0, 1, 1.5, 2.5, 3, 4};
  const int expect_empty[] = {0, 1, 0, 1, 0, 0};
  for (int i = 0; i < 6; i++) {
    EXPECT_DOUBLE_EQ(formatted_line_list[i].y, expect_y[i]) << i;
    EXPECT_EQ(formatted_line_list[i].empty, expect_empty[i]) << i;
  }
  EXPECT_EQ(formatted_line_list[3].length, 0u) << "blanks only: length 0";

  config.paragraph_spacing = 0;
  MainCalcTotalBookHeight();
  EXPECT_DOUBLE_EQ(formatted_line_list[2].y, formatted_line_list[1].y)
      << "with no paragraph spacing an empty line takes no room";
}

TEST_F(LineAxis, LastPageIsExactlyFull) {
  std::vector<std::string> t(100, "text");
  Lines(t);
  MainCalcTotalBookHeight();
  // 448 units of room above the last line's bottom hold 22 lines of 20 units below the top margin.
  EXPECT_DOUBLE_EQ(total_book_height, 78);
}

TEST_F(LineAxis, ShortAndEmptyBooks) {
  Lines({"a", "b", "c"});
  MainCalcTotalBookHeight();
  EXPECT_DOUBLE_EQ(total_book_height, 1) << "never below 1";
  Lines({"", "", "", "", ""});
  MainCalcTotalBookHeight();
  EXPECT_DOUBLE_EQ(total_book_height, 1) << "a book of empty lines";
  Lines({});
  MainCalcTotalBookHeight();
  EXPECT_DOUBLE_EQ(total_book_height, 1);
}

TEST_F(LineAxis, LastPageNeverStartsPastTheLastLine) {
  std::vector<std::string> t(40, "text");
  t.insert(t.end(), 200, "");  // a long run of empty lines at the end
  Lines(t);
  MainCalcTotalBookHeight();
  EXPECT_LE(total_book_height, formatted_line_list[t.size() - 1].y);
  bool found = false;
  for (size_t i = 0; i < t.size(); i++)
    if (formatted_line_list[i].y == total_book_height && !formatted_line_list[i].empty) found = true;
  EXPECT_TRUE(found) << "the last page starts at a line with text";
}

TEST_F(LineAxis, SnappingLandsOnLinesWithText) {
  config.paragraph_spacing = 1;
  Lines({"0", "1", "2", "", "4", "5", "6"});
  MainCalcTotalBookHeight();
  cur_book_height = 2.6;
  MainSnapDrawLinePosIfNeeded();
  EXPECT_DOUBLE_EQ(cur_book_height, 2);
  cur_book_height = 3.4;
  MainSnapDrawLinePosIfNeeded();
  EXPECT_DOUBLE_EQ(cur_book_height, 4);
  config.scrolling = 1;
  cur_book_height = 3.4;
  MainSnapDrawLinePosIfNeeded();
  EXPECT_DOUBLE_EQ(cur_book_height, 3.4) << "scrolling never snaps";
}

TEST(ProgressBox, EscapeCancelsAndIsConsumed) {
  quit_loading_book = 0;
  had_problem_loading_book = 1;
  key_down[27] = 0;
  EXPECT_EQ(MainDisplayProgressMessage((char*)"Converting page 1", 0.25f), 1);
  EXPECT_EQ(quit_loading_book, 0);
  EXPECT_EQ(draw_progress_string, 0);
  EXPECT_STREQ(display_str, "Converting page 1");
  key_down[27] = 2;
  MainDisplayProgressMessage(nullptr, 0.5f);
  EXPECT_EQ(quit_loading_book, 1);
  EXPECT_EQ(had_problem_loading_book, 0);
  EXPECT_EQ(key_down[27], 0);
  EXPECT_STREQ(display_str, "Converting page 1") << "a null text keeps the old one";
  quit_loading_book = 0;

  // Closing the window during a conversion cancels it too.
  cme_quit_main_loop = 1;
  MainDisplayProgressMessage(nullptr, 0.75f);
  cme_quit_main_loop = 0;
  EXPECT_EQ(quit_loading_book, 1);
  quit_loading_book = 0;
}

// ---- Frames counted without a GL context: the shell draws through the reading view's render
// callback, which here only counts; the clock is the test's.

int g_frames;
unsigned g_now;
unsigned g_frame_cost;  // milliseconds the test's clock moves while a frame is drawn
void CountFrame() {
  g_frames++;
  g_now += g_frame_cost;
}
bool g_key_pushed;

void PushKey(SDL_Keycode key) {
  SDL_Event e;
  memset(&e, 0, sizeof(e));
  e.type = SDL_KEYDOWN;
  e.key.state = SDL_PRESSED;
  e.key.keysym.sym = key;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  SDL_PushEvent(&e);
}

class CountedFrames : public ReaderHome {
 protected:
  void SetUp() override {
    ReaderHome::SetUp();
    saved_ = cmw_main_cb;
    // The shell reads events only with SDL's video part, which needs the test's X server.
    if (!getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    video_ = true;
    cmw_main_cb.render_mui_off = CountFrame;
    cmw_gl_setup = 1;
    mouseui_on = 0;
    g_frames = 0;
    g_frame_cost = 0;
    memset(key_down, 0, sizeof(key_down));
  }
  void TearDown() override {
    ComWinSetTickCountSource(nullptr);
    g_frame_cost = 0;
    cmw_gl_setup = 0;
    cmw_main_cb = saved_;
    memset(key_down, 0, sizeof(key_down));
    quit_loading_book = 0;
    if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    ReaderHome::TearDown();
  }
  _ComMacWinMainCallbacks saved_;
  bool video_ = false;
};

unsigned ManualClock() { return g_now; }

TEST_F(CountedFrames, ProgressDrawsAtMostEvery100MsButPumpsEventsOnEveryCall) {
  ComWinSetTickCountSource(ManualClock);
  quit_loading_book = 0;
  g_now = 100000;
  MainDisplayProgressMessage((char*)"Converting", 0.0f);  // a first call always draws
  EXPECT_GT(g_frames, 0);
  // One second of progress calls 10 ms apart: ten drawings of two frames each.
  g_frames = 0;
  for (int i = 1; i <= 100; i++) {
    g_now += 10;
    MainDisplayProgressMessage(nullptr, i / 100.0f);
  }
  EXPECT_EQ(g_frames, 20);
  // An Escape pressed between two drawings is still seen at the next call.
  g_frames = 0;
  g_now += 30;
  PushKey(SDLK_ESCAPE);
  MainDisplayProgressMessage(nullptr, 1.0f);
  EXPECT_EQ(g_frames, 0) << "no drawing 30 ms after the last";
  EXPECT_EQ(quit_loading_book, 1);
}

TEST_F(CountedFrames, SlowProgressDrawingTakesAtMostAFifthOfTheTime) {
  ComWinSetTickCountSource(ManualClock);
  quit_loading_book = 0;
  g_now = 200000;
  g_frame_cost = 40;  // a drawing of two frames takes 80 ms
  const unsigned start = g_now;
  for (int i = 0; i < 400; i++) {
    g_now += 10;
    MainDisplayProgressMessage((char*)"Converting", i / 400.0f);
  }
  const unsigned drawing = (unsigned)g_frames * g_frame_cost;
  EXPECT_GT(g_frames, 4) << "the display still moves";
  EXPECT_LE(drawing * 5, (g_now - start) + 2 * 80) << g_frames << " frames in " << (g_now - start) << " ms";
  // Cheap frames again: back to a drawing every 100 ms.
  g_frame_cost = 0;
  g_now += 1000;
  MainDisplayProgressMessage(nullptr, 1.0f);
  g_frames = 0;
  for (int i = 0; i < 100; i++) {
    g_now += 10;
    MainDisplayProgressMessage(nullptr, 1.0f);
  }
  EXPECT_EQ(g_frames, 20);
}

// The clock moves 5 ms at every read; while the frame timing settles, a page key goes down.
unsigned SettlingClock() {
  if (ComGlMiscIsFrameRateBeingSettled() && !g_key_pushed) {
    PushKey(SDLK_DOWN);
    g_key_pushed = true;
  }
  return g_now += 5;
}

// A book font of fixed advances (no font file, no GL context), for the formatter.
void FakeBookFont(_ComFreeTypeFont* font) {
  memset(font, 0, sizeof(*font));
  font->setup = 1;
  font->letter_count = 256;
  font->scale_x = font->scale_y = 1.0f;
  for (int c = 32; c < 256; c++) font->advance[c] = 10.0f;
}

// A book of the given number of short paragraphs, several pages long.
std::string WritePagesBook(const std::string& folder, int paragraphs) {
  std::string text;
  for (int i = 0; i < paragraphs; i++)
    text += "Paragraph " + std::to_string(i) + " of a book long enough for pages.\n\n";
  std::string book = folder + "/Pages.txt";
  WriteFile(book, text);
  return book;
}

TEST_F(CountedFrames, APageKeyPressedWhileTheFrameTimingSettlesIsAnsweredAfterTheLoad) {
  static _ComFreeTypeFont font;
  FakeBookFont(&font);
  _ComFreeTypeFont* saved_font = book_font;
  book_font = &font;
  std::string book = WritePagesBook(books_, 200);
  ASSERT_EQ(MainSetupFilename(&book[0], nullptr), 1);
  book_read_perc = 0;
  g_key_pushed = false;
  ComWinSetTickCountSource(SettlingClock);
  ASSERT_EQ(MainInit(), 1);
  EXPECT_TRUE(g_key_pushed) << "the load ends with the settle";
  const double start = cur_book_height;
  // The main loop's next frame: events, then the keys.
  ComWinRunMessagesOnlyLoop(4);
  first_line_rendered = 0;
  last_line_rendered = 20;
  MainProcessKeys();
  EXPECT_GT(cur_book_height, start + 5) << "the key pressed during the settle turned the page";
  book_font = saved_font;
}

TEST(CharacterTests, Table) {
  EXPECT_EQ(MainCharIsWhitespace(' ', 0), 1);
  EXPECT_EQ(MainCharIsWhitespace('\t', 0), 1);
  EXPECT_EQ(MainCharIsWhitespace(160, 0), 0);
  EXPECT_EQ(MainCharIsWhitespace(160, 1), 1);
  EXPECT_EQ(MainCharIsAlphaNumeric('z'), 1);
  EXPECT_EQ(MainCharIsAlphaNumeric(0xe9), 0);
  EXPECT_EQ(MainStringIsWhitespace(nullptr), 1);
  EXPECT_EQ(MainStringIsWhitespace((unsigned char*)" \t\xa0"), 1);
  EXPECT_EQ(MainStringIsWhitespace((unsigned char*)" x"), 0);
  EXPECT_EQ(MainStringIsAlphaNumeric((unsigned char*)"--7--"), 1);
  EXPECT_EQ(MainStringIsAlphaNumeric((unsigned char*)"\xe9\xe8"), 0);
  EXPECT_EQ(MainStringIsNumeric((unsigned char*)""), 1);
  EXPECT_EQ(MainStringIsNumeric((unsigned char*)"12a"), 0);
  EXPECT_EQ(MainStringIsNumeric(nullptr), 0);
}

// ---- A PDF conversion cancelled at the k-th page ----

unsigned g_clock_calls, g_escape_after;
unsigned CountingClock() {
  // The progress box reads the clock on every call; Escape goes down after a number of reads.
  if (++g_clock_calls == g_escape_after) key_down[27] = 2;
  return g_clock_calls * 40;
}

void WritePdf(const std::string& path, int pages) {
  cairo_surface_t* s = cairo_pdf_surface_create(path.c_str(), 420, 595);
  cairo_t* cr = cairo_create(s);
  cairo_select_font_face(cr, "serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 11);
  for (int p = 0; p < pages; p++) {
    for (int l = 0; l < 30; l++) {
      char line[96];
      snprintf(line, sizeof(line), "Page %d line %d of the cancelled book's text.", p + 1, l + 1);
      cairo_move_to(cr, 50, 60 + l * 16);
      cairo_show_text(cr, line);
    }
    cairo_show_page(cr);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(s);
}

TEST_F(ReaderHome, EscapeDuringConversionDeletesThePartialCacheButNeverTheBook) {
  std::string pdf = books_ + "/Long.pdf";
  WritePdf(pdf, 40);
  ASSERT_EQ(MainSetupFilename(&pdf[0], nullptr), 1);
  std::string cache = text_filename;
  g_clock_calls = 0;
  g_escape_after = 12;
  key_down[27] = 0;
  ComWinSetTickCountSource(CountingClock);
  char r = MainInit();
  ComWinSetTickCountSource(nullptr);
  EXPECT_EQ(r, 0);
  EXPECT_GT(g_clock_calls, g_escape_after - 1) << "the conversion reported its pages";
  EXPECT_LT(g_clock_calls, 80u) << "the conversion stopped early";
  EXPECT_EQ(main_loading_book, 0);
  EXPECT_EQ(draw_progress_string, 0);
  EXPECT_FALSE(Exists(cache)) << "partial cache deleted";
  EXPECT_TRUE(Exists(pdf)) << "the book itself stays";
  EXPECT_EQ(buffer, nullptr);
}

// A pass that fails after the conversion ends the load with 0 and keeps what was built until the
// next MainExit; the book itself is never touched.
TEST_F(ReaderHome, FailedPassEndsTheLoadAndKeepsItsStateUntilExit) {
  struct Case {
    const char* name;
    std::string text;
    const char* logged;  // the failing pass's report
  } cases[] = {
      {"Blank.txt", "\n\n\n", "GetMaxLineWidthInTextFile"},
      // Enough text for every paragraph pass; the book font is not set up, so the formatter fails.
      {"NoFont.txt", "First paragraph.\n\nSecond paragraph.\n", "No book font"},
  };
  for (const Case& c : cases) {
    std::string book = books_ + "/" + c.name;
    WriteFile(book, c.text);
    std::string log = home_ + "/" + c.name + ".log";
    DebugSetLogFilename(log.c_str(), 1);
    ASSERT_EQ(MainSetupFilename(&book[0], nullptr), 1) << c.name;
    EXPECT_EQ(MainInit(), 0) << c.name;
    EXPECT_EQ(main_loading_book, 0) << c.name;
    EXPECT_EQ(had_problem_loading_book, 1) << c.name;
    EXPECT_EQ(num_formatted_lines, 0) << c.name;
    EXPECT_NE(buffer, nullptr) << c.name << ": the partial state stays until MainExit";
    EXPECT_TRUE(Exists(book)) << c.name;
    FILE* f = fopen(log.c_str(), "rb");
    std::string logged;
    if (f) {
      char chunk[4096];
      size_t n;
      while ((n = fread(chunk, 1, sizeof(chunk), f)) > 0) logged.append(chunk, n);
      fclose(f);
    }
    EXPECT_NE(logged.find(c.logged), std::string::npos) << c.name << ":\n" << logged;
    if (std::string(c.name) == "NoFont.txt") {
      EXPECT_NE(line_list, nullptr) << "the paragraphs read stay until MainExit";
      EXPECT_GT(num_lines, 1);
    }
    MainExit();
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(line_list, nullptr);
  }
}

// The clean-up of a failed or cancelled load deletes only what that load made: a cache it found
// (another reader's, or an earlier run's) stays.
TEST_F(ReaderHome, FailedLoadNeverDeletesACacheItFound) {
  std::string pdf = books_ + "/Found.pdf";
  WritePdf(pdf, 2);
  ASSERT_EQ(MainSetupFilename(&pdf[0], nullptr), 1);
  std::string cache = text_filename;
  ASSERT_EQ(1, CreateTextFileIfNeeded());  // an earlier load's conversion
  ASSERT_EQ(1, CreateTextFileIfNeeded());
  ASSERT_EQ(0, CreateTextFileMadeByLastLoad());
  MainQuitLoadingBook();
  EXPECT_TRUE(Exists(cache));
}

TEST_F(ReaderHome, CancelledTextBookIsNeverDeleted) {
  std::string txt = books_ + "/Plain.txt";
  WriteFile(txt, "a book that is its own text file\n");
  ASSERT_EQ(MainSetupFilename(&txt[0], nullptr), 1);
  snprintf(text_filename, sizeof(text_filename), "%s", pdf_filename);
  MainQuitLoadingBook();
  EXPECT_TRUE(Exists(txt));
}

// ---- The reading position kept through a re-layout and at exit. The frame that would have drawn
// a move has not run yet: the position is the one the reader is at, not the last frame's.

unsigned SteppingClock() { return g_now += 5; }

// A reader home with a book font of fixed advances; the load's frame-timing settle runs on the
// test's clock, so it passes at once.
class FontHome : public ReaderHome {
 protected:
  void SetUp() override {
    ReaderHome::SetUp();
    FakeBookFont(&font_);
    saved_font_ = book_font;
    book_font = &font_;
    ComWinSetTickCountSource(SteppingClock);
  }
  void TearDown() override {
    ComWinSetTickCountSource(nullptr);
    book_font = saved_font_;
    ReaderHome::TearDown();
  }
  _ComFreeTypeFont font_;
  _ComFreeTypeFont* saved_font_ = nullptr;
};

class OpenBook : public FontHome {
 protected:
  void SetUp() override {
    FontHome::SetUp();
    config.paper = 0;
    config.rotation = 0;
    ASSERT_EQ(ConfigSave(0), 1);
    std::string book = WritePagesBook(books_, 300);
    ASSERT_EQ(MainSetupFilename(&book[0], nullptr), 1);
    ASSERT_EQ(GameLoadConfigAndOpenCurrentBook(0), 1);
    MainUpdateBookReadPerc();  // as the first frame leaves it
    memset(key_down, 0, sizeof(key_down));
  }
  void TearDown() override {
    config.rotation = 0;
    FontHome::TearDown();
  }
  // The book's fraction in the settings file as written.
  float StoredFraction() {
    _Config c;
    FILE* f = fopen(config_filename, "rb");
    if (!f) return -1;
    size_t n = fread(&c, sizeof(c), 1, f);
    fclose(f);
    if (n != 1) return -1;
    for (int i = 0; i < c.num_books && i < CONFIG_MAX_BOOKS; i++)
      if (strcmp(c.books[i].name, "Pages") == 0) return c.books[i].read_fraction;
    return -1;
  }
};

TEST_F(OpenBook, AMoveNotYetDrawnSurvivesATurnOfThePage) {
  const double start = cur_book_height;
  MoveAdvanceLines(lines_per_page);  // a wheel turn and the turn to 180 degrees in one batch
  const double moved = cur_book_height;
  ASSERT_GT(moved, start + 5);
  const double total = total_book_height;
  MainProcessCharKey('3');
  ASSERT_EQ(config.rotation, 2);
  ASSERT_GT(num_formatted_lines, 0) << "the book is open again";
  EXPECT_DOUBLE_EQ(total_book_height, total) << "the same layout upside down";
  EXPECT_DOUBLE_EQ(cur_book_height, moved) << "the book reopens where it was moved to";
  EXPECT_FLOAT_EQ(StoredFraction(), (float)(moved / total)) << "and the file says the same";
}

TEST_F(OpenBook, APageTurnedJustBeforeTheExitIsTheSavedPosition) {
  MoveAdvanceLines(2 * lines_per_page);
  const float expected = (float)(cur_book_height / total_book_height);
  ASSERT_GT(expected, 0);
  GamePre3dExitCB();
  EXPECT_EQ(num_formatted_lines, 0) << "the book is closed";
  EXPECT_FLOAT_EQ(StoredFraction(), expected);
}

// ---- The frames of the settle at the end of a load, drawn for real in a GL window ----

// Pixels of the band above the boxes (rows 5 % to 33 % of the window) that stand out from the
// band's median by more than 60 levels: the book's text, whatever the paper's brightness.
int InkAboveTheBoxes() {
  const int y0 = HEIGHT * 67 / 100, y1 = HEIGHT * 95 / 100;  // GL rows count from the bottom
  std::vector<unsigned char> rgb((size_t)WIDTH * (y1 - y0) * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, y0, WIDTH, y1 - y0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  std::vector<int> lum(rgb.size() / 3);
  for (size_t i = 0; i < lum.size(); i++) lum[i] = (3 * rgb[3 * i] + 6 * rgb[3 * i + 1] + rgb[3 * i + 2]) / 10;
  std::vector<int> sorted = lum;
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  const int median = sorted[sorted.size() / 2];
  return (int)std::count_if(lum.begin(), lum.end(), [&](int v) { return std::abs(v - median) > 60; });
}

std::vector<int> g_settle_ink;  // ink of each frame drawn while the frame timing settled

// The reader's own frame, then a look at what it drew before the buffers swap.
void DrawAndLook() {
  GameRenderMuiOffCB();
  if (ComGlMiscIsFrameRateBeingSettled()) g_settle_ink.push_back(InkAboveTheBoxes());
}

class SettleFrames : public ReaderHome {
 protected:
  void SetUp() override {
    ReaderHome::SetUp();
    saved_ = cmw_main_cb;
    if (!getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    window_ = SDL_CreateWindow("settle", 0, 0, 640, 480, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(window_, nullptr);
    context_ = SDL_GL_CreateContext(window_);
    ASSERT_NE(context_, nullptr);
    WIDTH = 640;
    HEIGHT = 480;
    WIDTH2 = 320;
    HEIGHT2 = 240;
    x_ratio = y_ratio = 1;
    ComGlMiscSetDefaultGraphicParamaters();
    ComGlMiscPrepareFor2D(1);
    ASSERT_NE(getcwd(cwd_, sizeof(cwd_)), nullptr);
    ASSERT_EQ(chdir(LECTREL_RESOURCES), 0);  // the fonts and Misc.tga
    ASSERT_TRUE(LecFontMainCreate(mui_font, 1));
    ASSERT_TRUE(LecFontMainCreate(book_font, 0));
    ASSERT_TRUE(MainLoadGraphics());
    cmw_main_cb.render_mui_off = DrawAndLook;
    cmw_gl_setup = 1;
    mouseui_on = 0;
  }
  void TearDown() override {
    cmw_gl_setup = 0;
    cmw_main_cb = saved_;
    if (context_) {
      ComFreeTypeRestoreAfterDrawingIfNeeded();
      if (ComGlMiscIs2DPrepared()) ComGlMiscRestoreAfter2D();
      MainDestroyGraphics();
      LecFontMainDestroy(mui_font, 1);
      LecFontMainDestroy(book_font, 0);
      SDL_GL_DeleteContext(context_);
    }
    if (window_) SDL_DestroyWindow(window_);
    // SDL's video part stays up until the process ends, as it does in the reader: quitting it
    // closes the X connection, and the GL driver is unloaded with it. The driver keeps blocks in
    // its globals for its whole life (Mesa's CPU detection, run once, keeps a 128-byte CPU mask
    // per L3 cache there, as on an AMD EPYC machine); with the globals unmapped, the leak checker
    // at exit finds nothing that points to those blocks and reports them as leaks.
    if (cwd_[0] && chdir(cwd_) != 0) ADD_FAILURE() << "could not return to " << cwd_;
    ReaderHome::TearDown();
  }
  _ComMacWinMainCallbacks saved_;
  char cwd_[1024] = "";
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
};

// The load ends with 400 ms of frames that settle the frame timing: they show the book's page
// (the "Loading eBook" box may stand over it), whether the book was converted under the progress
// box, its converted file reused, or it is a text file of its own.
TEST_F(SettleFrames, EveryFrameOfTheSettleShowsTheBook) {
  std::string pdf = books_ + "/Shown.pdf", txt = books_ + "/Shown.txt";
  WritePdf(pdf, 4);
  std::string text;
  for (int i = 0; i < 60; i++) text += "Paragraph " + std::to_string(i) + " of a book that fills pages.\n\n";
  WriteFile(txt, text);
  struct Case {
    const char* name;
    std::string book;
  } cases[] = {{"PDF converted", pdf}, {"PDF, converted file reused", pdf}, {"text book", txt}};
  for (Case& c : cases) {
    ASSERT_EQ(MainSetupFilename(&c.book[0], nullptr), 1) << c.name;
    MainUpdateAfterConfigChange();
    book_read_perc = 0;
    g_settle_ink.clear();
    ASSERT_EQ(MainInit(), 1) << c.name;
    ASSERT_FALSE(g_settle_ink.empty()) << c.name << ": the settle draws frames";
    const long bare = std::count_if(g_settle_ink.begin(), g_settle_ink.end(), [](int ink) { return ink <= 300; });
    EXPECT_EQ(bare, 0) << c.name << ": frames without the page, of " << g_settle_ink.size();
    MainExit();
  }
}

}  // namespace

namespace {

// ---- Paging back retraces paging forward, on the reader's own sample books ----

bool CopyBook(const std::string& from, const std::string& to) {
  FILE* in = fopen(from.c_str(), "rb");
  if (!in) return false;
  FILE* out = fopen(to.c_str(), "wb");
  if (!out) {
    fclose(in);
    return false;
  }
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof(chunk), in)) > 0) fwrite(chunk, 1, n, out);
  fclose(in);
  return fclose(out) == 0;
}

// The index of the display line at a position.
int LineAt(double y) {
  for (int i = 0; i < num_formatted_lines; i++)
    if (formatted_line_list[i].y == y && !formatted_line_list[i].empty) return i;
  return -1;
}

class SamplePages : public FontHome {
 protected:
  void TearDown() override {
    config.top_margin = 2;
    config.paragraph_spacing = 1;
    FontHome::TearDown();
  }
};

}  // namespace

TEST_F(SamplePages, ADownThenUpShowsTheSameFirstLineOnEveryPage) {
  const std::string samples = std::string(LECTREL_RESOURCES) + "/Samples";
  const std::string kinds[] = {samples + "/Sample.txt", samples + "/Sample.html",
                               samples + "/Sample.pdf"};
  struct Layout {
    float top_margin, paragraph_spacing;
  };
  const Layout layouts[] = {{0, 1}, {7, 1}, {0, 0.55f}, {7, 0.3f}};
  for (const std::string& source : kinds) {
    std::string name = source.substr(source.rfind('/') + 1);
    std::string book = books_ + "/" + name;
    ASSERT_TRUE(CopyBook(source, book)) << source;
    for (const Layout& layout : layouts) {
      SCOPED_TRACE(name + " top margin " + std::to_string(layout.top_margin) + " spacing " +
                   std::to_string(layout.paragraph_spacing));
      MainExit();
      config.rotation = 0;
      config.scrolling = 0;
      config.top_margin = layout.top_margin;
      config.paragraph_spacing = layout.paragraph_spacing;
      ASSERT_EQ(MainSetupFilename(&book[0], nullptr), 1);
      book_read_perc = 0;
      ASSERT_EQ(MainInit(), 1);
      MainUpdateAfterConfigChange();
      cur_book_height = 0;
      MainSnapDrawLinePosIfNeeded();
      int pages = 0;
      for (;;) {
        const double page = cur_book_height;
        MainAdvancePage(1);
        const double next = cur_book_height;
        if (next == page) break;
        pages++;
        MainAdvancePage(-1);
        ASSERT_EQ(cur_book_height, page) << "page " << pages << " at line " << LineAt(page);
        // Without the turn to retrace (the book reopened on the next page), a page back still
        // leaves out no line: it starts no later than the page left and leads on to the same page.
        MainForgetPageTurns();
        cur_book_height = next;
        MainAdvancePage(-1);
        EXPECT_LE(cur_book_height, page) << "page " << pages;
        MainAdvancePage(1);
        EXPECT_EQ(cur_book_height, next) << "page " << pages;
        cur_book_height = page;
        MainForgetPageTurns();
        MainAdvancePage(1);
        ASSERT_EQ(cur_book_height, next);
      }
      EXPECT_GE(pages, 4) << "the sample spans several pages";
    }
  }
}
