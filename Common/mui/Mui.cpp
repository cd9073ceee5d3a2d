// The menu layer's life cycle (on with a screen, off with it), the window ratios, the switches for
// input, keys, sounds and the system cursor, and the cursor rules.
#include "Mui.h"

#include "ComDebug.h"
#include "ComMacWin.h"
#include "ComMacWinInput.h"
#include "ComMacWinWindow.h"
#include "ComMenu.h"
#include "MuiBitmap.h"
#include "MuiEntry.h"
#include "MuiHooks.h"
#include "MuiList.h"
#include "MuiPanel.h"
#include "MuiPicture.h"
#include "MuiText.h"

unsigned char mouseui_on = 0;
unsigned char mui_enabled = 1;
unsigned char mui_allow_keys = 1;
float x_ratio = 1.0f, y_ratio = 1.0f;
float x_ratio_inv = 1.0f, y_ratio_inv = 1.0f;
int mouse_pos_x = 320, mouse_pos_y = 240;
int save_pos_x = 320, save_pos_y = 240;
unsigned char mui_need_redraw = 0;
unsigned char full_update = 1;
unsigned char mui_sounds_on = 1;
void (*mui_play_sound_id_func)(int sound_id) = nullptr;
unsigned char mui_can_turn_on_cursor = 1;
unsigned char mui_can_turn_off_cursor = 1;
unsigned char mui_can_center_cursor = 1;
int mui_font_tex_number = -1;

namespace {

void (*mui_after_create_textures_cb)(char) = nullptr;
char mui_dont_play_next_sound = 0;
char mui_first_startup = 1;

}  // namespace

void MuiPre3dInit() {
  MuiSetupStandardButtonsDimensions();
  MuiBitmapPre3dInit();
  MuiPicturePre3dInit();
  MuiPiePre3dInit();
  MuiGraphPre3dInit();
}

char MuiStartup() {
  if (mouseui_on) {
    DebugError("MuiStartup", "Mui already on");
    MuiTexturesExit();
  }
  MuiTexturesInit();
  if (mui_after_create_textures_cb) mui_after_create_textures_cb(0);
  MuiCalcRatios();
  MuiRemoveAllBoxes();
  if (mui_can_turn_on_cursor) ComWinTurnOnCursor();
  MuiCalcBoxHighlighted(mouse_pos_x, mouse_pos_y);
  mouseui_on = 1;
  if (mui_first_startup) {
    mui_first_startup = 0;
    ComMacWinRefreshWindow();
  }
  return 1;
}

void MuiSetAfterCreateTexturesCB(void (*callback)(char)) { mui_after_create_textures_cb = callback; }

void MuiShutdown() {
  if (!mouseui_on) return;
  mouseui_on = 0;
  MuiRemoveAllBoxes();
  dragging = 0;
  if (mui_can_center_cursor) ComWinSetCursorPos(WIDTH / 2, HEIGHT / 2);
  if (mui_can_turn_off_cursor) ComWinTurnOffCursor();
  MuiBitmapExit();
  MuiTexturesExit();
  // Pictures point at textures the application owns; they must not outlive the menus that
  // showed them (a context rebuild releases those textures).
  MuiPictureRemoveAll();
}

void MuiExit() {
  if (mouseui_on) MuiShutdown();
  MuiPictureRemoveAll();
}

void MuiCalcRatios() {
  x_ratio = (float)WIDTH / 640.0f;
  y_ratio = (float)HEIGHT / 480.0f;
  x_ratio_inv = WIDTH ? 640.0f / (float)WIDTH : 1.0f;
  y_ratio_inv = HEIGHT ? 480.0f / (float)HEIGHT : 1.0f;
}

void MuiBoxesCreated() {
  for (int id = 0; id < num_mouse_boxes; id++) {
    _MouseBox* b = &mouse_box[id];
    if (b->is_default && b->shown && b->active) {
      MuiSetCursorToCenterOfBox(b);
      return;
    }
  }
  int x = 0, y = 0;
  ComWinGetCursorPos2(&x, &y);
  MuiMove(x, y, 0);
  MuiBoundsCheck();
}

void MuiBoundsCheck() {
  for (int id = 0; id < num_mouse_boxes; id++) {
    const _MouseBox* b = &mouse_box[id];
    if (b->x1 >= 0 && b->y1 >= 0 && b->x2 <= 640 && b->y2 <= 480) continue;
    if (b->text[0][0])
      DebugError("MuiBoundsCheck", "Box: %d (%s)", id, b->text[0]);
    else
      DebugError("MuiBoundsCheck", "Box: %d", id);
  }
}

void MuiSetNumButtons(int num) {
  if (!mouseui_on) return;
  if (num < 0 || num > MUI_MAX_BOXES_IN_USE) {
    DebugError("MuiSetNumButtons", "Invalid number of boxes: %d", num);
    return;
  }
  num_mouse_boxes = num;
  if (box_highlighted >= num_mouse_boxes) box_highlighted = -1;
  MuiBoxesCreated();
}

void MuiClearWorkingVariables() {
  if (mui_list_open_id >= 0) MuiListClose(0, 0);
  mui_list_open_id = -1;
  dragging = 0;
  // A popup or a new set of boxes takes the keys: an edit under way ends, its text kept.
  if (box_editing >= 0) MuiTextEntryTurnOffEditing(box_editing, 0);
  box_highlighted = -1;
  MuiCalcBoxHighlighted(-1, -1);
}

void MuiSetCursorPos(int x, int y) {
  const int wx = (int)((float)x * x_ratio);
  const int m = ComMenuGetMenuBarScreenHeight();
  int wy;
  if (m > 0 && HEIGHT > 0)
    wy = m + (int)((float)y * y_ratio) * (HEIGHT - m) / HEIGHT;
  else
    wy = (int)((float)y * y_ratio);
  ComWinSetCursorPos(wx, wy);
  MuiMove(wx, wy, 0);
}

void MuiSetCursorToCenterOfBox(_MouseBox* box) {
  if (!box) return;
  MuiSetCursorPos(box->x1 + (box->x2 - box->x1) * 2 / 3, box->y1 + (box->y2 - box->y1) / 2);
}

void MuiSetCursorToButton(int id) {
  if (MuiIdValid(id)) MuiSetCursorToCenterOfBox(&mouse_box[id]);
}

void MuiSaveCursorPos() {
  save_pos_x = mouse_pos_x;
  save_pos_y = mouse_pos_y;
}

void MuiRestoreCursorPos() { MuiSetCursorPos(save_pos_x, save_pos_y); }

void MuiEnable() { mui_enabled = 1; }
void MuiDisable() { mui_enabled = 0; }
void MuiAllowKeyPresses(char on) { mui_allow_keys = (unsigned char)on; }
void MuiTurnOnSound() { mui_sounds_on = 1; }
void MuiTurnOffSound() { mui_sounds_on = 0; }
void MuiDontPlayNextSound() { mui_dont_play_next_sound = 1; }
void MuiSetSoundPlayIdFunction(void (*play)(int sound_id)) { mui_play_sound_id_func = play; }
int MuiGetNumMuiSounds() { return MUI_NUM_SOUNDS; }

void MuiPlaySoundId(int sound_id) {
  if (mui_dont_play_next_sound) {
    mui_dont_play_next_sound = 0;
    return;
  }
  if (!mui_sounds_on || !mui_play_sound_id_func) return;
  mui_play_sound_id_func(sound_id);
}

void MuiAllowCursorToBeTurnedOn(char on) { mui_can_turn_on_cursor = (unsigned char)on; }
void MuiAllowCursorToBeTurnedOff(char on) { mui_can_turn_off_cursor = (unsigned char)on; }
void MuiAllowCursorToBeCentered(char on) { mui_can_center_cursor = (unsigned char)on; }

char MuiIsOn() { return (char)mouseui_on; }

int MuiGetHighlighted() { return MuiIdValid(box_highlighted) ? box_highlighted : -1; }

char MuiIsButtonHighlighted() { return mouseui_on && MuiIdValid(box_highlighted); }

char MuiButtonIsPressed(int id) {
  if (!MuiIdValid(id)) {
    DebugError("MuiButtonIsPressed", "Invalid ID: %d", id);
    return 0;
  }
  return (char)mouse_box[id].pressed;
}

int MuiGetNumButtons() { return mouseui_on ? num_mouse_boxes : 0; }

// A null font detaches the layer from the font being released: no text draws until another is set.
void MuiSetFreeTypeFont(_ComFreeTypeFont* font) {
  mui_free_type_font = font;
  mui_text_type = font ? 1 : 0;
}

void MuiSetFontTexNumber(int num) { mui_font_tex_number = num; }
void MuiSetDefaultButtonBlendType(int blend) { mui_button_blend_type = blend; }
void MuiSetStandardButtonBlendType(int blend) { mui_std_button_blend_type = blend; }
void MuiSetUsingAlphaTextures(_MuiAlphaTexturesType type) { mui_using_alpha_texs = type; }
void MuiHighlightTexts(char on) { mui_highlight_texts = (unsigned char)on; }

void MuiSetPressedOffset(int offset) {
  (void)offset;
  DebugError("MuiSetPressedOffset", "Not supported for GL yet");
}

void MuiSetStandardButtonsWidthAndHeightAndMargins(int w, int h, int min_xmargin, float xmargin_perc,
                                                   int min_ymargin, float ymargin_perc) {
  if (w > 0) mui_std_w = w;
  if (h > 0) mui_std_h = h;
  if (min_xmargin >= 0) mui_std_min_xmargin = min_xmargin;
  if (xmargin_perc >= 0.0f) mui_std_xmargin_perc = xmargin_perc;
  if (min_ymargin >= 0) mui_std_min_ymargin = min_ymargin;
  if (ymargin_perc >= 0.0f) mui_std_ymargin_perc = ymargin_perc;
  MuiSetupStandardButtonsDimensions();
}
