// Plain HTTP GET requests read whole into memory.
#ifndef COM_MAC_INTERNET_H
#define COM_MAC_INTERNET_H

// Fetches an http or https URL into out. 1: the answer (below out_size bytes) is in out with a NUL
// after it and its length in *out_len (when given); 0: no connection to the host; -1: any other
// failure, logged. On every failure out is left as it was.
int ComMacInternetDownloadURL(char* url, char* out, unsigned long out_size, unsigned long* out_len);

// 1 when code is 0; otherwise logs "what - " and the code's text under func and answers 0.
char ComMacInternetCheckError(char* func, char* what, long code);

#endif
