// The termination signals (SIGTERM, SIGINT, SIGHUP) as the program's quit command. The handler
// only notes the signal and wakes the loop that is running; that loop then ends the program
// through its normal exit, which saves what a closed window saves. SDL's loops look at the note
// at every wait (they never wait longer than a tenth of a second), GTK's loops watch the wake-up
// descriptor, and a box or dialog asked for after the signal is not shown. A second signal of the
// three ends the program at once (their default action), whatever it is doing.
#ifndef COM_MAC_SIGNALS_H
#define COM_MAC_SIGNALS_H

// Installs the handlers; called first thing in main.
void ComMacSignalsInstall();
// The signal that asked the program to end, 0 while none has.
int ComMacSignalsReceived();
// Readable once a signal came (-1 before the handlers are installed). A watch reads it empty and
// looks at ComMacSignalsReceived.
int ComMacSignalsWakeFd();

#endif
