// Going online. The page's address is checked when it is built, before the user is asked or the
// program is ended: an address the browser launcher would refuse must not close the program for
// nothing.
#include "Various.h"

#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComMacWeb.h"
#include "ComMacWin.h"
#include "MuiPopup.h"

namespace {

const char* const kDefaultSite = "https://www.quorvane.com";
char vr_site[VARIOUS_MAX_SITE] = "";

// The page to open: at most 506 characters.
constexpr int kMaxUrl = 506;
char vr_url[kMaxUrl + 1] = "";

}  // namespace

void VariousSetWebSite(const char* site) {
  if (!site || strlen(site) >= sizeof(vr_site)) vr_site[0] = 0;
  else snprintf(vr_site, sizeof(vr_site), "%s", site);
}

const char* VariousGetWebSite() { return vr_site[0] ? vr_site : kDefaultSite; }

void VariousGoOnlineToQuorvane(char* message, char* sub_path, char ask_full_screen, char ask_windowed,
                               char quit_full_screen, char quit_windowed) {
  // Built aside: a call refused here, or one whose popup cannot start because another shows,
  // leaves the page of a pending question alone.
  char url[kMaxUrl + 1];
  int n;
  if (sub_path && sub_path[0]) n = snprintf(url, sizeof(url), "%s/%s", VariousGetWebSite(), sub_path);
  else n = snprintf(url, sizeof(url), "%s", VariousGetWebSite());
  if (n < 0 || n > kMaxUrl) {
    DebugError("VariousGoOnlineToQuorvane", "Path too long");
    return;
  }
  if (!ComMacWebCheckURL(url)) {
    DebugError("VariousGoOnlineToQuorvane", "Refused URL");
    return;
  }
  const char ask = run_windowed ? ask_windowed : ask_full_screen;
  const char quit = run_windowed ? quit_windowed : quit_full_screen;
  const char* text = message && message[0] ? message
                     : quit                 ? "Exit Program and Go Online ?"
                                            : "Go Online ?";
  void (*then)(char) = quit ? VariousGoOnline2 : VariousGoOnline3;
  if (ask && MuiPopupIsOn()) {
    MuiPopupOkCancel("", text, 0.0f, then);  // refused and logged by the popup
    return;
  }
  memcpy(vr_url, url, (size_t)n + 1);
  if (ask) MuiPopupOkCancel("", text, 0.0f, then);
  else then(1);
}

void VariousGoOnline2(char result) {
  if (result != 1) return;
  ComWinSetAfterExitCallback(VariousGoOnline4);
  ComWinCloseProgram();
}

void VariousGoOnline3(char result) {
  if (result == 1) VariousGoOnline4();
}

void VariousGoOnline4() {
  if (!vr_url[0]) return;
  ComMacWebOpenURL(vr_url);
}
