// The version check: a small dialog asks the maker's version-check script whether a newer
// version of one of the maker's programs exists, shows the answer and offers up to two links
// from it as buttons that open the browser.
#ifndef UPDATER_H
#define UPDATER_H

#include "ComMacGui.h"
#include "ComMacGuiTimer.h"

extern char up_url[512];             // the request sent to the script
extern char up_html[2048];           // the script's answer
extern char up_str[256];             // why the last check failed
extern char up_link1[256];           // links read from the answer ("" for none)
extern char up_link2[256];
extern char up_platform_str[16];
extern char up_program_str[32];
extern char up_program_type_str[16];
extern char up_program_name[64];

// Runs the version-check dialog (window window_name of the interface file interface_file) for
// program 1, 2 or 3 of the maker at version; flag picks the full (0) or demo (else) program type.
// The text control and the two link buttons are found by signature and id. Answers 1 after the
// dialog ran, 0 when it could not.
char Updater(int program, float version, char flag, char* interface_file, char* window_name,
             unsigned long text_signature, long text_id, unsigned long link1_signature, long link1_id,
             unsigned long link2_signature, long link2_id);
// Fetches url into up_html; unless test_only, reads the links out of the answer and cuts them
// off the text that is shown. Answers 1 when the script answered, else 0 with up_str set.
char UpdaterReadURL(char* url, char test_only);
// The dialog's timer: runs the check and shows its outcome.
void UpdaterMacTimerAction(EventLoopTimerRef timer);
OSStatus UpdaterEventHandler(void* call_ref, ComMacGuiCommand* event, void* user_data);
// Appends a non-empty text to the dialog's text (of the old text, at most 5000 bytes are kept).
void UpdaterAppendText(char* text);
// Opens a link (non-empty, under 256 characters) in the browser.
void UpdaterGoOnline(char* link);
// Asks the script with no question: 1 and "Internet Test Ok" in out when it answers, else 0 and
// the reason in out (cut to out_size - 1 bytes).
char UpdaterDoInternetCheck(char* out, int out_size);

#endif
