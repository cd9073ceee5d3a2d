// PDF fixtures drawn with cairo, the pdftotext oracle run without a shell, and temporary folders.
#include "support_PdfFixtures.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

std::string Latin1ToUtf8(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

const char* const kBody[] = {
    "The harbour lay quiet under a pale sky, and the boats rocked gently against the old stone quay",
    "while the fishermen mended their nets and spoke in low voices about the weather to come.",
    "Ren\xe9 walked along the front past the caf\xe9 where Zo\xeb sat with her cr\xe8me br\xfbl\xe9" "e and a",
    "book she never seemed to finish; the wind carried the smell of salt and tar across the square.",
    "",
    "Nobody in the town remembered a winter so mild, and the old men said it meant a hard spring,",
    "na\xefve as that sounded to the children who had never seen the sea freeze over at the jetty.",
    "At the end of the quay the lighthouse keeper \xc5sa counted the ships that came in each evening.",
};

}  // namespace

bool PdfFixtureWrite(const std::string& path, const std::vector<PdfFixturePage>& pages) {
  cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), 595, 842);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return false;
  }
  cairo_t* cr = cairo_create(surface);
  for (const PdfFixturePage& page : pages) {
    for (const PdfFixtureText& t : page) {
      cairo_select_font_face(cr, t.mono ? "DejaVu Sans Mono" : "DejaVu Serif", CAIRO_FONT_SLANT_NORMAL,
                             CAIRO_FONT_WEIGHT_NORMAL);
      cairo_set_font_size(cr, t.size);
      std::string utf8 = Latin1ToUtf8(t.latin1);
      double x = t.x;
      if (t.centred) {
        cairo_text_extents_t ext;
        cairo_text_extents(cr, utf8.c_str(), &ext);
        x -= ext.x_advance / 2;
      }
      cairo_move_to(cr, x, t.y);
      cairo_show_text(cr, utf8.c_str());
    }
    cairo_show_page(cr);
  }
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

bool PdfFixtureWriteSampleBook(const std::string& path, int num_pages) {
  std::vector<PdfFixturePage> pages;
  for (int p = 1; p <= num_pages; p++) {
    PdfFixturePage page;
    if (p == 3) {
      pages.push_back(page);  // a blank page
      continue;
    }
    double y = 60;
    if (p > 1) page.push_back({60, 40, 9, "THE QUIET HARBOUR        A NOVEL", false, true});
    if (p == 1) {
      page.push_back({297.5, 90, 20, "The Quiet Harbour", true});
      page.push_back({297.5, 120, 12, "CHAPTER ONE", true});
      y = 160;
    } else if (p == 4) {
      page.push_back({297.5, 90, 16, "CHAPTER TWO", true});
      y = 130;
    } else {
      y = 80;
    }
    int lines = p == 1 ? 24 : 30;
    for (int i = 0; i < lines; i++) {
      const char* text = kBody[(i + p) % (sizeof(kBody) / sizeof(kBody[0]))];
      if (text[0]) page.push_back({60, y, 10, text});
      y += 22;
    }
    char num[16];
    snprintf(num, sizeof(num), "%d", p);
    page.push_back({297.5, 810, 10, num, true});
    pages.push_back(page);
  }
  return PdfFixtureWrite(path, pages);
}

bool PdfFixtureReadFile(const std::string& path, std::string* out) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  out->clear();
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), f)) > 0) out->append(buf, n);
  bool ok = !ferror(f);
  fclose(f);
  return ok;
}

bool PdfFixtureRunPdftotext(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string prog = "pdftotext";
  argv.push_back(&prog[0]);
  std::vector<std::string> copy = args;
  for (std::string& a : copy) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    execvp("pdftotext", argv.data());
    _exit(127);
  }
  int status = 0;
  time_t start = time(nullptr);
  for (;;) {
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) break;
    if (r < 0 && errno != EINTR) return false;
    if (time(nullptr) - start > 60) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return false;
    }
    usleep(2000);
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string PdfFixtureTempDir() {
  const char* base = getenv("TMPDIR");
  std::string tmpl = std::string(base && base[0] ? base : "/tmp") + "/lectrel-book-XXXXXX";
  if (!mkdtemp(&tmpl[0])) return std::string();
  return tmpl;
}

void PdfFixtureRemoveTree(const std::string& dir) {
  if (dir.empty()) return;
  DIR* d = opendir(dir.c_str());
  if (d) {
    while (struct dirent* e = readdir(d)) {
      std::string name = e->d_name;
      if (name == "." || name == "..") continue;
      std::string path = dir + "/" + name;
      struct stat st;
      if (lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        PdfFixtureRemoveTree(path);
      else
        unlink(path.c_str());
    }
    closedir(d);
  }
  rmdir(dir.c_str());
}
