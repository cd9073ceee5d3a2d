// Pointer control through Xlib on the program's own X connection. The acceleration saved by a
// switch-off is put back at every exit.
#include "ComMacMiscIO.h"

#include <X11/Xlib.h>
#include <cstdlib>

#include "ComDebug.h"

char cmm_mouse_scaling_disabled = 0;
static int cmm_save_accel_num = 0, cmm_save_accel_den = 0, cmm_save_threshold = 0;
static Display* cmm_display = nullptr;
static char cmm_atexit_registered = 0;

static Display* OwnDisplay() {
  if (!cmm_display) cmm_display = XOpenDisplay(nullptr);
  return cmm_display;
}

char ComMacMiscIOSetCursorPosition(int x, int y) {
  Display* d = OwnDisplay();
  if (!d) {
    DebugError("ComMacMiscIOSetCursorPosition", "Could not open even status");
    return 0;
  }
  if (!XWarpPointer(d, None, DefaultRootWindow(d), 0, 0, 0, 0, x, y)) {
    DebugError("ComMacMiscIOSetCursorPosition", "IOHIDSetMouseLocation() failed");
    return 0;
  }
  XSync(d, False);  // done before anyone asks where the pointer is
  return 1;
}

char ComMacMiscIOGetPointerControl(int* numerator, int* denominator, int* threshold) {
  Display* d = OwnDisplay();
  if (!d) return 0;
  int n = 0, den = 0, t = 0;
  XGetPointerControl(d, &n, &den, &t);
  if (numerator) *numerator = n;
  if (denominator) *denominator = den;
  if (threshold) *threshold = t;
  return 1;
}

static void RestoreAtExit() { ComMacMiscIORestoreMouseScaling(); }

char ComMacMiscIODisableMouseScaling() {
  if (cmm_mouse_scaling_disabled) {
    DebugError("ComMacMiscIODisableMouseScaling", "Already disabled");
    return 0;
  }
  Display* d = OwnDisplay();
  if (!d) {
    DebugError("ComMacMiscIODisableMouseScaling", "Could not open even status");
    return 0;
  }
  XGetPointerControl(d, &cmm_save_accel_num, &cmm_save_accel_den, &cmm_save_threshold);
  XChangePointerControl(d, True, True, 1, 1, 0);
  XSync(d, False);
  cmm_mouse_scaling_disabled = 1;
  // Also the exit paths that bypass the orderly shut-down.
  if (!cmm_atexit_registered) {
    atexit(RestoreAtExit);
    cmm_atexit_registered = 1;
  }
  return 1;
}

void ComMacMiscIORestoreMouseScaling() {
  if (!cmm_mouse_scaling_disabled) return;
  Display* d = OwnDisplay();
  if (d) {
    XChangePointerControl(d, True, True, cmm_save_accel_num, cmm_save_accel_den > 0 ? cmm_save_accel_den : 1,
                          cmm_save_threshold);
    XSync(d, False);
  }
  cmm_mouse_scaling_disabled = 0;
}
