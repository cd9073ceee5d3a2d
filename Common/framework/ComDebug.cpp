// The program's log. Every message is appended to the log file at once (open, append, close), so
// the file is complete at any moment; only when the file cannot be opened do messages wait in
// the pending list, up to its 200 records.
#include "ComDebug.h"

#include <sys/stat.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "ComMacMessageBox.h"
#include "ComMacWin.h"

namespace {

constexpr char kDefaultLogName[] = "ErrorLog.txt";
constexpr char kTruncatedMark[] = " ... (TRUNCATED)";
constexpr int kTruncatedKeep = 492;
constexpr int kTextSize = 4096;
// A line holds the formatted text plus the function name and the call's own words, so it is
// built in a buffer that cannot be outgrown before the 512-character rule cuts it.
constexpr int kLineSize = kTextSize + 1024 + 64;

const char cdebug_prefix[7][20] = {"<WARNING>", " <ERROR> ", " <EXIT>  ", "<EXIT NM>",
                                   " <POPUP> ", " | ",       ""};

_DebugMsg debug_messages[DEBUG_MAX_MESSAGES];
int cdebug_num_messages = 0;
char cd_log_filename[1024] = "ErrorLog.txt";
char cdebug_first_time_file_open = 1;
char cdebug_writing_messages = 0;
char cdebug_exiting = 0;
char cdebug_asserted = 0;

void SetDefaultLogName() { snprintf(cd_log_filename, sizeof(cd_log_filename), "%s", kDefaultLogName); }

// Formats the caller's text; a text longer than the buffer is cut (the line rule cuts it later).
void FormatText(char* out, const char* fmt, va_list ap) {
  if (!fmt) {
    out[0] = 0;
    return;
  }
  if (vsnprintf(out, kTextSize, fmt, ap) < 0) out[0] = 0;
}

void StoreRecord(int level, const char* line) {
  _DebugMsg* m = &debug_messages[cdebug_num_messages];
  int n;
  if (level == D_PLAIN_TEXT)
    n = snprintf(m->text, sizeof(m->text), "%s", line);
  else
    n = snprintf(m->text, sizeof(m->text), "%s %s", cdebug_prefix[level], line);
  if (n < 0 || n >= (int)sizeof(m->text)) return;  // cannot happen once the line is cut
  m->level = (char)level;
  cdebug_num_messages++;
  DebugWriteFormattedMessagesToFile();
}

void AddMessage(int level, const char* line_in) {
  if (cdebug_writing_messages || !line_in) return;

  char line[kLineSize];
  if (level < 0 || level > 6) {
    // The leading text goes in before the cut, so the record always admits the whole line.
    snprintf(line, sizeof(line), "<invalid D_ value: %d> %s", level, line_in);
    level = D_WARN;
  } else {
    snprintf(line, sizeof(line), "%s", line_in);
  }
  if (strlen(line) > (size_t)DEBUG_MAX_LINE) {
    snprintf(line + kTruncatedKeep, sizeof(line) - kTruncatedKeep, "%s", kTruncatedMark);
  }
  if (line[0] == 0) return;  // an empty message is neither stored nor shown

  if (cdebug_num_messages > DEBUG_MAX_MESSAGES - 1) {
    cdebug_num_messages = 0;
    DebugError("DebugAddMessage", "Invalid message num - truncating file");
  }

  StoreRecord(level, line);

  if (cdebug_num_messages >= DEBUG_MAX_MESSAGES) {
    DebugWriteFormattedMessagesToFile();
    cdebug_num_messages = 0;
    const char* marker[3] = {" ", "(MESSAGE LOG OVERFLOWED)", " "};
    for (int i = 0; i < 3; i++) {
      snprintf(debug_messages[i].text, sizeof(debug_messages[i].text), "%s", marker[i]);
      debug_messages[i].level = D_PLAIN_TEXT;
    }
    cdebug_num_messages = 3;
  }

  if (cdebug_exiting) return;
  if (level == D_POPUP) {
    DebugMessageBox(line, "Warning");
  } else if (level == D_EXIT || level == D_EXITNOMSG) {
    DebugMessageBox(line, level == D_EXIT ? "Error - Exiting" : "Internal Error");
    ComWinCloseProgram();
    cdebug_exiting = 1;
  }
}

// "( func )<gap>text" for the forms that name a function; the text alone when func is empty
// and empty_func_gives_text is set (popup and exit-popup forms).
void AddFunctionLine(int level, const char* func, const char* gap, const char* text,
                     bool empty_func_gives_text) {
  char line[kLineSize];
  if (!func) func = "";
  if (empty_func_gives_text && func[0] == 0)
    snprintf(line, sizeof(line), "%s", text);
  else
    snprintf(line, sizeof(line), "( %s )%s%s", func, gap, text);
  AddMessage(level, line);
}

}  // namespace

void DebugError(const char* func, const char* fmt, ...) {
  if (cdebug_writing_messages) return;
  char text[kTextSize];
  va_list ap;
  va_start(ap, fmt);
  FormatText(text, fmt, ap);
  va_end(ap);
  AddFunctionLine(D_WARNERR, func, "  2  ", text, false);
}

void DebugWarning(const char* func, const char* fmt, ...) {
  if (cdebug_writing_messages) return;
  char text[kTextSize];
  va_list ap;
  va_start(ap, fmt);
  FormatText(text, fmt, ap);
  va_end(ap);
  AddFunctionLine(D_WARN, func, "    ", text, false);
}

char DebugCheckOk(char ok, const char* func, const char* fmt, ...) {
  if (ok) return 1;
  if (cdebug_writing_messages) return 0;
  char text[kTextSize];
  va_list ap;
  va_start(ap, fmt);
  FormatText(text, fmt, ap);
  va_end(ap);
  AddFunctionLine(D_WARNERR, func, "    ", text, false);
  return 0;
}

void DebugPopup(const char* func, const char* fmt, ...) {
  if (cdebug_writing_messages) return;
  char text[kTextSize];
  va_list ap;
  va_start(ap, fmt);
  FormatText(text, fmt, ap);
  va_end(ap);
  AddFunctionLine(D_POPUP, func, "     ", text, true);
}

void DebugExitPopup(const char* func, const char* fmt, ...) {
  if (cdebug_writing_messages) return;
  char text[kTextSize];
  va_list ap;
  va_start(ap, fmt);
  FormatText(text, fmt, ap);
  va_end(ap);
  AddFunctionLine(D_EXIT, func, "     ", text, true);
}

void DebugExitNoMsg(const char* func, const char* fmt, ...) {
  if (cdebug_writing_messages) return;
  char text[kTextSize];
  va_list ap;
  va_start(ap, fmt);
  FormatText(text, fmt, ap);
  va_end(ap);
  AddFunctionLine(D_EXITNOMSG, func, "     ", text, false);
}

void DebugInfo(const char* fmt, ...) {
  if (cdebug_writing_messages) return;
  char text[kTextSize];
  va_list ap;
  va_start(ap, fmt);
  FormatText(text, fmt, ap);
  va_end(ap);
  AddMessage(D_INFO, text);
}

void DebugPlainText(const char* fmt, ...) {
  if (cdebug_writing_messages) return;
  char text[kTextSize];
  va_list ap;
  va_start(ap, fmt);
  FormatText(text, fmt, ap);
  va_end(ap);
  AddMessage(D_PLAIN_TEXT, text);
}

void DebugPrintf(int level, const char* fmt, ...) {
  if (cdebug_writing_messages) return;
  char text[kTextSize];
  va_list ap;
  va_start(ap, fmt);
  FormatText(text, fmt, ap);
  va_end(ap);
  AddMessage(level, text);
}

void DebugPrintf2(int level, const char* func, const char* fmt, ...) {
  if (cdebug_writing_messages) return;
  char text[kTextSize];
  va_list ap;
  va_start(ap, fmt);
  FormatText(text, fmt, ap);
  va_end(ap);
  AddFunctionLine(level, func, "    ", text, false);
}

void DebugAssert(char failed, const char* func, const char* fmt, ...) {
  if (!failed || cdebug_asserted) return;
  cdebug_asserted = 1;
  char text[kTextSize];
  va_list ap;
  va_start(ap, fmt);
  FormatText(text, fmt, ap);
  va_end(ap);

  char line[kLineSize];
  snprintf(line, sizeof(line), "( %s )    %s", func ? func : "", text);
  DebugPlainText(" ");
  DebugPlainText("EXITING DUE TO FOLLOWING ERROR:");
  DebugPlainText(" ");
  AddMessage(D_WARNERR, line);
  DebugWriteFormattedMessagesToFile();

  char title[] = "INTERNAL PROGRAM ERROR ";
  char reason[DEBUG_MSG_TEXT_SIZE];
  // The box shows at most 254 characters, so the reason is cut to the record size.
  snprintf(reason, sizeof(reason), "Reason:\n\n%.520s", line);
  ComWinForceExitNow(title, reason);
  exit(-1);
}

void DebugStopMessage(const char* title, const char* text) {
  DebugError("STOP", "%s - %s", title ? title : "", text ? text : "");
  ComWinSetAfterExitPopupMessage(const_cast<char*>(title ? title : ""),
                                 const_cast<char*>(text ? text : ""), 1);
}

namespace {

// Deletes the log file of an earlier run. A sink that is no file (a device such as /dev/null, a
// pipe read by a test) is written to as it is and never deleted.
void RemoveOldLog(const char* path) {
  struct stat st;
  if (lstat(path, &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) return;
  unlink(path);
}

}  // namespace

char DebugSetLogFilename(const char* path, char delete_existing) {
  if (!path || path[0] == 0) {
    SetDefaultLogName();
    return 1;
  }
  if (strlen(path) >= sizeof(cd_log_filename)) {
    SetDefaultLogName();
    DebugError("DebugSetLogFilename", "Filename too long");
    return 0;
  }
  snprintf(cd_log_filename, sizeof(cd_log_filename), "%s", path);
  if (delete_existing) RemoveOldLog(cd_log_filename);
  return 1;
}

const char* DebugGetLogFilename(void) { return cd_log_filename; }

int DebugGetNumMessages(void) { return cdebug_num_messages; }

_DebugMsg* DebugGetMessage(int i) {
  if (i < 0 || i >= cdebug_num_messages) return nullptr;
  return &debug_messages[i];
}

void DebugSetMessageText(int i, const char* fmt, ...) {
  if (i < 0 || i >= DEBUG_MAX_MESSAGES) {
    DebugError("DebugSetMessageText", "Invalid message num %d", i);
    return;
  }
  char text[kTextSize];
  va_list ap;
  va_start(ap, fmt);
  FormatText(text, fmt, ap);
  va_end(ap);
  snprintf(debug_messages[i].text, sizeof(debug_messages[i].text), "%.543s", text);
  debug_messages[i].level = D_PLAIN_TEXT;
}

void DebugWriteFormattedMessagesToFile(void) {
  cdebug_writing_messages = 1;
  if (cdebug_num_messages <= 0) {
    cdebug_writing_messages = 0;
    return;
  }
  FILE* f;
  if (cdebug_first_time_file_open) {
    // The first message of a run replaces the file of the previous run.
    RemoveOldLog(cd_log_filename);
    f = fopen(cd_log_filename, "wb");
  } else {
    f = fopen(cd_log_filename, "ab");
  }
  if (f) {
    cdebug_first_time_file_open = 0;
    int n = cdebug_num_messages;
    if (n > DEBUG_MAX_MESSAGES) n = DEBUG_MAX_MESSAGES;
    for (int i = 0; i < n; i++) {
      fputs(debug_messages[i].text, f);
      fputs("\r\n", f);
    }
    fclose(f);
    cdebug_num_messages = 0;
  }
  cdebug_writing_messages = 0;
}

void DebugExit(void) { DebugWriteFormattedMessagesToFile(); }

void DebugMessageBox(const char* text, const char* title) {
  ComWinTurnOnCursor();
  ComWinPopupMessage(title, text, 2);
}
