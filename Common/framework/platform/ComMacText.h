// Texts between the program's Windows Latin-1 and the toolkits' UTF-8.
#ifndef COM_MAC_TEXT_H
#define COM_MAC_TEXT_H

#include <cstddef>
#include <string>

// The program's one Windows Latin-1 table: the byte of a Unicode code point, or -1 when it has
// none. The five bytes Windows leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the
// code points of the same value, so every byte goes to UTF-8 and back unchanged.
int ComMacTextLatin1Byte(unsigned int cp);

// At most max_len bytes of a Windows Latin-1 text as UTF-8 (the five unassigned bytes keep their
// own code point). A null text gives an empty string.
std::string ComMacTextLatin1ToUtf8(const char* text, size_t max_len);

// A UTF-8 text as Windows Latin-1 into out (at most len - 1 bytes and a NUL); characters that have
// no Latin-1 byte, and bytes that are not UTF-8, become "?". Answers 1 when all of it fitted, -1
// when it was cut, 0 for bad arguments.
int ComMacTextUtf8ToLatin1(const char* utf8, char* out, int len);

#endif
