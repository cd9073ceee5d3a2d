// Sets a plain-text book (Latin-1, blank lines between paragraphs) as a PDF with cairo: A6 pages
// with a running header and a page number, so the reader's header and footer removal has work.
// Usage: gen_sample_pdf INPUT.txt OUTPUT.pdf [PAGES]
// With PAGES the text is repeated until exactly that many pages are filled (benchmark books).
#include <cairo-pdf.h>
#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Latin1ToUtf8(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c < 0x80) {
      out += char(c);
    } else {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::vector<std::string> ReadParagraphs(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> paras;
  std::string line, cur;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      if (!cur.empty()) paras.push_back(cur);
      cur.clear();
    } else {
      if (!cur.empty()) cur += ' ';
      cur += line;
    }
  }
  if (!cur.empty()) paras.push_back(cur);
  return paras;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    fprintf(stderr, "usage: %s INPUT.txt OUTPUT.pdf [PAGES]\n", argv[0]);
    return 2;
  }
  std::vector<std::string> paras = ReadParagraphs(argv[1]);
  if (paras.empty()) {
    fprintf(stderr, "gen_sample_pdf: no text in %s\n", argv[1]);
    return 1;
  }
  long want_pages = argc == 4 ? strtol(argv[3], nullptr, 10) : 0;
  if (argc == 4 && (want_pages < 1 || want_pages > 100000)) {
    fprintf(stderr, "gen_sample_pdf: bad page count %s\n", argv[3]);
    return 2;
  }
  std::string tmp = std::string(argv[2]) + ".tmp";
  const double pw = 298, ph = 420, margin = 36, size = 10, lead = 13;
  cairo_surface_t* surface = cairo_pdf_surface_create(tmp.c_str(), pw, ph);
  cairo_t* cr = cairo_create(surface);
  cairo_select_font_face(cr, "serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  const std::string header = Latin1ToUtf8(paras[0]);
  long page = 0;
  double y = ph;  // forces a new page at the first line
  auto new_page = [&]() {
    if (page > 0) cairo_show_page(cr);
    page++;
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_font_size(cr, 9);
    // A printed book's running head: the title at the left, the page number at the right edge, so
    // the converted line carries a wide gap as headers do; the same number is centred at the foot.
    // The title page, which opens with the title itself, has no running head.
    char num[32];
    snprintf(num, sizeof(num), "%ld", page);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, num, &ext);
    if (page > 1) {
      cairo_move_to(cr, margin, 22);
      cairo_show_text(cr, header.c_str());
      cairo_move_to(cr, pw - margin - ext.x_advance, 22);
      cairo_show_text(cr, num);
    }
    cairo_move_to(cr, (pw - ext.x_advance) / 2, ph - 16);
    cairo_show_text(cr, num);
    cairo_set_font_size(cr, size);
    y = margin + size;
  };
  bool done = false;
  for (size_t round = 0; !done; round++) {
    for (size_t p = 0; p < paras.size() && !done; p++) {
      std::istringstream words(Latin1ToUtf8(paras[p]));
      std::string word, line;
      std::vector<std::string> lines;
      cairo_set_font_size(cr, size);
      while (words >> word) {
        std::string trial = line.empty() ? word : line + " " + word;
        cairo_text_extents_t ext;
        cairo_text_extents(cr, trial.c_str(), &ext);
        if (ext.x_advance > pw - 2 * margin && !line.empty()) {
          lines.push_back(line);
          line = word;
        } else {
          line = trial;
        }
      }
      if (!line.empty()) lines.push_back(line);
      for (const std::string& l : lines) {
        if (y > ph - margin) {
          if (want_pages > 0 && page == want_pages) {
            done = true;
            break;
          }
          new_page();
        }
        cairo_move_to(cr, margin, y);
        cairo_show_text(cr, l.c_str());
        y += lead;
      }
      y += lead * 0.6;
    }
    if (want_pages == 0) done = true;
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  cairo_status_t st = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (st != CAIRO_STATUS_SUCCESS || rename(tmp.c_str(), argv[2]) != 0) {
    fprintf(stderr, "gen_sample_pdf: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
