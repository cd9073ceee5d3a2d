// Bar graphs (box type 14): three signed percentages per box. Bars 2 and 3 both negative mean a
// single bar over the whole inner height.
#include "MuiBargraph.h"

#include "ComDebug.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiTextures.h"

signed char mui_bargraph[MUI_MAX_BOXES][3];

void MuiBargraphReset(int id) {
  if (id < 0 || id >= MUI_MAX_BOXES) {
    DebugError("MuiBargraphReset", "Invalid ID: %d", id);
    return;
  }
  mui_bargraph[id][0] = 100;
  mui_bargraph[id][1] = 50;
  mui_bargraph[id][2] = 25;
}

void MuiBarGraphSetValues(int id, char bar1, char bar2, char bar3) {
  if (!MuiCheckId(id, "MuiBarGraphSetValues")) return;
  mouse_box[id].type = MUI_TYPE_BARGRAPH;
  mui_bargraph[id][0] = (signed char)bar1;
  mui_bargraph[id][1] = (signed char)bar2;
  mui_bargraph[id][2] = (signed char)bar3;
  MuiUpdate(id);
}

// One bar: its length is the clamped percentage of the inner width; an empty bar draws nothing
// (a zero-sized quad would show the texture at its last placement).
static void DrawBar(int standard, int value, int x, int inner_w, int top, int bottom) {
  if (value < 0) value = 0;
  if (value > 100) value = 100;
  const int len = value * inner_w / 100;
  if (len <= 0 || bottom <= top) return;
  MuiTexturesDrawButtonTexture(standard, 0, x, top, len, bottom - top);
}

void MuiBargraphDraw(int id) {
  if (!MuiCheckId(id, "MuiBargraphDraw")) return;
  const _MouseBox* b = &mouse_box[id];
  const int ix = b->x1 + 1, iy = b->y1 + 1;
  const int iw = b->w - 2, ih = b->h - 2;
  if (iw <= 0 || ih <= 0) return;
  const signed char* v = mui_bargraph[id];
  MuiBitmapSetupBlendingForStandardButtons();
  if (v[1] < 0 && v[2] < 0) {
    DrawBar(14, v[0], ix, iw, iy, iy + ih);
  } else {
    const int quarter = iy + (int)(ih * 0.25f), half = iy + (int)(ih * 0.5f);
    DrawBar(14, v[0], ix, iw, half, iy + ih);
    DrawBar(16, v[1], ix, iw, quarter, half);
    DrawBar(15, v[2], ix, iw, iy, quarter);
  }
  MuiBitmapTurnOffBlendingForStandardButtons();
}
