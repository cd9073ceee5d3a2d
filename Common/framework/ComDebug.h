// The program's log: printf-style reports at seven levels, each appended to the log file at once.
// Three levels also show a message box; two of them ask the program to close.
#ifndef COM_DEBUG_H
#define COM_DEBUG_H

#define COM_DEBUG_PRINTF(fmt_index, first_arg) __attribute__((format(printf, fmt_index, first_arg)))

// Levels: the index into the prefix table and the record's level byte.
inline constexpr char D_WARN = 0;        // "<WARNING>"
inline constexpr char D_WARNERR = 1;     // " <ERROR> "
inline constexpr char D_EXIT = 2;        // " <EXIT>  "  box "Error - Exiting", then close
inline constexpr char D_EXITNOMSG = 3;   // "<EXIT NM>"  box "Internal Error", then close
inline constexpr char D_POPUP = 4;       // " <POPUP> "  box "Warning"
inline constexpr char D_INFO = 5;        // " | "
inline constexpr char D_PLAIN_TEXT = 6;  // no prefix at all

inline constexpr int DEBUG_MAX_MESSAGES = 200;
inline constexpr int DEBUG_MAX_LINE = 512;       // longest line before it is cut
inline constexpr int DEBUG_MSG_TEXT_SIZE = 544;  // a stored record: prefix + " " + line + NUL

struct _DebugMsg {
  char text[DEBUG_MSG_TEXT_SIZE];
  char level;
};

// Reporting calls. `func` is the reporting function's name; user text goes in the arguments,
// never in the format.
void DebugError(const char* func, const char* fmt, ...) COM_DEBUG_PRINTF(2, 3);
void DebugWarning(const char* func, const char* fmt, ...) COM_DEBUG_PRINTF(2, 3);
char DebugCheckOk(char ok, const char* func, const char* fmt, ...) COM_DEBUG_PRINTF(3, 4);
void DebugPopup(const char* func, const char* fmt, ...) COM_DEBUG_PRINTF(2, 3);
void DebugExitPopup(const char* func, const char* fmt, ...) COM_DEBUG_PRINTF(2, 3);
void DebugExitNoMsg(const char* func, const char* fmt, ...) COM_DEBUG_PRINTF(2, 3);
void DebugInfo(const char* fmt, ...) COM_DEBUG_PRINTF(1, 2);
void DebugPlainText(const char* fmt, ...) COM_DEBUG_PRINTF(1, 2);
void DebugPrintf(int level, const char* fmt, ...) COM_DEBUG_PRINTF(2, 3);
void DebugPrintf2(int level, const char* func, const char* fmt, ...) COM_DEBUG_PRINTF(3, 4);

// When `failed` is nonzero (first time in a run only): logs the reason, writes the log, shows the
// box through ComWinForceExitNow and ends the process with status -1.
void DebugAssert(char failed, const char* func, const char* fmt, ...) COM_DEBUG_PRINTF(3, 4);

// Logs "title - text" as an error from "STOP" and sets the message shown after the program exits.
void DebugStopMessage(const char* title, const char* text);

// Null or empty: back to "ErrorLog.txt" (1). 1024 characters or more: reset and 0. Otherwise the
// path is kept and, with delete_existing, an existing file of that name is deleted (1).
char DebugSetLogFilename(const char* path, char delete_existing);
const char* DebugGetLogFilename(void);

int DebugGetNumMessages(void);
_DebugMsg* DebugGetMessage(int i);  // pending record i, null outside 0 .. count - 1
void DebugSetMessageText(int i, const char* fmt, ...) COM_DEBUG_PRINTF(2, 3);

void DebugWriteFormattedMessagesToFile(void);
void DebugExit(void);  // writes what is still pending

// Shows the cursor and a kind-2 box.
void DebugMessageBox(const char* text, const char* title);

#endif
