// OPF packages: the spine gives the parts in reading order by id, the manifest maps the ids to
// files, and every HTML or text part goes through the HTML converter in spine order.
#include "BookOpf.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "BookHtml.h"
#include "ComDebug.h"
#include "ComFile.h"
#include "MainLoad.h"

namespace {

constexpr uint32_t OPF_LINE_MAX = 1024;                 // package lines arrive in pieces of 1023
constexpr size_t OPF_MAX_PACKAGE = 16u * 1024u * 1024u;  // a package description is small
constexpr size_t OPF_LOG_TEXT = 300;                    // element text quoted in a log line
// The converted text of one book: several times the longest books there are. Parts are only
// added while the text is below it.
constexpr int64_t OPF_MAX_TEXT = 32 * 1024 * 1024;

const char* const OPF_FN = "CreateTextFileFromOpfFile";

struct OpfPart {
  std::string id;    // as in the spine, without quotes
  std::string file;  // from the manifest; empty when the manifest does not name it
};

struct OpfItem {
  int href_state = 0;  // 0 none, 1 found, 2 no closing quote
  std::string href;
  std::string element;
};

char OpfLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
bool OpfIsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Position of `pat` (lower case) in `s` from `from`, without regard to case; npos when absent.
size_t OpfFind(const std::string& s, size_t from, const char* pat, size_t end = std::string::npos) {
  size_t n = strlen(pat);
  if (end > s.size()) end = s.size();
  for (size_t i = from; i + n <= end; i++) {
    size_t k = 0;
    while (k < n && OpfLower(s[i + k]) == pat[k]) k++;
    if (k == n) return i;
  }
  return std::string::npos;
}

// An opening tag `<name` followed by a blank, ">" or "/" (so "<item" is not "<itemref").
size_t OpfFindTag(const std::string& s, size_t from, const char* tag, size_t end = std::string::npos) {
  size_t n = strlen(tag);
  for (size_t at = OpfFind(s, from, tag, end); at != std::string::npos; at = OpfFind(s, at + 1, tag, end)) {
    char next = at + n < s.size() ? s[at + n] : 0;
    if (OpfIsSpace(next) || next == '>' || next == '/') return at;
  }
  return std::string::npos;
}

// The value of attribute `name` in one element's text: 1 found, 2 value without its closing quote,
// 0 absent. The name must follow a blank, so "id" is never found inside "idref".
int OpfAttribute(const std::string& elem, const char* name, std::string* value) {
  size_t n = strlen(name);
  for (size_t at = OpfFind(elem, 0, name); at != std::string::npos; at = OpfFind(elem, at + 1, name)) {
    if (at == 0 || !OpfIsSpace(elem[at - 1])) continue;
    size_t p = at + n;
    while (p < elem.size() && OpfIsSpace(elem[p])) p++;
    if (p >= elem.size() || elem[p] != '=') continue;
    p++;
    while (p < elem.size() && OpfIsSpace(elem[p])) p++;
    if (p >= elem.size() || (elem[p] != '"' && elem[p] != '\'')) continue;
    char quote = elem[p];
    size_t close = elem.find(quote, p + 1);
    if (close == std::string::npos) return 2;
    *value = elem.substr(p + 1, close - p - 1);
    return 1;
  }
  return 0;
}

// The element that starts at `at`: up to its ">" (or `end`).
std::string OpfElement(const std::string& s, size_t at, size_t end) {
  size_t close = s.find('>', at);
  if (close == std::string::npos || close >= end) close = end;
  return s.substr(at, close - at);
}

std::string OpfShown(const std::string& text) {
  return text.size() > OPF_LOG_TEXT ? text.substr(0, OPF_LOG_TEXT) : text;
}

bool OpfEndsWithNoCase(const std::string& s, const char* ext) {
  size_t n = strlen(ext);
  if (s.size() < n) return false;
  for (size_t i = 0; i < n; i++)
    if (OpfLower(s[s.size() - n + i]) != ext[i]) return false;
  return true;
}

bool OpfIsTextPart(const std::string& name) {
  if (name.size() < 5) return false;
  return (OpfEndsWithNoCase(name, ".html") && name.size() > 5) || OpfEndsWithNoCase(name, ".htm") ||
         OpfEndsWithNoCase(name, ".txt") || OpfEndsWithNoCase(name, ".xhtml");
}

// The whole package as text, lines joined by line feeds (pieces of a long line joined as they were).
bool OpfReadPackage(void* f, const std::string& path, std::string* text) {
  char mc_buffer[OPF_LINE_MAX];
  while (ComFileReadLine(f, mc_buffer, OPF_LINE_MAX)) {
    size_t len = strlen(mc_buffer);
    text->append(mc_buffer, len);
    if (len != OPF_LINE_MAX - 1) text->push_back('\n');
    if (text->size() > OPF_MAX_PACKAGE) {
      DebugError(OPF_FN, "Package file too large <%s>", path.c_str());
      return false;
    }
  }
  return true;
}

// The spine's items in order; false (logged) when the spine is missing, empty or broken.
bool OpfParseSpine(const std::string& text, std::vector<OpfPart>* parts) {
  int state = 0;  // 0 before the spine, 1 in it, 2 after it
  size_t open = OpfFindTag(text, 0, "<spine");
  size_t body = std::string::npos, end = std::string::npos;
  if (open != std::string::npos) {
    state = 1;
    size_t gt = text.find('>', open);
    if (gt != std::string::npos && gt > open && text[gt - 1] != '/') {
      body = gt + 1;
      end = OpfFind(text, body, "</spine");
      if (end != std::string::npos) state = 2;
    }
  }
  if (body != std::string::npos) {
    size_t stop = state == 2 ? end : text.size();  // without its end the spine is still counted
    for (size_t at = OpfFindTag(text, body, "<itemref", stop); at != std::string::npos;
         at = OpfFindTag(text, at + 1, "<itemref", stop)) {
      std::string elem = OpfElement(text, at, stop);
      std::string id;
      if (OpfAttribute(elem, "idref", &id) != 1 || id.empty()) {
        DebugError(OPF_FN, "Could not find idref in <%s>", OpfShown(elem).c_str());
        return false;
      }
      parts->push_back(OpfPart{id, std::string()});
    }
  }
  if (parts->empty() || state != 2) {
    DebugError(OPF_FN, "Could not get spines [%d, %d]", static_cast<int>(parts->size()), state);
    return false;
  }
  return true;
}

// Fills in every part's file name from the manifest; false (logged) on a broken item.
bool OpfParseManifest(const std::string& text, std::vector<OpfPart>* parts) {
  size_t open = OpfFindTag(text, 0, "<manifest");
  if (open == std::string::npos) return true;  // nothing names the parts: none is converted
  size_t gt = text.find('>', open);
  if (gt == std::string::npos) return true;
  size_t body = gt + 1;
  size_t end = OpfFind(text, body, "</manifest");
  bool closed = end != std::string::npos;
  if (!closed) end = text.size();

  std::map<std::string, OpfItem> items;  // the first item of an id counts
  for (size_t at = OpfFindTag(text, body, "<item", end); at != std::string::npos;
       at = OpfFindTag(text, at + 1, "<item", end)) {
    std::string elem = OpfElement(text, at, end);
    std::string id;
    if (OpfAttribute(elem, "id", &id) != 1 || items.count(id)) continue;
    OpfItem item;
    item.href_state = OpfAttribute(elem, "href", &item.href);
    item.element = elem;
    items.emplace(id, std::move(item));
  }

  for (OpfPart& part : *parts) {
    auto it = items.find(part.id);
    if (it == items.end()) {
      if (closed) {
        DebugError("LitFileParseSpine", "Could not fine spine file name <\"%s\">", OpfShown(part.id).c_str());
        return false;
      }
      continue;  // the file ended first: the part stays unnamed
    }
    if (it->second.href_state == 0) {
      DebugError(OPF_FN, "could not find href in <%s>", OpfShown(it->second.element).c_str());
      return false;
    }
    if (it->second.href_state == 2) {
      DebugError(OPF_FN, "could not find end of href in <%s>", OpfShown(it->second.element).c_str());
      return false;
    }
    part.file = it->second.href;
  }
  return true;
}

}  // namespace

char CreateTextFileFromOpfFile(char* path) {
  if (!path) return 0;
  // `path` is often pdf_filename itself, which names each part in turn below.
  std::string package(path);
  std::string mc_buffer2(pdf_filename);

  void* f = ComFileOpenForReadingIfExists(package.c_str());
  if (!f) {
    DebugError(OPF_FN, "Could not find opf file <%s>", package.c_str());
    return 0;
  }
  std::vector<OpfPart> parts;
  bool ok;
  try {
    std::string text;
    ok = OpfReadPackage(f, package, &text) && OpfParseSpine(text, &parts) && OpfParseManifest(text, &parts);
  } catch (const std::bad_alloc&) {
    DebugError(OPF_FN, "No memory");
    ok = false;
  }
  ComFileClose(f);
  if (!ok) return 0;

  size_t sep = package.find_last_of("/\\");
  // A package without a folder names its parts relative to the working folder.
  std::string folder = sep == std::string::npos ? std::string() : package.substr(0, sep) + "/";
  MainTurnOffBoxMessage();

  int converted = 0;
  std::set<std::string> done_ids;  // a spine naming one item again adds nothing new
  for (OpfPart& part : parts) {
    if (!OpfIsTextPart(part.file)) continue;
    if (!done_ids.insert(part.id).second) continue;
    if (converted && ComFileGetSizeFilename(text_filename) > OPF_MAX_TEXT) {
      DebugError(OPF_FN, "Converted text too large <%s>", package.c_str());
      return 0;
    }
    std::string shown = "\"" + part.id + "\"";
    for (char& c : shown)
      if (c == '_') c = ' ';
    int n = snprintf(pdf_filename, sizeof(pdf_filename), "%s%s", folder.c_str(), part.file.c_str());
    if (n < 0 || n >= static_cast<int>(sizeof(pdf_filename))) {
      snprintf(pdf_filename, sizeof(pdf_filename), "%s", mc_buffer2.c_str());
      DebugError(OPF_FN, "Path too long <%s%s>", OpfShown(folder).c_str(), OpfShown(part.file).c_str());
      return 0;
    }
    std::string part_path(pdf_filename);
    char done = CreateTextFileFromHtmlFile(converted ? 1 : 0, &shown[0], nullptr, nullptr);
    snprintf(pdf_filename, sizeof(pdf_filename), "%s", mc_buffer2.c_str());
    if (quit_loading_book) return 1;
    if (!done) {
      DebugError(OPF_FN, "Could not convert html or text file <%s>", part_path.c_str());
      return 0;
    }
    converted++;
  }
  if (!converted) {
    DebugError(OPF_FN, "Could not find and html files to process");
    return 0;
  }
  return 1;
}
