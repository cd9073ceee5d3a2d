// Platform events: the quit request, the event pumps and the one handler that turns SDL's
// events into the shell's input calls.
#ifndef COM_MAC_EVENTS_H
#define COM_MAC_EVENTS_H

union SDL_Event;

extern char cme_quit_main_loop; // the quit request; set once, never cleared

char ComMacEventsSetupHandler();
// Handles one SDL event (keys, text, mouse, wheel, window, quit); answers 1 when it was used.
char ComMacEventsHandler(SDL_Event* event);
// Events taken by the pumps that the handler does not know; only logged.
void ComMacEventsHandleEvent(SDL_Event* event);
void ComMacEventsStopLoop();

// Pump one pending event without waiting; 0 once the quit request is set.
char ComMacEventsRunLoop();
// The same, waiting up to ticks sixtieths of a second for an event.
char ComMacEventsRunLoopWithWait(unsigned ticks);
// Waits up to ms milliseconds for one event, handles it and every further pending one; used by
// the top-level loop only. Answers 0 once the quit request is set.
char ComMacEventsWaitAndDispatch(unsigned ms);

// Pumps at most count pending events; 0 as soon as quit was asked.
char ComWinRunMessagesOnlyLoop(int count);
char ComWinMessagesOnlyLoop();

// Resize and display changes are remembered by the handler and applied here, from the
// top-level loop only (never inside a nested pump). Answers 1 when a rebuild ran.
char ComMacEventsApplyPendingResize();
char ComMacEventsIsResizePending();

#endif
