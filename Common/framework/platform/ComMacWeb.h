// Opening a web page in the user's browser.
#ifndef COM_MAC_WEB_H
#define COM_MAC_WEB_H

// Opens an http or https URL with "xdg-open", started without a shell and with the URL as its
// one argument; the program does not wait for the browser. A URL of another scheme, with a
// control byte, or of 4096 bytes or more is refused. Answers 1 when xdg-open was started, 0 (and
// a log line) otherwise.
char ComMacWebOpenURL(const char* url);

// 1 when ComMacWebOpenURL would take url (http or https, no control byte, below 4096 bytes).
char ComMacWebCheckURL(const char* url);

#endif
