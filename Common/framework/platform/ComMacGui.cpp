// Dialogs from GtkBuilder interface files.
//
// How a dialog file is laid out (the convention every ".ui" file of the program follows):
// - The file is "<name>.ui" in the working folder (the resource folder); each dialog is one
//   top-level GtkWindow whose builder id is the dialog's name ("Startup"). Only that window is
//   loaded.
// - A control found by signature and id has the builder id "SIGN-id", trailing blanks of the
//   signature dropped: signature "RES " and id 13 is "RES-13".
// - A control sends the command in its widget name when that name has four characters (blanks
//   kept: <property name="name">ok  </property>); otherwise the signature of its builder id,
//   padded with blanks to four ("RES-13" sends "RES "), or a builder id of four characters or less
//   itself ("HOME"). Buttons send on "clicked", check and radio buttons on "toggled" (a radio
//   button only when it becomes active), popup lists on "changed". Radio buttons of one group
//   carry the group's command as their name and sit in a box that has the group's builder id.
// - The window's own widget name is the command that the window manager's close sends ("DONE",
//   "not!"); a window without one just ends.
// Popup lists are GtkComboBoxText widgets and are their own menus. GTK emits signals for changes
// the program makes itself; these never reach the handler (the setters below hold a guard).
#include "ComMacGui.h"

#include <glib-unix.h>
#include <gtk/gtk.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ComDebug.h"
#include "ComMacSignals.h"
#include "ComMacText.h"

struct ComMacGuiProc {
  EventHandlerProcPtr handler = nullptr;
  GtkWidget* window = nullptr;
  GMainLoop* loop = nullptr;
  uint32_t close_command = 0;
  std::vector<std::pair<GtkWidget*, gulong>> signals;
};

namespace {

// Above 0 while the program itself changes a control.
int cmg_setting = 0;
struct SettingGuard {
  SettingGuard() { cmg_setting++; }
  ~SettingGuard() { cmg_setting--; }
};

constexpr int kItemSize = 256;  // a menu item's text with its NUL

std::string FourToString(uint32_t c) {
  char s[5] = {(char)(c >> 24), (char)(c >> 16), (char)(c >> 8), (char)c, 0};
  return s;
}

uint32_t StringToFour(const char* s) {
  char p[4] = {' ', ' ', ' ', ' '};
  for (int i = 0; i < 4 && s[i]; i++) p[i] = s[i];
  return ((uint32_t)(unsigned char)p[0] << 24) | ((uint32_t)(unsigned char)p[1] << 16) |
         ((uint32_t)(unsigned char)p[2] << 8) | (uint32_t)(unsigned char)p[3];
}

// The command a widget sends, 0 for none.
uint32_t CommandOf(GtkWidget* w) {
  const char* name = gtk_widget_get_name(w);
  if (name && strlen(name) == 4) return StringToFour(name);
  const char* id = gtk_buildable_get_name(GTK_BUILDABLE(w));
  if (!id || !id[0] || strncmp(id, "___", 3) == 0) return 0;
  size_t sig_len = strcspn(id, "-");
  if (sig_len == 0 || sig_len > 4) return 0;
  char sig[5] = {0};
  memcpy(sig, id, sig_len);
  return StringToFour(sig);
}

void ForEachWidget(GtkWidget* w, void (*fn)(GtkWidget*, void*), void* data) {
  fn(w, data);
  if (GTK_IS_CONTAINER(w)) {
    struct Walk {
      void (*fn)(GtkWidget*, void*);
      void* data;
    } walk{fn, data};
    gtk_container_forall(
        GTK_CONTAINER(w),
        [](GtkWidget* child, gpointer p) {
          Walk* k = (Walk*)p;
          ForEachWidget(child, k->fn, k->data);
        },
        &walk);
  }
}

void Dispatch(ComMacGuiProc* proc, GtkWidget* control, uint32_t command) {
  if (!proc || !proc->handler || !command) return;
  ComMacGuiCommand event{command, control, proc->window};
  proc->handler(nullptr, &event, proc);
}

void OnClicked(GtkWidget* w, gpointer p) {
  if (cmg_setting) return;
  Dispatch((ComMacGuiProc*)p, w, CommandOf(w));
}

void OnToggled(GtkWidget* w, gpointer p) {
  if (cmg_setting) return;
  if (GTK_IS_RADIO_BUTTON(w) && !gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w))) return;
  Dispatch((ComMacGuiProc*)p, w, CommandOf(w));
}

gboolean OnDelete(GtkWidget* w, GdkEvent*, gpointer p) {
  ComMacGuiProc* proc = (ComMacGuiProc*)p;
  OSStatus r = eventNotHandledErr;
  if (proc->close_command && proc->handler) {
    ComMacGuiCommand event{proc->close_command, nullptr, w};
    r = proc->handler(nullptr, &event, proc);
  }
  if (r != noErr) ComMacGuiEndDialog(w);
  return TRUE;  // the window stays until the dialog is destroyed
}

void ConnectWidget(GtkWidget* w, void* data) {
  ComMacGuiProc* proc = (ComMacGuiProc*)data;
  if (w == proc->window || !CommandOf(w)) return;
  gulong id = 0;
  if (GTK_IS_TOGGLE_BUTTON(w))
    id = g_signal_connect(w, "toggled", G_CALLBACK(OnToggled), proc);
  else if (GTK_IS_BUTTON(w))
    id = g_signal_connect(w, "clicked", G_CALLBACK(OnClicked), proc);
  else if (GTK_IS_COMBO_BOX(w))
    id = g_signal_connect(w, "changed", G_CALLBACK(OnClicked), proc);
  if (id) proc->signals.push_back({w, id});
}

ComMacGuiProc* ProcOf(GtkWidget* window) {
  return window ? (ComMacGuiProc*)g_object_get_data(G_OBJECT(window), "cmg-proc") : nullptr;
}

std::string UiPath(CFStringRef name) { return std::string(name) + ".ui"; }

GtkComboBox* Combo(GtkWidget* w) { return w && GTK_IS_COMBO_BOX(w) ? GTK_COMBO_BOX(w) : nullptr; }

// The radio buttons of a group box, in their order.
std::vector<GtkWidget*> RadiosOf(GtkWidget* w) {
  std::vector<GtkWidget*> radios;
  if (!w || !GTK_IS_CONTAINER(w)) return radios;
  ForEachWidget(
      w, [](GtkWidget* c, void* d) {
        if (GTK_IS_RADIO_BUTTON(c)) ((std::vector<GtkWidget*>*)d)->push_back(c);
      },
      &radios);
  return radios;
}

// The text of item index (0-based) of a popup list, in UTF-8; false when there is none.
bool ItemText(GtkComboBox* combo, int index, std::string* out) {
  GtkTreeModel* model = gtk_combo_box_get_model(combo);
  GtkTreeIter it;
  if (!model || index < 0 || !gtk_tree_model_iter_nth_child(model, &it, nullptr, index)) return false;
  gchar* text = nullptr;
  gtk_tree_model_get(model, &it, gtk_combo_box_get_entry_text_column(combo) >= 0
                                     ? gtk_combo_box_get_entry_text_column(combo) : 0,
                     &text, -1);
  *out = text ? text : "";
  g_free(text);
  return true;
}

// The control's text in UTF-8; false for a control without one.
bool TextOf(GtkWidget* w, std::string* out) {
  if (!w) return false;
  if (GTK_IS_LABEL(w)) {
    *out = gtk_label_get_text(GTK_LABEL(w));
  } else if (GTK_IS_ENTRY(w)) {
    *out = gtk_entry_get_text(GTK_ENTRY(w));
  } else if (GTK_IS_TEXT_VIEW(w)) {
    GtkTextBuffer* b = gtk_text_view_get_buffer(GTK_TEXT_VIEW(w));
    GtkTextIter s, e;
    gtk_text_buffer_get_bounds(b, &s, &e);
    gchar* t = gtk_text_buffer_get_text(b, &s, &e, FALSE);
    *out = t ? t : "";
    g_free(t);
  } else if (GTK_IS_BUTTON(w)) {
    const char* l = gtk_button_get_label(GTK_BUTTON(w));
    *out = l ? l : "";
  } else {
    return false;
  }
  return true;
}

void SetTextOf(GtkWidget* w, const char* text) {
  if (!w || !text) return;
  SettingGuard g;
  std::string t = ComMacTextLatin1ToUtf8(text, (size_t)-1);
  if (GTK_IS_LABEL(w)) gtk_label_set_text(GTK_LABEL(w), t.c_str());
  else if (GTK_IS_ENTRY(w)) gtk_entry_set_text(GTK_ENTRY(w), t.c_str());
  else if (GTK_IS_TEXT_VIEW(w)) gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(w)), t.c_str(), -1);
  else if (GTK_IS_BUTTON(w)) gtk_button_set_label(GTK_BUTTON(w), t.c_str());
  gtk_widget_queue_draw(w);
}

int CopyText(GtkWidget* w, char* out, int len) {
  if (!w || !out || len <= 0) return 0;
  std::string t;
  if (!TextOf(w, &t)) {
    out[0] = 0;
    return 0;
  }
  return ComMacTextUtf8ToLatin1(t.c_str(), out, len);
}

// A termination signal came while a GTK loop runs: every dialog and message box on the screen
// ends as its close would, so the loops return and the program goes on to its exit.
gboolean OnTerminationSignal(gint fd, GIOCondition, gpointer) {
  char bytes[64];
  while (read(fd, bytes, sizeof(bytes)) > 0) {
  }
  if (!ComMacSignalsReceived()) return G_SOURCE_CONTINUE;
  GList* all = gtk_window_list_toplevels();
  for (GList* l = all; l; l = l->next) {
    GtkWidget* w = GTK_WIDGET(l->data);
    if (GTK_IS_DIALOG(w) && gtk_widget_get_visible(w)) gtk_dialog_response(GTK_DIALOG(w), GTK_RESPONSE_DELETE_EVENT);
    ComMacGuiEndDialog(w);
  }
  g_list_free(all);
  return G_SOURCE_CONTINUE;
}

}  // namespace

char ComMacGuiInitGtk() {
  static int state = 0;  // 0 not tried, 1 up, -1 failed
  if (state == 0) {
    if (gdk_display_get_default()) {
      state = 1;  // someone started it already
    } else {
      gtk_disable_setlocale();
      state = gtk_init_check(nullptr, nullptr) ? 1 : -1;
      if (state < 0) DebugError("ComMacGuiInitGtk", "Could not start GTK");
    }
    if (state == 1 && ComMacSignalsWakeFd() >= 0)
      g_unix_fd_add(ComMacSignalsWakeFd(), G_IO_IN, OnTerminationSignal, nullptr);
  }
  return state == 1;
}

char ComMacGuiLoadNIB(CFStringRef name, IBNibRef* out) {
  if (!name || !out) return 0;
  *out = nullptr;
  if (!ComMacGuiInitGtk()) {
    DebugError("ComMacGuiLoadNIB", "Could not load NIB <%s> [%ld]", name, -1L);
    return 0;
  }
  GtkBuilder* b = gtk_builder_new();
  GError* err = nullptr;
  if (!gtk_builder_add_from_file(b, UiPath(name).c_str(), &err)) {
    DebugError("ComMacGuiLoadNIB", "Could not load NIB <%s> [%ld]", name, err ? (long)err->code : -1L);
    if (err) g_error_free(err);
    g_object_unref(b);
    return 0;
  }
  *out = b;
  return 1;
}

void ComMacGuiReleaseNIB(IBNibRef nib) {
  if (nib) g_object_unref(nib);
}

char ComMacGuiLoadDialogFromNib(CFStringRef nib_name, CFStringRef window_name, EventHandlerProcPtr handler,
                                char run, EventHandlerUPP* upp, WindowRef* win) {
  if (!nib_name || !window_name || !handler || !upp || !win) return 0;
  if (*upp || *win) DebugError("ComMacGuiLoadDialogFromNib", "Warning - parameters not null");
  *upp = nullptr;
  *win = nullptr;
  if (!ComMacGuiInitGtk()) {
    DebugError("ComMacGuiLoadDialogFromNib", "CreateNibReference() failed [%d]", -1);
    return 0;
  }
  const std::string path = UiPath(nib_name);
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    DebugError("ComMacGuiLoadDialogFromNib", "CreateNibReference() failed [%d]", -43);
    return 0;
  }
  GtkBuilder* b = gtk_builder_new();
  GError* err = nullptr;
  gchar* ids[] = {const_cast<gchar*>(window_name), nullptr};
  GObject* obj = nullptr;
  if (gtk_builder_add_objects_from_file(b, path.c_str(), ids, &err))
    obj = gtk_builder_get_object(b, window_name);
  if (!obj || !GTK_IS_WINDOW(obj)) {
    DebugError("ComMacGuiLoadDialogFromNib", "CreateWindowFromNib() failed [%d]", err ? err->code : -1);
    if (err) g_error_free(err);
    // A window that did load belongs to GTK's list of top-levels: destroy it.
    if (obj && GTK_IS_WIDGET(obj)) gtk_widget_destroy(GTK_WIDGET(obj));
    g_object_unref(b);
    return 0;
  }
  GtkWidget* window = GTK_WIDGET(obj);
  // GTK keeps its top-level windows; the builder can go.
  g_object_unref(b);

  ComMacGuiProc* proc = new ComMacGuiProc;
  proc->handler = handler;
  proc->window = window;
  proc->loop = g_main_loop_new(nullptr, FALSE);
  const char* wname = gtk_widget_get_name(window);
  if (wname && strlen(wname) == 4) proc->close_command = StringToFour(wname);
  ForEachWidget(window, ConnectWidget, proc);
  proc->signals.push_back({window, g_signal_connect(window, "delete-event", G_CALLBACK(OnDelete), proc)});
  g_object_set_data(G_OBJECT(window), "cmg-proc", proc);
  *upp = proc;
  *win = window;
  if (run) return ComMacGuiDoDialog(upp, win, 0, 1);
  return 1;
}

char ComMacGuiLoadAndRunDialogFromNib(CFStringRef nib_name, CFStringRef window_name,
                                      EventHandlerProcPtr handler, WindowRef* win) {
  EventHandlerUPP upp = nullptr;
  return ComMacGuiLoadDialogFromNib(nib_name, window_name, handler, 1, &upp, win);
}

char ComMacGuiDoDialog(EventHandlerUPP* upp, WindowRef* win, char modal, char destroy) {
  if (!upp || !win || !*upp || !*win) {
    DebugInfo("%s", "Bad parameters");
    return 0;
  }
  ComMacGuiProc* proc = *upp;
  if (g_main_loop_is_running(proc->loop)) {
    DebugError("ComMacGuiDoDialog", "Dialog in wrong state");
    return 0;
  }
  if (ComMacSignalsReceived()) {
    // The program is ending: the dialog is not shown, as if closed at once.
    if (destroy) ComMacGuiDestroyDialog(upp, win);
    return 1;
  }
  GtkWindow* w = GTK_WINDOW(*win);
  gtk_window_set_modal(w, modal ? TRUE : FALSE);
  gtk_window_set_position(w, GTK_WIN_POS_CENTER);
  gtk_widget_show(*win);
  gtk_window_present(w);
  g_main_loop_run(proc->loop);
  if (destroy) ComMacGuiDestroyDialog(upp, win);
  return 1;
}

void ComMacGuiEndDialog(WindowRef window) {
  ComMacGuiProc* proc = ProcOf(window);
  if (proc && g_main_loop_is_running(proc->loop)) g_main_loop_quit(proc->loop);
}

void ComMacGuiDestroyDialog(EventHandlerUPP* upp, WindowRef* win) {
  if (!upp || !win || !*upp || !*win) {
    DebugInfo("%s", "Bad parameters");
    return;
  }
  ComMacGuiProc* proc = *upp;
  for (auto& s : proc->signals) g_signal_handler_disconnect(s.first, s.second);
  g_object_set_data(G_OBJECT(*win), "cmg-proc", nullptr);
  gtk_widget_destroy(*win);
  if (g_main_loop_is_running(proc->loop)) g_main_loop_quit(proc->loop);
  g_main_loop_unref(proc->loop);
  delete proc;
  *upp = nullptr;
  *win = nullptr;
  // The window leaves the screen now, not at the next GTK loop that may never come.
  while (gtk_events_pending()) gtk_main_iteration();
}

void ComMacGuiRunEventsFor(unsigned ms) {
  gint64 end = g_get_monotonic_time() + (gint64)ms * 1000;
  do {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    g_usleep(10000);
  } while (g_get_monotonic_time() < end);
}

char ComMacGuiLoadMenuFromNIB(CFStringRef name) {
  // The program's window has no menu bar.
  DebugError("ComMacGuiLoadMenuFromNIB", "SetMenuBarFromNib failed");
  (void)name;
  return 0;
}

char ComMacGuiGetControl(WindowRef window, unsigned long signature, long id, ControlRef* out) {
  if (!window || !out) return 0;
  *out = nullptr;
  std::string sig = FourToString((uint32_t)signature);
  while (!sig.empty() && sig.back() == ' ') sig.pop_back();
  struct Find {
    std::string want;
    GtkWidget* found;
  } find{sig + "-" + std::to_string(id), nullptr};
  ForEachWidget(
      window, [](GtkWidget* w, void* d) {
        Find* f = (Find*)d;
        const char* n = gtk_buildable_get_name(GTK_BUILDABLE(w));
        if (!f->found && n && f->want == n) f->found = w;
      },
      &find);
  if (!find.found) {
    DebugError("ComMacGuiGetControl", "Could not get control [id = %d]", (int)id);
    return 0;
  }
  *out = find.found;
  return 1;
}

void ComMacGuiSetKeyboardFocus(ControlRef control) {
  if (!control) return;
  SettingGuard g;
  gtk_widget_grab_focus(control);
}

char ComMacGuiGetPopupButtonMenu(ControlRef control, MenuRef* out) {
  if (!control || !out) return 0;
  if (ComMacGuiGetPopupButtonMenuRef(control, out) != noErr) {
    DebugError("ComMacGuiGetPopupButtonMenu", "Could not get popup menu");
    return 0;
  }
  return 1;
}

OSStatus ComMacGuiGetPopupButtonMenuRef(ControlRef control, MenuRef* out) {
  if (!control || !out) return -1;
  if (!GTK_IS_COMBO_BOX_TEXT(control)) return -50;
  *out = control;
  return noErr;
}

int ComMacGuiGetMenuCount(MenuRef menu) {
  GtkComboBox* c = Combo(menu);
  if (!c) return 0;
  GtkTreeModel* m = gtk_combo_box_get_model(c);
  return m ? gtk_tree_model_iter_n_children(m, nullptr) : 0;
}

void ComMacGuiResetMenu(MenuRef menu) {
  if (!menu || !GTK_IS_COMBO_BOX_TEXT(menu)) return;
  SettingGuard g;
  gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(menu));
}

void ComMacGuiAddStringToMenu(MenuRef menu, char* text) {
  if (!menu || !text || !GTK_IS_COMBO_BOX_TEXT(menu)) return;
  if (strlen(text) >= kItemSize) {
    DebugError("ComMacGuiAddStringToMenu", "String too long <%.200s...>", text);
    return;
  }
  SettingGuard g;
  gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(menu), ComMacTextLatin1ToUtf8(text, kItemSize).c_str());
}

void ComMacGuiGetMenuItemString(MenuRef menu, char* out, int item) {
  if (!out) return;
  out[0] = 0;
  GtkComboBox* c = Combo(menu);
  std::string t;
  if (c && ItemText(c, item - 1, &t)) ComMacTextUtf8ToLatin1(t.c_str(), out, kItemSize);
}

void ComMacGuiGetPopupMenuCurrentText(MenuRef menu, ControlRef control, char* out) {
  (void)menu;
  if (!out) return;
  out[0] = 0;
  GtkComboBox* c = Combo(control);
  std::string t;
  if (c && ItemText(c, gtk_combo_box_get_active(c), &t)) ComMacTextUtf8ToLatin1(t.c_str(), out, kItemSize);
}

void ComMacGuiSetPopupControlCurrentSelection(ControlRef control, int index) {
  if (!control) return;
  SettingGuard g;
  if (GtkComboBox* c = Combo(control)) {
    gtk_combo_box_set_active(c, index >= 0 && index < ComMacGuiGetMenuCount(control) ? index : -1);
    return;
  }
  std::vector<GtkWidget*> radios = RadiosOf(control);
  if (index >= 0 && index < (int)radios.size())
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(radios[index]), TRUE);
}

int ComMacGuiGetPopupControlCurrentSelection(ControlRef control) {
  if (!control) return -1;
  if (GtkComboBox* c = Combo(control)) return gtk_combo_box_get_active(c);
  std::vector<GtkWidget*> radios = RadiosOf(control);
  for (size_t i = 0; i < radios.size(); i++)
    if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(radios[i]))) return (int)i;
  return -1;
}

OSStatus ComMacGuiSyncPopupButtonToMenu(ControlRef control) {
  if (!control) return -1;
  // A GTK list always spans its items; only a selection beyond them needs clearing.
  GtkComboBox* c = Combo(control);
  if (c && gtk_combo_box_get_active(c) >= ComMacGuiGetMenuCount(control)) {
    SettingGuard g;
    gtk_combo_box_set_active(c, -1);
  }
  gtk_widget_queue_draw(control);
  return noErr;
}

// A GTK popup list has neither per-item enabling nor check marks; the program uses neither.
void ComMacGuiEnableMenuItemUsingCommandId(MenuRef menu, uint32_t command, char on) {
  (void)menu, (void)command, (void)on;
}
void ComMacGuiCheckMenuItemUsingCommandId(MenuRef menu, uint32_t command, char on) {
  (void)menu, (void)command, (void)on;
}

void ComMacGuiSetMenuTitleText(MenuRef menu, char* text) {
  if (!menu || !text) return;
  // A popup list shows its selected item, never a title.
  DebugError("ComMacGuiSetMenuTitleText", "Could not set menu text to <%s>", text);
}

void ComMacGuiSetMenuItemText(MenuRef menu, unsigned item, char* text) {
  if (!menu || !text) return;
  int n = ComMacGuiGetMenuCount(menu);
  if (!GTK_IS_COMBO_BOX_TEXT(menu) || item < 1 || (int)item > n || strlen(text) >= kItemSize) {
    DebugError("ComMacGuiSetMenuItemText", "Could not set menu text to <%.200s>", text);
    return;
  }
  SettingGuard g;
  GtkComboBoxText* c = GTK_COMBO_BOX_TEXT(menu);
  int active = gtk_combo_box_get_active(GTK_COMBO_BOX(c));
  gtk_combo_box_text_remove(c, (int)item - 1);
  gtk_combo_box_text_insert_text(c, (int)item - 1, ComMacTextLatin1ToUtf8(text, kItemSize).c_str());
  gtk_combo_box_set_active(GTK_COMBO_BOX(c), active);
}

void ComMacGuiCheckButton(ControlRef control, char on) {
  if (!control || !GTK_IS_TOGGLE_BUTTON(control)) return;
  SettingGuard g;
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(control), on ? TRUE : FALSE);
}

char ComMacGuiIsButtonChecked(ControlRef control) {
  if (!control || !GTK_IS_TOGGLE_BUTTON(control)) return 0;
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(control)) ? 1 : 0;
}

void ComMacGuiSetStaticTextString(ControlRef control, char* text) { SetTextOf(control, text); }
void ComMacGuiSetEditableTextString(ControlRef control, char* text) { SetTextOf(control, text); }
void ComMacGuiSetEditableTextString2(ControlRef control, char* text) { SetTextOf(control, text); }
int ComMacGuiGetStaticTextString(ControlRef control, char* out, int len) { return CopyText(control, out, len); }
int ComMacGuiGetEditableTextString(ControlRef control, char* out, int len) { return CopyText(control, out, len); }

void ComMacGuiSetEditableTextInt(ControlRef control, int value) {
  char s[16];
  snprintf(s, sizeof(s), "%d", value);
  SetTextOf(control, s);
}

int ComMacGuiGetEditableTextInt(ControlRef control) {
  if (!control) return -1;
  char s[256];
  if (CopyText(control, s, sizeof(s)) == 0) return -1;
  return atoi(s);
}

void ComMacGuiSetBevelButtonTextString(ControlRef control, char* text) {
  if (control && GTK_IS_BUTTON(control)) SetTextOf(control, text);
}

char ComMacGuiQtSetPictPictureFromFile(ControlRef control, char* path, PicHandle* out) {
  const char* func = "ComMacGuiSetPictPictureFromFile";
  if (!control || !path || !out) return 0;
  struct stat st;
  if (stat(path, &st) != 0) {
    DebugError(func, "Make FSRef failed (file <%s> not found)", path);
    return 0;
  }
  if (!S_ISREG(st.st_mode)) {
    DebugError(func, "FSGetCatalogInfo() failed");
    return 0;
  }
  GError* err = nullptr;
  GdkPixbuf* pic = gdk_pixbuf_new_from_file(path, &err);
  if (!pic) {
    if (err) g_error_free(err);
    DebugError(func, "GetGraphicsImporterForFile() failed");
    return 0;
  }
  if (!GTK_IS_IMAGE(control)) {
    g_object_unref(pic);
    DebugError(func, "GraphicsImportGetAsPicture() failed");
    return 0;
  }
  gtk_image_set_from_pixbuf(GTK_IMAGE(control), pic);
  gtk_widget_queue_draw(control);
  *out = pic;
  return 1;
}

void ComMacGuiQtReleasePicture(PicHandle* picture) {
  if (picture && *picture) {
    g_object_unref(*picture);
    *picture = nullptr;
  }
}

void ComPcMacGuiResetList(char, MenuRef menu) { ComMacGuiResetMenu(menu); }
void ComPcMacGuiAddStringToList(char, MenuRef menu, int, char* text) { ComMacGuiAddStringToMenu(menu, text); }
OSStatus ComPcMacGuiSyncList(ControlRef control) { return ComMacGuiSyncPopupButtonToMenu(control); }
void ComPcMacGuiUpdateList(ControlRef control) {
  if (control) gtk_widget_queue_draw(control);
}
int ComPcMacGuiGetListPos(char, ControlRef control) { return ComMacGuiGetPopupControlCurrentSelection(control); }
void ComPcMacGuiSetListPos(char, ControlRef control, int index) {
  ComMacGuiSetPopupControlCurrentSelection(control, index);
}
void ComPcMacGuiGetListItemString(char, MenuRef menu, char* out, int index) {
  ComMacGuiGetMenuItemString(menu, out, index + 1);
}
void ComPcMacGuiSetStaticTextString(char, ControlRef control, char* text) {
  ComMacGuiSetStaticTextString(control, text);
}
void ComPcMacGuiSetButtonTextString(char, ControlRef control, char* text) {
  ComMacGuiSetBevelButtonTextString(control, text);
}
void ComPcMacGuiEnableList(char, MenuRef menu, char on) {
  if (menu) gtk_widget_set_sensitive(menu, on ? TRUE : FALSE);
}
void ComPcMacGuiEnableControl(char, ControlRef control, char on) {
  if (control) gtk_widget_set_sensitive(control, on ? TRUE : FALSE);
}
void ComPcMacGuiShowControl(char, ControlRef control, char on) {
  if (control) gtk_widget_set_visible(control, on ? TRUE : FALSE);
}
int ComPcMacGuiGetNumItemsInMenu(char, MenuRef menu) { return ComMacGuiGetMenuCount(menu); }
