// The settings record and its file, in a temporary preferences folder.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

#include "ComDebug.h"
#include "ComFile.h"
#include "Config.h"
#include "GameFolders.h"
#include "LecFont.h"
#include "MainCleanup.h"
#include "MainLoad.h"
#include "Slots.h"

// The settings code's neighbours in the reading view, for this program only. Weak: when the
// real modules are linked they take over, and the tests below hold for them too.
#define CONFIG_FAKE __attribute__((weak))
CONFIG_FAKE char pdf_filename[1024];
CONFIG_FAKE char book_name[512];
CONFIG_FAKE float book_read_perc;
CONFIG_FAKE float text_size_mult;
CONFIG_FAKE float font_orig_scale_x;
CONFIG_FAKE float font_orig_scale_y;
CONFIG_FAKE float line_orig_ygap;
CONFIG_FAKE char mc_font_name[256];

namespace {
std::string g_data_dir;
int g_cleanup_calls;
char g_cleanup_code;
int g_slot_reads;
int g_slot_applies;
}  // namespace

CONFIG_FAKE char GameGetDataDir(char* dst, int len) {
  int n = snprintf(dst, static_cast<size_t>(len), "%s", g_data_dir.c_str());
  return n > 0 && n < len;
}

CONFIG_FAKE char GameGetSettingsDir(char* dst, int len) {
  int n = snprintf(dst, static_cast<size_t>(len), "%s/Settings", g_data_dir.c_str());
  if (n <= 0 || n >= len) return 0;
  mkdir(dst, 0777);
  return 1;
}

CONFIG_FAKE void MainDoCleanupCB(char code) {
  g_cleanup_calls++;
  g_cleanup_code = code;
}

// Reads slot 1 the way the slots screen does, so the defaults can apply it.
CONFIG_FAKE char SlotsReadSlot(int slot) {
  g_slot_reads++;
  char path[1024];
  snprintf(path, sizeof(path), "%s/Settings/Slot%02d.lcs", g_data_dir.c_str(), slot + 1);
  FILE* f = fopen(path, "rb");
  if (!f) return 0;
  size_t n = fread(&temp_config, 1, sizeof(temp_config), f);
  fclose(f);
  return n == sizeof(temp_config) && temp_config.version == 1.7f;
}

CONFIG_FAKE void SlotsUpdateFromLoadedTempConfig() {
  g_slot_applies++;
  config.rotation = temp_config.rotation;
  config.text_size = temp_config.text_size;
  memcpy(config.font_file, temp_config.font_file, sizeof(config.font_file));
  ConfigUpdateProgramVars(0);
}

namespace {

std::string ReadAll(const std::string& path) {
  std::string s;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return s;
  char buf[8192];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), f)) > 0) s.append(buf, n);
  fclose(f);
  return s;
}

void WriteAll(const std::string& path, const void* data, size_t len) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  ASSERT_EQ(len, fwrite(data, 1, len, f));
  fclose(f);
}

std::vector<std::string> ListFolder(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (strcmp(e->d_name, ".") && strcmp(e->d_name, "..")) names.push_back(e->d_name);
    closedir(d);
  }
  return names;
}

void RemoveTree(const std::string& dir) {
  for (const std::string& name : ListFolder(dir)) {
    std::string p = dir + "/" + name;
    struct stat st;
    if (lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
      RemoveTree(p);
    else
      unlink(p.c_str());
  }
  rmdir(dir.c_str());
}

void SetText(char* dst, size_t size, const char* text) { snprintf(dst, size, "%s", text); }

class ConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/lectrel-config-XXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    root_ = tmpl;
    g_data_dir = root_ + "/data";
    resources_ = root_ + "/res";
    mkdir(g_data_dir.c_str(), 0777);
    mkdir((g_data_dir + "/Settings").c_str(), 0777);
    mkdir(resources_.c_str(), 0777);
    // Should the real folder queries be linked in, they stay inside the temporary folder too.
    setenv("HOME", root_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ + "/xdg").c_str(), 1);
    ASSERT_TRUE(getcwd(old_cwd_, sizeof(old_cwd_)));
    ASSERT_EQ(0, chdir(resources_.c_str()));  // the preset slots come from the working folder
    g_cleanup_calls = 0;
    g_cleanup_code = 0;
    g_slot_reads = 0;
    g_slot_applies = 0;
    pdf_filename[0] = 0;
    book_name[0] = 0;
    book_read_perc = 0;
    memset(&config, 0, sizeof(config));
    memset(&temp_config, 0, sizeof(temp_config));
    cfg_ = g_data_dir + "/Settings/Lectrel.cfg";
  }
  void TearDown() override {
    if (chdir(old_cwd_) != 0) ADD_FAILURE() << "could not restore the working folder";
    RemoveTree(root_);
  }
  // A preset slot in the resource folder with a recognisable rotation.
  void WritePreset(int n, int32_t rotation) {
    _Config slot;
    memset(&slot, 0, sizeof(slot));
    slot.version = CONFIG_VERSION;
    slot.rotation = rotation;
    slot.text_size = 2.5f;
    SetText(slot.font_file, sizeof(slot.font_file), "preset.ttf");
    char name[64];
    snprintf(name, sizeof(name), "%s/i386_05_Slot%02d.lcs", resources_.c_str(), n);
    WriteAll(name, &slot, sizeof(slot));
  }
  void OpenBook(const char* name, float position) {
    SetText(book_name, sizeof(book_name), name);
    snprintf(pdf_filename, sizeof(pdf_filename), "/books/%s.pdf", name);
    book_read_perc = position;
  }
  std::string root_, resources_, cfg_;
  char old_cwd_[1024];
};

TEST_F(ConfigTest, MissingFileGivesDefaultsAndPresetSlots) {
  for (int i = 1; i <= 3; i++) WritePreset(i, i);
  // A slot the user saved survives; a broken one is replaced by the preset.
  _Config own;
  memset(&own, 0, sizeof(own));
  own.version = CONFIG_VERSION;
  own.rotation = 3;
  SetText(own.last_folder, sizeof(own.last_folder), "my slot");
  WriteAll(g_data_dir + "/Settings/Slot02.lcs", &own, sizeof(own));
  WriteAll(g_data_dir + "/Settings/Slot03.lcs", "short", 5);

  EXPECT_EQ(1, ConfigLoad());
  EXPECT_EQ(cfg_, std::string(config_filename));
  EXPECT_EQ(0, g_cleanup_calls);

  EXPECT_EQ(1.7f, config.version);
  EXPECT_EQ(1, config.show_resolution_window);
  EXPECT_EQ(0, config.num_books);
  EXPECT_EQ(5.0f, config.side_margin);
  EXPECT_EQ(2.0f, config.top_margin_rotated);
  EXPECT_EQ(0.5f, config.paragraph_spacing);
  EXPECT_EQ(1, config.bar_mode);
  EXPECT_EQ(15.0f, config.bar_height);
  EXPECT_EQ(0.2f, config.scroll_speed);
  EXPECT_EQ(1.2f, config.text_height);
  EXPECT_EQ(36.0f, config.line_spacing);
  EXPECT_EQ(5, config.smoothing);
  EXPECT_EQ(0.7f, config.text_brightness);
  EXPECT_EQ(1.0f, config.background_colour[2]);
  EXPECT_EQ(1.0f, config.battery_transparency);
  EXPECT_EQ(2, config.html_paragraph_spacing);

  // Slot 1 was copied and applied over the defaults.
  EXPECT_EQ(1, g_slot_applies);
  EXPECT_EQ(1, config.rotation);
  EXPECT_EQ(2.5f, text_size_mult);
  EXPECT_STREQ("preset.ttf", mc_font_name);
  _Config slot2;
  std::string s2 = ReadAll(g_data_dir + "/Settings/Slot02.lcs");
  ASSERT_EQ(sizeof(slot2), s2.size());
  memcpy(&slot2, s2.data(), sizeof(slot2));
  EXPECT_STREQ("my slot", slot2.last_folder);
  std::string s3 = ReadAll(g_data_dir + "/Settings/Slot03.lcs");
  ASSERT_EQ(sizeof(_Config), s3.size());
  EXPECT_EQ(3, reinterpret_cast<const _Config*>(s3.data())->rotation);
}

TEST_F(ConfigTest, SaveAndLoadRoundTripByteForByte) {
  ConfigSetDefaults();
  // Every kind of field set to something other than its default, the padding left as it is.
  config.options_page = 2;
  config.rotation = 3;
  config.side_margin_rotated = 12.5f;
  config.margin_lines = 2;
  config.bar_mode = 3;
  config.scrolling = 1;
  config.smoothing = 9;
  config.dark_on_bright = 1;
  config.text_colour[1] = 0.25f;
  config.paper = 7;
  config.page_divisions = 1;
  config.battery_mode = 4;
  config.reduce_power = 1;
  SetText(config.last_folder, sizeof(config.last_folder), "/home/reader/Books");
  config.html_paragraph_spacing = 1;
  config.run_counter = 1;
  text_size_mult = 1.75f;
  font_orig_scale_x = 0.9f;
  font_orig_scale_y = 1.1f;
  line_orig_ygap = 30;
  SetText(mc_font_name, sizeof(mc_font_name), "dejavu/DejaVuSerif.ttf");
  OpenBook("Caf\xe9 Stories", 0.375f);

  ASSERT_EQ(1, ConfigSave(1));
  std::string file = ReadAll(cfg_);
  ASSERT_EQ(53932u, file.size());
  EXPECT_EQ(0, memcmp(file.data(), &config, sizeof(config))) << "the file is the record's image";
  EXPECT_EQ(1.75f, config.text_size);
  EXPECT_STREQ("dejavu/DejaVuSerif.ttf", config.font_file);
  EXPECT_STREQ("/books/Caf\xe9 Stories.pdf", config.last_book);
  EXPECT_EQ(1, config.num_books);
  EXPECT_EQ(0.375f, config.books[0].read_fraction);
  EXPECT_EQ(1, config.books[0].recency) << "a lone entry ends with 1";
  EXPECT_EQ(std::vector<std::string>{"Lectrel.cfg"}, ListFolder(g_data_dir + "/Settings"))
      << "no temporary file left behind";

  _Config saved = config;
  memset(&config, 0x5A, sizeof(config));
  book_read_perc = 0;
  text_size_mult = 0;
  ASSERT_EQ(1, ConfigLoad());
  EXPECT_EQ(0, memcmp(&saved, &config, sizeof(config)));
  EXPECT_EQ(0.375f, book_read_perc);
  EXPECT_EQ(1.75f, text_size_mult);
  EXPECT_EQ(30.0f, line_orig_ygap);
  EXPECT_STREQ("dejavu/DejaVuSerif.ttf", mc_font_name);
  EXPECT_EQ(0, g_cleanup_calls);
}

TEST_F(ConfigTest, WrongSizeOrVersionIsReplacedByDefaults) {
  struct Case {
    const char* what;
    size_t size;
    float version;
  };
  const Case cases[] = {
      {"one byte short", 53931, 1.7f},
      {"one byte long", 53933, 1.7f},
      {"older version", 53932, 1.6f},
      {"the float next to 1.7", 53932, nextafterf(1.7f, 2.0f)},
      {"empty", 0, 1.7f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_cleanup_calls = 0;
    std::vector<char> bytes(c.size > 0 ? c.size : 1, 0);
    _Config rec;
    memset(&rec, 0, sizeof(rec));
    rec.version = c.version;
    rec.num_books = 1;
    rec.rotation = 2;
    memcpy(bytes.data(), &rec, std::min(c.size, sizeof(rec)));
    WriteAll(cfg_, bytes.data(), c.size);
    memset(&config, 0, sizeof(config));

    EXPECT_EQ(1, ConfigLoad());
    EXPECT_EQ(1, g_cleanup_calls);
    EXPECT_EQ(99, g_cleanup_code);
    EXPECT_FALSE(access(cfg_.c_str(), F_OK) == 0) << "the bad file is deleted";
    EXPECT_EQ(1.7f, config.version);
    EXPECT_EQ(0, config.num_books);
    EXPECT_EQ(0, config.rotation);
    EXPECT_EQ(36.0f, config.line_spacing);
  }
}

TEST_F(ConfigTest, HostileValuesAreBroughtIntoRange) {
  _Config rec;
  memset(&rec, 'x', sizeof(rec));  // no text field terminated
  rec.version = CONFIG_VERSION;
  rec.num_books = 5000;
  rec.rotation = -4;
  rec.options_page = 77;
  rec.margin_lines = -1;
  rec.bar_mode = 9;
  rec.smoothing = 1000;
  rec.paper = 16;
  rec.battery_mode = 6;
  rec.html_paragraph_spacing = 3;
  rec.run_counter = 12345;
  WriteAll(cfg_, &rec, sizeof(rec));
  SetText(book_name, sizeof(book_name), "unknown");

  ASSERT_EQ(1, ConfigLoad());
  EXPECT_EQ(0, g_cleanup_calls);
  EXPECT_EQ(100, config.num_books);
  EXPECT_EQ(0, config.rotation);
  EXPECT_EQ(3, config.options_page);
  EXPECT_EQ(0, config.margin_lines);
  EXPECT_EQ(3, config.bar_mode);
  EXPECT_EQ(10, config.smoothing);
  EXPECT_EQ(0, config.paper) << "a paper number of 16 or more means no paper";
  EXPECT_EQ(5, config.battery_mode);
  EXPECT_EQ(2, config.html_paragraph_spacing);
  EXPECT_EQ(1, config.run_counter);
  EXPECT_EQ(511u, strlen(config.books[99].name));
  EXPECT_EQ(255u, strlen(config.font_file));
  EXPECT_EQ(1023u, strlen(config.last_book));
  EXPECT_EQ(511u, strlen(config.last_folder));
  EXPECT_EQ(255u, strlen(mc_font_name));

  // A save over such a list still picks a sound entry.
  OpenBook("New Book", 0.5f);
  EXPECT_EQ(1, ConfigSave(1));
  EXPECT_EQ(100, config.num_books);
}

// Only 1 to 15 name a paper picture; any other stored number means no paper at all.
TEST_F(ConfigTest, PaperNumberOutsideThePicturesMeansNoPaper) {
  const struct {
    int32_t stored, loaded;
  } cases[] = {{0, 0}, {1, 1}, {15, 15}, {16, 0}, {1000, 0}, {INT32_MAX, 0}, {-1, 0}, {INT32_MIN, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    _Config rec;
    memset(&rec, 0, sizeof(rec));
    rec.version = CONFIG_VERSION;
    rec.paper = c.stored;
    WriteAll(cfg_, &rec, sizeof(rec));
    ASSERT_EQ(1, ConfigLoad());
    EXPECT_EQ(c.loaded, config.paper);
  }
}

TEST_F(ConfigTest, BookListKeepsOneEntryPerBookAndReplacesTheLeastRecent) {
  ConfigSetDefaults();
  char name[32];
  for (int i = 0; i < 100; i++) {
    snprintf(name, sizeof(name), "Book %03d", i);
    OpenBook(name, i / 100.0f);
    ASSERT_EQ(1, ConfigSave(1));
  }
  ASSERT_EQ(100, config.num_books);
  EXPECT_EQ(0, config.books[0].recency);
  EXPECT_EQ(99, config.books[99].recency);

  // Book 000 again: still one entry, now the most recent; book 001 becomes the least recent.
  OpenBook("Book 000", 0.9f);
  ASSERT_EQ(1, ConfigSave(1));
  EXPECT_EQ(100, config.num_books);
  EXPECT_EQ(0.9f, config.books[0].read_fraction);
  for (int i = 1; i < 100; i++) EXPECT_LT(config.books[i].recency, config.books[0].recency);
  EXPECT_EQ(0, config.books[1].recency);

  // A 101st book takes the entry of book 001 and starts at the top, saved without a position.
  OpenBook("Book 100", 0.66f);
  ASSERT_EQ(1, ConfigSave(0));
  EXPECT_EQ(100, config.num_books);
  EXPECT_STREQ("Book 100", config.books[1].name);
  EXPECT_EQ(0.0f, config.books[1].read_fraction);
  for (int i = 2; i < 100; i++) {
    snprintf(name, sizeof(name), "Book %03d", i);
    EXPECT_STREQ(name, config.books[i].name);
    EXPECT_EQ(i / 100.0f, config.books[i].read_fraction);
  }
  EXPECT_EQ(0.9f, config.books[0].read_fraction);

  // Positions come back per book by exact name.
  book_read_perc = 0;
  OpenBook("Book 042", 0);
  ConfigUpdateProgramVars(1);
  EXPECT_EQ(0.42f, book_read_perc);
}

TEST_F(ConfigTest, SaveWithoutBookKeepsLastBookAndFailedSaveKeepsOldFile) {
  ConfigSetDefaults();
  OpenBook("Harbour", 0.25f);
  ASSERT_EQ(1, ConfigSave(1));
  std::string before = ReadAll(cfg_);

  pdf_filename[0] = 0;
  book_name[0] = 0;
  ASSERT_EQ(1, ConfigSave(1));
  EXPECT_STREQ("/books/Harbour.pdf", config.last_book);
  EXPECT_EQ(1, config.num_books);

  // A settings file that cannot be replaced: the save reports failure and leaves no debris.
  unlink(cfg_.c_str());
  mkdir(cfg_.c_str(), 0777);
  EXPECT_EQ(0, ConfigSave(1));
  EXPECT_EQ(std::vector<std::string>{"Lectrel.cfg"}, ListFolder(g_data_dir + "/Settings"));
  rmdir(cfg_.c_str());
  EXPECT_FALSE(before.empty());
}

}  // namespace

// A settings file that cannot be replaced (a folder holds its name, which stops root as well as
// anyone): the first failed save of the run leaves one notice with its reason and later ones only
// a log line, and the settings in use stay in use for the run, not the older file's.
TEST_F(ConfigTest, AFailedSaveIsToldOnceAndTheChangeStaysForTheRun) {
  const std::string log_file = root_ + "/log.txt";
  DebugSetLogFilename(log_file.c_str(), 1);
  ASSERT_EQ(1, ConfigLoad());
  OpenBook("Harbour", 0.25f);
  ASSERT_EQ(1, ConfigSave(1));
  EXPECT_EQ(nullptr, ConfigTakeSaveNotice()) << "a save that works tells nothing";
  ASSERT_EQ(0, unlink(cfg_.c_str()));
  ASSERT_EQ(0, mkdir(cfg_.c_str(), 0777));
  ASSERT_EQ(0, mkdir((cfg_ + "/keep").c_str(), 0777));

  text_size_mult = 3.0f;
  config.rotation = 2;
  book_read_perc = 0.5f;
  EXPECT_EQ(0, ConfigSave(1));
  const char* notice = ConfigTakeSaveNotice();
  ASSERT_NE(nullptr, notice);
  EXPECT_STREQ("Is a directory", notice);
  EXPECT_EQ(nullptr, ConfigTakeSaveNotice()) << "told once";

  // The reopened book (the layout keys save, then load) gets the change just made.
  text_size_mult = 1;
  book_read_perc = 0;
  ASSERT_EQ(1, ConfigLoad());
  EXPECT_EQ(3.0f, text_size_mult);
  EXPECT_EQ(2, config.rotation);
  EXPECT_EQ(0.5f, book_read_perc);

  text_size_mult = 4.0f;
  EXPECT_EQ(0, ConfigSave(0));
  EXPECT_EQ(nullptr, ConfigTakeSaveNotice()) << "a later failure is only logged";
  ASSERT_EQ(1, ConfigLoad());
  EXPECT_EQ(4.0f, text_size_mult);
  const std::string log = ReadAll(log_file);
  size_t lines = 0;
  for (size_t at = log.find("Could not save settings"); at != std::string::npos;
       at = log.find("Could not save settings", at + 1))
    lines++;
  EXPECT_EQ(2u, lines) << log;

  // Once a save works again the file is what a load reads.
  RemoveTree(cfg_);
  ASSERT_EQ(1, ConfigSave(0));
  _Config rec = config;
  rec.text_size = 2.0f;
  WriteAll(cfg_, &rec, sizeof(rec));
  ASSERT_EQ(1, ConfigLoad());
  EXPECT_EQ(2.0f, text_size_mult);
}

// A settings file of the right size whose read fails (a failing disk) says nothing about what it
// holds: the run goes on with the defaults, no save of the run replaces the file (with every
// reading position in it), and the user is told once. Unlike a file of another size, it is not
// deleted and the cached books stay.
TEST_F(ConfigTest, ASettingsFileThatCouldNotBeReadIsNeverOverwritten) {
  ASSERT_EQ(1, ConfigLoad());
  OpenBook("Harbour", 0.25f);
  text_size_mult = 3.0f;
  ASSERT_EQ(1, ConfigSave(1));
  const std::string before = ReadAll(cfg_);
  ASSERT_EQ(sizeof(_Config), before.size());

  book_read_perc = 0;
  ComFileInjectReadFault(1);
  EXPECT_EQ(1, ConfigLoad());
  EXPECT_TRUE(ComFileFaultFired());
  ComFileInjectReadFault(0);
  EXPECT_EQ(0, config.num_books) << "the defaults are used";
  EXPECT_EQ(1.5f, text_size_mult);
  EXPECT_EQ(0, g_cleanup_calls);
  int kind = -1;
  const char* notice = ConfigTakeSaveNotice(&kind);
  ASSERT_NE(nullptr, notice);
  EXPECT_EQ(CONFIG_NOTICE_READ, kind);
  EXPECT_STREQ("Input/output error", notice);
  EXPECT_EQ(nullptr, ConfigTakeSaveNotice()) << "told once";

  // Closing the book, reopening it, changing the layout and quitting all leave the file alone.
  book_read_perc = 0.5f;
  EXPECT_EQ(0, ConfigSave(1));
  ASSERT_EQ(1, ConfigLoad());
  EXPECT_EQ(0.5f, book_read_perc) << "the run keeps the settings in use";
  text_size_mult = 2.0f;
  EXPECT_EQ(0, ConfigSave(0));
  EXPECT_EQ(0, ConfigSave(1));
  EXPECT_TRUE(ReadAll(cfg_) == before) << "the file is kept byte for byte";
  EXPECT_EQ(nullptr, ConfigTakeSaveNotice()) << "the kept file is not told again";
}

// Each failed save logs its own reason, not the reason of an earlier failure of the run.
TEST_F(ConfigTest, EachFailedSaveLogsItsOwnReason) {
  const std::string log_file = root_ + "/log.txt";
  DebugSetLogFilename(log_file.c_str(), 1);
  ASSERT_EQ(1, ConfigLoad());
  OpenBook("Harbour", 0.25f);
  ASSERT_EQ(1, ConfigSave(1));
  struct Case {
    bool folder;  // a folder holds the file's name; else the disk fails at the first write
    const char* reason;
    const char* other;
  } cases[] = {
      {true, "Is a directory", "Input/output error"},
      {false, "Input/output error", "Is a directory"},
      {true, "Is a directory", "Input/output error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    const size_t start = ReadAll(log_file).size();
    if (c.folder) {
      unlink(cfg_.c_str());  // gone already after a failed save
      ASSERT_EQ(0, mkdir(cfg_.c_str(), 0777));
    } else {
      ComFileInjectFault(1);
    }
    EXPECT_EQ(0, ConfigSave(1));
    ComFileInjectFault(0);
    if (c.folder) RemoveTree(cfg_);
    const std::string log = ReadAll(log_file).substr(start);
    EXPECT_NE(std::string::npos, log.find("Could not save settings")) << log;
    EXPECT_NE(std::string::npos, log.find(c.reason)) << log;
    EXPECT_EQ(std::string::npos, log.find(c.other)) << log;
  }
}
