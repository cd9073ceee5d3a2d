// Platform message boxes. While GTK is up and the program is not in full screen the box is a GTK
// message dialog; otherwise (no GTK, or a full-screen window that a GTK window would hide behind)
// it is an SDL message box. Texts are Windows Latin-1 inside the program and UTF-8 for both
// toolkits; they are always handed over as data, never as a format.
#include "ComMacMessageBox.h"

#include <SDL.h>
#include <gtk/gtk.h>

#include <cstring>
#include <string>

#include "ComDebug.h"
#include "ComMacGui.h"
#include "ComMacSignals.h"
#include "ComMacText.h"

ComWinPopupCallback cmw_popup_messages_callback = nullptr;
ComWinPopupCallback cmw_after_exit_popup_callback = nullptr;

namespace {

// A box text of 255 characters or more is cut to this length and still shown.
constexpr size_t kMaxBoxText = 254;

// The program's SDL window, when SDL video is up and a window exists.
SDL_Window* FindProgramWindow() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
  SDL_Window* w = SDL_GL_GetCurrentWindow();
  if (w) return w;
  w = SDL_GetKeyboardFocus();
  if (w) return w;
  for (Uint32 id = 1; id < 64; id++) {
    w = SDL_GetWindowFromID(id);
    if (w) return w;
  }
  return nullptr;
}

bool IsFullScreen(SDL_Window* w) {
  return w && (SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN) != 0;
}

// GTK is started for a box when it is not up yet: its boxes end when a termination signal comes,
// SDL's cannot.
bool UseGtk(SDL_Window* w) { return !IsFullScreen(w) && (gdk_display_get_default() != nullptr || ComMacGuiInitGtk()); }

void DrainGtkEvents() {
  while (gtk_events_pending()) gtk_main_iteration();
}

// Runs a GTK message dialog; answers the response.
gint RunGtkDialog(GtkMessageType type, GtkButtonsType buttons, const std::string& main_text,
                  const std::string* explanation, GtkResponseType default_response) {
  GtkWidget* dialog =
      gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, type, buttons, "%s", main_text.c_str());
  if (explanation)
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s",
                                             explanation->c_str());
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  if (default_response != GTK_RESPONSE_NONE)
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), default_response);
  gint r = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  DrainGtkEvents();
  return r;
}

// Checks the text; a null text is refused, a long one is logged and cut. Once a termination
// signal has come no box is shown (it would hold the exit): the text is only logged.
bool CheckText(const char* func, const char* text) {
  if (!text) {
    DebugError(func, "Main string not set");
    return false;
  }
  if (ComMacSignalsReceived()) {
    DebugError(func, "Ending on a signal - not shown <%s>", text);
    return false;
  }
  if (strlen(text) > kMaxBoxText) DebugError(func, "String too long <%s>", text);
  return true;
}

}  // namespace

void ComWinSetPopupMessagesCallback(ComWinPopupCallback popup, ComWinPopupCallback after_exit_popup) {
  cmw_popup_messages_callback = popup;
  cmw_after_exit_popup_callback = after_exit_popup;
}

void ComWinPopupMessage(const char* title, const char* text, char kind) {
  if (cmw_popup_messages_callback) {
    // The callback gets its own copies, so it may keep or change them.
    std::string t = title ? title : "";
    std::string m = text ? text : "";
    cmw_popup_messages_callback(title ? &t[0] : nullptr, text ? &m[0] : nullptr, kind);
    return;
  }
  if (!CheckText("ComWinPopupMessage", text)) return;

  const bool has_title = title && title[0];
  const std::string title8 = has_title ? ComMacTextLatin1ToUtf8(title, kMaxBoxText) : std::string();
  const std::string text8 = ComMacTextLatin1ToUtf8(text, kMaxBoxText);
  SDL_Window* window = FindProgramWindow();

  if (UseGtk(window)) {
    GtkMessageType type = GTK_MESSAGE_OTHER;
    if (kind == 1 || kind == 2) type = GTK_MESSAGE_WARNING;
    else if (kind == 3) type = GTK_MESSAGE_INFO;
    if (has_title)
      RunGtkDialog(type, GTK_BUTTONS_OK, title8, &text8, GTK_RESPONSE_OK);
    else
      RunGtkDialog(type, GTK_BUTTONS_OK, text8, nullptr, GTK_RESPONSE_OK);
    return;
  }

  Uint32 flags = 0;
  if (kind == 1 || kind == 2) flags = SDL_MESSAGEBOX_WARNING;
  else if (kind == 3) flags = SDL_MESSAGEBOX_INFORMATION;
  if (SDL_ShowSimpleMessageBox(flags, title8.c_str(), text8.c_str(),
                               IsFullScreen(window) ? window : nullptr) != 0)
    DebugError("ComWinPopupMessage", "Could not show message box [%s]", SDL_GetError());
}

char ComWinPopupOkCancel(const char* title, const char* text) {
  if (!CheckText("ComWinPopupOkCancel", text)) return 0;

  const bool has_title = title && title[0];
  const std::string title8 = has_title ? ComMacTextLatin1ToUtf8(title, kMaxBoxText) : std::string();
  const std::string text8 = ComMacTextLatin1ToUtf8(text, kMaxBoxText);
  SDL_Window* window = FindProgramWindow();

  if (UseGtk(window)) {
    gint r = has_title ? RunGtkDialog(GTK_MESSAGE_OTHER, GTK_BUTTONS_OK_CANCEL, title8, &text8,
                                      GTK_RESPONSE_OK)
                       : RunGtkDialog(GTK_MESSAGE_OTHER, GTK_BUTTONS_OK_CANCEL, text8, nullptr,
                                      GTK_RESPONSE_OK);
    return r == GTK_RESPONSE_OK ? 1 : 0;
  }

  const SDL_MessageBoxButtonData buttons[2] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "Cancel"},
  };
  SDL_MessageBoxData data;
  memset(&data, 0, sizeof(data));
  data.flags = 0;
  data.window = IsFullScreen(window) ? window : nullptr;
  data.title = title8.c_str();
  data.message = text8.c_str();
  data.numbuttons = 2;
  data.buttons = buttons;
  int pressed = 0;
  if (SDL_ShowMessageBox(&data, &pressed) != 0) {
    DebugError("ComWinPopupOkCancel", "Could not show message box [%s]", SDL_GetError());
    return 0;
  }
  return pressed == 1 ? 1 : 0;
}
