// The maker's web pages and the tell-a-friend form, reached from the start-up dialog.
#include <cstdio>
#include <cstring>

#include "ComDebug.h"
#include "ComMacWeb.h"
#include "MakerPrograms.h"
#include "Resolution.h"
#include "TellFriend.h"
#include "Various.h"

char r_web_str[4096];

void ResolutionGoToWebSite(char page) {
  const char* stem = "all";
  if (page >= 0 && page < MAKER_NUM_PROGRAMS) stem = maker_programs[(int)page].stem;
  else if (page == 100) stem = "home_page";
  else if (page == 101) stem = "forum";
  else if (page == 102) stem = "support";
  else if (page == 103) stem = "check_version";
  int n = snprintf(r_web_str, sizeof(r_web_str), "%s/lectrel/iga/%s_%s.html", VariousGetWebSite(), "m", stem);
  if (n < 0 || (size_t)n >= sizeof(r_web_str)) {
    r_web_str[0] = 0;
    DebugError("ResolutionGoToWebSite", "Path too long");
    return;
  }
  ComMacWebOpenURL(r_web_str);
}

void ResolutionTellAFriend() {
  char url[300];
  int n = snprintf(url, sizeof(url), "%s%s", VariousGetWebSite(), "/cgi-bin/lectrel/friend/TellAFriend_Auto.cgi");
  if (n < 0 || (size_t)n >= sizeof(url)) {
    DebugError("ResolutionTellAFriend", "Path too long");
    return;
  }
  TellFriendSetScriptUrl(url);
  TellFriendSetGameToRecommend(1);
  TellFriendDoDialog();
}
