// Timers of the loop that runs the dialogs: a step that runs once, a while after the dialog has
// been shown, from inside that dialog's own loop.
#ifndef COM_MAC_GUI_TIMER_H
#define COM_MAC_GUI_TIMER_H

typedef struct ComMacGuiTimer* EventLoopTimerRef;
typedef void (*EventLoopTimerProcPtr)(EventLoopTimerRef timer);

// Installs a timer that runs action once, ms milliseconds from now, while a dialog's loop (or any
// GTK loop) runs. Answers 1 with the timer in *out; 0 for bad arguments or when GTK is not up.
// The action may remove its own timer; a timer that has fired and was not removed still holds
// its record until it is.
char ComMacGuiInstallTimer(unsigned ms, EventLoopTimerProcPtr action, EventLoopTimerRef* out);

// Removes a timer, fired or not (a pending one never fires), and nulls *timer. Null is ignored.
void ComMacGuiRemoveTimer(EventLoopTimerRef* timer);

#endif
