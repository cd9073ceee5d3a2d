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

// Options of the conversion from UTF-8 to Windows Latin-1.
enum : unsigned {
  COM_MAC_TEXT_KEEP_LATIN1 = 1,  // a byte that is not UTF-8 stays as it is (taken for Latin-1)
  COM_MAC_TEXT_DROP_BOM = 2,     // a byte-order mark at the start of the text is dropped
};

// The length (1 to 4) and code point of the UTF-8 sequence at s, of which n bytes may be read; 0
// when the bytes there start none (a stray or malformed byte, an overlong form, a surrogate, a
// code point beyond U+10FFFF, or a sequence cut short by n).
int ComMacTextUtf8Decode(const unsigned char* s, size_t n, unsigned int* cp);

// The program's one conversion from UTF-8 to Windows Latin-1: each character to its byte, "?" for
// a character Latin-1 lacks, a byte that is not UTF-8 "?" (or itself, with
// COM_MAC_TEXT_KEEP_LATIN1). in[0, n) into out, which holds n bytes (the result is never longer);
// answers the bytes written.
size_t ComMacTextUtf8ToLatin1Bytes(const char* in, size_t n, char* out, unsigned options);

// The same for a NUL-terminated text into out (at most len - 1 bytes and a NUL). Answers 1 when
// all of it fitted, -1 when it was cut, 0 for bad arguments.
int ComMacTextUtf8ToLatin1(const char* utf8, char* out, int len, unsigned options = 0);

#endif
