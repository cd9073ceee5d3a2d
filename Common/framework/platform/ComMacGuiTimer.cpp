// Dialog timers over GLib's timeout sources.
#include "ComMacGuiTimer.h"

#include <glib.h>

#include "ComMacGui.h"

struct ComMacGuiTimer {
  guint source = 0;  // 0 once fired
  EventLoopTimerProcPtr action = nullptr;
};

namespace {

gboolean Fire(gpointer p) {
  ComMacGuiTimer* t = (ComMacGuiTimer*)p;
  // The source ends with this call; the action may free the record, so nothing touches it after.
  t->source = 0;
  t->action(t);
  return G_SOURCE_REMOVE;
}

}  // namespace

char ComMacGuiInstallTimer(unsigned ms, EventLoopTimerProcPtr action, EventLoopTimerRef* out) {
  if (!action || !out) return 0;
  *out = nullptr;
  if (!ComMacGuiInitGtk()) return 0;
  ComMacGuiTimer* t = new ComMacGuiTimer;
  t->action = action;
  t->source = g_timeout_add(ms, Fire, t);
  *out = t;
  return 1;
}

void ComMacGuiRemoveTimer(EventLoopTimerRef* timer) {
  if (!timer || !*timer) return;
  if ((*timer)->source) g_source_remove((*timer)->source);
  delete *timer;
  *timer = nullptr;
}
