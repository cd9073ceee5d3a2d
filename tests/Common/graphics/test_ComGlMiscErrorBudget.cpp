// The GL error log has a budget of 100 lines per run; the last one says so. Its own program,
// since the budget belongs to the whole process.
#include <GL/gl.h>

#include "ComGlMisc.h"
#include "support_GlWindow.h"

namespace {

TEST(ComGlMiscErrorBudgetTest, HundredAndOneErrorsGiveHundredLines) {
  ASSERT_TRUE(GlTestOpenWindow(640, 480));
  GlTestLogMark();
  EXPECT_EQ(ComGlMiscCheckGlError("Clean", "nothing wrong"), 1);
  for (int i = 0; i < 101; i++) {
    glEnable(0x7FFF);  // GL_INVALID_ENUM
    EXPECT_EQ(ComGlMiscCheckGlError("BudgetTest", "step"), 0) << i;
  }
  const std::string log = GlTestLogSince();
  const std::string line = GlTestErrorLine("BudgetTest", "step : OpenGL error: invalid enumerant");
  EXPECT_EQ(GlTestCountOccurrences(log, line), 100);
  EXPECT_EQ(GlTestCountOccurrences(log, line + " (no more errors)"), 1);
  EXPECT_EQ(GlTestCountOccurrences(log, "( Clean )"), 0);
  // The 100th line is the one that carries the note: it is the last line logged.
  const size_t last = log.rfind(GlTestErrorLine("BudgetTest", "step"));
  EXPECT_EQ(log.compare(last, line.size() + 17, line + " (no more errors)"), 0);
}

}  // namespace
