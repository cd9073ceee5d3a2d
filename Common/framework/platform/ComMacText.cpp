// Texts between the program's Windows Latin-1 and the toolkits' UTF-8.
#include "ComMacText.h"

namespace {

// Unicode code points of Windows Latin-1 bytes 0x80 to 0x9F; the five unassigned bytes keep
// their own value.
const unsigned short kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes one UTF-8 sequence at s; answers its length (1 for a byte that starts none) and the
// code point, or 0xFFFD for a malformed sequence.
int DecodeUtf8(const unsigned char* s, unsigned int* cp) {
  unsigned int c = s[0];
  int n = 0;
  unsigned int v = 0, min = 0;
  if (c < 0x80) {
    *cp = c;
    return 1;
  } else if ((c & 0xE0) == 0xC0) {
    n = 1, v = c & 0x1F, min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    n = 2, v = c & 0x0F, min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    n = 3, v = c & 0x07, min = 0x10000;
  } else {
    *cp = 0xFFFD;
    return 1;
  }
  for (int i = 1; i <= n; i++) {
    if ((s[i] & 0xC0) != 0x80) {
      *cp = 0xFFFD;
      return i;
    }
    v = (v << 6) | (s[i] & 0x3F);
  }
  *cp = (v < min || v > 0x10FFFF) ? 0xFFFD : v;
  return n + 1;
}

}  // namespace

int ComMacTextLatin1Byte(unsigned int cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return (int)cp;
  for (int i = 0; i < 32; i++)
    if (kCp1252High[i] == cp) return 0x80 + i;
  return -1;
}

std::string ComMacTextLatin1ToUtf8(const char* text, size_t max_len) {
  std::string out;
  if (!text) return out;
  for (size_t i = 0; text[i] && i < max_len; i++) {
    unsigned int c = (unsigned char)text[i];
    if (c >= 0x80 && c <= 0x9F) c = kCp1252High[c - 0x80];
    if (c < 0x80) {
      out += (char)c;
    } else if (c < 0x800) {
      out += (char)(0xC0 | (c >> 6));
      out += (char)(0x80 | (c & 0x3F));
    } else {
      out += (char)(0xE0 | (c >> 12));
      out += (char)(0x80 | ((c >> 6) & 0x3F));
      out += (char)(0x80 | (c & 0x3F));
    }
  }
  return out;
}

int ComMacTextUtf8ToLatin1(const char* utf8, char* out, int len) {
  if (!utf8 || !out || len <= 0) return 0;
  const unsigned char* s = (const unsigned char*)utf8;
  int n = 0;
  while (*s) {
    if (n >= len - 1) {
      out[n] = 0;
      return -1;
    }
    unsigned int cp = 0;
    s += DecodeUtf8(s, &cp);
    const int byte = ComMacTextLatin1Byte(cp);
    out[n++] = byte < 0 ? '?' : (char)byte;
  }
  out[n] = 0;
  return 1;
}
