// Log checks shared by the drawing and texture tests (see support_MuiDraw.h).
#include "support_MuiDraw.h"

#include "support_MuiKit.h"

bool MuiDrawLogged(const std::string& func, const std::string& text) {
  return MuiKitLogHas("( " + func + " )  2  " + text);
}

int MuiDrawLogCount(const std::string& text) {
  const std::string log = MuiKitLog();
  int n = 0;
  for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + text.size())) n++;
  return n;
}
