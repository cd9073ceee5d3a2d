// Settings slots: the display settings kept in "Slot01.lcs" to "Slot10.lcs" of the settings
// folder, and the screen that saves, loads and deletes them.
#include "Slots.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComFreeType.h"
#include "ComMacWin.h"
#include "ComScreen.h"
#include "Config.h"
#include "Game.h"
#include "GameFolders.h"
#include "LecFont.h"
#include "MainControl.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiPopup.h"
#include "Paper.h"
#include "Screens.h"

char slots_is_saving = 1;
char slots_name_str[SLOTS_NAME_MAX + 1];
char mc_buffer[1100];

int muiSlotsMainTitle = -1, muiSlotsTitle = -1;
int muiSlotsSlot1 = -1, muiSlotsSlot2 = -1, muiSlotsSlot3 = -1, muiSlotsSlot4 = -1, muiSlotsSlot5 = -1;
int muiSlotsSlot6 = -1, muiSlotsSlot7 = -1, muiSlotsSlot8 = -1, muiSlotsSlot9 = -1, muiSlotsSlot10 = -1;
int muiSlotsSaveLoad1 = -1, muiSlotsSaveLoad2 = -1, muiSlotsSaveLoad3 = -1, muiSlotsSaveLoad4 = -1;
int muiSlotsSaveLoad5 = -1, muiSlotsSaveLoad6 = -1, muiSlotsSaveLoad7 = -1, muiSlotsSaveLoad8 = -1;
int muiSlotsSaveLoad9 = -1, muiSlotsSaveLoad10 = -1;
int muiSlotsDel1 = -1, muiSlotsDel2 = -1, muiSlotsDel3 = -1, muiSlotsDel4 = -1, muiSlotsDel5 = -1;
int muiSlotsDel6 = -1, muiSlotsDel7 = -1, muiSlotsDel8 = -1, muiSlotsDel9 = -1, muiSlotsDel10 = -1;
int muiSlotsBack = -1;

namespace {

// The slot a confirmation popup is about, -1 when none. Its path is rebuilt when the popup
// answers: the rows refresh and other queries rewrite mc_buffer in between.
int slots_pending = -1;

// A slot file is read here first and reaches temp_config only once it proved valid, so an
// invalid or short file never replaces the last good slot read.
_Config slots_scratch;

int* const kSlotIds[SLOTS_NUM] = {&muiSlotsSlot1, &muiSlotsSlot2, &muiSlotsSlot3, &muiSlotsSlot4,
                                  &muiSlotsSlot5, &muiSlotsSlot6, &muiSlotsSlot7, &muiSlotsSlot8,
                                  &muiSlotsSlot9, &muiSlotsSlot10};
int* const kSaveLoadIds[SLOTS_NUM] = {&muiSlotsSaveLoad1, &muiSlotsSaveLoad2, &muiSlotsSaveLoad3,
                                      &muiSlotsSaveLoad4, &muiSlotsSaveLoad5, &muiSlotsSaveLoad6,
                                      &muiSlotsSaveLoad7, &muiSlotsSaveLoad8, &muiSlotsSaveLoad9,
                                      &muiSlotsSaveLoad10};
int* const kDelIds[SLOTS_NUM] = {&muiSlotsDel1, &muiSlotsDel2, &muiSlotsDel3, &muiSlotsDel4,
                                 &muiSlotsDel5, &muiSlotsDel6, &muiSlotsDel7, &muiSlotsDel8,
                                 &muiSlotsDel9, &muiSlotsDel10};
void (*const kSaveLoadCBs[SLOTS_NUM])(char) = {
    SlotsSaveLoad1CB, SlotsSaveLoad2CB, SlotsSaveLoad3CB, SlotsSaveLoad4CB, SlotsSaveLoad5CB,
    SlotsSaveLoad6CB, SlotsSaveLoad7CB, SlotsSaveLoad8CB, SlotsSaveLoad9CB, SlotsSaveLoad10CB};
void (*const kDelCBs[SLOTS_NUM])(char) = {SlotsDel1CB, SlotsDel2CB, SlotsDel3CB, SlotsDel4CB,
                                          SlotsDel5CB, SlotsDel6CB, SlotsDel7CB, SlotsDel8CB,
                                          SlotsDel9CB, SlotsDel10CB};

// The texts on the light button faces: white would not read on them.
const float kInk = 0.08f;

// One push button of the screen.
int AddBox(int x1, int y1, int x2, int y2, void (*callback)(char), const char* bitmap, int draw_type,
           int text_h, int text_w, float r0, float g0, float b0, float r1, float g1, float b1,
           const char* text) {
  const int id = ScreensAddBox(x1, y1, x2, y2, callback, bitmap, text_h, text_w, text);
  if (id < 0) return id;
  MuiSetType(id, MUI_TYPE_BUTTON);
  MuiSetButtonDrawType(id, (_MuiTextDrawType)draw_type);
  MuiSetTextColourFloat(id, r0, g0, b0, r1, g1, b1);
  return id;
}

// A successful save or load, and "Done", go back to the screen the slots were entered from. A
// slots screen started on its own has none: it then goes back to reading rather than stay put.
void BackToPreviousScreen() {
  if (ComScreenGetPrev() >= 0)
    ScreensGoBack();
  else
    MainReturnCB(0);
}

}  // namespace

// ---- Slot files ----

char SlotsDoesSlotExist(int slot) {
  mc_buffer[0] = 0;
  if (slot < 0 || slot >= SLOTS_NUM) return 0;
  char dir[1024];
  if (!GameGetSettingsDir(dir, sizeof(dir))) return 0;
  int n = snprintf(mc_buffer, sizeof(mc_buffer), "%s%sSlot%02d.lcs", dir, "/", slot + 1);
  if (n < 0 || (size_t)n >= sizeof(mc_buffer)) {
    DebugError("SlotsDoesSlotExist", "Path too long <%s>", dir);
    mc_buffer[0] = 0;
    return 0;
  }
  return ComFileExists(mc_buffer);
}

char SlotsReadSlot(int slot) {
  if (!SlotsDoesSlotExist(slot)) return 0;
  void* f = ComFileOpenForReading(mc_buffer);
  if (!f) return 0;
  // A longer file is accepted; its extra bytes are ignored.
  int32_t size = ComFileGetSize(f);
  char ok = size >= (int32_t)sizeof(_Config) && ComFileRead(f, &slots_scratch, sizeof(_Config));
  ComFileClose(f);
  if (!ok || slots_scratch.version != CONFIG_VERSION) return 0;
  ConfigClampRecord(&slots_scratch);
  memcpy(&temp_config, &slots_scratch, sizeof(_Config));
  return 1;
}

void SlotsUpdateFromLoadedTempConfig() {
  const _Config& t = temp_config;
  config.rotation = t.rotation;
  config.side_margin = t.side_margin;
  config.side_margin_rotated = t.side_margin_rotated;
  config.top_margin = t.top_margin;
  config.top_margin_rotated = t.top_margin_rotated;
  config.margin_lines = t.margin_lines;
  config.paragraph_spacing = t.paragraph_spacing;
  config.bar_mode = t.bar_mode;
  config.bar_height = t.bar_height;
  config.reserved = t.reserved;
  config.text_size = t.text_size;
  config.text_width = t.text_width;
  config.text_height = t.text_height;
  config.line_spacing = t.line_spacing;
  config.smoothing = t.smoothing;
  config.dark_on_bright = t.dark_on_bright;
  config.background_brightness = t.background_brightness;
  config.text_brightness = t.text_brightness;
  memcpy(config.text_colour, t.text_colour, sizeof(config.text_colour));
  memcpy(config.background_colour, t.background_colour, sizeof(config.background_colour));
  config.paper = t.paper;
  config.paper_size = t.paper_size;
  config.paper_contrast = t.paper_contrast;
  config.page_divisions = t.page_divisions;
  config.battery_mode = t.battery_mode;
  config.battery_transparency = t.battery_transparency;
  config.reduce_power = t.reduce_power;
  memcpy(config.font_file, t.font_file, sizeof(config.font_file));
  config.font_file[sizeof(config.font_file) - 1] = 0;
  snprintf(mc_font_name, sizeof(mc_font_name), "%s", config.font_file);
  ConfigUpdateProgramVars(0);
}

// ---- The screen ----

void DoCreateSlotsMuiBoxes() {
  muiSlotsMainTitle = AddBox(161, 11, 480, 27, nullptr, "bmp_none", 0, 20, 14, 1, 1, 1, 0.356863f,
                             0.988235f, 1, "Quorvane Lectrel");
  muiSlotsTitle = AddBox(147, 52, 494, 71, nullptr, "bmp_none", 0, 12, 10, 0.8f, 0.8f, 0.8f, 0.356863f,
                         0.988235f, 1, "Save Current Settings");
  for (int n = 0; n < SLOTS_NUM; n++)
    *kSlotIds[n] = AddBox(103, 109 + 29 * n, 396, 136 + 29 * n, nullptr, "bmp_wbox", 6, 10, 7, kInk, kInk, kInk,
                          0, 0, 0, "Unset");
  for (int n = 0; n < SLOTS_NUM; n++)
    *kSaveLoadIds[n] = AddBox(407, 109 + 29 * n, 467, 136 + 29 * n, kSaveLoadCBs[n], "bmp_main", 0, 10,
                              7, kInk, kInk, kInk, 0, 0, 0, "Save");
  for (int n = 0; n < SLOTS_NUM; n++)
    *kDelIds[n] = AddBox(478, 109 + 29 * n, 538, 136 + 29 * n, kDelCBs[n], "bmp_main", 0, 9, 7, 1, 0, 0,
                         0, 0, 0, "Delete");
  muiSlotsBack = AddBox(281, 416, 359, 472, SlotsBackCB, "bmp_main", 0, 12, 10, kInk, kInk, kInk, 0, 0, 0, "Done");

  MuiSetArrowsState(muiSlotsMainTitle, 0, 0);
  MuiSetArrowsState(muiSlotsTitle, 0, 0);
  MuiSetTabstop(muiSlotsMainTitle, 0);
  MuiSetTabstop(muiSlotsTitle, 0);
  for (int n = 0; n < SLOTS_NUM; n++) MuiSetTabstop(*kSlotIds[n], 0);
  MuiSetEscape(muiSlotsBack, 1);
}

void CreateSlotsMuiBoxesNoRemove() { DoCreateSlotsMuiBoxes(); }

void CreateSlotsMuiBoxes() {
  MuiRemoveAllBoxes();
  DoCreateSlotsMuiBoxes();
}

void SlotsControlStartingCB() {
  const float c = config.dark_on_bright ? 0.0f : 1.0f;
  MuiSetTextColourFloat(muiSlotsMainTitle, c, c, c, 0, 0, 0);
  MuiSetTextColourFloat(muiSlotsTitle, c, c, c, 0, 0, 0);
  slots_name_str[0] = 0;
  slots_pending = -1;
  if (!slots_is_saving) {
    MuiSetText(muiSlotsTitle, "Load Settings");
    for (int n = 0; n < SLOTS_NUM; n++) MuiSetText(*kSaveLoadIds[n], "Load");
  }
  SlotsUpdateButtons();
}

void SlotsUpdateButtons() {
  for (int n = 0; n < SLOTS_NUM; n++) {
    const int label = muiSlotsSlot1 + n, action = muiSlotsSaveLoad1 + n, del = muiSlotsDel1 + n;
    if (SlotsReadSlot(n)) {
      // The name field is 512 bytes in the record; only a name's 63 characters are shown.
      if (temp_config.last_folder[0])
        MuiSetTextPrintf(label, "Slot %d - %.63s", n + 1, temp_config.last_folder);
      else
        MuiSetTextPrintf(label, "Slot %d", n + 1);
      MuiSetActiveState(action, 1);
      MuiSetActiveState(del, 1);
    } else {
      MuiSetText(label, "[ Empty Slot ]");
      MuiSetActiveState(action, slots_is_saving ? 1 : 0);
      MuiSetActiveState(del, 0);
    }
  }
}

// ---- Saving ----

// Writes the current settings, named slots_name_str, as the slot. The file layer writes under a
// temporary name and renames on a clean close, so the old slot survives a failed write. A
// failure is told with its reason, as a failed save of the settings is: the user must not take
// the slot for saved.
static char SlotsWriteSlot(int slot) {
  SlotsDoesSlotExist(slot);
  if (!mc_buffer[0]) {
    ConfigTellSlotNotSaved(slot, ENAMETOOLONG);
    return 0;
  }
  memcpy(&slots_scratch, &config, sizeof(_Config));
  // The whole field is cleared: the user's last folder is not kept behind the name.
  memset(slots_scratch.last_folder, 0, sizeof(slots_scratch.last_folder));
  snprintf(slots_scratch.last_folder, sizeof(slots_scratch.last_folder), "%.63s", slots_name_str);
  ComFileTakeWriteError();  // an earlier failure, of this file or another, is not this save's
  errno = 0;
  void* f = ComFileCreateForWriting(mc_buffer);
  if (!f) {
    const int err = errno;
    DebugError("SlotsAfterSavePopup2CB", "Could no create file <%s>", mc_buffer);
    ConfigTellSlotNotSaved(slot, err);
    return 0;
  }
  const char written = ComFileWrite(f, &slots_scratch, sizeof(_Config));
  const char closed = ComFileClose(f);
  if (!written || !closed) {
    const int err = ComFileTakeWriteError();
    DebugError("SlotsAfterSavePopup2CB", "Could no write config to file <%s>", mc_buffer);
    ConfigTellSlotNotSaved(slot, err);
    return 0;
  }
  return 1;
}

static void SlotsAskForName() {
  MuiPopupGetText("Save Current Settings", "Enter a name for these settings:", slots_name_str,
                  SLOTS_NAME_MAX, SlotsAfterSavePopup2CB);
}

void SlotsSaveLoadCB(int slot) {
  if (slot < 0 || slot >= SLOTS_NUM) return;
  slots_pending = slot;
  if (slots_is_saving) {
    if (SlotsReadSlot(slot)) {
      snprintf(slots_name_str, sizeof(slots_name_str), "%.63s", temp_config.last_folder);
      MuiPopupYesNo("SAVE SETTINGS", "Overwrite previously saved settings ?", 0, SlotsAfterSavePopup1CB);
    } else {
      slots_name_str[0] = 0;
      SlotsAskForName();
    }
    return;
  }
  if (!SlotsReadSlot(slot)) {
    slots_pending = -1;
    MuiPopupMessage("Load Settings", "Error trying to load settings", 0, nullptr);
    return;
  }
  MuiPopupYesNo("LOAD SETTINGS", "Really overwrite current settings ?", 0, SlotsAfterLoadPopupCB);
}

void SlotsAfterSavePopup1CB(char result) {
  if (result == MUI_POPUP_YES && slots_pending >= 0)
    SlotsAskForName();
  else
    slots_pending = -1;
}

void SlotsAfterSavePopup2CB(char result) {
  const int slot = slots_pending;
  slots_pending = -1;
  // Only OK saves: a cancel, a time-out or a popup closed by the program leaves the slots alone.
  if (result != MUI_POPUP_OK || slot < 0) return;
  if (!SlotsWriteSlot(slot)) return;
  SlotsUpdateButtons();
  BackToPreviousScreen();
}

// ---- Loading ----

void SlotsAfterLoadPopupCB(char result) {
  const int slot = slots_pending;
  slots_pending = -1;
  if (result != MUI_POPUP_YES || slot < 0) return;
  // The slot is read again: the file may have changed while the question was shown.
  if (!SlotsReadSlot(slot)) {
    MuiPopupMessage("Load Settings", "Error trying to load settings", 0, nullptr);
    return;
  }
  char old_font[sizeof(mc_font_name)];
  snprintf(old_font, sizeof(old_font), "%s", mc_font_name);
  const int32_t old_smoothing = config.smoothing;
  SlotsUpdateFromLoadedTempConfig();
  ConfigSave(0);
  // A new font file or smoothing builds the book font again, at once (or the default font when
  // the file cannot be used): nothing on the way back to reading builds a released font.
  if (book_font && book_font->setup &&
      (strcmp(old_font, mc_font_name) != 0 || old_smoothing != config.smoothing))
    GameLoadBookFont();
  PaperReload();
  BackToPreviousScreen();
}

// ---- Deleting ----

void SlotsDelCB(int slot) {
  if (!SlotsReadSlot(slot)) return;
  slots_pending = slot;
  MuiPopupYesNo("CONFIRM DELETE", "Really delete the saved settings ?", 0, SlotsAfterDeletePopupCB);
}

void SlotsAfterDeletePopupCB(char result) {
  const int slot = slots_pending;
  slots_pending = -1;
  if (result != MUI_POPUP_YES || slot < 0) return;
  if (SlotsDoesSlotExist(slot)) ComFileDelete(mc_buffer);
  SlotsUpdateButtons();
}

// ---- Leaving ----

void SlotsBackCB(char) { BackToPreviousScreen(); }

void SlotsExitCB(char) { ComWinCloseProgram(); }

// The rows' buttons, slot 0 to 9.
#define SLOTS_ROW_CALLBACKS(n)                               \
  void SlotsSaveLoad##n##CB(char) { SlotsSaveLoadCB(n - 1); } \
  void SlotsDel##n##CB(char) { SlotsDelCB(n - 1); }
SLOTS_ROW_CALLBACKS(1)
SLOTS_ROW_CALLBACKS(2)
SLOTS_ROW_CALLBACKS(3)
SLOTS_ROW_CALLBACKS(4)
SLOTS_ROW_CALLBACKS(5)
SLOTS_ROW_CALLBACKS(6)
SLOTS_ROW_CALLBACKS(7)
SLOTS_ROW_CALLBACKS(8)
SLOTS_ROW_CALLBACKS(9)
SLOTS_ROW_CALLBACKS(10)
#undef SLOTS_ROW_CALLBACKS
