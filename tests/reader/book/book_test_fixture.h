// Shared by the book tests that run the converters or the layout passes: every test gets a fresh
// temporary folder with the log in it, the reading view's fakes reset and their buffers made, and
// all of it undone afterwards, plus the small file helpers those tests read and write with.
#ifndef BOOK_TEST_FIXTURE_H
#define BOOK_TEST_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ComDebug.h"
#include "support_MainFakes.h"
#include "support_PdfFixtures.h"

class BookFolderTest : public ::testing::Test {
 protected:
  // A fixture built on this one returns from its own SetUp when HasFatalFailure() says the
  // folder could not be made.
  void SetUp() override {
    dir_ = PdfFixtureTempDir();
    ASSERT_FALSE(dir_.empty());
    MainFakesReset();
    MainFakesAllocBuffers();
    DebugSetLogFilename((dir_ + "/log.txt").c_str(), 1);
  }
  void TearDown() override {
    MainFakesFreeBuffers();
    DebugSetLogFilename(nullptr, 0);
    PdfFixtureRemoveTree(dir_);
  }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f) << path;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
  // The file's bytes, empty when it cannot be read.
  static std::string Read(const std::string& path) {
    std::string text;
    PdfFixtureReadFile(path, &text);
    return text;
  }
  std::string Log() const { return Read(dir_ + "/log.txt"); }
  // How often `needle` stands in `hay`, overlapping places counted.
  static size_t Count(const std::string& hay, const std::string& needle) {
    size_t n = 0;
    for (size_t p = hay.find(needle); p != std::string::npos; p = hay.find(needle, p + 1)) n++;
    return n;
  }

  std::string dir_;
};

#endif
