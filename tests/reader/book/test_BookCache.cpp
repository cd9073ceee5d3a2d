// The converted text file: reuse, reconversion, PDF conversion with progress and cancel, and the
// dispatch to the HTML and OPF converters.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BookCache.h"
#include "Config.h"
#include "ComDebug.h"
#include "MainLoad.h"
#include "book_test_fixture.h"

namespace {

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

class BookCacheTest : public BookFolderTest {
 protected:
  void SetUp() override {
    BookFolderTest::SetUp();
    if (HasFatalFailure()) return;
    config.html_paragraph_spacing = 0;
  }
  // Names the book and its cache as the reading view does.
  void UseBook(const std::string& file, const std::string& name) {
    snprintf(pdf_filename, sizeof(pdf_filename), "%s/%s", dir_.c_str(), file.c_str());
    snprintf(book_name, sizeof(book_name), "%s", name.c_str());
    snprintf(text_filename, sizeof(text_filename), "%s/%s.txt", dir_.c_str(), name.c_str());
  }
  // The files of the folder other than the book's own and the log: what a conversion left.
  std::vector<std::string> Leftovers(const std::vector<std::string>& books) {
    std::vector<std::string> left;
    if (DIR* d = opendir(dir_.c_str())) {
      while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == ".." || name == "log.txt") continue;
        bool book = false;
        for (const std::string& b : books) book = book || b == name;
        if (!book) left.push_back(name);
      }
      closedir(d);
    }
    return left;
  }
  // Deletes the cache and the record of its book.
  void DropCache() {
    unlink(text_filename);
    unlink((std::string(text_filename) + ".src").c_str());
  }
  // Runs CreateTextFileIfNeeded in a child process; its answer, or -1 when the child died.
  // fsize_limit > 0 limits the size of every file the child writes, as a full disk does.
  static int ConvertInChild(rlim_t fsize_limit) {
    pid_t pid = fork();
    if (pid == 0) {
      if (fsize_limit) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim = {fsize_limit, fsize_limit};
        setrlimit(RLIMIT_FSIZE, &lim);
      }
      _exit(CreateTextFileIfNeeded());
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
  }
  std::string Oracle(const std::string& pdf) {
    std::string out = dir_ + "/oracle.out";
    EXPECT_TRUE(PdfFixtureRunPdftotext({"-layout", "-enc", "Latin1", pdf, out}));
    std::string text;
    EXPECT_TRUE(PdfFixtureReadFile(out, &text));
    unlink(out.c_str());
    return text;
  }
};

TEST_F(BookCacheTest, TextBookIsItsOwnTextFile) {
  const char* names[] = {"Notes.TXT", "a.txt", "Mixed.TxT"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    MainFakesReset();
    UseBook(name, "Notes");
    WriteBytes(pdf_filename, "plain\ftext\n");
    load_control_force_reconvert = 1;
    EXPECT_EQ(1, CreateTextFileIfNeeded());
    EXPECT_STREQ(pdf_filename, text_filename);
    EXPECT_EQ("plain\ftext\n", Read(pdf_filename)) << "Reconvert deletes nothing";
    EXPECT_EQ(0, main_fake_calls.progress_calls);
  }
}

TEST_F(BookCacheTest, PdfIsConvertedLikeTheOracleWithProgress) {
  std::string pdf = dir_ + "/Harbour.pdf";
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf, 5));
  UseBook("Harbour.pdf", "Harbour");

  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_STREQ((dir_ + "/Harbour.txt").c_str(), text_filename);
  EXPECT_EQ(Oracle(pdf), Read(text_filename));
  EXPECT_FALSE(Exists(dir_ + "/Harbour.txt.part"));

  // The box opens at 0, then shows the share of pages done after every page.
  EXPECT_EQ((std::vector<float>{0.0f, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f}), main_fake_calls.fractions);
  EXPECT_EQ("Converting File - Harbour", main_fake_calls.texts.front());
  EXPECT_EQ(1, main_fake_calls.turn_off_calls);

  // The cache is trusted from now on: no conversion, no box.
  main_fake_calls = MainFakeCalls();
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(Oracle(pdf), Read(text_filename));
  EXPECT_EQ(0, main_fake_calls.progress_calls);
  EXPECT_EQ(0, CreateTextFileMadeByLastLoad());

  // Reconvert replaces it, and a second conversion in the same run gives the same text.
  load_control_force_reconvert = 1;
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(Oracle(pdf), Read(text_filename));
  EXPECT_EQ(6, main_fake_calls.progress_calls);
}

TEST_F(BookCacheTest, EmptyCacheCountsAsAbsent) {
  std::string pdf = dir_ + "/Short.pdf";
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf, 2));
  UseBook("Short.pdf", "Short");
  WriteBytes(text_filename, "");
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(Oracle(pdf), Read(text_filename));
}

TEST_F(BookCacheTest, OnePageBookReportsTheWholeTwice) {
  std::string pdf = dir_ + "/One.pdf";
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf, 1));
  UseBook("One.pdf", "One");
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ((std::vector<float>{0.0f, 1.0f, 1.0f}), main_fake_calls.fractions);
}

TEST_F(BookCacheTest, CancelStopsAfterThePageAndLeavesNoFile) {
  std::string pdf = dir_ + "/Long.pdf";
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf, 8));
  UseBook("Long.pdf", "Long");
  main_fake_calls.quit_on_progress_call = 3;  // Escape seen while page 2 was reported
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(1, quit_loading_book);
  // The progress callback answered "stop" at the next page: pages 1, 2 and 3 were done.
  EXPECT_EQ(3, main_fake_calls.progress_calls);
  EXPECT_FALSE(Exists(text_filename));
  EXPECT_FALSE(Exists(std::string(text_filename) + ".part"));
  EXPECT_EQ(1, main_fake_calls.turn_off_calls);
}

TEST_F(BookCacheTest, UnknownExtensionsGoToThePdfConverter) {
  std::string pdf = dir_ + "/Book.dat";
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf, 2));
  UseBook("Book.dat", "Book");
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(Oracle(pdf), Read(text_filename));
}

TEST_F(BookCacheTest, FailedPdfConversionIsLoggedAndLeavesNoCache) {
  UseBook("Broken.pdf", "Broken");
  WriteBytes(pdf_filename, "%PDF-1.4 but nothing after it\n");
  EXPECT_EQ(0, CreateTextFileIfNeeded());
  EXPECT_FALSE(Exists(text_filename));
  EXPECT_FALSE(Exists(std::string(text_filename) + ".part"));
  EXPECT_NE(std::string::npos, Log().find("CreateTextFileIfNeeded"));
  EXPECT_NE(std::string::npos, Log().find("Could not convert file <" + std::string(pdf_filename) + "> to text file <" +
                                          std::string(text_filename) + ">"));
  EXPECT_EQ(1, main_fake_calls.turn_off_calls);

  // A cache folder that cannot be written to is a failure too.
  UseBook("Broken.pdf", "Broken");
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf_filename, 1));
  snprintf(text_filename, sizeof(text_filename), "%s/no/such/folder/Broken.txt", dir_.c_str());
  EXPECT_EQ(0, CreateTextFileIfNeeded());
}

TEST_F(BookCacheTest, HtmlAndOpfBooksGoToTheirConverters) {
  const std::string html = "<html><head><title>T</title></head><body>\n<p>Tom &amp; Jerry</p>\n</body></html>\n";
  const char* names[] = {"Story.htm", "Story.HTML"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    UseBook(name, "Story");
    unlink(text_filename);
    WriteBytes(pdf_filename, html);
    EXPECT_EQ(1, CreateTextFileIfNeeded());
    EXPECT_STREQ((dir_ + "/Story.txt").c_str(), text_filename);
    std::string text = Read(text_filename);
    EXPECT_NE(std::string::npos, text.find("Tom & Jerry"));
    EXPECT_EQ(std::string::npos, text.find('<'));
    EXPECT_FALSE(Exists(dir_ + "/Story.txt.part"));
  }

  // A package of two parts: the second follows six line feeds, and the package name is kept.
  WriteBytes(dir_ + "/one.html", "<html><body><p>First part</p></body></html>\n");
  WriteBytes(dir_ + "/two.html", "<html><body><p>Second part</p></body></html>\n");
  WriteBytes(dir_ + "/Pack.opf",
            "<package>\n<manifest>\n<item id=\"a\" href=\"one.html\" media-type=\"application/xhtml+xml\"/>\n"
            "<item href=\"two.html\" id=\"b\" media-type=\"application/xhtml+xml\"/>\n</manifest>\n"
            "<spine toc=\"ncx\">\n<itemref idref=\"a\"/>\n<itemref idref=\"b\"/>\n</spine>\n</package>\n");
  UseBook("Pack.opf", "Pack");
  std::string package = pdf_filename;
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(package, pdf_filename);
  std::string text = Read(text_filename);
  size_t first = text.find("First part"), second = text.find("Second part");
  ASSERT_NE(std::string::npos, first);
  ASSERT_NE(std::string::npos, second);
  EXPECT_NE(std::string::npos, text.find("\n\n\n\n\n\n", first));
  EXPECT_LT(first, second);
  EXPECT_FALSE(Exists(dir_ + "/Pack.txt.part"));
}

TEST_F(BookCacheTest, FailedOrCancelledHtmlLeavesNoCache) {
  UseBook("Missing.html", "Missing");
  EXPECT_EQ(0, CreateTextFileIfNeeded());
  EXPECT_FALSE(Exists(text_filename));
  EXPECT_FALSE(Exists(std::string(text_filename) + ".part"));

  UseBook("Long.html", "Long");
  std::string html = "<html><body>\n";
  for (int i = 0; i < 3000; i++) html += "<p>A paragraph of the long book, number " + std::to_string(i) + ".</p>\n";
  html += "</body></html>\n";
  WriteBytes(pdf_filename, html);
  main_fake_calls = MainFakeCalls();
  main_fake_calls.quit_on_progress_call = 1;  // Escape at the first progress report
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(1, quit_loading_book);
  EXPECT_FALSE(Exists(text_filename));
  EXPECT_FALSE(Exists(std::string(text_filename) + ".part"));

  // The next load converts it whole.
  MainFakesReset();
  UseBook("Long.html", "Long");
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_NE(std::string::npos, Read(text_filename).find("number 2999."));
}

// A long book of each kind, in the files of the book (the first is the one opened).
struct LongBook {
  const char* kind;
  std::vector<std::pair<std::string, std::string>> files;
};

std::vector<LongBook> LongBooks() {
  std::string html = "<html><body>\n", text = "\xEF\xBB\xBFUTF-8 book\n";
  for (int i = 0; i < 2000; i++) {
    html += "<p>A paragraph of the long book, number " + std::to_string(i) + ".</p>\n";
    text += "\xC2\xA0\xC2\xA0" "Caf\xC3\xA9 line " + std::to_string(i) + " of the long text book.\n";
  }
  html += "</body></html>\n";
  return {
      {"pdf", {{"Long.pdf", ""}}},
      {"html", {{"Long.html", html}}},
      {"opf",
       {{"Long.opf", "<package>\n<manifest>\n<item id=\"a\" href=\"one.html\"/>\n<item id=\"b\" href=\"two.html\"/>\n"
                     "</manifest>\n<spine>\n<itemref idref=\"a\"/>\n<itemref idref=\"b\"/>\n</spine>\n</package>\n"},
        {"one.html", html},
        {"two.html", html}}},
      {"utf-8 text", {{"Utf8 Book.txt", text}}},
  };
}

// A conversion whose text cannot be written whole fails with the reason in the log and leaves no
// cache and no temporary; the next conversion with room gives the whole book.
TEST_F(BookCacheTest, WriteFailureInEveryConverterFailsAndTheNextLoadIsWhole) {
  for (const LongBook& book : LongBooks()) {
    SCOPED_TRACE(book.kind);
    std::vector<std::string> names;
    for (const auto& f : book.files) {
      names.push_back(f.first);
      if (f.first == "Long.pdf")
        ASSERT_TRUE(PdfFixtureWriteSampleBook(dir_ + "/Long.pdf", 40));
      else
        WriteBytes(dir_ + "/" + f.first, f.second);
    }
    // The whole book, converted with room under another name.
    UseBook(names[0], "Reference");
    ASSERT_EQ(1, CreateTextFileIfNeeded());
    const std::string whole = Read(text_filename);
    DropCache();
    ASSERT_GT(whole.size(), 40000u);

    UseBook(names[0], "Long");
    EXPECT_EQ(0, ConvertInChild(16384)) << "a cut book must not pass for the book";
    EXPECT_EQ(std::vector<std::string>(), Leftovers(names));
    EXPECT_NE(std::string::npos, Log().find("File too large")) << Log();

    EXPECT_EQ(1, CreateTextFileIfNeeded());
    EXPECT_EQ(whole, Read(text_filename));
    for (const std::string& n : names) unlink((dir_ + "/" + n).c_str());
    DropCache();
    unlink((dir_ + "/log.txt").c_str());
  }
}

// Two readers converting one book into one folder at once: both succeed and one whole cache stays.
TEST_F(BookCacheTest, TwoConversionsOfOneBookAtOnceLeaveOneGoodCache) {
  for (const LongBook& book : LongBooks()) {
    if (std::string(book.kind) != "pdf" && std::string(book.kind) != "html") continue;
    SCOPED_TRACE(book.kind);
    const std::string name = book.files[0].first;
    if (name == "Long.pdf")
      ASSERT_TRUE(PdfFixtureWriteSampleBook(dir_ + "/" + name, 40));
    else
      WriteBytes(dir_ + "/" + name, book.files[0].second);
    UseBook(name, "Reference");
    ASSERT_EQ(1, CreateTextFileIfNeeded());
    const std::string whole = Read(text_filename);
    DropCache();

    UseBook(name, "Long");
    // Both start together: each waits until the parent closes the pipe.
    int go[2];
    ASSERT_EQ(0, pipe(go));
    pid_t children[2];
    for (pid_t& child : children) {
      child = fork();
      if (child == 0) {
        close(go[1]);
        char c;
        while (read(go[0], &c, 1) > 0) {
        }
        _exit(CreateTextFileIfNeeded());
      }
    }
    close(go[0]);
    close(go[1]);
    for (pid_t child : children) {
      int status = 0;
      ASSERT_EQ(child, waitpid(child, &status, 0));
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    }
    EXPECT_EQ(whole, Read(text_filename));
    std::vector<std::string> left = Leftovers({name});
    std::sort(left.begin(), left.end());
    EXPECT_EQ((std::vector<std::string>{"Long.txt", "Long.txt.src"}), left);
    DropCache();
    unlink((dir_ + "/" + name).c_str());
  }
}

// A cache is used only for the very book it was made from, as that book is now: a copy that keeps
// an older date, a book of another size, another book of the same name (beside it, or in another
// folder), a book rewritten while it was converted, and a cache without a record (or a record
// that is cut or hostile) are all converted again; an untouched book is not.
TEST_F(BookCacheTest, ACacheIsUsedOnlyForTheBookItWasMadeFrom) {
  auto set_mtime = [](const std::string& path, time_t sec, long nsec) {
    struct timespec times[2] = {{sec, nsec}, {sec, nsec}};
    ASSERT_EQ(0, utimensat(AT_FDCWD, path.c_str(), times, 0));
  };
  auto html = [](const std::string& words) { return "<html><body><p>" + words + "</p></body></html>\n"; };
  mkdir((dir_ + "/other").c_str(), 0755);
  const std::string story = dir_ + "/Story.html";
  struct Case {
    const char* what;
    std::string book;                   // the book opened after the first conversion
    std::function<void()> change;       // what happens between the two loads
    const char* shown;                  // what the second load must show
    bool converted;
  } cases[] = {
      {"untouched", story, [] {}, "The first story.", false},
      {"a copy that keeps an older date", story,
       [&] {
         WriteBytes(story, html("The older copy."));
         set_mtime(story, 1000000000, 0);
       },
       "The older copy.", true},
      {"the same date, another size", story,
       [&] {
         struct stat st;
         ASSERT_EQ(0, stat(story.c_str(), &st));
         WriteBytes(story, html("The first story, longer."));
         set_mtime(story, st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
       },
       "The first story, longer.", true},
      {"a UTF-8 text book of the same name", dir_ + "/other/Story.txt",
       [&] {
         // Both were there before the first was opened: the other one is older than the cache.
         WriteBytes(dir_ + "/other/Story.txt", "The text book, caf\xC3\xA9.\n");
         set_mtime(dir_ + "/other/Story.txt", 1000000000, 0);
       },
       "The text book, caf\xE9.", true},
      {"a book of the same name in another folder", dir_ + "/other/Story.html",
       [&] {
         WriteBytes(dir_ + "/other/Story.html", html("The other folder's story."));
         set_mtime(dir_ + "/other/Story.html", 1000000000, 0);
       },
       "The other folder's story.", true},
      {"no record (a cache of an earlier version)", story,
       [&] { unlink((dir_ + "/Story.txt.src").c_str()); }, "The first story.", true},
      {"a cut record", story,
       [&] { WriteBytes(dir_ + "/Story.txt.src", "Lectrel converted text\n" + story + "\n12 34"); },
       "The first story.", true},
      {"a hostile record", story,
       [&] { WriteBytes(dir_ + "/Story.txt.src", std::string(20000, '\x01') + "\n\n-1 -1 -1 -1 -1 -1\n"); },
       "The first story.", true},
      {"the cache cut after it was made", story,
       [&] {
         ASSERT_EQ(0, truncate((dir_ + "/Story.txt").c_str(), 4));
       },
       "The first story.", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UseBook("Story.html", "Story");
    WriteBytes(story, html("The first story."));
    load_control_force_reconvert = 1;
    ASSERT_EQ(1, CreateTextFileIfNeeded());
    load_control_force_reconvert = 0;
    ASSERT_NE(std::string::npos, Read(text_filename).find("The first story."));
    c.change();
    snprintf(pdf_filename, sizeof(pdf_filename), "%s", c.book.c_str());
    main_fake_calls = MainFakeCalls();
    EXPECT_EQ(1, CreateTextFileIfNeeded());
    EXPECT_NE(std::string::npos, Read(text_filename).find(c.shown)) << Read(text_filename);
    EXPECT_EQ(c.converted ? 1 : 0, CreateTextFileMadeByLastLoad());
    // What was converted is trusted at the next load.
    EXPECT_EQ(1, CreateTextFileIfNeeded());
    EXPECT_EQ(0, CreateTextFileMadeByLastLoad());
    unlink((dir_ + "/Story.txt").c_str());
    unlink((dir_ + "/Story.txt.src").c_str());
  }
}

// A book saved again while it is being converted: the load shows what was converted, and the next
// load converts the book as it is now.
TEST_F(BookCacheTest, ABookChangedDuringItsConversionIsConvertedAgain) {
  std::string pdf = dir_ + "/Changing.pdf";
  ASSERT_TRUE(PdfFixtureWriteSampleBook(pdf, 3));
  UseBook("Changing.pdf", "Changing");
  main_fake_calls.on_progress = [&] {
    if (main_fake_calls.progress_calls == 2) {
      struct timespec times[2] = {{0, UTIME_NOW}, {0, UTIME_NOW}};
      utimensat(AT_FDCWD, pdf.c_str(), times, 0);
    }
  };
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  main_fake_calls = MainFakeCalls();
  EXPECT_EQ(1, CreateTextFileMadeByLastLoad());
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(1, CreateTextFileMadeByLastLoad()) << "converted again";
  EXPECT_EQ(Oracle(pdf), Read(text_filename));
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(0, CreateTextFileMadeByLastLoad());
}

TEST_F(BookCacheTest, Utf8TextBookIsConvertedAndLatin1OneIsUsedInPlace) {
  // The books stand in a folder of their own, as they do beside the preferences folder.
  ASSERT_EQ(0, mkdir((dir_ + "/books").c_str(), 0755));
  UseBook("books/Faq.txt", "Faq");
  WriteBytes(pdf_filename,
             "\xEF\xBB\xBF"                          // byte-order mark
             "Copyright \xC2\xA9 1996-2021\r\n"       // copyright sign, CR LF kept
             "\xC2\xA0\xC2\xA0\xC2\xA0indented\n"     // no-break spaces
             "na\xC3\xAFve caf\xC3\xA9 \xE2\x82\xAC" "5\n"  // accents, the euro sign (0x80)
             "\xE2\x86\x92 \xF0\x9F\x98\x80\n"         // outside Latin-1
             "\fpage two\n");
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(dir_ + "/Faq.txt", std::string(text_filename));
  EXPECT_EQ(std::string("Copyright \xA9 1996-2021\r\n\xA0\xA0\xA0indented\nna\xEFve caf\xE9 \x80" "5\n? ?\n\fpage two\n"),
            Read(text_filename));
  EXPECT_EQ("Converting File - Faq", main_fake_calls.texts.front());
  EXPECT_EQ(1.0f, main_fake_calls.fractions.back());
  EXPECT_EQ(1, main_fake_calls.turn_off_calls);

  // A long book: sequences cut by the blocks it is read in still come out whole.
  std::string big, big_latin1;
  for (int line = 0; line < 3000; line++) {  // lines of 301 bytes: the blocks end inside a sequence
    for (int i = 0; i < 100; i++) big += "\xE2\x82\xAC";
    big += "\n";
    big_latin1 += std::string(100, '\x80') + "\n";
  }
  UseBook("books/Euro.txt", "Euro");
  WriteBytes(pdf_filename, big);
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(big_latin1, Read(text_filename));

  for (const char* bytes : {"caf\xE9 cr\xE8me\n", "plain ASCII\fpage two\n", "\xC3\xA9 then a stray \xE9\n"}) {
    SCOPED_TRACE(bytes);
    MainFakesReset();
    UseBook("books/Plain.txt", "Plain");
    WriteBytes(pdf_filename, bytes);
    EXPECT_EQ(1, CreateTextFileIfNeeded());
    EXPECT_STREQ(pdf_filename, text_filename);
    EXPECT_EQ(bytes, Read(pdf_filename));
    EXPECT_FALSE(Exists(dir_ + "/Plain.txt"));
  }
}

TEST_F(BookCacheTest, CancelledUtf8TextBookLeavesNoCache) {
  std::string text;
  for (int i = 0; i < 40000; i++) text += "Caf\xC3\xA9 line " + std::to_string(i) + "\n";
  UseBook("Big Book.txt", "Big");
  WriteBytes(pdf_filename, text);
  main_fake_calls.quit_on_progress_call = 2;
  EXPECT_EQ(1, CreateTextFileIfNeeded());
  EXPECT_EQ(1, quit_loading_book);
  EXPECT_EQ(2, main_fake_calls.progress_calls);
  EXPECT_EQ(std::vector<std::string>(), Leftovers({"Big Book.txt"}));
}

TEST_F(BookCacheTest, ProgressCallbackAnswersStopOnceCancelled) {
  EXPECT_EQ(1, DisplayProgressProc(1, 4, 1));
  EXPECT_EQ(1, DisplayProgressProc(1, 1, 1));  // one page: the whole, twice
  EXPECT_EQ((std::vector<float>{0.25f, 1.0f, 1.0f}), main_fake_calls.fractions);
  quit_loading_book = 1;
  EXPECT_EQ(0, DisplayProgressProc(1, 4, 2));
  EXPECT_EQ(3, main_fake_calls.progress_calls);
}

}  // namespace
