// The text pipeline on any bytes taken as a converted text file: the page-break analysis, the
// three paragraph passes (line reader included) and the formatting into display lines, with a
// font of fixed advances.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "BookFormat.h"
#include "BookPageBreaks.h"
#include "BookParagraphs.h"
#include "ComFreeType.h"
#include "Config.h"
#include "FuzzSupport.h"
#include "LecFont.h"
#include "MainLoad.h"
#include "support_MainFakes.h"

namespace {

_ComFreeTypeFont fz_font;

bool Assemble() {
  if (!AnalysePageBreaks() || !GetMaxLineWidthInTextFile() || !CountNumLinesInTextFile() ||
      !CalcLineLengths())
    return false;
  for (int i = 0; i < num_lines; i++) {
    line_list[i].text = static_cast<char*>(malloc(line_list[i].length + 1));
    if (!line_list[i].text) return false;
    line_list[i].text[0] = 0;
  }
  return ReadLinesIntoMemory() == 1;
}

void FreeAll() {
  if (line_list) {
    for (int i = 0; i < num_lines; i++) free(line_list[i].text);
    free(line_list);
  }
  line_list = nullptr;
  num_lines = 0;
  FormatLinesRelease();
  PageBreaksRelease();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetUp();
  MainFakesAllocBuffers();
  memset(&fz_font, 0, sizeof(fz_font));
  fz_font.setup = 1;
  fz_font.letter_count = 256;
  fz_font.scale_x = fz_font.scale_y = 1.0f;
  for (int c = 32; c < 256; c++) fz_font.advance[c] = 10.0f;
  fz_font.advance[127] = 0.0f;
  book_font = &fz_font;
  FuzzSeedRun([](const std::string& seeds) {
    std::string book;
    for (int page = 1; page <= 4; page++) {
      book += (page > 1 ? "\f" : "") + std::string("The Lectrel Tales              Chapter One\n\n");
      for (int l = 0; l < 6; l++) book += "A line of the body that runs on and on, word after word.\n";
      book += "\n                              " + std::to_string(page) + "\n";
    }
    book += "\f";
    FuzzSeed(seeds, "pages.txt", book);
    FuzzSeed(seeds, "paragraphs.txt",
             "First paragraph\r\ncontinues here.\r\n\r\nSecond\tone with a tab\rand a CR.\n\n\n"
             "   indented\n" + std::string(3000, 'x') + "\n");
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MainFakesReset();
  snprintf(text_filename, sizeof(text_filename), "%s/book.txt", FuzzDir().c_str());
  if (!FuzzWriteFile(text_filename, data, size)) return 0;
  config.page_divisions = (char)(size & 1);
  max_draw_width = 100.0f + (float)(size % 7) * 90.0f;
  if (Assemble()) FormatLines();
  FreeAll();
  for (int c = 0; c < 5; c++) {
    remove_page_break_line[c] = 0;
    lines_to_remove_before_page_break[c] = 0;
    lines_to_remove_after_page_break[c] = 0;
  }
  quit_loading_book = 0;
  return 0;
}
