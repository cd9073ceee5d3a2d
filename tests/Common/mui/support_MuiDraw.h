// Log checks shared by the drawing and texture tests of the menu toolkit (the log itself is the
// kit's).
#ifndef SUPPORT_MUI_DRAW_H
#define SUPPORT_MUI_DRAW_H

#include <string>

// True when the log since the kit last cleared it holds the error line "( func )  2  text".
bool MuiDrawLogged(const std::string& func, const std::string& text);
// How many times `text` appears in the log since the kit last cleared it.
int MuiDrawLogCount(const std::string& text);

#endif
