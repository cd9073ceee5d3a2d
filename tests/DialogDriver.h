// Drives the program's GTK dialogs from inside their own modal loop: a GLib timer finds the open
// window by its builder name and runs the test's step on it, again and again until the step says
// it is done. Also the user's side of a control: a click, a choice in a list, the window's close.
#ifndef DIALOG_DRIVER_H
#define DIALOG_DRIVER_H

#include <gtk/gtk.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "ComMacGui.h"

namespace dialogtest {

// The tests' GTK runs without the accessibility bridge: it keeps a few strings until the process
// ends, which the sanitizer run cannot tell from a leak (its short stacks end inside GLib).
inline const bool kNoAccessibilityBridge = (setenv("NO_AT_BRIDGE", "1", 0), true);

// The shown top-level window whose builder name is name, or null.
inline GtkWidget* FindWindow(const char* name) {
  GList* all = gtk_window_list_toplevels();
  GtkWidget* found = nullptr;
  for (GList* l = all; l; l = l->next) {
    GtkWidget* w = GTK_WIDGET(l->data);
    const char* n = gtk_buildable_get_name(GTK_BUILDABLE(w));
    if (n && strcmp(n, name) == 0 && gtk_widget_get_visible(w)) found = w;
  }
  g_list_free(all);
  return found;
}

// A control by its builder id ("RES-13", "HOME"), searched through the window's widgets.
inline GtkWidget* Find(GtkWidget* root, const char* id) {
  if (!root) return nullptr;
  const char* n = gtk_buildable_get_name(GTK_BUILDABLE(root));
  if (n && strcmp(n, id) == 0) return root;
  if (!GTK_IS_CONTAINER(root)) return nullptr;
  GList* kids = gtk_container_get_children(GTK_CONTAINER(root));
  GtkWidget* found = nullptr;
  for (GList* l = kids; l && !found; l = l->next) found = Find(GTK_WIDGET(l->data), id);
  g_list_free(kids);
  if (!found && GTK_IS_FRAME(root)) found = Find(gtk_frame_get_label_widget(GTK_FRAME(root)), id);
  return found;
}

// What a user does: these go through GTK's own signals, as a click or a choice would.
inline void Click(GtkWidget* w) { gtk_button_clicked(GTK_BUTTON(w)); }
inline void Choose(GtkWidget* combo, int index) { gtk_combo_box_set_active(GTK_COMBO_BOX(combo), index); }
inline void Toggle(GtkWidget* toggle, bool on) { gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(toggle), on); }
// The window manager's close: a delete event delivered to the window.
inline void Close(GtkWidget* window) {
  GdkEvent* e = gdk_event_new(GDK_DELETE);
  e->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
  e->any.send_event = TRUE;
  gtk_main_do_event(e);
  gdk_event_free(e);
}

// Runs step(window) every 30 ms while the window named name is shown, until step answers true.
// At most `limit_ms` in all: then the window is closed so the test cannot hang.
class Driver {
 public:
  Driver(const char* name, std::function<bool(GtkWidget*)> step, int limit_ms = 15000)
      : name_(name), step_(std::move(step)), left_(limit_ms / 30) {
    id_ = g_timeout_add(30, &Driver::Tick, this);
  }
  ~Driver() {
    if (id_) g_source_remove(id_);
  }
  bool TimedOut() const { return timed_out_; }

 private:
  static gboolean Tick(gpointer p) {
    Driver* d = (Driver*)p;
    GtkWidget* w = FindWindow(d->name_.c_str());
    if (--d->left_ <= 0) {
      d->timed_out_ = true;
      if (w) Close(w);
      d->id_ = 0;
      return G_SOURCE_REMOVE;
    }
    if (!w) return G_SOURCE_CONTINUE;
    if (d->step_(w)) {
      d->id_ = 0;
      return G_SOURCE_REMOVE;
    }
    return G_SOURCE_CONTINUE;
  }
  std::string name_;
  std::function<bool(GtkWidget*)> step_;
  int left_;
  guint id_ = 0;
  bool timed_out_ = false;
};

// The browser opener the dialogs' links start, replaced for the life of the object by a recording
// xdg-open first on PATH (in folder/bin): it appends the address it is given, a line each, to
// folder/opened.txt.
class RecordingOpener {
 public:
  explicit RecordingOpener(const std::string& folder)
      : record_(folder + "/opened.txt"), old_path_(getenv("PATH") ? getenv("PATH") : "") {
    const std::string bin = folder + "/bin";
    mkdir(bin.c_str(), 0755);
    {
      std::ofstream f(bin + "/xdg-open");
      f << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << record_ << "'\n";
    }
    chmod((bin + "/xdg-open").c_str(), 0755);
    setenv("PATH", (bin + ":" + old_path_).c_str(), 1);
  }
  ~RecordingOpener() { setenv("PATH", old_path_.c_str(), 1); }
  RecordingOpener(const RecordingOpener&) = delete;
  RecordingOpener& operator=(const RecordingOpener&) = delete;

  // The opener runs detached: what it has recorded once it holds `lines` lines, or after 5 s.
  std::string Opened(long lines) const {
    std::string opened;
    for (int i = 0; i < 250; i++) {
      std::ifstream in(record_);
      std::ostringstream s;
      s << in.rdbuf();
      opened = s.str();
      if (std::count(opened.begin(), opened.end(), '\n') >= lines) break;
      usleep(20000);
    }
    return opened;
  }

 private:
  std::string record_, old_path_;
};

}  // namespace dialogtest

#endif
