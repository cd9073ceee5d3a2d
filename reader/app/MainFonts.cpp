// The book fonts of the system's font folder: listing, order, default choice, and the book font.
#include "MainFonts.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <set>
#include <string>
#include <utility>

#include "ComDebug.h"
#include "ComFile.h"
#include "ComFreeType.h"
#include "ComMacWin.h"
#include "Config.h"
#include "LecFont.h"
#include "MainRender.h"
#include "Mui.h"

char mc_font_path[512];
_MainFontInfo* font_infos;
int num_fonts;
int mc_cur_font = -1;
char m_font_str[512];
char m_paper_str[512];

static const char* const kSystemFontRoot = "/usr/share/fonts";
static std::string mf_root = kSystemFontRoot;
static std::vector<_MainFontInfo> mf_list;  // font_infos points into it

void MainFontsSetRoot(const char* root) { mf_root = root ? root : kSystemFontRoot; }

char MainControlGetFontPath() {
  snprintf(mc_font_path, sizeof(mc_font_path), "%s", mf_root.c_str());
  if (!ComFileDirectoryExists(mc_font_path)) {
    DebugError("MainControlGetFontPath", "System font path does not exist <%s>", mc_font_path);
    return 0;
  }
  return 1;
}

static char FontDetails(const char* root, const char* file, char* family, char* style) {
  if (!file) return 0;
  char path[1024], fam[256] = "", sty[128] = "";
  int n = snprintf(path, sizeof(path), "%s%s%s", root, "/", file);
  if (n < 0 || (size_t)n >= sizeof(path)) return 0;
  if (!ComFreeTypeGetFontFileDetails(path, fam, sty) || !fam[0]) return 0;
  if (family) snprintf(family, 256, "%s", fam);
  if (style) snprintf(style, 128, "%s", sty);
  return 1;
}

char MainControlGetFontDetails(char* file, char* family, char* style) {
  return FontDetails(mc_font_path, file, family, style);
}

static bool IsFontFileName(const char* name) {
  size_t len = strlen(name);
  if (len < 4) return false;
  const char* ext = name + len - 4;
  return strcasecmp(ext, ".ttf") == 0 || strcasecmp(ext, ".otf") == 0 || strcasecmp(ext, ".ttc") == 0;
}

namespace {
// One walk below the font folder. Folders are told apart by device and inode, so a link back to a
// folder already seen (a loop, or the same folder linked twice) is not entered again.
struct FontWalk {
  const char* root;
  std::vector<_MainFontInfo>* out;
  std::set<std::pair<dev_t, ino_t>> seen;

  void Walk(const std::string& rel, int depth) {
    std::string dir = rel.empty() ? std::string(root) : std::string(root) + "/" + rel;
    struct stat st;
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
    if (!seen.insert({st.st_dev, st.st_ino}).second) return;
    DIR* d = opendir(dir.c_str());
    if (!d) return;
    while (dirent* e = readdir(d)) {
      if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) continue;
      std::string child = rel.empty() ? std::string(e->d_name) : rel + "/" + e->d_name;
      std::string full = dir + "/" + e->d_name;
      if (stat(full.c_str(), &st) != 0) continue;  // a dangling link
      if (S_ISDIR(st.st_mode)) {
        if (depth < MAIN_FONTS_MAX_DEPTH) Walk(child, depth + 1);
        continue;
      }
      // The settings record holds the path in 256 bytes.
      if (!S_ISREG(st.st_mode) || child.size() < 5 || child.size() > 254) continue;
      if (!IsFontFileName(e->d_name)) continue;
      _MainFontInfo info;
      snprintf(info.file, sizeof(info.file), "%s", child.c_str());
      if (!FontDetails(root, info.file, info.family, info.style)) continue;
      out->push_back(info);
    }
    closedir(d);
  }
};

// "Bold" sorts as if it were "Bold Italic", just before it; other styles as themselves.
const char* StyleKey(const char* style) { return strcmp(style, "Bold") == 0 ? "Bold Italic" : style; }
}  // namespace

bool MainFontsLess(const _MainFontInfo& a, const _MainFontInfo& b) {
  int c = strcmp(a.family, b.family);
  if (c) return c < 0;
  c = strcmp(StyleKey(b.style), StyleKey(a.style));  // descending
  if (c) return c < 0;
  bool a_bold = strcmp(a.style, "Bold") == 0, b_bold = strcmp(b.style, "Bold") == 0;
  if (a_bold != b_bold) return a_bold;
  return strcmp(a.file, b.file) < 0;
}

int MainControlSortFonts(const void* a, const void* b) {
  const _MainFontInfo& x = *static_cast<const _MainFontInfo*>(a);
  const _MainFontInfo& y = *static_cast<const _MainFontInfo*>(b);
  if (MainFontsLess(x, y)) return -1;
  return MainFontsLess(y, x) ? 1 : 0;
}

char MainFontsList(const char* root, std::vector<_MainFontInfo>* out) {
  out->clear();
  DIR* d = root ? opendir(root) : nullptr;
  if (!d) return 0;
  closedir(d);
  FontWalk walk{root, out, {}};
  walk.Walk("", 0);
  std::sort(out->begin(), out->end(), MainFontsLess);
  return 1;
}

MainFontChoice MainFontsChooseDefault(const _MainFontInfo* fonts, int n) {
  MainFontChoice none = {-1, 0, 0, 0, 0, 0};
  if (!fonts || n <= 0) return none;
  auto last = [&](const char* family, const char* style) {
    int found = -1;
    for (int i = 0; i < n; i++)
      if (strcmp(fonts[i].family, family) == 0 && strcmp(fonts[i].style, style) == 0) found = i;
    return found;
  };
  int i = last("Osaka", "Regular");
  if (i >= 0) return {i, 1, 1.542f, 1.8f, 1.2f, 28.878f};
  i = last("Times", "Regular");
  if (i >= 0) return {i, 1, 1.593f, 1.712f, 1.07f, 26.341f};
  // Neither is found on Linux; the serif of the common font set reads best of what usually is.
  i = last("DejaVu Serif", "Book");
  if (i >= 0) return {i, 0, 0, 0, 0, 0};
  return {0, 0, 0, 0, 0, 0};
}

char MainSetupFont() {
  MainControlCleanup();
  if (!MainControlGetFontPath()) return 0;
  try {
    if (!MainFontsList(mc_font_path, &mf_list)) {
      DebugError("MainSetupFont", "Could not open directory");
      return 0;
    }
  } catch (const std::bad_alloc&) {
    mf_list.clear();
    DebugError("MainSetupFont", "No memory");
    return 0;
  }
  if (mf_list.empty()) {
    DebugError("MainSetupFont", "No True Type Fonts found");
    return 0;
  }
  font_infos = mf_list.data();
  num_fonts = (int)mf_list.size();
  mc_cur_font = -1;
  for (int i = 0; i < num_fonts; i++)
    if (strcmp(font_infos[i].file, mc_font_name) == 0) mc_cur_font = i;
  if (mc_cur_font < 0) {
    MainFontChoice c = MainFontsChooseDefault(font_infos, num_fonts);
    mc_cur_font = c.index;
    if (c.set_layout) {
      config.text_size = text_size_mult = c.size;
      config.text_width = font_orig_scale_x = c.width;
      config.text_height = font_orig_scale_y = c.height;
      config.line_spacing = line_orig_ygap = c.spacing;
    }
    snprintf(mc_font_name, sizeof(mc_font_name), "%s", font_infos[mc_cur_font].file);
    // From the menus the choice is saved at once. At start-up, while the graphics are made, a
    // save comes before the book is open and the book reopened on the next start away from its
    // place; there the choice is saved with the book's position on Continue or at exit.
    if (MuiIsOn()) ConfigSave(0);
  }
  return 1;
}

char* MainControlFillFontListCB(int i) {
  if (!font_infos) {
    snprintf(m_font_str, sizeof(m_font_str), "%s", "( error )");
  } else if (i < 0 || i >= num_fonts) {
    snprintf(m_font_str, sizeof(m_font_str), "%s", "( ? )");
  } else if (font_infos[i].style[0]) {
    snprintf(m_font_str, sizeof(m_font_str), "%s (%s)", font_infos[i].family, font_infos[i].style);
  } else {
    snprintf(m_font_str, sizeof(m_font_str), "%s", font_infos[i].family);
  }
  return m_font_str;
}

char* MainControlFillPaperListCB(int i) {
  if (i == 0)
    snprintf(m_paper_str, sizeof(m_paper_str), "%s", "Paper: None");
  else if (i >= 1 && i <= 15)
    snprintf(m_paper_str, sizeof(m_paper_str), "Paper: Type %d", i);
  else
    snprintf(m_paper_str, sizeof(m_paper_str), "%s", "( ? )");
  return m_paper_str;
}

char MainControlLoadFontFromFile(char* file, _ComFreeTypeFont* font) {
  if (!file || !file[0] || !font) return 0;
  if (!MainControlGetFontPath()) return 0;
  char path[1024];
  int n = snprintf(path, sizeof(path), "%s%s%s", mc_font_path, "/", file);
  if (n < 0 || (size_t)n >= sizeof(path)) return 0;
  int32_t words[16] = {0};
  int s = config.smoothing < 0 ? 0 : (config.smoothing > 10 ? 10 : config.smoothing);
  words[0] = s > 0 ? 2 : 0;
  words[5] = s;
  words[6] = s;
  static_assert(sizeof(_ComFreeTypeCreationEffects) == sizeof(words), "sixteen 32-bit words");
  _ComFreeTypeCreationEffects effects;
  memcpy(&effects, words, sizeof(effects));
  ComFreeTypeSetCreationEffects(&effects);
  char ok = ComFreeTypeCreate(path, 144, 64, 256, 0.059057f, 0.099549f, -0.081967f, 40, 0, 0, 0, 0, 1,
                              font);
  ComFreeTypeSetCreationEffects(nullptr);
  if (!ok) {
    DebugError("MainControlLoadFontFromFile", "ComFreeTypeCreate failed");
    return 0;
  }
  return 1;
}

void MainControlUpdateFontSizeAndColour() {
  if (!book_font || !book_font->setup) return;
  // The sample on the options screen is drawn upright whatever the page rotation.
  const _MainFontScales f = MainGetFontScales(0);
  ComFreeTypeSetScale(book_font, f.x, f.y);
  MainSetBackgroundAndFontColours();
  book_font->multiline_gap = f.gap;
}

char MainControlLoadCurrentFont() {
  if (book_font->setup) return 1;
  if (!font_infos || num_fonts <= 0) {
    DebugError("MainControlLoadCurrentFont", "No fonts");
    if (!LecFontMainCreate(book_font, 0)) {
      DebugError("MainControlLoadCurrentFont", "Could not load default font");
      return 0;
    }
    return 1;
  }
  if (mc_cur_font < 0 || mc_cur_font >= num_fonts) {
    DebugError("MainControlLoadCurrentFont", "Invalid Parameters");
    return 0;
  }
  if (!MainControlLoadFontFromFile(font_infos[mc_cur_font].file, book_font)) return 0;
  MainControlUpdateFontSizeAndColour();
  snprintf(mc_font_name, sizeof(mc_font_name), "%s", font_infos[mc_cur_font].file);
  return 1;
}

char MainControlSwitchFont(int index) {
  // The font in use is the one last made, mc_font_name: mc_cur_font may already hold the new
  // entry, as the font list writes its choice there before its callback asks for the switch.
  char previous[256];
  snprintf(previous, sizeof(previous), "%s", mc_font_name);
  int previous_index = -1;
  for (int i = 0; font_infos && i < num_fonts; i++)
    if (strcmp(font_infos[i].file, previous) == 0) previous_index = i;
  if (book_font->setup) ComFreeTypeRelease(book_font);
  mc_cur_font = index;
  if (MainControlLoadCurrentFont()) return 1;
  // The book must stay readable: the font it had, else the bundled one.
  mc_cur_font = previous_index;
  if (previous[0] && MainControlLoadFontFromFile(previous, book_font)) {
    DebugError("MainControlSwitchFont", "Kept the previous font <%s>", previous);
  } else if (LecFontMainCreate(book_font, 0)) {
    DebugError("MainControlSwitchFont", "Using the default font");
  } else {
    DebugError("MainControlSwitchFont", "Could not load default font");
    return 0;
  }
  MainControlUpdateFontSizeAndColour();
  return 0;
}

void MainControlCleanup() {
  mf_list.clear();
  mf_list.shrink_to_fit();
  font_infos = nullptr;
  num_fonts = 0;
}
