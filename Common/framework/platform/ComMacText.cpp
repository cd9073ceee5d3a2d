// Texts between the program's Windows Latin-1 and the toolkits' UTF-8.
#include "ComMacText.h"

#include <cstring>

namespace {

// Unicode code points of Windows Latin-1 bytes 0x80 to 0x9F; the five unassigned bytes keep
// their own value.
const unsigned short kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const unsigned int kBom = 0xFEFF;

// One character of the UTF-8 text at s (n > 0 bytes left): its Windows Latin-1 byte into *byte;
// answers the bytes it took (at least 1).
size_t Utf8Step(const unsigned char* s, size_t n, unsigned options, unsigned char* byte) {
  if (s[0] < 0x80) {
    *byte = s[0];
    return 1;
  }
  unsigned int cp = 0;
  const int len = ComMacTextUtf8Decode(s, n, &cp);
  if (len == 0) {
    *byte = (options & COM_MAC_TEXT_KEEP_LATIN1) ? s[0] : '?';
    return 1;
  }
  const int b = ComMacTextLatin1Byte(cp);
  *byte = b < 0 ? '?' : (unsigned char)b;
  return (size_t)len;
}

// The bytes of a byte-order mark at the start of s (n bytes), when the options drop it.
size_t BomLength(const unsigned char* s, size_t n, unsigned options) {
  unsigned int cp = 0;
  if ((options & COM_MAC_TEXT_DROP_BOM) && n >= 3 && ComMacTextUtf8Decode(s, n, &cp) == 3 && cp == kBom) return 3;
  return 0;
}

}  // namespace

int ComMacTextUtf8Decode(const unsigned char* s, size_t n, unsigned int* cp) {
  if (!s || n == 0) return 0;
  const unsigned int c = s[0];
  int len;
  unsigned int v, min;
  if (c < 0x80) {
    *cp = c;
    return 1;
  } else if (c >= 0xC2 && c <= 0xDF) {
    len = 2, v = c & 0x1F, min = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3, v = c & 0x0F, min = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4, v = c & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if ((size_t)len > n) return 0;
  for (int i = 1; i < len; i++) {
    if ((s[i] & 0xC0) != 0x80) return 0;
    v = (v << 6) | (s[i] & 0x3F);
  }
  if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
  *cp = v;
  return len;
}

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

size_t ComMacTextUtf8ToLatin1Bytes(const char* in, size_t n, char* out, unsigned options) {
  if (!in || !out) return 0;
  const unsigned char* s = (const unsigned char*)in;
  size_t i = BomLength(s, n, options), o = 0;
  while (i < n) {
    unsigned char byte;
    i += Utf8Step(s + i, n - i, options, &byte);
    out[o++] = (char)byte;
  }
  return o;
}

int ComMacTextUtf8ToLatin1(const char* utf8, char* out, int len, unsigned options) {
  if (!utf8 || !out || len <= 0) return 0;
  const unsigned char* s = (const unsigned char*)utf8;
  size_t left = strlen(utf8);
  const size_t bom = BomLength(s, left, options);
  s += bom;
  left -= bom;
  int n = 0;
  while (left > 0) {
    if (n >= len - 1) {
      out[n] = 0;
      return -1;
    }
    unsigned char byte;
    const size_t used = Utf8Step(s, left, options, &byte);
    s += used;
    left -= used;
    out[n++] = (char)byte;
  }
  out[n] = 0;
  return 1;
}
