// The reader's button textures: registration of the standard and named pictures, the hook that
// lets some names share the main button's pictures, and the masks copied in after loading.
#include "LecMuiTextures.h"

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComGlTexture.h"
#include "Config.h"
#include "MuiBox.h"
#include "MuiTextures.h"

int cur_id = 0;

namespace {

const char kStateless = -1;  // one file serves every state

void AddNamed(const char* name, const char* normal, const char* pressed, const char* highlighted,
              const char* disabled) {
  int id = MUI_NUM_STD_TEXTURES + cur_id++;
  const char* files[4] = {normal, pressed, highlighted, disabled};
  for (char s = 0; s < 4; s++) MuiTexturesAddButton(id, name, files[(int)s], s, 0, 0, 0);
}

// Copies the mask's alpha into the given states of a named button, skipping states not loaded.
void CopyMask(_ComGlDxTexture* mask, const char* name, int last_state) {
  int id = MuiTexturesGetTextureNumFromName(name);
  if (id < 0) return;
  for (int s = 0; s <= last_state; s++)
    if (mui_texture[id].status[s] == MUI_TEX_LOADED)
      ComGlTextureCopyAlphaChannelFromTexture(mask, &mui_texture[id].tex[s]);
}

// Loads one mask and copies it into each (name, last state) pair; 0 when the mask cannot be read.
char ApplyMask(const char* file, const char* const* names, int count, int last_state) {
  _ComGlDxTexture mask;
  memset(&mask, 0, sizeof(mask));
  if (!ComGlTextureLoadFromTgaFile(file, 0, 1, 2, &mask)) return 0;
  for (int i = 0; i < count; i++) CopyMask(&mask, names[i], last_state);
  ComGlTextureRelease(&mask);
  return 1;
}

// The standard pictures that have a shape of their own, and their masks: with them they are laid
// over the light faces with premultiplied alpha (the standard blending set at start-up).
struct StdMask {
  int id;
  const char* file;
};
const StdMask kStdMasks[] = {
    {MUI_STD_LEFT_ARROW, "std_left_arrow_a.tga"}, {MUI_STD_RIGHT_ARROW, "std_right_arrow_a.tga"},
    {MUI_STD_SB_THUMB, "std_sb_button_a.tga"},     {MUI_STD_LIST_BUTTON, "std_list_button_a.tga"},
    {MUI_STD_LIST_SEL, "std_list_sel_a.tga"},      {MUI_STD_CHECK_ON, "std_check_a.tga"},
    {MUI_STD_CHECK_OFF, "std_uncheck_a.tga"},      {MUI_STD_PANEL_BAR, "std_panel_bar_a.tga"},
};

// A missing standard mask only logs: that picture is then drawn as its whole square.
void ApplyStandardMasks() {
  for (const StdMask& m : kStdMasks) {
    if (mui_texture[m.id].status[MUI_TEX_NORMAL] != MUI_TEX_LOADED) continue;
    _ComGlDxTexture mask;
    memset(&mask, 0, sizeof(mask));
    if (!ComGlTextureLoadFromTgaFile(m.file, 0, 1, 2, &mask)) {
      DebugError("LecUpdateMuiButtonAlphaChannels", "Could not load standard alpha texture <%s>", m.file);
      continue;
    }
    ComGlTextureCopyAlphaChannelFromTexture(&mask, &mui_texture[m.id].tex[MUI_TEX_NORMAL]);
    ComGlTextureRelease(&mask);
  }
}

}  // namespace

void LecMuiTexturesPre3dInit() {
  MuiTexturesSetLoadCB(LecLoadMuiButtons);
  MuiTexturesSetOverwriteTextureCB(LecOverwriteButtonTextureCB);
}

void LecLoadMuiButtons(char) {
  cur_id = 0;
  LecLoadStandardMuiButtons();
  LecLoadNormalMuiButtons();
}

void LecLoadStandardMuiButtons() {
  _MuiStandardDimensions d;
  MuiGetStandardButtonsDimensions(&d);
  struct Std {
    int id;
    const char* name;
    const char* file;
    int w, h;
  };
  const Std table[] = {
      {0, "StdLeftArrow", "std_left_arrow.bmp", d.arrow_w, d.arrow_h},
      {1, "StdRightArrow", "std_right_arrow.bmp", d.arrow_w, d.arrow_h},
      {2, "StdScrollbarButton", "std_sb_button.bmp", d.sb_thumb_w, d.sb_thumb_h},
      {10, "StdCheck", "std_check.bmp", d.check_w, d.check_h},
      {11, "StdUnCheck", "std_uncheck.bmp", d.check_w, d.check_h},
      {17, "StdPanelBack", "std_panel_back.bmp", 0, 0},
      {18, "StdPanelBar", "std_panel_bar.bmp", 0, 0},
      {3, "StdListButton", "std_list_button.bmp", d.list_button_w, d.list_button_h},
      {4, "StdListBack_Top", "std_list_back_top.bmp", 0, 0},
      {5, "StdListBack_Main", "std_list_back_main.bmp", 0, 0},
      {6, "StdListBack_Bottom", "std_list_back_bottom.bmp", 0, 0},
      {7, "StdListSel", "std_list_sel.bmp", 0, 0},
      {8, "StdListScrollUp", "std_list_scroll_up.bmp", 0, 0},
      {9, "StdListScrollDown", "std_list_scroll_down.bmp", 0, 0},
      {20, "StdColourRed", "std_col_red.bmp", 0, 0},
      {21, "StdColourGreen", "std_col_green.bmp", 0, 0},
      {22, "StdColourBlue", "std_col_blue.bmp", 0, 0},
  };
  for (const Std& s : table) MuiTexturesAddButton(s.id, s.name, s.file, kStateless, 1, s.w, s.h);
}

void LecLoadNormalMuiButtons() {
  MuiTexturesAddButton(MUI_NUM_STD_TEXTURES + cur_id++, "bmp_back", "back1.bmp", kStateless, 0, 0, 0);
  AddNamed("bmp_main", "main_l.bmp", "main_p.bmp", "main_h.bmp", "main_d.bmp");
  AddNamed("bmp_box", "box_l.bmp", "box_p.bmp", "box_h.bmp", "box_l.bmp");
  AddNamed("bmp_wbox", "wbox_l.bmp", "wbox_p.bmp", "wbox_h.bmp", "wbox_l.bmp");
  // Titles 3 and 4 show other programs on every other run. Only 1 means the second set: a
  // counter that is anything else counts as 0.
  if (config.run_counter != 1) config.run_counter = 0;
  const int alt = config.run_counter == 1;
  const int pictures[4] = {1, 2, alt ? 5 : 3, alt ? 6 : 4};
  for (int t = 0; t < 4; t++) {
    char name[16], lit[32], dim[32];
    snprintf(name, sizeof(name), "bmp_title%d", t + 1);
    snprintf(lit, sizeof(lit), "Title%d copy.bmp", pictures[t]);
    snprintf(dim, sizeof(dim), "Title%dL copy.bmp", pictures[t]);
    AddNamed(name, dim, dim, lit, dim);
  }
}

char LecOverwriteButtonTextureCB(const char* name, char state, _ComGlDxTexture** texture, char* result) {
  if (!strcmp(name, "bmp_go") || !strcmp(name, "bmp_high") || !strcmp(name, "bmp_option"))
    return MuiTexturesGetButtonTexturePointer("bmp_main", state, texture, result);
  if (!strcmp(name, "bmp_none")) {
    *texture = nullptr;
    return 1;
  }
  return 2;
}

void LecUpdateMuiButtonAlphaChannels() {
  static const char* kFn = "LecUpdateMuiButtonAlphaChannels";
  // The disabled states take the masks too: a disabled box drawn without one is an opaque
  // rectangle.
  ApplyStandardMasks();
  const char* main_names[] = {"bmp_main", "bmp_title1", "bmp_title2", "bmp_title3", "bmp_title4"};
  if (!ApplyMask("main_a.tga", main_names, 5, MUI_TEX_DISABLED)) {
    DebugError(kFn, "Could not load button alpha texture");
    return;
  }
  const char* box_names[] = {"bmp_box"};
  if (!ApplyMask("box_a.tga", box_names, 1, MUI_TEX_DISABLED)) {
    DebugError(kFn, "Could not load box alpha texture");
    return;
  }
  const char* wbox_names[] = {"bmp_wbox"};
  if (!ApplyMask("wbox_a.tga", wbox_names, 1, MUI_TEX_DISABLED)) DebugError(kFn, "Could not load wbox alpha texture");
}
