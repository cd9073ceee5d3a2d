// The HTML converter: a byte-by-byte state machine over the source file that writes the converted
// text file one line per paragraph, line break, list item or heading.
#include "BookHtml.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ComDebug.h"
#include "ComFile.h"
#include "Config.h"
#include "MainLoad.h"

namespace {

constexpr int HTML_READ_MAX = BOOK_READ_LIMIT;  // source lines arrive in pieces of 9998 bytes
constexpr int HTML_LINE_MAX = BOOK_READ_LIMIT;  // the longest pending line kept in buffer2
constexpr int HTML_LAST_CHARS = 20;
constexpr int HTML_REF_MAX = 63;               // characters of a reference kept after "&"
constexpr int HTML_MAX_DEPTH = 8;              // deepest list and indent level honoured
constexpr int HTML_MAX_SPANS = 120;            // span nesting counted (the hiding level is a signed byte)
constexpr int HTML_LOG_LIMIT = 50;             // repeats of one complaint per run of the program
constexpr int HTML_DRY_RUN_LINES = 2001;

// The converter's state for one run.
char last_c[HTML_LAST_CHARS];  // newest first
char in_body;
int in_bracket_count;
char in_and;
char and_str[HTML_REF_MAX + 1];
int and_ct;
int pre_tag_ct;
int paragraph_ct;
int span_count;
int list_tag_ct;
int indent_ct;
int dont_display_span_min = -1;
char in_span_directive;
char just_added_blank_line;
char add_line_to_paragraphs;
int buffer2_ct;

unsigned int h_num_paragraphs;
unsigned int h_num_blank_paragraphs;
unsigned int h_num_completed_paragraphs;
int h_line_count;
char html_display_name[512];
const char* h_title_p;
const char* h_author_p;
char h_done_title;

// A pending line that grew too long is written out in pieces; the text that follows continues the
// same output line, so it keeps the last byte written to decide about blanks.
char h_line_continues;
unsigned char h_prev_byte;

// An UTF-8 sequence being gathered outside <pre>.
unsigned char h_utf8[4];
int h_utf8_have;
int h_utf8_need;

// Set when a write to the text file failed during the run.
char h_write_failed;

// Complaint counters, never reset: each complaint is logged at most HTML_LOG_LIMIT times a run.
int h_log_unexpected;
int h_log_special;
int h_log_number;
int h_log_counts;

// HTML 4 entity names of the Latin-1 codes 160 to 255, in code order.
const char and_strings[96][10] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",
    "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",
    "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12",
    "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
    "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde",
    "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",
    "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",
    "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
    "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

// Latin Extended-A (256 to 383) and Extended-B (384 to 591), one plain letter each.
const char h_latin_ext_a[] =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkKLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSs"
    "TtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
const char h_latin_ext_b[] =
    "bBbbbbCCcDDdddEEEFfGGHIIKkllWNnOOoOoPpRSsEttTtTUuUUYyZz3Ee32555P||+!ZzzLLlNNnAaIiOoUuUuUuUuUueAaAa"
    "AaGgGgKkQqQq33JZzzGg?" "?NnAaAa00AaAaEeEeIiIiOoOoRrRrUuUuSsTt?" "?HhNdOoZzAaEeOoOoOoOoYylntj?" "?ACcLTsz?"
    "?BUVEeJjQqRrYy";
static_assert(sizeof(h_latin_ext_a) - 1 == 128, "Latin Extended-A has 128 code points");
static_assert(sizeof(h_latin_ext_b) - 1 == 208, "Latin Extended-B has 208 code points");

bool HtmlIsWhite(unsigned char c) { return c == ' ' || c == '\t' || c == 0xA0; }
bool HtmlIsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool HtmlIsLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool HtmlIsAlnum(unsigned char c) { return HtmlIsDigit(c) || HtmlIsLetter(c); }
unsigned char HtmlLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

bool HtmlTextHidden() { return dont_display_span_min != -1; }

bool HtmlPendingHasText() {
  if (h_line_continues) return true;  // part of this line is already written
  for (int i = 0; i < buffer2_ct; i++)
    if (!HtmlIsWhite(static_cast<unsigned char>(buffer2[i]))) return true;
  return false;
}

void HtmlWrite(void* out, const void* data, size_t len) {
  if (!out || !len) return;
  if (!ComFileWrite(out, data, static_cast<uint32_t>(len))) h_write_failed = 1;
}

void HtmlWriteStr(void* out, const char* s) { HtmlWrite(out, s, strlen(s)); }

void HtmlStartEmptyLine() {
  buffer2_ct = 0;
  buffer2[0] = 0;
  h_line_continues = 0;
}

// Writes the pending line and its line feed.
void HtmlWritePendingLine(void* out) {
  HtmlWrite(out, buffer2, buffer2_ct);
  HtmlWrite(out, "\n", 1);
  HtmlStartEmptyLine();
}

// Writes what is pending without ending the output line, so the buffer can take more.
void HtmlWritePendingPiece(void* out) {
  if (buffer2_ct <= 0) return;
  HtmlWrite(out, buffer2, buffer2_ct);
  h_prev_byte = static_cast<unsigned char>(buffer2[buffer2_ct - 1]);
  buffer2_ct = 0;
  buffer2[0] = 0;
  h_line_continues = 1;
}

// Every byte of the pending line goes through here: the buffer never holds more than
// HTML_LINE_MAX bytes and its terminator.
void HtmlAppendByte(void* out, unsigned char b) {
  if (buffer2_ct >= HTML_LINE_MAX) HtmlWritePendingPiece(out);
  buffer2[buffer2_ct++] = static_cast<char>(b);
  buffer2[buffer2_ct] = 0;
}

void HtmlAppendBlanks(void* out, int n) {
  for (int i = 0; i < n; i++) HtmlAppendByte(out, ' ');
}

unsigned char HtmlLastPendingByte() {
  if (buffer2_ct > 0) return static_cast<unsigned char>(buffer2[buffer2_ct - 1]);
  return h_line_continues ? h_prev_byte : 0;
}

// A plain text byte after the whitespace rules: a blank after a blank is dropped and the leading
// whitespace of a fresh line goes once a word has started.
void HtmlAppendTextByte(void* out, unsigned char c) {
  if (HtmlTextHidden()) return;
  if (!h_line_continues && buffer2_ct == 2 && HtmlIsWhite(static_cast<unsigned char>(buffer2[0])) &&
      !HtmlIsWhite(static_cast<unsigned char>(buffer2[1]))) {
    buffer2[0] = buffer2[1];
    buffer2_ct = 1;
    buffer2[1] = 0;
  }
  if (c == ' ' && (buffer2_ct > 0 || h_line_continues) && HtmlLastPendingByte() == ' ') return;
  HtmlAppendByte(out, c);
}

void HtmlLogUnexpected(unsigned char c) {
  if (h_log_unexpected >= HTML_LOG_LIMIT) return;
  h_log_unexpected++;
  DebugError("ParseChar", "Unexpected char <%d>", static_cast<int>(static_cast<signed char>(c)));
}

// A byte of 128 or above that is not part of a valid UTF-8 sequence: Latin-1 from 0xA0.
void HtmlAppendLatin1(void* out, unsigned char c) {
  if (c >= 0xA0)
    HtmlAppendTextByte(out, c);
  else
    HtmlLogUnexpected(c);
}

// The bytes that stand for code point n (a numeric reference or a decoded UTF-8 sequence).
// `shown` is the reference as written, for the log. Returns the number of bytes (1 to 3).
int HtmlCodeToBytes(unsigned long n, const char* shown, unsigned char* dst) {
  if (n <= 31) {
    if (h_log_special < HTML_LOG_LIMIT) {
      h_log_special++;
      DebugError("DoConvertHtmlToTextParseChar", "Unsupported special char <%s>", shown);
    }
    dst[0] = ' ';
    return 1;
  }
  if (n <= 255) {
    dst[0] = static_cast<unsigned char>(n);
    return 1;
  }
  if (n <= 383) {
    dst[0] = static_cast<unsigned char>(h_latin_ext_a[n - 256]);
    return 1;
  }
  if (n <= 591) {
    dst[0] = static_cast<unsigned char>(h_latin_ext_b[n - 384]);
    return 1;
  }
  switch (n) {
    case 8209: case 8211: case 8212: dst[0] = '-'; return 1;
    case 8216: case 8217: case 8218: dst[0] = '\''; return 1;
    case 8220: case 8221: case 8222: dst[0] = '"'; return 1;
    case 8224: dst[0] = '+'; return 1;
    case 8225: case 8226: dst[0] = '*'; return 1;
    case 8230: dst[0] = dst[1] = dst[2] = '.'; return 3;
    case 8249: dst[0] = '<'; return 1;
    case 8250: dst[0] = '>'; return 1;
    case 8364: dst[0] = 'E'; return 1;
    default: break;
  }
  if (h_log_number < HTML_LOG_LIMIT) {
    h_log_number++;
    DebugError("DoConvertHtmlToTextParseChar", "Unsupported number <%s>", shown);
  }
  dst[0] = ' ';
  return 1;
}

void HtmlAppendDecoded(void* out, const unsigned char* bytes, int n) {
  if (HtmlTextHidden()) return;
  for (int i = 0; i < n; i++) HtmlAppendByte(out, bytes[i]);
}

// The gathered bytes of a broken UTF-8 sequence are taken one by one as Latin-1.
void HtmlFlushUtf8AsLatin1(void* out) {
  int have = h_utf8_have;
  h_utf8_have = 0;
  h_utf8_need = 0;
  for (int i = 0; i < have; i++) HtmlAppendLatin1(out, h_utf8[i]);
}

// Whether `c` may continue the sequence gathered so far (overlong forms and surrogates refused).
bool HtmlUtf8Continues(unsigned char c) {
  if (c < 0x80 || c > 0xBF) return false;
  if (h_utf8_have == 1) {
    unsigned char lead = h_utf8[0];
    if (lead == 0xE0 && c < 0xA0) return false;
    if (lead == 0xED && c > 0x9F) return false;
    if (lead == 0xF0 && c < 0x90) return false;
    if (lead == 0xF4 && c > 0x8F) return false;
  }
  return true;
}

// A byte of 128 or above outside <pre>, or a continuation of a sequence.
void HtmlAppendHighByte(void* out, unsigned char c) {
  if (h_utf8_need > 0) {
    // The caller has already checked that c continues the sequence.
    h_utf8[h_utf8_have++] = c;
    if (h_utf8_have < h_utf8_need + 1) return;
    unsigned long cp;
    if (h_utf8_need == 1)
      cp = ((h_utf8[0] & 0x1Fu) << 6) | (h_utf8[1] & 0x3Fu);
    else if (h_utf8_need == 2)
      cp = ((h_utf8[0] & 0x0Fu) << 12) | ((h_utf8[1] & 0x3Fu) << 6) | (h_utf8[2] & 0x3Fu);
    else
      cp = ((h_utf8[0] & 0x07uL) << 18) | ((h_utf8[1] & 0x3FuL) << 12) | ((h_utf8[2] & 0x3FuL) << 6) |
           (h_utf8[3] & 0x3FuL);
    h_utf8_have = 0;
    h_utf8_need = 0;
    char shown[16];
    snprintf(shown, sizeof(shown), "%lu", cp);
    unsigned char bytes[3];
    int n = HtmlCodeToBytes(cp, shown, bytes);
    HtmlAppendDecoded(out, bytes, n);
    return;
  }
  int need = 0;
  if (c >= 0xC2 && c <= 0xDF)
    need = 1;
  else if (c >= 0xE0 && c <= 0xEF)
    need = 2;
  else if (c >= 0xF0 && c <= 0xF4)
    need = 3;
  if (!need) {
    HtmlAppendLatin1(out, c);
    return;
  }
  h_utf8[0] = c;
  h_utf8_have = 1;
  h_utf8_need = need;
}

// Step for a character outside tags and references.
void HtmlAppendTextChar(void* out, unsigned char c) {
  if (pre_tag_ct > 0) {
    if (!HtmlTextHidden()) HtmlAppendByte(out, c);
    return;
  }
  if (c == ' ' || c == '\t') {
    HtmlAppendTextByte(out, ' ');
  } else if (c < 32) {
    HtmlLogUnexpected(c);
  } else if (c >= 128) {
    HtmlAppendHighByte(out, c);
  } else {
    HtmlAppendTextByte(out, c);
  }
}

// "&" and the characters gathered after it, written as they stood.
void HtmlWriteReferenceAsText(void* out) {
  in_and = 0;
  HtmlAppendTextChar(out, '&');
  for (int i = 0; i < and_ct; i++) HtmlAppendTextChar(out, static_cast<unsigned char>(and_str[i]));
  and_ct = 0;
  and_str[0] = 0;
}

bool HtmlCanContinueReference(unsigned char c) {
  if (and_ct >= HTML_REF_MAX) return false;
  if (c == '#') return and_ct == 0;
  return HtmlIsAlnum(c);
}

bool HtmlNameIs(const char* name, const char* entity) {
  for (; *name && *entity; name++, entity++)
    if (HtmlLower(static_cast<unsigned char>(*name)) != HtmlLower(static_cast<unsigned char>(*entity)))
      return false;
  return !*name && !*entity;
}

// The reference in and_str, ended by ";".
void HtmlDecodeReference(void* out) {
  unsigned char bytes[3];
  int n = 1;
  if (and_str[0] == '#') {
    const char* p = and_str + 1;
    unsigned long value = 0;
    int base = 10;
    if (*p == 'x' || *p == 'X') {
      base = 16;
      p++;
    }
    for (; *p; p++) {
      unsigned char d = static_cast<unsigned char>(*p);
      int digit;
      if (HtmlIsDigit(d))
        digit = d - '0';
      else if (base == 16 && HtmlLower(d) >= 'a' && HtmlLower(d) <= 'f')
        digit = HtmlLower(d) - 'a' + 10;
      else
        break;
      value = value * base + digit;
      if (value > 0x10FFFF) value = 0x110000;  // no such code point; keeps the sum bounded
    }
    n = HtmlCodeToBytes(value, and_str, bytes);
  } else {
    int found = -1;
    for (int i = 0; i < 96 && found < 0; i++)
      if (strcmp(and_str, and_strings[i]) == 0) found = i;
    for (int i = 0; i < 96 && found < 0; i++)
      if (HtmlNameIs(and_str, and_strings[i])) found = i;
    if (found > 0) {
      bytes[0] = static_cast<unsigned char>(160 + found);
    } else if (found == 0) {
      bytes[0] = ' ';
    } else if (HtmlNameIs(and_str, "amp")) {
      bytes[0] = '&';
    } else if (HtmlNameIs(and_str, "lt")) {
      bytes[0] = '<';
    } else if (HtmlNameIs(and_str, "gt")) {
      bytes[0] = '>';
    } else if (HtmlNameIs(and_str, "quot")) {
      bytes[0] = '"';
    } else if (HtmlNameIs(and_str, "apos")) {
      bytes[0] = '\'';
    } else {
      bytes[0] = ' ';
    }
  }
  HtmlAppendDecoded(out, bytes, n);
  in_and = 0;
  and_ct = 0;
  and_str[0] = 0;
}

void HtmlRecordChar(char c) {
  memmove(last_c + 1, last_c, HTML_LAST_CHARS - 1);
  last_c[0] = c;
}

void HtmlLogCount(const char* text) {
  if (h_log_counts >= HTML_LOG_LIMIT) return;
  h_log_counts++;
  DebugError("Html", "%s", text);
}

void HtmlDecrement(int* count, const char* complaint) {
  (*count)--;
  if (*count < 0) {
    HtmlLogCount(complaint);
    *count = 0;
  }
}

void HtmlWriteHeadingBreak(void* out, const char* lines) {
  HtmlConvertFinishCurrentLineIfNeeded(out, 0);
  HtmlWriteStr(out, lines);
  just_added_blank_line = 1;
}

// ">" closed a tag at the outer level: act on every tag that the characters before it name.
void HtmlEndOfTag(void* out, char dry_run) {
  if (HtmlCheckLastCharsContainString("<pre")) {
    HtmlConvertFinishCurrentLineIfNeeded(out, 0);
    pre_tag_ct++;
  }
  if (HtmlCheckLastCharsContainString("</pre")) {
    HtmlDecrement(&pre_tag_ct, "Pre tag count < 0");
    HtmlConvertFinishCurrentLineIfNeeded(out, 0);
  }
  if (HtmlCheckLastCharsContainString("<ul")) {
    HtmlConvertFinishCurrentLineIfNeeded(out, 0);
    if (indent_ct < HTML_MAX_DEPTH) indent_ct++;
  }
  if (HtmlCheckLastCharsContainString("</ul")) {
    HtmlDecrement(&indent_ct, "Indent count < 0");
    HtmlConvertFinishCurrentLineIfNeeded(out, 0);
  }
  if (HtmlCheckLastCharsContainString("<li")) {
    // Items are often left open: the depth stops growing at HTML_MAX_DEPTH.
    if (list_tag_ct < HTML_MAX_DEPTH) list_tag_ct++;
    HtmlConvertFinishCurrentLineIfNeeded(out, 1);
    HtmlAppendBlanks(out, 4 * list_tag_ct);
    HtmlAppendByte(out, '.');
    HtmlAppendByte(out, ' ');
  }
  if (HtmlCheckLastCharsContainString("</li")) {
    HtmlDecrement(&list_tag_ct, "List tag count < 0");
    HtmlConvertFinishCurrentLineIfNeeded(out, 0);
  }
  if (HtmlCheckLastCharsContainString("<hr /")) {
    HtmlConvertFinishCurrentLineIfNeeded(out, 0);
    HtmlWrite(out, "\x01\n", 2);
  }
  if (HtmlCheckLastCharsContainString("<p")) paragraph_ct++;
  if (HtmlCheckLastCharsContainString("</p")) {
    if (dry_run) {
      h_num_paragraphs++;
      int last = buffer2_ct - 1;
      while (last >= 0 && HtmlIsWhite(static_cast<unsigned char>(buffer2[last]))) last--;
      if (last < 0)
        h_num_blank_paragraphs++;
      else if (!HtmlIsLetter(static_cast<unsigned char>(buffer2[last])))
        h_num_completed_paragraphs++;
    }
    HtmlDecrement(&paragraph_ct, "Paragraph count < 0");
    if (HtmlConvertFinishCurrentLineIfNeeded(out, 0)) {
      if (add_line_to_paragraphs) {
        HtmlWrite(out, "\n", 1);
        just_added_blank_line = 1;
      }
    } else {
      if (add_line_to_paragraphs)
        HtmlWrite(out, "\n\n", 2);
      else if (!just_added_blank_line)
        HtmlWrite(out, "\n", 1);
      just_added_blank_line = 1;
    }
  }
  if (HtmlCheckLastCharsContainString("</span")) {
    if (dont_display_span_min >= span_count) dont_display_span_min = -1;
    HtmlDecrement(&span_count, "Span Count < 0");
  }
  if (HtmlCheckLastCharsContainString("<br") || HtmlCheckLastCharsContainString("<br ") ||
      HtmlCheckLastCharsContainString("<br /")) {
    if (HtmlPendingHasText()) {
      HtmlWritePendingLine(out);
      just_added_blank_line = 0;
    } else {
      HtmlWrite(out, "\n", 1);
      just_added_blank_line = 1;
    }
  }
  if (HtmlCheckLastCharsContainString("<h1") || HtmlCheckLastCharsContainString("</h1"))
    HtmlWriteHeadingBreak(out, "\n\n\n");
  if (HtmlCheckLastCharsContainString("<h2") || HtmlCheckLastCharsContainString("</h2"))
    HtmlWriteHeadingBreak(out, "\n\n");
  if (HtmlCheckLastCharsContainString("<h3") || HtmlCheckLastCharsContainString("</h3"))
    HtmlWriteHeadingBreak(out, "\n");
}

void HtmlResetRun() {
  memset(last_c, 0, sizeof(last_c));
  pre_tag_ct = paragraph_ct = span_count = in_bracket_count = buffer2_ct = 0;
  in_body = in_and = 0;
  and_ct = 0;
  and_str[0] = 0;
  h_line_count = 0;
  in_span_directive = 0;
  just_added_blank_line = 0;
  dont_display_span_min = -1;
  h_done_title = h_title_p ? 0 : 1;
  // Depths left over from the dry run, an earlier part or an earlier book would indent this one.
  list_tag_ct = 0;
  indent_ct = 0;
  h_line_continues = 0;
  h_prev_byte = 0;
  h_utf8_have = h_utf8_need = 0;
  if (buffer2) buffer2[0] = 0;
}

void HtmlProgress(bool with_line) {
  int n;
  if (with_line)
    n = snprintf(display_str, sizeof(display_str), "Converting File - %s (Line %d)", html_display_name,
                 h_line_count);
  else
    n = snprintf(display_str, sizeof(display_str), "Converting File - %s", html_display_name);
  if (n < 0) display_str[0] = 0;  // a very long name is only cut in the box
  MainDisplayProgressMessage(nullptr, -1.0f);
}

}  // namespace

char HtmlCheckLastCharsContainString(const char* pattern) {
  if (!pattern) return 1;
  size_t len = strlen(pattern);
  if (len == 0) return 1;
  if (len >= HTML_LAST_CHARS) return 0;
  for (size_t i = 0; i < len; i++) {
    unsigned char p = static_cast<unsigned char>(pattern[len - 1 - i]);
    unsigned char c = static_cast<unsigned char>(last_c[i]);
    if (p == c) continue;
    if (p >= 'a' && p <= 'z' && c == p - 32) continue;
    return 0;
  }
  return 1;
}

char HtmlConvertStrIStr(const char* text, const char* prefix) {
  if (!text || !prefix) return 0;
  const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(prefix);
  for (;;) {
    while (*p && !HtmlIsAlnum(*p)) p++;
    while (*t && !HtmlIsAlnum(*t)) t++;
    if (!*p) return 1;
    if (!*t) return 0;
    if (HtmlLower(*p) != HtmlLower(*t)) return 0;
    p++;
    t++;
  }
}

char HtmlConvertFinishCurrentLineIfNeeded(void* out, char mode) {
  if (!buffer2) return 0;
  if (!HtmlPendingHasText()) {
    buffer2_ct = 0;
    buffer2[0] = 0;
  }
  if (h_title_p && !h_done_title && out && buffer2_ct > 0 &&
      MainStringIsAlphaNumeric(reinterpret_cast<unsigned char*>(buffer2))) {
    if (!HtmlConvertStrIStr(buffer2, h_title_p) && !(h_author_p && HtmlConvertStrIStr(buffer2, h_author_p))) {
      HtmlWrite(out, "\n\n\x01\n\n", 5);
      HtmlWriteStr(out, h_title_p);
      HtmlWrite(out, "\n\n", 2);
      if (h_author_p) {
        HtmlWrite(out, "\nBy ", 4);
        HtmlWriteStr(out, h_author_p);
        HtmlWrite(out, "\n\n", 2);
      }
      HtmlWrite(out, "\x01\n\n\n\n\n", 6);
    }
    h_done_title = 1;
  }
  char wrote = 0;
  if (buffer2_ct > 0 || h_line_continues) {
    HtmlWritePendingLine(out);
    just_added_blank_line = 0;
    wrote = 1;
  }
  if (mode == 1 || pre_tag_ct > 0) HtmlAppendBlanks(out, 4 * indent_ct);
  return wrote;
}

char DoConvertHtmlToTextParseChar(char c, void* out, char dry_run) {
  if (!buffer2) return 1;
  unsigned char uc = static_cast<unsigned char>(c);
  if (!in_body) {
    if (HtmlCheckLastCharsContainString("<body")) {
      in_body = 1;
      in_bracket_count = 1;
    } else {
      HtmlRecordChar(c);
      return 1;
    }
  }

  // A sequence of UTF-8 bytes that is broken by this byte falls back to Latin-1 first.
  if (h_utf8_need > 0) {
    if (in_bracket_count == 0 && !in_and && pre_tag_ct == 0 && HtmlUtf8Continues(uc)) {
      HtmlAppendHighByte(out, uc);
      HtmlRecordChar(c);
      return 1;
    }
    HtmlFlushUtf8AsLatin1(out);
  }

  if (in_and) {
    if (c == ';' && and_ct > 0 && !(and_ct == 1 && and_str[0] == '#')) {
      HtmlDecodeReference(out);
      HtmlRecordChar(c);
      return 1;
    }
    if (c != ';' && HtmlCanContinueReference(uc)) {
      and_str[and_ct++] = c;
      and_str[and_ct] = 0;
      HtmlRecordChar(c);
      return 1;
    }
    // A bare "&": what was gathered is text, and this character is handled on its own.
    HtmlWriteReferenceAsText(out);
  }

  if (c == '<') {
    in_bracket_count++;
  } else if (c == '>') {
    in_bracket_count--;
    if (in_bracket_count < 0) {
      if (h_log_counts < HTML_LOG_LIMIT) {
        h_log_counts++;
        DebugError("DoConvertHtmlToTextParseChar", "Bracket Mismatch");
      }
      in_bracket_count = 0;
    }
    in_span_directive = 0;
    if (in_bracket_count == 0) HtmlEndOfTag(out, dry_run);
  } else if (in_bracket_count == 1) {
    if (c == ' ' && HtmlCheckLastCharsContainString("<p")) paragraph_ct++;
    if ((c == 'n' || c == 'N') && HtmlCheckLastCharsContainString("<spa")) {
      if (span_count < HTML_MAX_SPANS) span_count++;
      in_span_directive = 1;
    }
  } else if (in_bracket_count == 0) {
    if (c == '&') {
      in_and = 1;
      and_ct = 0;
      and_str[0] = 0;
    } else {
      HtmlAppendTextChar(out, uc);
    }
  }

  HtmlRecordChar(c);
  if (in_bracket_count == 1 && in_span_directive && dont_display_span_min == -1 &&
      (HtmlCheckLastCharsContainString("display:none") || HtmlCheckLastCharsContainString("display: none")))
    dont_display_span_min = span_count;
  return 1;
}

char DoConvertHtmlToText(void* in, void* out, char dry_run) {
  if (!buffer2) {
    DebugError("DoConvertHtmlToText", "Internal Error");
    return 1;
  }
  HtmlResetRun();
  char line[HTML_READ_MAX];
  char piece_before = 0;  // the previous read was a piece of a longer source line
  while (ComFileReadLine(in, line, HTML_READ_MAX)) {
    size_t len = strlen(line);
    // A read that filled the limit ended without its line end: the line goes on in the next read.
    char is_piece = len == static_cast<size_t>(HTML_READ_MAX - 1);
    if (len > 0 || piece_before) {
      for (size_t i = 0; i < len; i++) DoConvertHtmlToTextParseChar(line[i], out, dry_run);
      if (!is_piece) {
        DoConvertHtmlToTextParseChar(' ', out, dry_run);
        if (pre_tag_ct > 0) HtmlConvertFinishCurrentLineIfNeeded(out, 1);
      }
    } else if (in_body && in_bracket_count == 0) {
      if (HtmlPendingHasText()) {
        HtmlWritePendingLine(out);
        if (add_line_to_paragraphs) {
          HtmlWrite(out, "\n", 1);
          just_added_blank_line = 1;
        } else {
          just_added_blank_line = 0;
        }
      } else if (add_line_to_paragraphs) {
        HtmlWrite(out, "\n", 1);
        just_added_blank_line = 1;
      }
    }
    piece_before = is_piece;
    if (!is_piece) {
      h_line_count++;
      if (dry_run) {
        if (h_line_count >= HTML_DRY_RUN_LINES) break;
      } else if (h_line_count % 100 == 0) {
        HtmlProgress(true);
      }
    }
    if (quit_loading_book) break;
  }
  // A sequence or a reference still open at the end of the file is text as it stood.
  if (h_utf8_need > 0) HtmlFlushUtf8AsLatin1(out);
  if (in_and) HtmlWriteReferenceAsText(out);
  return 1;
}

char CreateTextFileFromHtmlFile(char append, char* display_name, char* title, char* author) {
  if (!buffer2) {
    DebugError("CreateTextFileFromHtmlFile", "Internal Error");
    return 0;
  }
  h_title_p = append ? nullptr : title;
  h_author_p = append ? nullptr : author;
  const char* name = display_name ? display_name : book_name;
  snprintf(html_display_name, sizeof(html_display_name), "%s", name);  // shown only: may be cut
  HtmlProgress(false);

  void* in = ComFileOpenForReadingIfExists(pdf_filename);
  if (!in) {
    DebugError("CreateTextFileFromHtmlFile", "Could not open file <%s>", pdf_filename);
    return 0;
  }

  char mode = config.html_paragraph_spacing;
  if (mode == 0 || mode == 1) {
    add_line_to_paragraphs = mode;
  } else {
    h_num_paragraphs = h_num_blank_paragraphs = h_num_completed_paragraphs = 0;
    add_line_to_paragraphs = 0;
    DoConvertHtmlToText(in, nullptr, 1);
    if (quit_loading_book) {
      ComFileClose(in);
      return 1;
    }
    unsigned int p = h_num_paragraphs;
    if (p > 0) {
      unsigned int done = static_cast<unsigned int>(static_cast<unsigned long long>(h_num_completed_paragraphs) * 100 / p);
      unsigned int blank = static_cast<unsigned int>(static_cast<unsigned long long>(h_num_blank_paragraphs) * 100 / p);
      if (done > 60 && blank <= 29) add_line_to_paragraphs = 1;
    }
    if (!ComFileRewind(in)) {
      ComFileClose(in);
      in = ComFileOpenForReadingIfExists(pdf_filename);
      if (!in) {
        DebugError("CreateTextFileFromHtmlFile", "Could not open file after rewind <%s>", pdf_filename);
        return 0;
      }
    }
  }

  void* out;
  if (!append) {
    out = ComFileCreateForWriting(text_filename);
    if (!out) {
      DebugError("CreateTextFileFromHtmlFile", "Could not create file <%s>", text_filename);
      return ComFileCloseAndFail(in);
    }
  } else {
    out = ComFileOpenForAppending(text_filename);
    if (!out) {
      DebugError("CreateTextFileFromHtmlFile", "Could not open file for appending <%s>", text_filename);
      return ComFileCloseAndFail(in);
    }
  }
  h_write_failed = 0;
  if (append) HtmlWrite(out, "\n\n\n\n\n\n", 6);

  DoConvertHtmlToText(in, out, 0);
  if (quit_loading_book) {
    ComFileClose(in);
    ComFileClose(out);
    return 1;
  }
  if (HtmlPendingHasText()) HtmlWrite(out, buffer2, buffer2_ct);
  HtmlStartEmptyLine();
  ComFileClose(in);
  char closed = ComFileClose(out);
  MainTurnOffBoxMessage();
  if (h_write_failed || !closed) {
    // A text file with lost lines must not pass for the book.
    DebugError("CreateTextFileFromHtmlFile", "Could not write to file <%s>", text_filename);
    return 0;
  }
  return 1;
}
