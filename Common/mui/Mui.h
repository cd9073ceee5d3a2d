// The menu layer's life cycle, its window ratios, its switches (input, keys, sounds, cursor) and
// the cursor rules. The platform shell and the screen table include this header; it brings in the
// box table, the input entry points and the drawing entry points with it.
#ifndef MUI_H
#define MUI_H

#include "MuiBox.h"
#include "MuiInput.h"
#include "MuiRender.h"
#include "MuiTextures.h"

struct _ComFreeTypeFont;

#define MUI_NUM_SOUNDS 4
enum {
  MUI_SOUND_PUSH_FIRED = 0,   // a push button fired
  MUI_SOUND_PRESS = 1,        // a press handled by an arrow or a widget
  MUI_SOUND_HIGHLIGHT = 2,    // the highlight moved to another box
  MUI_SOUND_ITEM = 3          // a list or text entry moved its own highlight
};

extern unsigned char mouseui_on;   // the layer is on
extern unsigned char mui_enabled;
extern unsigned char mui_allow_keys;
extern float x_ratio, y_ratio;         // window width / 640, height / 480
extern float x_ratio_inv, y_ratio_inv; // 640 / width, 480 / height
extern int mouse_pos_x, mouse_pos_y;   // last pointer position in the virtual screen
extern int save_pos_x, save_pos_y;
extern unsigned char mui_need_redraw;
extern unsigned char full_update;
extern unsigned char mui_sounds_on;
extern void (*mui_play_sound_id_func)(int sound_id);
extern unsigned char mui_can_turn_on_cursor;
extern unsigned char mui_can_turn_off_cursor;
extern unsigned char mui_can_center_cursor;
extern int mui_font_tex_number;

void MuiPre3dInit();
char MuiStartup();
void MuiSetAfterCreateTexturesCB(void (*callback)(char));
void MuiShutdown();
void MuiExit();
void MuiCalcRatios();
void MuiBoxesCreated();
void MuiBoundsCheck();
void MuiSetNumButtons(int num);
void MuiClearWorkingVariables();

void MuiSetCursorPos(int x, int y);
void MuiSetCursorToCenterOfBox(_MouseBox* box);
void MuiSetCursorToButton(int id);
void MuiSaveCursorPos();
void MuiRestoreCursorPos();

void MuiEnable();
void MuiDisable();
void MuiAllowKeyPresses(char on);
void MuiTurnOnSound();
void MuiTurnOffSound();
void MuiDontPlayNextSound();
void MuiDisableButtonOverSound();
void MuiSetSoundPlayIdFunction(void (*play)(int sound_id));
int MuiGetNumMuiSounds();
// Plays a sound id through the application's function, unless sounds are off or the next sound was
// silenced (the one-shot flag is cleared here).
void MuiPlaySoundId(int sound_id);
void MuiAllowCursorToBeTurnedOn(char on);
void MuiAllowCursorToBeTurnedOff(char on);
void MuiAllowCursorToBeCentered(char on);

char MuiIsOn();
int MuiGetHighlighted();
char MuiIsButtonHighlighted();
char MuiButtonIsPressed(int id);
int MuiGetNumButtons();

void MuiSetFreeTypeFont(_ComFreeTypeFont* font);
void MuiSetFontTexNumber(int num);
void MuiSetDefaultButtonBlendType(int blend);
void MuiSetStandardButtonBlendType(int blend);
void MuiSetUsingAlphaTextures(_MuiAlphaTexturesType type);
void MuiHighlightTexts(char on);
void MuiSetPressedOffset(int offset);
void MuiSetStandardButtonsWidthAndHeightAndMargins(int w, int h, int min_xmargin, float xmargin_perc,
                                                   int min_ymargin, float ymargin_perc);

#endif
