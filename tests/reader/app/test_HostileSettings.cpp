// Settings and slot files with a NaN, an infinity, a huge value or one just past an end in each
// float field: the value read back is the field's default (a position: in range), the page is laid
// out as with the defaults, and the real reading view then draws it and takes every layout key. Run
// in the sanitizer build, a float that reaches an integer conversion is a report.
#include <gtest/gtest.h>

#include <SDL.h>
#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "ComDebug.h"
#include "ComGlMisc.h"
#include "ComGlMiscModes.h"
#include "ComMacMessageBox.h"
#include "ComMacWin.h"
#include "ComMacWinTimer.h"
#include "Config.h"
#include "Game.h"
#include "GameFolders.h"
#include "MainLoad.h"
#include "MainRender.h"
#include "PrefFolder.h"
#include "Slots.h"

namespace {

void QuietPopup(char*, char*, char) {}

// A clock that moves 50 ms at every look, so the frame-rate settling after each load is quick.
unsigned int g_fake_ms = 0;
unsigned int FastClock() { return g_fake_ms += 50; }

struct FloatField {
  const char* name;
  float* (*at)(_Config*);
  float lo, hi, def;
  bool position;  // a reading position is held to the nearest end instead of the default
};

#define FIELD(member, lo, hi, def) {#member, [](_Config* c) { return &c->member; }, lo, hi, def, false}
const FloatField kFields[] = {
    FIELD(side_margin, 0, 30, 5),
    FIELD(side_margin_rotated, 0, 30, 5),
    FIELD(top_margin, 0, 30, 2),
    FIELD(top_margin_rotated, 0, 30, 2),
    FIELD(paragraph_spacing, 0, 1, 0.5f),
    FIELD(bar_height, 0, 30, 15),
    FIELD(scroll_speed, -100, 100, 0.2f),
    FIELD(text_size, 0.01f, 100, 1.5f),
    FIELD(text_width, 0.01f, 100, 1.0f),
    FIELD(text_height, 0.01f, 100, 1.2f),
    FIELD(line_spacing, 0.1f, 10000, 36),
    FIELD(background_brightness, 0, 1, 0),
    FIELD(text_brightness, 0, 1, 0.7f),
    FIELD(text_colour[0], 0, 1, 1),
    FIELD(text_colour[2], 0, 1, 1),
    FIELD(background_colour[0], 0, 1, 1),
    FIELD(background_colour[2], 0, 1, 1),
    FIELD(paper_size, 0, 1, 0.5f),
    FIELD(paper_contrast, 0, 1, 0.5f),
    FIELD(battery_transparency, 0, 1, 1.0f),
    {"books[0].read_fraction", [](_Config* c) { return &c->books[0].read_fraction; }, 0, 1, 0, true},
};
#undef FIELD

const float kHostile[] = {std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(), 1e30f, -1e30f};

bool g_window_open = false;

bool OpenWindow() {
  if (g_window_open) return true;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_Window* w = SDL_CreateWindow("hostile settings", 0, 0, 640, 480, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!w) return false;
  SDL_GLContext ctx = SDL_GL_CreateContext(w);
  if (!ctx) return false;
  SDL_GL_MakeCurrent(w, ctx);
  WIDTH = 640;
  HEIGHT = 480;
  WIDTH2 = 320;
  HEIGHT2 = 240;
  x_ratio = y_ratio = 1;
  ComGlMiscSetDefaultGraphicParamaters();
  g_window_open = true;
  return true;
}

void WriteAll(const std::string& path, const void* data, size_t len) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_TRUE(f) << path;
  ASSERT_EQ(len, fwrite(data, 1, len, f));
  fclose(f);
}

// Paragraphs of ordinary words, about 6 KB.
std::string SampleText() {
  std::string s;
  for (int p = 0; p < 20; p++) {
    for (int w = 0; w < 50; w++) s += (w % 7 == 0) ? "harbour " : "light ";
    s += "\n\n";
  }
  return s;
}

struct Case {
  int field;
  bool slot;  // through a slot file, else through the settings file
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << kFields[c.field].name << (c.slot ? " in a slot file" : " in the settings file");
}

class HostileFloat : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    ComWinSetPopupMessagesCallback(QuietPopup, QuietPopup);
    ComWinSetTickCountSource(FastClock);
    char tmpl[] = "/tmp/lectrel-hostile-XXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    home_ = tmpl;
    setenv("HOME", home_.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt");
    DebugSetLogFilename((home_ + "/test-log.txt").c_str(), 1);
    ASSERT_EQ(0, chdir(LECTREL_RESOURCES));  // fonts and pictures come from the resource folder
    ASSERT_TRUE(OpenWindow()) << "no OpenGL context (is DISPLAY set?)";
    ASSERT_TRUE(GameCreateGraphicsCB());
    book_ = home_ + "/Harbour.txt";
    std::string text = SampleText();
    WriteAll(book_, text.data(), text.size());
    char dir[1024];
    ASSERT_TRUE(GameGetSettingsDir(dir, sizeof(dir)));
    settings_dir_ = dir;
    ConfigSetupFilename();
    use_command_line = 1;
    pdf_filename[0] = text_filename[0] = book_name[0] = 0;
  }
  void TearDown() override {
    MainExit();
    GameDestroyGraphicsCB();
    ComWinSetTickCountSource(nullptr);
    nftw(home_.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
         FTW_DEPTH | FTW_PHYS);
  }

  // Defaults with an always-on bar (so the bar is laid out and drawn) and this book remembered.
  _Config Record() {
    ConfigSetDefaults();
    _Config rec = config;
    rec.bar_mode = 2;
    rec.num_books = 1;
    snprintf(rec.books[0].name, sizeof(rec.books[0].name), "Harbour");
    rec.books[0].read_fraction = 0.5f;
    snprintf(rec.last_book, sizeof(rec.last_book), "%s", book_.c_str());
    return rec;
  }

  void OpenBook() {
    snprintf(pdf_filename, sizeof(pdf_filename), "%s", book_.c_str());
    ASSERT_TRUE(GameLoadConfigAndOpenCurrentBook(1));
    EXPECT_GT(max_draw_width, 0);
    EXPECT_GT(num_formatted_lines, 0);
  }

  // The page of the default record: its line count, width and line gap.
  struct Page {
    int lines;
    float width, gap;
  };
  Page PageNow() const { return {num_formatted_lines, max_draw_width, line_ygap}; }
  // The record with every float field at the default a repair gives.
  _Config DefaultRecord() {
    _Config rec = Record();
    for (const FloatField& f : kFields)
      if (!f.position) *f.at(&rec) = f.def;
    return rec;
  }
  Page DefaultPage() {
    _Config rec = DefaultRecord();
    rec.version = CONFIG_VERSION;
    WriteAll(config_filename, &rec, sizeof(rec));
    EXPECT_TRUE(ConfigLoad());
    OpenBook();
    Page p = PageNow();
    MainExit();
    return p;
  }

  void DrawAndTakeKeys() {
    GameRenderMuiOffCB();
    for (const char* k = "2+-azsxdcgbhnfv34po091"; *k; k++) {
      n3d_current_time += 100;  // past the brightness keys' pause
      GameKeyCharMuiOffCB(*k);
      GameRenderMuiOffCB();
      ASSERT_GT(num_formatted_lines, 0) << "after key " << *k;
    }
  }

  std::string home_, book_, settings_dir_;
};

TEST_P(HostileFloat, LoadsInRangeAndTheViewLaysOutDrawsAndTakesKeys) {
  const Case& c = GetParam();
  const FloatField& f = kFields[c.field];
  const Page want = DefaultPage();
  std::vector<float> bads(std::begin(kHostile), std::end(kHostile));
  // Just past either end, and the zero that a damaged size field holds.
  bads.push_back(f.lo - 1);
  bads.push_back(f.hi + 1);
  if (f.lo > 0) bads.push_back(0.0f);
  for (float bad : bads) {
    SCOPED_TRACE(std::string(f.name) + " = " + std::to_string(bad) + (c.slot ? " in a slot" : ""));
    _Config rec = DefaultRecord();
    *f.at(&rec) = bad;
    float got;
    if (c.slot) {
      WriteAll(settings_dir_ + "/Slot04.lcs", &rec, sizeof(rec));
      ASSERT_TRUE(SlotsReadSlot(3));
      got = *f.at(&temp_config);
      SlotsUpdateFromLoadedTempConfig();
      ASSERT_TRUE(ConfigSave(0));
    } else {
      rec.version = CONFIG_VERSION;
      WriteAll(config_filename, &rec, sizeof(rec));
      ASSERT_TRUE(ConfigLoad());
      got = *f.at(&config);
    }
    EXPECT_TRUE(got >= f.lo && got <= f.hi) << got;
    if (!f.position) {
      EXPECT_EQ(f.def, got) << "a value the program cannot set becomes the default";
      // Everything else in the record came through untouched: the record is the defaults'.
      _Config want_rec = rec;
      *f.at(&want_rec) = f.def;
      _Config& have = c.slot ? temp_config : config;
      for (const FloatField& other : kFields)
        EXPECT_EQ(*other.at(&want_rec), *other.at(&have)) << other.name;
    }
    OpenBook();
    if (!f.position) {
      Page p = PageNow();
      EXPECT_EQ(want.lines, p.lines);
      EXPECT_EQ(want.width, p.width);
      EXPECT_EQ(want.gap, p.gap);
    }
    DrawAndTakeKeys();
    MainExit();
  }
}

std::vector<Case> AllCases() {
  std::vector<Case> v;
  for (int i = 0; i < (int)(sizeof(kFields) / sizeof(kFields[0])); i++) {
    v.push_back({i, false});
    v.push_back({i, true});
  }
  return v;
}

INSTANTIATE_TEST_SUITE_P(Table, HostileFloat, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string n = kFields[info.param.field].name;
                           for (char& ch : n)
                             if (!isalnum((unsigned char)ch)) ch = '_';
                           return n + (info.param.slot ? "_slot" : "_settings");
                         });

// A side margin above half the page made the page width negative: a small book then came out as
// one character per line.
TEST_F(HostileFloat, WideSideMarginKeepsAPageOfWords) {
  _Config rec = Record();
  rec.side_margin = 60;
  WriteAll(config_filename, &rec, sizeof(rec));
  ASSERT_TRUE(ConfigLoad());
  EXPECT_EQ(5, config.side_margin);
  OpenBook();
  EXPECT_LT(num_formatted_lines, 400);
}

// The ends the keys and bars stop at are values the program writes itself: a file holding them
// comes back unchanged.
TEST_F(HostileFloat, TheEndsTheProgramCanSetSurviveALoad) {
  for (int end = 0; end < 2; end++) {
    _Config rec = Record();
    for (const FloatField& f : kFields) *f.at(&rec) = end ? f.hi : f.lo;
    rec.version = CONFIG_VERSION;
    WriteAll(config_filename, &rec, sizeof(rec));
    ASSERT_TRUE(ConfigLoad());
    for (const FloatField& f : kFields) EXPECT_EQ(end ? f.hi : f.lo, *f.at(&config)) << f.name;
  }
}

}  // namespace
