// The version check. The answer comes from the network, so nothing of it is trusted: links are
// read with bounds, must be plain web addresses to become buttons, and are logged with their
// control bytes masked.
#include "Updater.h"

#include <locale.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ComDebug.h"
#include "ComMacInternet.h"
#include "ComMacWeb.h"
#include "Various.h"

char up_url[512] = "";
char up_html[2048] = "";
char up_str[256] = "";
char up_link1[256] = "";
char up_link2[256] = "";
char up_platform_str[16] = "";
char up_program_str[32] = "";
char up_program_type_str[16] = "";
char up_program_name[64] = "";

namespace {

const char* const kScriptPath = "/cgi-bin/common/updater/CheckVersion.cgi";
const char* const kMark1 = "#L1:<";
const char* const kMark2 = "#L2:<";
constexpr size_t kMarkLen = 5;
constexpr size_t kMaxLink = sizeof(up_link1);  // a link and its mark stay below this
constexpr size_t kKeptText = 5000;

struct Program {
  const char* word;
  const char* name;
};
const Program kPrograms[3] = {
    {"Lectrel", "Quorvane Lectrel"}, {"Chess", "Quorvane Chess"}, {"Backgammon", "Quorvane Backgammon"}};
const char* const kProgramTypes[2] = {"full", "demo"};

EventHandlerUPP up_upp = nullptr;
WindowRef up_win = nullptr;
ControlRef up_text = nullptr, up_button1 = nullptr, up_button2 = nullptr;
EventLoopTimerRef up_timer = nullptr;

void SetReason(const char* text) { snprintf(up_str, sizeof(up_str), "%s", text); }

// The script's address, or false when the site's address leaves no room for it.
bool ScriptUrl(char* out, size_t size) {
  int n = snprintf(out, size, "%s%s", VariousGetWebSite(), kScriptPath);
  return n >= 0 && (size_t)n < size;
}

// The request, with the version written with a point whatever the process's locale says.
bool RequestUrl(char* out, size_t size, const char* script, float version) {
  locale_t c = newlocale(LC_ALL_MASK, "C", (locale_t)0);
  locale_t before = c ? uselocale(c) : (locale_t)0;
  int n = snprintf(out, size, "%s?platform=%s&program=%s&program_type=%s&version=%.3f", script,
                   up_platform_str, up_program_str, up_program_type_str, (double)version);
  if (c) {
    uselocale(before);
    freelocale(c);
  }
  return n >= 0 && (size_t)n < size;
}

// At most max bytes of text for a log line, control bytes shown as '?'.
std::string Printable(const char* text, size_t max) {
  std::string s;
  for (size_t i = 0; i < max && text[i]; i++) {
    unsigned char c = (unsigned char)text[i];
    s += (c < 0x20 || c == 0x7F) ? '?' : (char)c;
  }
  return s;
}

// Reads the link that follows mark (null when the answer has none) into out. A link is measured
// with its mark up to its closing '>' (or to the end of the answer when it has none), so a long
// text after it never costs a good link.
void ReadLink(int number, const char* mark, char* out) {
  out[0] = 0;
  if (!mark) return;
  const char* start = mark + kMarkLen;
  const char* close = strchr(start, '>');
  const size_t whole = close ? (size_t)(close + 1 - mark) : strlen(mark);
  if (whole >= kMaxLink) {
    DebugError("UpdaterReadURL", "Link %d too long <%s...>", number, Printable(mark, kMaxLink).c_str());
    return;
  }
  if (whole <= 10) return;
  const size_t len = close ? (size_t)(close - start) : strlen(start);
  memcpy(out, start, len);
  out[len] = 0;
  if (!ComMacWebCheckURL(out)) {
    DebugError("UpdaterReadURL", "Link %d refused <%s>", number, Printable(out, len).c_str());
    out[0] = 0;
  }
}

void ShowLink(ControlRef button, char* link) {
  if (!link[0]) return;
  ComMacGuiSetBevelButtonTextString(button, link);
  ComPcMacGuiShowControl(0, button, 1);
}

}  // namespace

char Updater(int program, float version, char flag, char* interface_file, char* window_name,
             unsigned long text_signature, long text_id, unsigned long link1_signature, long link1_id,
             unsigned long link2_signature, long link2_id) {
  snprintf(up_platform_str, sizeof(up_platform_str), "%s", "Mac");
  up_link1[0] = up_link2[0] = 0;
  if (program < 1 || program > 3) {
    DebugError("Updater", "Unknown program name");
    return 0;
  }
  snprintf(up_program_str, sizeof(up_program_str), "%s", kPrograms[program - 1].word);
  snprintf(up_program_name, sizeof(up_program_name), "%s", kPrograms[program - 1].name);
  snprintf(up_program_type_str, sizeof(up_program_type_str), "%s", kProgramTypes[flag ? 1 : 0]);
  char script[sizeof(up_url)];
  if (!ScriptUrl(script, sizeof(script)) || !RequestUrl(up_url, sizeof(up_url), script, version)) {
    up_url[0] = 0;
    DebugError("Updater", "Request too long");
    return 0;
  }

  if (!ComMacGuiLoadDialogFromNib(interface_file, window_name, UpdaterEventHandler, 0, &up_upp, &up_win)) {
    DebugError("Updater", "Could not load dialog");
    return 0;
  }
  const char* missing = nullptr;
  if (!ComMacGuiGetControl(up_win, text_signature, text_id, &up_text)) missing = "Could not get text control";
  else if (!ComMacGuiGetControl(up_win, link1_signature, link1_id, &up_button1))
    missing = "Could not get button 1 control";
  else if (!ComMacGuiGetControl(up_win, link2_signature, link2_id, &up_button2))
    missing = "Could not get button 2 control";
  if (missing) {
    DebugError("Updater", "%s", missing);
    ComMacGuiDestroyDialog(&up_upp, &up_win);
    up_text = up_button1 = up_button2 = nullptr;
    return 0;
  }

  ComMacGuiSetStaticTextString(up_text, (char*)"");
  ComPcMacGuiShowControl(0, up_button1, 0);
  ComPcMacGuiShowControl(0, up_button2, 0);
  UpdaterAppendText((char*)"Checking For New Version ...\n");
  UpdaterAppendText((char*)"\n");
  ComMacGuiInstallTimer(1000, UpdaterMacTimerAction, &up_timer);
  ComMacGuiDoDialog(&up_upp, &up_win, 1, 1);
  // A dialog closed before the check ran takes its check with it.
  ComMacGuiRemoveTimer(&up_timer);
  up_text = up_button1 = up_button2 = nullptr;
  return 1;
}

char UpdaterReadURL(char* url, char test_only) {
  unsigned long len = 0;
  const int result = ComMacInternetDownloadURL(url, up_html, sizeof(up_html), &len);
  if (result == 0) {
    SetReason("Could not connect to the internet");
    return 0;
  }
  if (result != 1) {
    SetReason("Problem downloading the information from the internet.");
    return 0;
  }
  if (test_only) return 1;

  char* mark1 = strstr(up_html, kMark1);
  char* mark2 = strstr(up_html, kMark2);
  ReadLink(1, mark1, up_link1);
  ReadLink(2, mark2, up_link2);
  // Link 1's mark ends the text that is shown; an answer without it is shown whole.
  if (mark1) *mark1 = 0;
  return 1;
}

void UpdaterMacTimerAction(EventLoopTimerRef timer) {
  if (timer == up_timer) up_timer = nullptr;
  ComMacGuiRemoveTimer(&timer);
  if (!up_text) return;
  if (!UpdaterReadURL(up_url, 0)) {
    std::string text = std::string("Check Failed.\n\nReason: ") + up_str;
    ComMacGuiSetStaticTextString(up_text, &text[0]);
    return;
  }
  ComMacGuiSetStaticTextString(up_text, up_html);
  ShowLink(up_button1, up_link1);
  ShowLink(up_button2, up_link2);
}

OSStatus UpdaterEventHandler(void* call_ref, ComMacGuiCommand* event, void* user_data) {
  (void)call_ref;
  (void)user_data;
  if (!event) return eventNotHandledErr;
  switch (event->command) {
    case ComMacGuiFourCC("UPL1"):
      UpdaterGoOnline(up_link1);
      return noErr;
    case ComMacGuiFourCC("UPL2"):
      UpdaterGoOnline(up_link2);
      return noErr;
    case ComMacGuiFourCC("UPOK"):
      ComMacGuiEndDialog(event->window);
      return noErr;
    default:
      return eventNotHandledErr;
  }
}

void UpdaterAppendText(char* text) {
  if (!text || !text[0] || !up_text) return;
  char old[kKeptText + 1];
  if (!ComMacGuiGetStaticTextString(up_text, old, sizeof(old))) old[0] = 0;
  std::string all = std::string(old) + text;
  ComMacGuiSetStaticTextString(up_text, &all[0]);
}

void UpdaterGoOnline(char* link) {
  if (!link || !link[0] || strlen(link) >= kMaxLink) return;
  ComMacWebOpenURL(link);
}

char UpdaterDoInternetCheck(char* out, int out_size) {
  char script[sizeof(up_url)];
  char ok = 0;
  if (ScriptUrl(script, sizeof(script))) ok = UpdaterReadURL(script, 1);
  else SetReason("Request too long");
  if (ok) {
    if (out && out_size > 32) snprintf(out, (size_t)out_size, "%s", "Internet Test Ok");
    return 1;
  }
  if (out && out_size > 1) snprintf(out, (size_t)out_size, "%s", up_str);
  return 0;
}
