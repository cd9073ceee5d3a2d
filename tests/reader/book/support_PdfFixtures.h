// PDF fixtures drawn with cairo, for the book tests (and the pipeline benchmark).
#ifndef SUPPORT_PDFFIXTURES_H
#define SUPPORT_PDFFIXTURES_H

#include <string>
#include <vector>

// One piece of text on a page, in points from the top left; text in Latin-1.
struct PdfFixtureText {
  double x;
  double y;
  double size;
  std::string latin1;
  bool centred = false;  // x is the centre of the text
  bool mono = false;     // a fixed-pitch face, so blanks keep their width
};

typedef std::vector<PdfFixtureText> PdfFixturePage;

// A4 pages (595 x 842 points). true when the file was written.
bool PdfFixtureWrite(const std::string& path, const std::vector<PdfFixturePage>& pages);

// The sample book: a running header "THE QUIET HARBOUR" with 8 blanks before "A NOVEL" on every
// page after the first, a centred page number at the foot of every page, long body lines with
// accented Latin-1 letters, page 3 blank, page 4 opening with the chapter title "CHAPTER TWO".
// num_pages of at least 1; pages past 6 repeat the body of page 2.
bool PdfFixtureWriteSampleBook(const std::string& path, int num_pages);

// Writes the bytes of a file into out; false when it cannot be read.
bool PdfFixtureReadFile(const std::string& path, std::string* out);

// Runs poppler-utils' pdftotext with the given arguments (no shell, 60 s limit); true on exit 0.
bool PdfFixtureRunPdftotext(const std::vector<std::string>& args);

// A fresh temporary folder (mkdtemp); removed with everything in it by PdfFixtureRemoveTree.
std::string PdfFixtureTempDir();
void PdfFixtureRemoveTree(const std::string& dir);

#endif
