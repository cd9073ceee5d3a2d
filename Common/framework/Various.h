// Going online: a page of the maker's web site opened in the user's browser, asking first and,
// where the caller wants, ending the program before the browser opens.
#ifndef VARIOUS_H
#define VARIOUS_H

// The maker's web site (scheme and host, no "/" at the end): every address of the maker's server
// is built on it (these page links, the version check, and the reader's web pages, tell-a-friend
// script and bookstore search). Null or an address of VARIOUS_MAX_SITE bytes or more puts back the
// built-in one.
inline constexpr int VARIOUS_MAX_SITE = 448;
void VariousSetWebSite(const char* site);
const char* VariousGetWebSite();

// Opens the site, or the site followed by "/" and sub_path. The flags of the current mode (window
// or full screen) decide whether the user is asked first (message, else "Exit Program and Go
// Online ?" when quitting, "Go Online ?" otherwise) and whether the program ends before the
// browser opens.
void VariousGoOnlineToQuorvane(char* message, char* sub_path, char ask_full_screen, char ask_windowed,
                               char quit_full_screen, char quit_windowed);
// With result 1 (OK): ends the program and opens the page after exit.
void VariousGoOnline2(char result);
// With result 1 (OK): opens the page now.
void VariousGoOnline3(char result);
// Opens the page in the browser.
void VariousGoOnline4();

#endif
