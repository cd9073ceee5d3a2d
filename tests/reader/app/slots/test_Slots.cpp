// The settings slots screen driven headless with the menu kit: real slot files in a temporary
// HOME, real popups, keys and clicks.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Common/mui/support_MuiKit.h"
#include "ComFile.h"
#include "ComScreen.h"
#include "Config.h"
#include "Game.h"
#include "GameFolders.h"
#include "LecFont.h"
#include "MainLoad.h"
#include "MuiEntry.h"
#include "MuiPopup.h"
#include "PrefFolder.h"
#include "Screens.h"
#include "Slots.h"

namespace {

int g_options_created = 0;
int g_options_screen = -1;

// Stands for the options screen the slots are entered from.
void OptionsCreate() {
  MuiRemoveAllBoxes();
  g_options_created++;
}

std::string g_settings;

std::string SlotPath(int n) {
  char name[32];
  snprintf(name, sizeof(name), "/Slot%02d.lcs", n);
  return g_settings + name;
}

// A record as a slot file holds it: display settings, a name in the last-folder field.
_Config MakeRecord(const std::string& name, float text_size = 2.0f) {
  _Config c;
  memset(&c, 0, sizeof(c));
  c.version = CONFIG_VERSION;
  c.text_size = text_size;
  c.text_width = c.text_height = 1.0f;
  c.line_spacing = 30.0f;
  c.side_margin = 7.0f;
  snprintf(c.font_file, sizeof(c.font_file), "slot.ttf");
  memcpy(c.last_folder, name.data(), std::min(name.size(), sizeof(c.last_folder) - 1));
  return c;
}

// Writes `size` bytes of the record (zeros past its end).
void WriteSlot(int n, const _Config& c, size_t size = sizeof(_Config)) {
  std::string data(size, '\0');
  memcpy(&data[0], &c, std::min(size, sizeof(_Config)));
  std::ofstream(SlotPath(n), std::ios::binary | std::ios::trunc).write(data.data(), (std::streamsize)size);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

class SlotsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char tmpl[] = "/tmp/lectrel-slots-XXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    setenv("HOME", tmpl, 1);
    unsetenv("XDG_CONFIG_HOME");
    ASSERT_TRUE(PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt"));
    char dir[1024];
    ASSERT_TRUE(GameGetSettingsDir(dir, sizeof(dir)));
    g_settings = dir;
    mkdir(dir, 0755);
  }
  void SetUp() override {
    MuiKitStart();
    for (int n = 1; n <= 10; n++) unlink(SlotPath(n).c_str());
    memset(&config, 0, sizeof(config));
    config.version = CONFIG_VERSION;
    config.text_size = 1.5f;
    config.text_width = config.text_height = 1.0f;
    config.line_spacing = 20.0f;
    snprintf(config.font_file, sizeof(config.font_file), "current.ttf");
    snprintf(mc_font_name, sizeof(mc_font_name), "current.ttf");
    pdf_filename[0] = 0;
    book_name[0] = 0;
    ComScreenRemoveAll();
    g_options_screen = ComScreenAdd();
    ComScreenAddCreateCallback(g_options_screen, OptionsCreate);
    screen_slots = ComScreenAdd();
    ComScreenAddCreateCallback(screen_slots, CreateSlotsMuiBoxes);
    ComScreenAddStartingCallback(screen_slots, SlotsControlStartingCB);
    g_options_created = 0;
  }
  void TearDown() override {
    if (MuiPopupIsOn()) MuiPopupClose(0);
    ComScreenTurnOff(0);
    ComScreenRemoveAll();
    MuiKitStop();
  }
  // The options screen shows, then its Save or Load button leads to the slots.
  void Enter(char saving) {
    slots_is_saving = saving;
    ComScreenSetCurrent(g_options_screen);
    ComScreenTurnOn(0);
    ScreensGoto(screen_slots);
    ASSERT_EQ(ScreensGetCurrent(), screen_slots);
    g_options_created = 0;
    MuiKitAdvance(1000);  // past the Escape guard of a screen change
  }
  void Click(int id) {
    ASSERT_TRUE(MuiGetActiveState(id)) << "box " << id << " is inactive";
    int x = 0, y = 0;
    MuiGetBoxCenter(id, &x, &y);
    MuiKitClick(x, y);
  }
  // Answers the Yes/No popup shown with the given title (its answer may open the next popup).
  void Answer(const char* title, bool yes) {
    ASSERT_TRUE(MuiPopupIsOn());
    ASSERT_STREQ(MuiGetText(muiMuiPopupTitle), title);
    const int b = yes ? muiMuiPopupButton1 : muiMuiPopupButton3;
    ASSERT_STREQ(MuiGetText(b), yes ? "YES" : "NO");
    Click(b);
  }
  void Type(const std::string& text) {
    ASSERT_TRUE(MuiPopupIsOn());
    ASSERT_STREQ(MuiGetText(muiMuiPopupTitle), "Save Current Settings");
    for (char c : text) MuiKeyDownChar(c);
    MuiKeyDown(13);
  }
  static std::string Label(int n) { return MuiGetText(muiSlotsSlot1 + n - 1); }
  static bool ActionActive(int n) { return MuiGetActiveState(muiSlotsSaveLoad1 + n - 1); }
  static bool DelActive(int n) { return MuiGetActiveState(muiSlotsDel1 + n - 1); }
};

TEST_F(SlotsTest, SlotFilesGiveLabelsAndActiveButtonsInBothModes) {
  const std::string name63(63, 'n'), name500(500, 'x');
  _Config old_version = MakeRecord("old");
  old_version.version = 1.6f;
  WriteSlot(2, MakeRecord("short"), sizeof(_Config) - 1);
  WriteSlot(3, MakeRecord("long file"), sizeof(_Config) + 1);
  WriteSlot(4, old_version);
  WriteSlot(5, MakeRecord(name63));
  WriteSlot(6, MakeRecord(name500));
  WriteSlot(7, MakeRecord(""));
  struct Case {
    int slot;
    std::string label;
    bool valid;
  } cases[] = {
      {1, "[ Empty Slot ]", false},          // missing
      {2, "[ Empty Slot ]", false},          // 53931 bytes
      {3, "Slot 3 - long file", true},       // 53933 bytes: the extra byte is ignored
      {4, "[ Empty Slot ]", false},          // another version
      {5, "Slot 5 - " + name63, true},       // the whole name
      {6, "Slot 6 - " + std::string(63, 'x'), true},  // a hostile name field shows 63 characters
      {7, "Slot 7", true},                   // no name
  };
  for (char saving : {1, 0}) {
    Enter(saving);
    EXPECT_STREQ(MuiGetText(muiSlotsTitle), saving ? "Save Current Settings" : "Load Settings");
    for (const Case& c : cases) {
      SCOPED_TRACE("slot " + std::to_string(c.slot) + (saving ? " saving" : " loading"));
      EXPECT_EQ(Label(c.slot), c.label);
      EXPECT_STREQ(MuiGetText(muiSlotsSaveLoad1 + c.slot - 1), saving ? "Save" : "Load");
      EXPECT_EQ(ActionActive(c.slot), c.valid || saving);
      EXPECT_EQ(DelActive(c.slot), c.valid);
    }
    ComScreenTurnOff(0);
  }
}

TEST_F(SlotsTest, AnInvalidSlotNeverOverwritesTempConfig) {
  WriteSlot(1, MakeRecord("good"));
  _Config bad = MakeRecord("bad");
  bad.version = 1.6f;
  WriteSlot(2, bad);
  WriteSlot(3, MakeRecord("short"), sizeof(_Config) - 1);
  Enter(1);
  // After the rows are read, temp_config holds the last valid slot, not a later invalid one.
  EXPECT_STREQ(temp_config.last_folder, "good");
  _Config before = temp_config;
  EXPECT_EQ(SlotsReadSlot(1), 0);
  EXPECT_EQ(SlotsReadSlot(2), 0);
  EXPECT_EQ(memcmp(&before, &temp_config, sizeof(_Config)), 0);
}

TEST_F(SlotsTest, SaveUnderATypedNameWritesTheRecordAndGoesBack) {
  config.num_books = 1;
  snprintf(config.books[0].name, sizeof(config.books[0].name), "A Book");
  snprintf(config.last_folder, sizeof(config.last_folder), "/home/someone/private");
  config.side_margin = 12.5f;
  Enter(1);
  Click(muiSlotsSaveLoad3);
  Type("Evening");
  EXPECT_EQ(g_options_created, 1) << "a save goes back to the options screen";
  std::string data = ReadAll(SlotPath(3));
  ASSERT_EQ(data.size(), 53932u);
  _Config saved;
  memcpy(&saved, data.data(), sizeof(saved));
  EXPECT_EQ(saved.version, CONFIG_VERSION);
  EXPECT_EQ(saved.side_margin, 12.5f);
  EXPECT_STREQ(saved.books[0].name, "A Book");
  EXPECT_STREQ(saved.last_folder, "Evening");
  for (size_t i = strlen("Evening"); i < sizeof(saved.last_folder); i++)
    ASSERT_EQ(saved.last_folder[i], 0) << "nothing of the last folder is left behind the name";
  Enter(0);
  EXPECT_EQ(Label(3), "Slot 3 - Evening");
  EXPECT_TRUE(ActionActive(3));
  EXPECT_TRUE(DelActive(3));
}

TEST_F(SlotsTest, NamesAreEmptyOrAtMost63Characters) {
  Enter(1);
  Click(muiSlotsSaveLoad3);
  Type("");
  Enter(1);
  EXPECT_EQ(Label(3), "Slot 3");
  Click(muiSlotsSaveLoad10);
  Type(std::string(70, 'z'));
  Enter(1);
  EXPECT_EQ(Label(10), "Slot 10 - " + std::string(63, 'z'));
}

TEST_F(SlotsTest, OnlyOkSaves) {
  // Cancel, a time-out and a close by the program all leave the slot alone.
  for (int code : {3, 0, 255}) {
    SCOPED_TRACE(code);
    Enter(1);
    Click(muiSlotsSaveLoad3);
    MuiKeyDownChar('q');
    MuiPopupFinished(code);
    EXPECT_FALSE(Exists(SlotPath(3)));
    EXPECT_EQ(g_options_created, 0);
    ComScreenTurnOff(0);
  }
}

TEST_F(SlotsTest, OverwriteAsksFirstAndKeepsItsSlot) {
  WriteSlot(3, MakeRecord("Old", 9.0f));
  WriteSlot(7, MakeRecord("Other", 9.0f));
  const std::string seven = ReadAll(SlotPath(7));
  Enter(1);
  Click(muiSlotsSaveLoad3);
  Answer("SAVE SETTINGS", false);
  EXPECT_FALSE(MuiPopupIsOn()) << "No ends without asking for a name";
  _Config kept;
  memcpy(&kept, ReadAll(SlotPath(3)).data(), sizeof(kept));
  EXPECT_EQ(kept.text_size, 9.0f);

  Click(muiSlotsSaveLoad3);
  // Another slot looked at while the question shows does not redirect the save.
  SlotsReadSlot(6);
  Answer("SAVE SETTINGS", true);
  EXPECT_STREQ(MuiTextEntryGetText(muiMuiPopupGetText), "Old") << "the old name is offered";
  MuiKeyDown(13);
  _Config saved;
  memcpy(&saved, ReadAll(SlotPath(3)).data(), sizeof(saved));
  EXPECT_EQ(saved.text_size, 1.5f);
  EXPECT_STREQ(saved.last_folder, "Old");
  EXPECT_EQ(ReadAll(SlotPath(7)), seven);
}

// A slot save that fails keeps the slot file as it was, stays on the screen and tells the user
// why in the menus' notice of a failed save: each failure with its own reason, also after an
// earlier failure of the run.
TEST_F(SlotsTest, AFailedSaveKeepsTheOldSlotAndIsTold) {
  struct Case {
    const char* what;
    int slot;
    const char* reason;
  } cases[] = {
      {"failing disk", 3, "Input/output error"},
      {"file size limit", 3, "File too large"},
      {"folder in the slot's place", 4, "Is a directory"},
      {"failing disk again", 3, "Input/output error"},
  };
  WriteSlot(3, MakeRecord("Old", 9.0f));
  ASSERT_EQ(0, mkdir(SlotPath(4).c_str(), 0755));
  const std::string old_bytes = ReadAll(SlotPath(3));
  config.text_size = 2.5f;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Enter(1);
    Click(muiSlotsSaveLoad1 + c.slot - 1);
    if (c.slot == 3) Answer("SAVE SETTINGS", true);
    rlimit old_limit{};
    const bool limit = !strcmp(c.what, "file size limit");
    if (limit) {
      signal(SIGXFSZ, SIG_IGN);
      getrlimit(RLIMIT_FSIZE, &old_limit);
      rlimit small = old_limit;
      small.rlim_cur = 20000;
      ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
    } else if (c.slot == 3) {
      ComFileInjectFault(1);
    }
    Type("New");
    if (limit) setrlimit(RLIMIT_FSIZE, &old_limit);
    ComFileInjectFault(0);
    EXPECT_EQ(ReadAll(SlotPath(3)), old_bytes) << "the old slot is kept byte for byte";
    EXPECT_EQ(ScreensGetCurrent(), screen_slots) << "a failed save stays on the screen";
    EXPECT_EQ(g_options_created, 0);
    EXPECT_EQ(Label(3), "Slot 3 - Old");
    GameTickMuiOnCB();
    ASSERT_TRUE(MuiPopupIsOn()) << "the failure is told";
    EXPECT_STREQ(MuiGetText(muiMuiPopupTitle), "Settings Not Saved");
    EXPECT_EQ(std::string(MuiGetText(muiMuiPopupText)),
              "Could not save the settings in slot " + std::to_string(c.slot) + " (" + c.reason +
                  "). The slot is unchanged.");
    MuiPopupClose(0);
    GameTickMuiOnCB();
    EXPECT_FALSE(MuiPopupIsOn()) << "told once";
    ComScreenTurnOff(0);
  }
  rmdir(SlotPath(4).c_str());
}

TEST_F(SlotsTest, LoadAppliesDisplaySettingsAndKeepsBooksAndScrolling) {
  config.num_books = 2;
  snprintf(config.books[1].name, sizeof(config.books[1].name), "Second");
  config.books[1].read_fraction = 0.25f;
  snprintf(config.last_book, sizeof(config.last_book), "/books/current.pdf");
  config.scrolling = 1;
  config.scroll_speed = 0.7f;
  _Config slot = MakeRecord("Night", 2.5f);
  slot.num_books = 0;
  slot.rotation = 9;  // out of range in the file
  slot.dark_on_bright = 1;
  slot.text_colour[0] = 0.5f;
  snprintf(slot.last_book, sizeof(slot.last_book), "/other.pdf");
  WriteSlot(4, slot);

  Enter(0);
  Click(muiSlotsSaveLoad4);
  Answer("LOAD SETTINGS", false);
  EXPECT_EQ(config.text_size, 1.5f) << "No changes nothing";

  Click(muiSlotsSaveLoad4);
  Answer("LOAD SETTINGS", true);
  EXPECT_EQ(g_options_created, 1);
  EXPECT_EQ(config.text_size, 2.5f);
  EXPECT_EQ(config.side_margin, 7.0f);
  EXPECT_EQ(config.dark_on_bright, 1);
  EXPECT_EQ(config.text_colour[0], 0.5f);
  EXPECT_EQ(config.rotation, 3) << "slot values are clamped";
  EXPECT_STREQ(config.font_file, "slot.ttf");
  EXPECT_STREQ(mc_font_name, "slot.ttf");
  EXPECT_EQ(config.num_books, 2);
  EXPECT_STREQ(config.books[1].name, "Second");
  EXPECT_EQ(config.books[1].read_fraction, 0.25f);
  EXPECT_STREQ(config.last_book, "/books/current.pdf");
  EXPECT_EQ(config.scrolling, 1);
  EXPECT_EQ(config.scroll_speed, 0.7f);
  EXPECT_EQ(config.last_folder[0], 0) << "the slot's name is not a folder";
  // The settings file was written with them.
  _Config file;
  memcpy(&file, ReadAll(g_settings + "/Lectrel.cfg").data(), sizeof(file));
  EXPECT_EQ(file.text_size, 2.5f);
  EXPECT_EQ(file.num_books, 2);
}

TEST_F(SlotsTest, LoadRefusesASlotThatTurnedInvalid) {
  WriteSlot(4, MakeRecord("Night", 2.5f));
  Enter(0);
  // A slot that is invalid when pressed.
  SlotsSaveLoadCB(0);
  ASSERT_TRUE(MuiPopupIsOn());
  EXPECT_STREQ(MuiGetText(muiMuiPopupTitle), "Load Settings");
  EXPECT_STREQ(MuiGetText(muiMuiPopupText), "Error trying to load settings");
  MuiPopupClose(0);
  // A slot spoilt while the question shows is read again at Yes.
  Click(muiSlotsSaveLoad4);
  WriteSlot(4, MakeRecord("Night", 2.5f), sizeof(_Config) - 1);
  Answer("LOAD SETTINGS", true);
  EXPECT_TRUE(MuiPopupIsOn());
  EXPECT_STREQ(MuiGetText(muiMuiPopupText), "Error trying to load settings");
  EXPECT_EQ(config.text_size, 1.5f);
  EXPECT_EQ(g_options_created, 0);
}

TEST_F(SlotsTest, DeleteAsksAndRemovesOnlyItsSlot) {
  WriteSlot(5, MakeRecord("Five"));
  WriteSlot(8, MakeRecord("Eight"));
  Enter(1);
  Click(muiSlotsDel5);
  Answer("CONFIRM DELETE", false);
  EXPECT_TRUE(Exists(SlotPath(5)));
  EXPECT_EQ(Label(5), "Slot 5 - Five");

  Click(muiSlotsDel5);
  SlotsReadSlot(7);  // rewrites the shared path while the question shows
  Answer("CONFIRM DELETE", true);
  EXPECT_FALSE(Exists(SlotPath(5)));
  EXPECT_TRUE(Exists(SlotPath(8)));
  EXPECT_EQ(Label(5), "[ Empty Slot ]");
  EXPECT_FALSE(DelActive(5));
  EXPECT_EQ(g_options_created, 0) << "a delete stays on the screen";
}

TEST_F(SlotsTest, DoneAndEscapeGoBackWithoutChange) {
  WriteSlot(2, MakeRecord("Two"));
  const std::string two = ReadAll(SlotPath(2));
  Enter(1);
  EXPECT_EQ(mouse_box[muiSlotsBack].escape, 1);
  MuiKeyDown(27);
  EXPECT_EQ(g_options_created, 1);
  EXPECT_EQ(ScreensGetCurrent(), g_options_screen);
  Enter(0);
  Click(muiSlotsBack);
  EXPECT_EQ(g_options_created, 1);
  EXPECT_EQ(ReadAll(SlotPath(2)), two);
  EXPECT_EQ(config.text_size, 1.5f);
}

}  // namespace
