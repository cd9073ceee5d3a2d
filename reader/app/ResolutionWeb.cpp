// The maker's web pages and the tell-a-friend form, reached from the start-up dialog.
#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComMacWeb.h"
#include "Resolution.h"
#include "TellFriend.h"

char r_web_str[4096];

namespace {

const char* const kWebHost = "https://www.quorvane.com";
char r_web_host[256] = "";

// Page stems of the maker's eight other programs, in the order of the main menu's title links.
const char* const kProgramStems[8] = {"chess", "backgammon", "solitaire", "mahjong",
                                      "sudoku", "pool", "bowling", "puzzles"};

}  // namespace

void ResolutionSetWebHost(const char* host) {
  if (!host || strlen(host) >= sizeof(r_web_host)) r_web_host[0] = 0;
  else snprintf(r_web_host, sizeof(r_web_host), "%s", host);
}

const char* ResolutionGetWebHost() { return r_web_host[0] ? r_web_host : kWebHost; }

void ResolutionGoToWebSite(char page) {
  const char* stem = "all";
  if (page >= 0 && page <= 7) stem = kProgramStems[(int)page];
  else if (page == 100) stem = "home_page";
  else if (page == 101) stem = "forum";
  else if (page == 102) stem = "support";
  else if (page == 103) stem = "check_version";
  int n = snprintf(r_web_str, sizeof(r_web_str), "%s/lectrel/iga/%s_%s.html", ResolutionGetWebHost(), "m", stem);
  if (n < 0 || (size_t)n >= sizeof(r_web_str)) {
    r_web_str[0] = 0;
    DebugError("ResolutionGoToWebSite", "Path too long");
    return;
  }
  ComMacWebOpenURL(r_web_str);
}

void ResolutionTellAFriend() {
  char url[300];
  int n = snprintf(url, sizeof(url), "%s%s", ResolutionGetWebHost(), "/cgi-bin/lectrel/friend/TellAFriend_Auto.cgi");
  if (n < 0 || (size_t)n >= sizeof(url)) {
    DebugError("ResolutionTellAFriend", "Path too long");
    return;
  }
  TellFriendSetScriptUrl(url);
  TellFriendSetGameToRecommend(1);
  TellFriendDoDialog();
}
