// The tell-a-friend form and its request.
#include "TellFriend.h"

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComMacGui.h"
#include "ComMacInternet.h"
#include "ComMacMessageBox.h"
#include "MakerPrograms.h"
#include "Resolution.h"

char tf_url[300] = "";
int tf_game_id = 0;
char tf_fr_name[241];
char tf_fr_email[241];
char tf_your_name[241];
char tf_your_email[241];
char tf_message[1534];
char tf_str[512];

namespace {

// The form's list: this reader, the maker's other programs, then all of them.
const char* const kThisName = "Quorvane Lectrel";
const char* const kThisCode = "Lectrel_MAC";
const char* const kAllName = "All Quorvane Programs";
const char* const kAllCode = "All_MAC";
constexpr int kListEntries = MAKER_NUM_PROGRAMS + 2;

const char* CodeOfEntry(int pos) {
  if (pos >= 1 && pos <= MAKER_NUM_PROGRAMS) return maker_programs[pos - 1].code;
  return pos == kListEntries - 1 ? kAllCode : kThisCode;
}

struct Escape {
  char c;
  const char* with;
};
const Escape kEscapes[29] = {
    {'\n', "%0A"}, {'\t', "%09"}, {' ', "%20"}, {'!', "%21"}, {'"', "%22"}, {'#', "%23"},
    {'%', "%25"},  {'\'', "%27"}, {'(', "%28"}, {')', "%29"}, {'+', "%2B"}, {'/', "%2F"},
    {',', "%2C"},  {':', "%3A"},  {'&', "%26"}, {';', "%3B"}, {'<', "%3C"}, {'>', "%3E"},
    {'?', "%3F"},  {'[', "%5B"},  {'\\', "%5C"}, {']', "%5D"}, {'^', "%5E"}, {'`', "%60"},
    {'{', "%7B"},  {'|', "%7C"},  {'}', "%7D"}, {'~', "%7E"}, {'\r', ""},
};

EventHandlerUPP tf_upp = nullptr;
WindowRef tf_win = nullptr;
ControlRef tf_fnam = nullptr, tf_feml = nullptr, tf_ynam = nullptr, tf_yeml = nullptr, tf_mesg = nullptr,
           tf_game = nullptr, tf_doit = nullptr;
MenuRef tf_game_menu = nullptr;

void ErrorBox(const char* text) { ComWinPopupMessage("", text, 1); }

void ReportAnswer(int result, const char* answer, unsigned long len) {
  if (result == 0) {
    ComWinPopupMessage("Internet Connection not found", "Connect to the internet then try again.", 1);
  } else if (result & 0x80) {
    ErrorBox("Problem accessing the web site - Sorry.");
  } else if (len == 2 && answer[0] == 'Y') {
    ComWinPopupMessage("", "Thanks for your recommendation !", 3);
  } else if (len == 2 && answer[0] == 'N') {
    char text[128];
    snprintf(text, sizeof(text), "Problem [%c] returned from the web site - sorry.", answer[1]);
    ComWinPopupMessage("Error", text, 1);
  } else if (len == 2) {
    ComWinPopupMessage("Error", "Unrecognised result returned from web site", 1);
  } else {
    ComWinPopupMessage("Error", "Invalid result returned from web site", 1);
  }
}

void Send() {
  tf_fr_name[0] = tf_fr_email[0] = tf_your_name[0] = tf_your_email[0] = tf_message[0] = 0;
  ComMacGuiGetEditableTextString(tf_fnam, tf_str, 81);
  TellFriendConvertArg(tf_str, tf_fr_name, sizeof(tf_fr_name));

  ComMacGuiGetEditableTextString(tf_feml, tf_str, 81);
  if (!tf_str[0]) {
    ErrorBox("You must enter your friend's email address.");
    return;
  }
  if (strlen(tf_str) < 5 || !strchr(tf_str, '@') || !strchr(tf_str, '.')) {
    ErrorBox("You must enter a valid email address for your friend.");
    return;
  }
  TellFriendConvertArg(tf_str, tf_fr_email, sizeof(tf_fr_email));

  ComMacGuiGetEditableTextString(tf_ynam, tf_str, 81);
  if (!tf_str[0]) {
    ErrorBox("You must enter your name.");
    return;
  }
  TellFriendConvertArg(tf_str, tf_your_name, sizeof(tf_your_name));
  ComMacGuiGetEditableTextString(tf_yeml, tf_str, 81);
  TellFriendConvertArg(tf_str, tf_your_email, sizeof(tf_your_email));
  ComMacGuiGetEditableTextString(tf_mesg, tf_str, sizeof(tf_str));
  TellFriendConvertArg(tf_str, tf_message, sizeof(tf_message));

  const char* code = CodeOfEntry(ComPcMacGuiGetListPos(0, tf_game));
  int n = snprintf(r_web_str, sizeof(r_web_str), "%s?rec=%s&email2=%s&name2=%s&name1=%s&email1=%s&message=%s",
                   tf_url, code, tf_fr_email, tf_fr_name, tf_your_name, tf_your_email, tf_message);
  if (n < 0 || (size_t)n >= sizeof(r_web_str)) {
    r_web_str[0] = 0;
    ComWinPopupMessage("Error", "The recommendation is too long to be sent.", 1);
    return;
  }

  ComMacGuiSetBevelButtonTextString(tf_doit, (char*)"Connecting ...");
  ComPcMacGuiEnableControl(0, tf_doit, 0);
  ComMacGuiRunEventsFor(500);
  char answer[512];
  unsigned long len = 0;
  int r = ComMacInternetDownloadURL(r_web_str, answer, sizeof(answer), &len);
  ReportAnswer(r, answer, len);
  ComMacGuiSetBevelButtonTextString(tf_doit, (char*)"Do It !");
  ComPcMacGuiEnableControl(0, tf_doit, 1);
}

}  // namespace

void TellFriendSetScriptUrl(char* url) {
  if (!url) return;
  size_t len = strlen(url);
  if (len > 4 && len < sizeof(tf_url)) memcpy(tf_url, url, len + 1);
}

void TellFriendSetGameToRecommend(int id) { tf_game_id = id; }

void TellFriendConvertArg(char* text, char* out, int out_size) {
  if (!text || !out || out_size <= 0) return;
  out[0] = 0;
  int len = 0;
  for (const unsigned char* p = (const unsigned char*)text; *p; p++) {
    if (len >= out_size - 3) break;
    char hex[4];
    const char* with = nullptr;
    for (const Escape& e : kEscapes)
      if ((unsigned char)e.c == *p) {
        with = e.with;
        break;
      }
    // Bytes a URL cannot carry raw: control bytes, DEL and everything from 128 up.
    if (!with && (*p < 0x20 || *p >= 0x7F)) {
      snprintf(hex, sizeof(hex), "%%%02X", *p);
      with = hex;
    }
    if (with) {
      size_t wl = strlen(with);
      memcpy(out + len, with, wl);
      len += (int)wl;
    } else {
      out[len++] = (char)*p;
    }
    out[len] = 0;
  }
}

int32_t TellFriendMainEH(void* call_ref, ComMacGuiCommand* event, void* user_data) {
  (void)call_ref;
  (void)user_data;
  if (!event) return eventNotHandledErr;
  switch (event->command) {
    case ComMacGuiFourCC("not!"):
      ComMacGuiEndDialog(event->window);
      return noErr;
    case ComMacGuiFourCC("ok  "):
      Send();
      return noErr;
    default:
      return eventNotHandledErr;
  }
}

char TellFriendDoDialog() {
  if (strlen(tf_url) <= 4) {
    DebugError("TellFriendDoDialog", "URL not setup");
    return 0;
  }
  if (tf_game_id == 0) {
    DebugError("TellFriendDoDialog", "Game to recommend not set");
    tf_game_id = 2;
  }
  if (!ComMacGuiLoadDialogFromNib("Resolution", "TellFriend", TellFriendMainEH, 0, &tf_upp, &tf_win)) {
    DebugError("TellFriendDoDialog", "Could not get create dialog");
    return 0;
  }
  bool ok = ComMacGuiGetControl(tf_win, ComMacGuiFourCC("FNAM"), 1, &tf_fnam) &&
            ComMacGuiGetControl(tf_win, ComMacGuiFourCC("FEML"), 2, &tf_feml) &&
            ComMacGuiGetControl(tf_win, ComMacGuiFourCC("YNAM"), 3, &tf_ynam) &&
            ComMacGuiGetControl(tf_win, ComMacGuiFourCC("YEML"), 4, &tf_yeml) &&
            ComMacGuiGetControl(tf_win, ComMacGuiFourCC("MESG"), 5, &tf_mesg) &&
            ComMacGuiGetControl(tf_win, ComMacGuiFourCC("GAME"), 6, &tf_game) &&
            ComMacGuiGetControl(tf_win, ComMacGuiFourCC("DOIT"), 7, &tf_doit) &&
            ComMacGuiGetPopupButtonMenu(tf_game, &tf_game_menu);
  if (ok) {
    ComPcMacGuiResetList(0, tf_game_menu);
    ComPcMacGuiAddStringToList(0, tf_game_menu, 0, (char*)kThisName);
    for (const _MakerProgram& p : maker_programs) {
      char name[64];
      snprintf(name, sizeof(name), "Quorvane %s", p.name);
      ComPcMacGuiAddStringToList(0, tf_game_menu, 0, name);
    }
    ComPcMacGuiAddStringToList(0, tf_game_menu, 0, (char*)kAllName);
    ComPcMacGuiSyncList(tf_game);
    const int last = kListEntries - 1;
    ComPcMacGuiSetListPos(0, tf_game, tf_game_id >= 1 && tf_game_id <= last ? tf_game_id - 1 : last);
    ComMacGuiSetKeyboardFocus(tf_feml);
    ComMacGuiDoDialog(&tf_upp, &tf_win, 1, 1);
  } else {
    ComMacGuiDestroyDialog(&tf_upp, &tf_win);
  }
  tf_fnam = tf_feml = tf_ynam = tf_yeml = tf_mesg = tf_game = tf_doit = tf_game_menu = nullptr;
  return ok ? 1 : 0;
}
