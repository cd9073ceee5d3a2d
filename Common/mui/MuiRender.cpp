// Drawing of the menu layer once a frame: the background, every shown box in id order by its
// type (later boxes on top), the open list over everything, and the popup over the darkened screen.
#include "MuiRender.h"

#include "ComGlMisc.h"
#include "ComGlTexture.h"
#include "MuiArea.h"
#include "MuiBargraph.h"
#include "MuiBars.h"
#include "MuiBitmap.h"
#include "MuiBox.h"
#include "MuiChoice.h"
#include "MuiColour.h"
#include "MuiHooks.h"
#include "MuiList.h"
#include "MuiMulti.h"
#include "MuiPanel.h"
#include "MuiPicture.h"
#include "MuiPopup.h"
#include "MuiRange.h"
#include "MuiText.h"

_ComGlDxTexture* mui_render_bg_tex = nullptr;

void MuiRenderSetBackgroundTexture(_ComGlDxTexture* texture) { mui_render_bg_tex = texture; }

void MuiRenderDrawButton(int id) {
  if (!MuiIdValid(id) || !mouse_box[id].shown) return;
  MuiBitmapDrawButton(id);
  MuiPictureDraw(id);
  MuiPrepareAndDrawText(id);
}

static void DrawBox(int id) {
  switch (mouse_box[id].type) {
    case MUI_TYPE_RANGE:
      MuiRenderDrawButton(id);
      MuiRangeDrawButton(id);
      break;
    case MUI_TYPE_LIST:
      // The open list is drawn last, over everything.
      if (id != MuiListGetOpenId()) MuiRenderDrawButton(id);
      break;
    case MUI_TYPE_PANEL:
      MuiPanelDraw(id, 1, 0);
      MuiPanelDraw(id, 0, 1);
      MuiBitmapDrawStandardTextures(id);
      break;
    case MUI_TYPE_SCRIPT:
      MuiScriptDraw(id, 1, 0);
      MuiScriptDraw(id, 0, 1);
      MuiBitmapDrawStandardTextures(id);
      break;
    case MUI_TYPE_MULTISEL:
      MuiMultiselDraw(id, 1, 0);
      MuiMultiselDraw(id, 0, 1);
      MuiBitmapDrawStandardTextures(id);
      break;
    case MUI_TYPE_CHOICE:
      MuiChoiceDraw(id);
      MuiChoiceDrawTexts(id);
      MuiBitmapDrawStandardTextures(id);
      break;
    case MUI_TYPE_STATSBAR:
      MuiStatsbarDraw(id);
      break;
    case MUI_TYPE_PROGRESS:
      MuiProgressDraw(id);
      MuiPrepareAndDrawText(id);
      break;
    case MUI_TYPE_COLOUR:
      MuiColourDraw(id);
      break;
    case MUI_TYPE_BARGRAPH:
      MuiBitmapDrawButton(id);
      MuiBargraphDraw(id);
      break;
    case MUI_TYPE_PIE:
      MuiBitmapDrawButton(id);
      MuiPictureDraw(id);
      MuiPieDraw(id);
      MuiPrepareAndDrawText(id);
      break;
    case MUI_TYPE_GRAPH:
      MuiBitmapDrawButton(id);
      MuiPictureDraw(id);
      MuiGraphDraw(id);
      break;
    case MUI_TYPE_AREA:
      MuiAreaDraw(id);
      break;
    default:
      MuiRenderDrawButton(id);
      break;
  }
}

void MuiRender() {
  char prepared_here = 0;
  ComGlMiscPrepareFor2DIfNeeded(1, &prepared_here);
  if (mui_render_bg_tex && mui_render_bg_tex->created) {
    ComGlTexturePositionRatioed(mui_render_bg_tex, 0, 0, 640, 480);
    ComGlTextureDraw(mui_render_bg_tex);
  }
  MuiBitmapUpdateStandardButtons();
  for (int id = 0; id < num_mouse_boxes; id++)
    if (mouse_box[id].shown) DrawBox(id);
  if (MuiIdValid(MuiListGetOpenId())) MuiListDrawExtra(1, 1);
  if (prepared_here) ComGlMiscRestoreAfter2D();
}

void MuiRenderAlwaysOnTop() {
  if (!MuiPopupIsOn()) return;
  char prepared_here = 0;
  ComGlMiscPrepareFor2DIfNeeded(1, &prepared_here);
  MuiPopupDrawButtons();
  if (prepared_here) ComGlMiscRestoreAfter2D();
}
