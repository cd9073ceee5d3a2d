// Popups. A start appends the popup's eight boxes behind the screen's, lays them out around the
// wrapped message and confines input to them; a button, Escape, the time-out or code ends the
// popup, removes its boxes and calls the caller back with the result.
#include "MuiPopup.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "ComDebug.h"
#include "ComGlMisc.h"
#include "ComGlMiscModes.h"
#include "ComMisc.h"
#include "Mui.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiCheckbox.h"
#include "MuiEntry.h"
#include "MuiInput.h"
#include "MuiRender.h"
#include "MuiText.h"

int muiMuiPopupMain = -1, muiMuiPopupButton1 = -1, muiMuiPopupButton2 = -1, muiMuiPopupButton3 = -1;
int muiMuiPopupTitle = -1, muiMuiPopupText = -1, muiMuiPopupGetText = -1, muiMuiPopupShowAgain = -1;
int mp_max_box_width = 600;
int mp_old_num_boxes = 0;

namespace {

const int kPopupBoxes = 8;
const int kDefaultMaxWidth = 600;
const float kDefaultButtonWidth = 70.0f;
const int kLabelMax = 29;

struct DesignBox {
  int* id;
  int x1, y1, x2, y2;
  int type;
  void (*callback)(char);
  const char* bitmap;
  int draw_type;
  int text_h, text_w;
  const char* text;
  char tab_stop;
};

// The design-time boxes; a start computes the real rectangles.
const DesignBox kDesign[kPopupBoxes] = {
    {&muiMuiPopupMain, 181, 119, 459, 365, 0, nullptr, "bmp_back", 3, 16, 10, "", 0},
    {&muiMuiPopupButton1, 224, 322, 280, 348, 0, MuiPopupButton1CB, "bmp_option", 0, 14, 10, "1", 1},
    {&muiMuiPopupButton2, 292, 322, 348, 348, 0, MuiPopupButton2CB, "bmp_option", 0, 14, 10, "2", 1},
    {&muiMuiPopupButton3, 360, 322, 416, 348, 0, MuiPopupButton3CB, "bmp_option", 0, 14, 10, "3", 1},
    {&muiMuiPopupTitle, 188, 128, 452, 147, 0, nullptr, "bmp_none", 0, 20, 12, "TITLE (OPTIONAL)", 0},
    {&muiMuiPopupText, 255, 164, 400, 225, 0, nullptr, "bmp_none", 1, 16, 10, "MULTILINE MESSAGE GOES HERE", 0},
    {&muiMuiPopupGetText, 197, 233, 446, 259, 1, MuiPopupGetTextCB, "bmp_option", 0, 16, 10, "", 1},
    {&muiMuiPopupShowAgain, 242, 282, 401, 303, 10, nullptr, "bmp_high", 1, 16, 10, "Show this message again", 1},
};

struct Rgb {
  float r, g, b;
};

}  // namespace

// Settings for every later popup.
static float mp_darkening = 0.5f;
static int mp_xmargin = 10, mp_ymargin = 10;
static Rgb mp_title_col = {1.0f, 0.8f, 0.2f};
static Rgb mp_button_col = {1.0f, 1.0f, 1.0f};
static Rgb mp_text_col = {1.0f, 1.0f, 1.0f};
static float mp_scale_x = 1.0f, mp_scale_y = 1.0f;
static char mp_button_blend = 0;

// Settings for the next popup only.
static float mp_next_button_width = 0.0f;
static int mp_pos_x = -1, mp_pos_y = -1, mp_pos_w = -1, mp_pos_h = -1;
static char mp_label[4][kLabelMax + 1];  // OK, CANCEL, YES, NO replacements; "" keeps the label
static const char* const kLabels[4] = {"OK", "CANCEL", "YES", "NO"};
enum { LABEL_OK, LABEL_CANCEL, LABEL_YES, LABEL_NO };

// The popup that shows.
static char mp_on = 0;
static char mp_kind = 0;
static void (*mp_callback)(char) = nullptr;
static char mp_timer_on = 0;
static int mp_end_time = 0;
static char* mp_text_buffer = nullptr;
static int mp_text_length = 0;

static void ResetOnePopupSettings() {
  mp_next_button_width = 0.0f;
  mp_pos_x = mp_pos_y = mp_pos_w = mp_pos_h = -1;
  for (auto& l : mp_label) l[0] = 0;
}

static const char* Label(int which) { return mp_label[which][0] ? mp_label[which] : kLabels[which]; }

// Writes a popup box's rectangle directly (a negative coordinate is a position here, not "keep")
// with its derived sizes and margins.
static void PlaceBox(int id, float fx1, float fy1, float fx2, float fy2) {
  _MouseBox* b = &mouse_box[id];
  b->x1 = ComMiscRound(fx1);
  b->y1 = ComMiscRound(fy1);
  b->x2 = ComMiscRound(fx2);
  b->y2 = ComMiscRound(fy2);
  b->w = b->x2 - b->x1;
  b->h = b->y2 - b->y1;
  b->cx = b->x1 + b->w / 2;
  b->cy = b->y1 + b->h / 2;
  MuiCalcBoxMargins(b);
}

// Gives the message box the width w and measures the wrapped message in its text scale: the
// widest line, the block height and the box's text margin at that width.
static void MeasureMessage(const char* text, int w, float* widest, float* height, int* margin) {
  const int id = muiMuiPopupText;
  PlaceBox(id, 0.0f, 0.0f, (float)w, 480.0f);
  *margin = mouse_box[id].text_margin;
  *widest = 0.0f;
  *height = 0.0f;
  // Without a font there is nothing to measure (and no scale to set and restore).
  if (mui_text_type != 1 || !mui_free_type_font) return;
  int left = 0, right = 0;
  if (!MuiGetButtonTextXLimits(id, &left, &right)) return;
  const _MouseBox* b = &mouse_box[id];
  MuiTextSetOrRestoreScale(1, (float)b->text_w * 0.125f, (float)b->text_h / 10.0f);
  int lines = 0;
  float first = 0.0f, line_height = 0.0f;
  MuiTextDrawMultilinedString((float)left, 0.0f, (float)right, 480.0f, (_MuiTextDrawType)b->draw_type,
                              1.0f, 1.0f, 1.0f, text, 0, &lines, &first, &line_height, widest, height);
  MuiTextSetOrRestoreScale(0, 0.0f, 0.0f);
}

void DoCreateMuiPopupMuiBoxes() {
  for (const DesignBox& d : kDesign) {
    const int id = MuiAddNewScreenBox(d.x1, d.y1, d.x2, d.y2, d.callback);
    *d.id = id;
    if (id < 0) continue;
    if (d.type == 10)
      MuiCheckboxSet(id, 0, 0);
    else
      MuiSetType(id, (_MuiButtonType)d.type);
    MuiSetBitmap(id, d.bitmap);
    MuiSetButtonDrawType(id, (_MuiTextDrawType)d.draw_type);
    MuiSetTextSize(id, d.text_h, d.text_w);
    MuiSetText(id, d.text);
    MuiSetTabstop(id, d.tab_stop);
    if (d.id == &muiMuiPopupTitle)
      MuiSetTextColourFloat(id, 1.0f, 0.811765f, 0.360784f, 1.0f, 1.0f, 1.0f);
    else
      MuiSetTextColourFloat(id, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
  }
  // The text entry takes its presses itself: it is no push button, and no box has arrows.
  if (muiMuiPopupGetText >= 0) MuiSetArrowsState(muiMuiPopupGetText, 0, 0);
}

void CreateMuiPopupMuiBoxesNoRemove() { DoCreateMuiPopupMuiBoxes(); }

void CreateMuiPopupMuiBoxes() {
  MuiRemoveAllBoxes();
  DoCreateMuiPopupMuiBoxes();
}

// Escape on a notice without time-out, and on the text popup, where Escape means cancel.
static void PopupEscapeCloseCB(char) { MuiPopupFinished(255); }
static void PopupEscapeCancelCB(char) { MuiPopupFinished(3); }

// Makes the background the popup's Escape box with the given ending.
static void EscapeThroughBackground(void (*cb)(char)) {
  MuiSetCallback(muiMuiPopupMain, cb);
  mouse_box[muiMuiPopupMain].left_arrow = 2;  // a push button, so Escape presses it
  MuiSetEscape(muiMuiPopupMain, 1);
}

// Checks the next popup's custom position; answers 1 when there is one, 0 when there is none and
// -1 (logged) when it is refused.
static int CheckCustomPosition(char kind) {
  const char* F = "MuiPopupStart";
  if (mp_pos_x < 0) {
    if (mp_pos_w >= 0) {
      DebugError(F, "Parameter error");
      return -1;
    }
    return 0;
  }
  if ((mp_pos_w < 0 || mp_pos_h < 0) && !(mp_pos_w > 0 || mp_pos_h > 0)) {
    DebugError(F, "Custom positioning not supported");
    return -1;
  }
  if (mp_pos_y < 0 || mp_pos_w < 0 || mp_pos_h < 0) {
    DebugError(F, "Parameter error");
    return -1;
  }
  if (kind == 7) {
    DebugError(F, "dimensions and show again not supported");
    return -1;
  }
  return 1;
}

// Sets the rectangles of the popup's boxes around the message.
static void LayoutPopup(const char* title, const char* text, char kind, char custom, float bw) {
  const float W = (float)mp_max_box_width;
  const float xm = (float)mp_xmargin, ym = (float)mp_ymargin;
  const int n = (kind == 1 || kind == 2) ? 1 : (kind == 3 ? 2 : 0);
  float min_w = (float)(n + 1) * bw + (float)n * 10.0f + 2.0f * xm;
  if (kind == 7 && min_w < 159.0f) min_w = 199.0f;

  // The needed width (widest line plus the two text margins) comes from the measure at the full
  // width; the popup is then 40 wider, and the message is measured again at the width it gets.
  float widest = 0.0f, msg_h = 0.0f, needed, P, cx, cy;
  int margin = 0;
  if (!custom) {
    MeasureMessage(text, (int)(W - 40.0f), &widest, &msg_h, &margin);
    needed = widest + 2.0f * (float)margin;
    P = needed + 40.0f < W ? needed + 40.0f : W;
    if (needed + 40.0f < min_w) P = min_w;
    MeasureMessage(text, (int)(P - 40.0f), &widest, &msg_h, &margin);
    cx = 320.0f;
    cy = 240.0f;
  } else {
    P = (float)mp_pos_w < min_w ? min_w : (float)mp_pos_w;
    MeasureMessage(text, (int)(P - 40.0f), &widest, &msg_h, &margin);
    needed = widest + 2.0f * (float)margin;
    cx = (float)mp_pos_x + (float)mp_pos_w / 2.0f;
    cy = (float)mp_pos_y + (float)mp_pos_h / 2.0f;
  }

  const bool has_title = title && title[0];
  const float title_row = has_title ? 26.0f : 0.0f, gap = has_title ? 20.0f : 10.0f;
  float H = title_row + ym + gap + msg_h + 20.0f;
  if (kind != 5) {
    if (kind == 4) H += 26.0f + 20.0f;
    if (kind == 7) H += 25.0f + 5.0f;
    H += 30.0f + ym;
  }
  const float L = cx - P / 2.0f, T = cy - H / 2.0f;
  PlaceBox(muiMuiPopupMain, L, T, L + P, T + H);
  PlaceBox(muiMuiPopupTitle, L, T + ym, L + P, T + ym + title_row);
  const float msg_top = T + title_row + ym + gap, msg_bottom = msg_top + msg_h;
  PlaceBox(muiMuiPopupText, cx - needed / 2.0f, msg_top, cx + needed / 2.0f, msg_bottom);
  const float button_top = T + H - ym - 30.0f;
  PlaceBox(muiMuiPopupGetText, cx - needed / 2.0f, button_top - 20.0f - 26.0f, cx + needed / 2.0f,
           button_top - 20.0f);
  PlaceBox(muiMuiPopupShowAgain, 240.5f, msg_bottom + 20.0f, 399.5f, msg_bottom + 45.0f);

  const float M = L + P / 2.0f;
  float left_x = M - bw / 2.0f, mid_x = M - bw / 2.0f, right_x = M - bw / 2.0f;
  if (n == 1) {
    left_x = M - 10.0f - bw;
    right_x = M + 10.0f;
  } else if (n == 2) {
    left_x = mid_x - 10.0f - bw;
    right_x = mid_x + bw + 10.0f;
  }
  PlaceBox(muiMuiPopupButton1, left_x, button_top, left_x + bw, button_top + 30.0f);
  PlaceBox(muiMuiPopupButton2, mid_x, button_top, mid_x + bw, button_top + 30.0f);
  PlaceBox(muiMuiPopupButton3, right_x, button_top, right_x + bw, button_top + 30.0f);
}

// Labels, shown buttons and the Escape box of each kind.
static void SetUpButtons(char kind) {
  const int b1 = muiMuiPopupButton1, b2 = muiMuiPopupButton2, b3 = muiMuiPopupButton3;
  char show1 = 0, show2 = 0, show3 = 0;
  int escape = -1;
  switch (kind) {
    case 0:
    case 4:
    case 7:
      show2 = 1;
      MuiSetText(b2, Label(LABEL_OK));
      escape = kind == 4 ? -1 : b2;
      break;
    case 1:
      show1 = show3 = 1;
      MuiSetText(b1, Label(LABEL_OK));
      MuiSetText(b3, Label(LABEL_CANCEL));
      escape = b3;
      break;
    case 2:
      show1 = show3 = 1;
      MuiSetText(b1, Label(LABEL_YES));
      MuiSetText(b3, Label(LABEL_NO));
      escape = b3;
      break;
    case 3:
      show1 = show2 = show3 = 1;
      MuiSetText(b1, Label(LABEL_YES));
      MuiSetText(b2, Label(LABEL_NO));
      MuiSetText(b3, Label(LABEL_CANCEL));
      break;
    case 6:
      show2 = 1;
      MuiSetText(b2, Label(LABEL_CANCEL));
      escape = b2;
      break;
  }
  if (!show1) MuiShowButton(b1, 0);
  if (!show2) MuiShowButton(b2, 0);
  if (!show3) MuiShowButton(b3, 0);
  if (escape >= 0) MuiSetEscape(escape, 1);
}

// The worker behind every start; kind 4 binds the caller's text buffer, kind 7 the show-again
// variable.
static void StartPopup(const char* title, const char* text, char kind, float seconds, void (*callback)(char),
                       char* buffer, int length, char* show_again) {
  const char* F = "MuiPopupStart";
  if (mp_on) {
    DebugError(F, "Already a box being displayed");
    return;
  }
  if (num_mouse_boxes + kPopupBoxes > MUI_MAX_BOXES_IN_USE) {
    DebugError(F, "Not enough mouse boxes free");
    return;
  }
  if (!text || !text[0]) {
    DebugError(F, "No message set");
    return;
  }
  if (strlen(text) >= 512) {
    DebugError(F, "Message too long");
    return;
  }
  if (title && strlen(title) > 511) {
    DebugError(F, "Title too long");
    return;
  }
  // Anything else would leave a popup that nothing can end.
  if (kind < 0 || kind > 7) {
    DebugError(F, "Parameter error");
    return;
  }
  // A refused position must be refused before anything is marked shown or appended; the bad
  // position is dropped with it, or every later popup would be refused too.
  const int custom = CheckCustomPosition(kind);
  if (custom < 0) {
    ResetOnePopupSettings();
    return;
  }

  // The screen's edit ends first: the popup takes the keys from now on.
  MuiTextEntryStopEditing();
  if (mp_timer_on) {
    DebugError("", "Timer still running");
    mp_timer_on = 0;
  }
  mp_old_num_boxes = num_mouse_boxes;
  mp_kind = kind;
  mp_darkening = 0.5f;
  mp_on = 1;
  mp_text_buffer = nullptr;
  mp_text_length = 0;
  const float bw = mp_next_button_width > 0.0f ? mp_next_button_width : kDefaultButtonWidth;

  MuiClearWorkingVariables();
  DoCreateMuiPopupMuiBoxes();
  for (int id = mp_old_num_boxes; id < num_mouse_boxes; id++) mouse_box[id].shown = 2;

  const int all[kPopupBoxes] = {muiMuiPopupMain,  muiMuiPopupButton1, muiMuiPopupButton2,
                                muiMuiPopupButton3, muiMuiPopupTitle, muiMuiPopupText,
                                muiMuiPopupGetText, muiMuiPopupShowAgain};
  if (mp_button_blend) {
    for (int id : {muiMuiPopupMain, muiMuiPopupButton1, muiMuiPopupButton2, muiMuiPopupButton3,
                   muiMuiPopupGetText, muiMuiPopupShowAgain})
      MuiSetButtonBlendType(id, mp_button_blend);
  }
  for (int i = 0; i < kPopupBoxes; i++) {
    const DesignBox& d = kDesign[i];
    MuiSetTextSize(all[i], (int)((float)d.text_h * mp_scale_y), (int)((float)d.text_w * mp_scale_x));
  }
  const Rgb t = mp_text_col, bc = mp_button_col, tc = mp_title_col;
  MuiSetTextColourFloat(muiMuiPopupMain, t.r, t.g, t.b, t.r, t.g, t.b);
  for (int id : {muiMuiPopupButton1, muiMuiPopupButton2, muiMuiPopupButton3})
    MuiSetTextColourFloat(id, bc.r, bc.g, bc.b, 1.0f, 1.0f, 1.0f);
  for (int id : {muiMuiPopupText, muiMuiPopupGetText, muiMuiPopupShowAgain})
    MuiSetTextColourFloat(id, t.r, t.g, t.b, 1.0f, 1.0f, 1.0f);
  MuiSetTextColourFloat(muiMuiPopupTitle, tc.r, tc.g, tc.b, 1.0f, 1.0f, 1.0f);

  LayoutPopup(title, text, kind, (char)custom, bw);

  if (title && title[0])
    MuiSetText(muiMuiPopupTitle, title);
  else
    MuiShowButton(muiMuiPopupTitle, 0);
  MuiSetText(muiMuiPopupText, text);
  MuiShowButton(muiMuiPopupShowAgain, 0);

  SetUpButtons(kind);
  if (kind != 4) MuiShowButton(muiMuiPopupGetText, 0);
  if (kind == 5 && seconds <= 0.0f) EscapeThroughBackground(PopupEscapeCloseCB);
  if (kind == 4) {
    EscapeThroughBackground(PopupEscapeCancelCB);
    const int entry = muiMuiPopupGetText;
    if (buffer) {
      mp_text_buffer = buffer;
      mp_text_length = length;
      MuiTextEntrySetLength(entry, length);
      // The caller's buffer is only read here, and never beyond its length.
      char prefill[MTE_MAX_LENGTH + 1];
      int n = 0;
      while (n < length && n < MTE_MAX_LENGTH && buffer[n]) n++;
      memcpy(prefill, buffer, (size_t)n);
      prefill[n] = 0;
      MuiTextEntrySetText(entry, prefill);
    }
    MuiSetCursorToButton(entry);
    MuiTextEntryTurnOnEditing(entry);
  }
  if (kind == 7) {
    MuiCheckboxRegisterCharVariable(muiMuiPopupShowAgain, show_again, 0);
    MuiShowButton(muiMuiPopupShowAgain, 1);
  }

  mp_callback = callback;
  ResetOnePopupSettings();
  if (seconds > 0.0f) {
    mp_timer_on = 1;
    mp_end_time = (int)((unsigned int)n3d_current_time + (unsigned int)(seconds * 1000.0f));
  }
  MuiMove(0, 0, 1);
}

void MuiPopupStart(const char* title, const char* text, char kind, float seconds, void (*callback)(char)) {
  StartPopup(title, text, kind, seconds, callback, nullptr, 0, nullptr);
}

void MuiPopupMessage(const char* title, const char* text, float seconds, void (*callback)(char)) {
  MuiPopupStart(title, text, 0, seconds, callback);
}
void MuiPopupSimpleMessage(const char* title, const char* text) { MuiPopupStart(title, text, 0, 0.0f, nullptr); }
void MuiPopupOkCancel(const char* title, const char* text, float seconds, void (*callback)(char)) {
  MuiPopupStart(title, text, 1, seconds, callback);
}
void MuiPopupYesNo(const char* title, const char* text, float seconds, void (*callback)(char)) {
  MuiPopupStart(title, text, 2, seconds, callback);
}
void MuiPopupYesNoCancel(const char* title, const char* text, float seconds, void (*callback)(char)) {
  MuiPopupStart(title, text, 3, seconds, callback);
}
void MuiPopupNotice(const char* title, const char* text, float seconds, void (*callback)(char)) {
  MuiPopupStart(title, text, 5, seconds, callback);
}
void MuiPopupCancel(const char* title, const char* text, float seconds, void (*callback)(char)) {
  MuiPopupStart(title, text, 6, seconds, callback);
}

void MuiPopupGetText(const char* title, const char* text, char* buffer, int length, void (*callback)(char)) {
  if (!buffer || length < 1) {
    DebugError("MuiPopupGetText", "Invalid parameters");
    return;
  }
  StartPopup(title, text, 4, 0.0f, callback, buffer, length, nullptr);
}

void MuiPopupMessageWithShowAgain(const char* title, const char* text, char* show_again, float seconds,
                                  void (*callback)(char)) {
  StartPopup(title, text, 7, seconds, callback, nullptr, 0, show_again);
}

char MuiPopupIsOn() { return mp_on; }

char MuiPopupProcessButton(int id) { return !mp_on || id >= mp_old_num_boxes ? 1 : 0; }

void MuiPopupUpdateTexts(const char* title, const char* text) {
  if (!mp_on) {
    DebugError("MuiPopupUpdateTexts", "No info box being displayed");
    return;
  }
  if (title) MuiSetText(muiMuiPopupTitle, title);
  if (text) MuiSetText(muiMuiPopupText, text);
}

// Ends the popup's own state: the text goes back to the caller (not on a cancel), any edit
// ends, and the popup is marked gone. The boxes are left to the caller.
static void EndPopupState(int code) {
  if (mp_kind == 4 && mp_text_buffer && code != 3) {
    // While still editing, the entry's text is its edit buffer (text 0 holds the cursor).
    const char* t = MuiTextEntryGetText(muiMuiPopupGetText);
    if (!t) t = "";
    const int max = mp_text_length < MTE_MAX_LENGTH ? mp_text_length : MTE_MAX_LENGTH;
    int n = 0;
    while (n < max && t[n]) n++;
    memmove(mp_text_buffer, t, (size_t)n);
    mp_text_buffer[n] = 0;
  }
  if (MuiTextEntryGetEditingBox() >= mp_old_num_boxes) MuiTextEntryStopEditing();
  mp_on = 0;
  mp_timer_on = 0;
  mp_text_buffer = nullptr;
  mp_text_length = 0;
}

void MuiPopupFinished(int code) {
  if (!mp_on) return;
  const char kind = mp_kind;
  void (*callback)(char) = mp_callback;
  mp_callback = nullptr;
  EndPopupState(code);
  num_mouse_boxes = mp_old_num_boxes;
  // A highlight on a removed popup box would be taken for a box of the screen.
  if (box_highlighted >= num_mouse_boxes) box_highlighted = -1;
  MuiUpdate(-1);
  MuiMove(0, 0, 1);
  if (!callback || code == 254) return;
  char result;
  if (code == 0) {
    result = MUI_POPUP_TIMED_OUT;
  } else if (code == 255) {
    result = MUI_POPUP_CLOSED;
  } else {
    switch (kind) {
      case 0:
      case 7:
        result = MUI_POPUP_OK;
        break;
      case 4:
        result = code == 3 ? MUI_POPUP_CANCEL : MUI_POPUP_OK;
        break;
      case 1:
        result = code == 1 ? MUI_POPUP_OK : MUI_POPUP_CANCEL;
        break;
      case 2:
        result = code == 1 ? MUI_POPUP_OK : MUI_POPUP_NO;
        break;
      case 3:
        result = code == 1 || code == 2 ? (char)code : (char)MUI_POPUP_CANCEL;
        break;
      case 6:
        result = MUI_POPUP_CANCEL;
        break;
      default:
        DebugError("MuiPopupFinished", "Unknown box type : %d", (int)kind);
        return;
    }
  }
  // Last, with the popup gone, so the callback may start the next one.
  callback(result);
}

void MuiPopupClose(char notify) {
  if (!mp_on) {
    DebugError("MuiPopupClose", "No info box being displayed");
    return;
  }
  MuiPopupFinished(notify ? 255 : 254);
}

void MuiPopupAbandon() {
  if (!mp_on) return;
  DebugError("MuiPopupAbandon", "Popup closed: its boxes were removed");
  mp_callback = nullptr;
  EndPopupState(254);
}

char MuiPopupTick() {
  if (!mp_on || !mp_timer_on) return 0;
  if (ComMiscTicksSince((uint32_t)n3d_current_time, (uint32_t)mp_end_time) >= 0) {
    mp_timer_on = 0;
    MuiPopupFinished(0);
  }
  return 1;
}

void MuiPopupDrawButtons() {
  if (!mp_on) return;
  ComGlDimDarkenScreen(mp_darkening);
  for (int id = mp_old_num_boxes; id < num_mouse_boxes; id++)
    if (mouse_box[id].shown) MuiRenderDrawButton(id);
}

void MuiPopupButton1CB(char) { MuiPopupFinished(1); }
void MuiPopupButton2CB(char) { MuiPopupFinished(2); }
void MuiPopupButton3CB(char) { MuiPopupFinished(3); }

void MuiPopupGetTextCB(char accepted) {
  if (accepted) MuiPopupFinished(1);
}

void MuiPopupSetTextSizes(float x, float y) {
  if (x > 0.0f) mp_scale_x = x;
  if (y > 0.0f) mp_scale_y = y;
}

void MuiPopupSetTextColours(float text_r, float text_g, float text_b, float title_r, float title_g,
                            float title_b, float button_r, float button_g, float button_b) {
  mp_text_col = {text_r, text_g, text_b};
  mp_title_col = {title_r, title_g, title_b};
  mp_button_col = {button_r, button_g, button_b};
}

void MuiPopupSetMargins(int x, int y) {
  mp_xmargin = x;
  mp_ymargin = y;
}

void MuiPopupSetMaxWidth(int width) { mp_max_box_width = width > 0 ? width : kDefaultMaxWidth; }
void MuiPopupSetButtonBlend(char blend) { mp_button_blend = blend; }
void MuiPopupSetButtonWidths(float width) { mp_next_button_width = width > 0.0f ? width : kDefaultButtonWidth; }

void MuiPopupSetPos(int x, int y, int w, int h) {
  mp_pos_x = x;
  mp_pos_y = y;
  mp_pos_w = w;
  mp_pos_h = h;
}

void MuiPopupOverwriteButtonTexts(const char* ok, const char* cancel, const char* yes, const char* no) {
  const char* given[4] = {ok, cancel, yes, no};
  for (int i = 0; i < 4; i++)
    if (given[i]) snprintf(mp_label[i], sizeof(mp_label[i]), "%s", given[i]);
}

void MuiPopupTranslateButtons(char on) {
  if (on) DebugError("MuiPopupTranslateButtons", "Project not complied with MUI_POPUP_TRANSLATE_BUTTONS flag");
}
