// The panel: set-up and its refusals, selection by click, keys and search, page jumps and the
// wheel, confirmation by double click or Enter (and the double clicks that must not confirm),
// the bottom edge, bound variables, and the thumb drawn and dragged with one geometry.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Mui.h"
#include "MuiPanel.h"
#include "MuiScrollbar.h"
#include "support_MuiKit.h"

namespace {

char g_strings[100][MUI_TEXT_LEN];

char* ValueCb(int index) {
  static char buf[32];
  snprintf(buf, sizeof(buf), "v%d", index);
  return buf;
}

class PanelTest : public MuiKitTest {
 protected:
  void SetUp() override {
    MuiKitTest::SetUp();
    for (int i = 0; i < 100; i++) snprintf(g_strings[i], sizeof(g_strings[i]), "e%d", i);
  }

  // A panel of num string entries, num_per_page rows, with a recording callback.
  int Panel(int x1, int y1, int x2, int y2, int num, int num_per_page) {
    int id = MuiAddNewScreenBox(x1, y1, x2, y2, MuiKitCb<1>);
    EXPECT_GE(id, 0);
    MuiSetType(id, MUI_TYPE_PANEL);
    MuiPanelSetStrings(id, num, num_per_page, g_strings);
    MuiKitClearRecords();
    return id;
  }

  static std::vector<std::string> Calls() { return MuiKitCalls(); }

  static void DoubleClickAt(int id, int x, int y) {
    MuiKitMoveTo(x, y);
    MuiPanelHandleDoubleClick(id);
  }
};

using Strs = std::vector<std::string>;

TEST_F(PanelTest, SideBarPagesAndWheelMoveOnlyTheDisplay) {
  // 25 entries, 10 rows of 20 in a box 200 high.
  int id = Panel(100, 100, 300, 300, 25, 10);
  _SideBarInfo sb;
  ASSERT_EQ(MuiPanelGetSidebarDimensions(id, &sb), 1);
  EXPECT_EQ(sb.row_area_w, 200 - 15);
  EXPECT_EQ(sb.sb_x, 300 - 15);
  EXPECT_EQ(sb.sb_h, 200);
  EXPECT_EQ(sb.track_top, 100 + mouse_box[id].y_margin);
  EXPECT_EQ(sb.track_bottom, 300 - mouse_box[id].y_margin);
  EXPECT_EQ(sb.thumb_h, sb.track_len * 10 / 25);
  EXPECT_EQ(sb.thumb_x, sb.sb_x + 15 / 2 - 12 / 2);

  MuiPanelHandleMousePress(id, 295, 299);  // below the thumb
  EXPECT_EQ(MuiPanelGetDisplayPos(id), 10);
  MuiPanelHandleMousePress(id, 295, 299);
  EXPECT_EQ(MuiPanelGetDisplayPos(id), 15) << "lowered to the last full page";
  MuiPanelHandleMousePress(id, 295, 101);  // above the thumb
  EXPECT_EQ(MuiPanelGetDisplayPos(id), 5);
  EXPECT_EQ(MuiPanelGetPos(id), 0);
  EXPECT_EQ(Calls(), Strs{}) << "page jumps never select";

  struct {
    int delta, want;
  } wheel[] = {{2, 3}, {-7, 10}, {-100, 15}, {100, 0}};
  for (auto w : wheel) {
    MuiPanelHandleMouseWheel(id, w.delta);
    EXPECT_EQ(MuiPanelGetDisplayPos(id), w.want) << w.delta;
  }
  EXPECT_EQ(MuiPanelGetPos(id), 0);

  // A panel whose entries fit has no side bar: the wheel stays, a click on row 2 selects it.
  int small = Panel(100, 320, 300, 420, 3, 10);
  EXPECT_EQ(MuiPanelGetSidebarDimensions(small, &sb), 0);
  EXPECT_EQ(sb.row_area_w, 200);
  MuiPanelHandleMouseWheel(small, -3);
  EXPECT_EQ(MuiPanelGetDisplayPos(small), 0);
  MuiPanelHandleMousePress(small, 299, 320 + 2 * 10 + 5);
  EXPECT_EQ(MuiPanelGetPos(small), 2);
  EXPECT_STREQ(MuiGetText(small), "e2");
  MuiPanelHandleMousePress(small, 150, 320 + 5 * 10 + 5);  // an empty row below the entries
  EXPECT_EQ(MuiPanelGetPos(small), 2);
  EXPECT_EQ(Calls(), Strs{"cb1:0"});
}

TEST_F(PanelTest, KeysSelectAndEnterConfirms) {
  int id = Panel(100, 100, 300, 200, 12, 5);
  struct {
    char move;
    int pos, display;
    const char* call;
  } steps[] = {
      {MUI_MOVE_UP, 0, 0, "cb1:0"},          // already first: stays, still notifies
      {MUI_MOVE_DOWN, 1, 0, "cb1:0"},
      {MUI_MOVE_PAGE_DOWN, 6, 2, "cb1:0"},
      {MUI_MOVE_PAGE_DOWN, 11, 7, "cb1:0"},
      {MUI_MOVE_DOWN, 11, 7, "cb1:0"},       // down on the last entry keeps it
      {MUI_MOVE_ENTER, 11, 7, "cb1:1"},      // confirm
      {MUI_MOVE_PAGE_UP, 6, 6, "cb1:0"},
      {MUI_MOVE_LEFT, 6, 6, nullptr},
      {MUI_MOVE_RIGHT, 6, 6, nullptr},
  };
  for (auto s : steps) {
    MuiKitClearRecords();
    MuiPanelHandleKeyPress(id, s.move);
    SCOPED_TRACE(s.move);
    EXPECT_EQ(MuiPanelGetPos(id), s.pos);
    EXPECT_EQ(MuiPanelGetDisplayPos(id), s.display);
    EXPECT_EQ(Calls(), s.call ? Strs{s.call} : Strs{});
  }
}

TEST_F(PanelTest, DoubleClickConfirmsOnlyOnTheSelectedRow) {
  // 25 entries, 10 rows of 20, side bar at x >= 285.
  int id = Panel(100, 100, 300, 300, 25, 10);
  MuiPanelHandleMousePress(id, 150, 100 + 3 * 20 + 5);  // select entry 3
  EXPECT_EQ(Calls(), Strs{"cb1:0"});

  struct {
    const char* what;
    int x, y;
    Strs calls;
    int pos, display;
  } cases[] = {
      {"two quick clicks on the side bar page down, twice", 295, 299, {}, 3, 15},
      {"on the side bar above the thumb", 295, 101, {}, 3, 5},
      {"on another row: selects it, confirms nothing", 150, 100 + 5 * 20 + 5, {"cb1:0"}, 10, 5},
      {"on the selected row: confirms", 150, 100 + 5 * 20 + 5, {"cb1:1"}, 10, 5},
      {"on the selected row's text end, still the row area", 284, 100 + 5 * 20 + 1, {"cb1:1"}, 10, 5},
  };
  // The first case is two presses: the press of the first click, then the double click.
  MuiPanelHandleMousePress(id, 295, 299);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MuiKitClearRecords();
    DoubleClickAt(id, c.x, c.y);
    EXPECT_EQ(Calls(), c.calls);
    EXPECT_EQ(MuiPanelGetPos(id), c.pos);
    EXPECT_EQ(MuiPanelGetDisplayPos(id), c.display);
  }

  // Below the last entry of a short list the rows are empty: nothing is selected or confirmed.
  int small = Panel(100, 320, 300, 420, 3, 10);
  MuiPanelHandleMousePress(small, 150, 325);
  MuiKitClearRecords();
  DoubleClickAt(small, 150, 320 + 6 * 10 + 5);
  EXPECT_EQ(Calls(), Strs{});
  EXPECT_EQ(MuiPanelGetPos(small), 0);
  DoubleClickAt(small, 150, 325);
  EXPECT_EQ(Calls(), Strs{"cb1:1"});
}

TEST_F(PanelTest, BottomEdgeAndLeftoverStripSelectTheLastVisibleRow) {
  struct {
    const char* what;
    int y2, y;
  } cases[] = {
      {"the bottom edge of a box of whole rows", 409, 409},
      {"a strip left below the last whole row", 414, 412},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MuiRemoveAllBoxes();
    int id = Panel(82, 109, 626, c.y2, 20, 15);  // rows of 20, entries 0 to 14 on the page
    MuiPanelHandleMousePress(id, 300, c.y);
    EXPECT_EQ(MuiPanelGetPos(id), 14);
    EXPECT_EQ(MuiPanelGetDisplayPos(id), 0) << "the page does not scroll to the entry below it";
    MuiKitClearRecords();
    DoubleClickAt(id, 300, c.y);
    EXPECT_EQ(Calls(), Strs{"cb1:1"}) << "the row the user sees selected is the one confirmed";
  }
}

TEST_F(PanelTest, ThumbIsDrawnAndDraggedWithOneGeometry) {
  int id = Panel(100, 100, 300, 300, 25, 10);
  _SideBarInfo sb;
  for (int d = 0; d <= 15; d++) {
    MuiPanelSetDisplayPos(id, d);
    ASSERT_EQ(MuiPanelGetSidebarDimensions(id, &sb), 1);
    ASSERT_EQ(sb.thumb_y, MuiPanelGetScreenYPos(id, sb)) << d;
    // Grab the thumb anywhere and hold still: the list does not move.
    for (int grab : {sb.thumb_y, sb.thumb_y + sb.thumb_h / 2, sb.thumb_y2}) {
      dragging = 0;
      MuiPanelHandleMousePress(id, 292, grab);
      ASSERT_EQ(dragging, 1);
      MuiPanelHandleDragging(id, grab);
      EXPECT_EQ(MuiPanelGetDisplayPos(id), d) << "grab at " << grab;
    }
    // Moving the grabbed centre to where the next thumb's centre is shows the next entry.
    if (d < 15) {
      MuiPanelHandleMousePress(id, 292, sb.thumb_y + sb.thumb_h / 2);
      MuiPanelHandleDragging(id, MuiSideBarThumbY(&sb, d + 1, 25, 10) + sb.thumb_h / 2);
      EXPECT_EQ(MuiPanelGetDisplayPos(id), d + 1);
      MuiPanelSetDisplayPos(id, d);
    }
  }
  EXPECT_EQ(sb.thumb_y2, sb.track_bottom) << "on the last page the thumb ends at the track's end";
  MuiPanelSetDisplayPos(id, 0);
  ASSERT_EQ(MuiPanelGetSidebarDimensions(id, &sb), 1);
  EXPECT_EQ(sb.thumb_y, sb.track_top);

  MuiPanelHandleMousePress(id, 292, sb.thumb_y + 2);
  MuiPanelHandleDragging(id, 1000);
  EXPECT_EQ(MuiPanelGetDisplayPos(id), 15);
  MuiPanelHandleDragging(id, -1000);
  EXPECT_EQ(MuiPanelGetDisplayPos(id), 0);
  EXPECT_EQ(MuiPanelGetPos(id), 0) << "dragging never selects";

  // A drag on a panel that lost its side bar ends.
  MuiPanelSetStrings(id, 5, 10, g_strings);
  MuiPanelHandleDragging(id, 150);
  EXPECT_EQ(dragging, 0);
}

TEST_F(PanelTest, SelectionSetterWritesBackAndCallsOnlyWhenAsked) {
  int id = Panel(100, 100, 300, 200, 12, 5);
  int var = 0;
  char cvar = 0;
  EXPECT_EQ(MuiPanelRegisterIntVariable(id, &var, 0), 1);
  MuiPanelSetPos(id, 7, 0);
  EXPECT_EQ(MuiPanelGetDisplayPos(id), 3);
  EXPECT_EQ(var, 7);
  EXPECT_EQ(Calls(), Strs{});
  MuiPanelSetPos(id, 99, 1);
  EXPECT_EQ(var, 11) << "clamped, not refused";
  MuiPanelSetPos(id, -4, 2);
  EXPECT_EQ(var, 0);
  EXPECT_EQ(Calls(), (Strs{"cb1:0", "cb1:1"}));

  var = 9;
  MuiPanelRefresh(id);
  EXPECT_EQ(MuiPanelGetPos(id), 9);
  MuiKitClearRecords();
  cvar = 4;
  EXPECT_EQ(MuiPanelRegisterCharVariable(id, &cvar, 1), 1);
  EXPECT_EQ(MuiPanelGetPos(id), 4);
  EXPECT_EQ(Calls(), Strs{"cb1:0"});
  cvar = 6;
  MuiPanelUpdateFromRegisteredVariable(id, 0);
  EXPECT_EQ(MuiPanelGetPos(id), 6);
  // A null variable unbinds the box and nothing reads through it.
  EXPECT_EQ(MuiPanelRegisterIntVariable(id, nullptr, 1), 1);
  MuiPanelSetPos(id, 2, 0);
  MuiPanelRefresh(id);
  EXPECT_EQ(cvar, 6);
  EXPECT_EQ(MuiPanelGetPos(id), 2);

  // Only a panel takes a variable.
  int button = MuiAddNewScreenBox(0, 0, 10, 10, nullptr);
  EXPECT_EQ(MuiPanelRegisterIntVariable(button, &var, 0), 0);

  MuiPanelCenterToPosIfPossible(id);
  EXPECT_EQ(MuiPanelGetDisplayPos(id), 0);
  MuiPanelSetPos(id, 9, 0);
  MuiPanelCenterToPosIfPossible(id);
  EXPECT_EQ(MuiPanelGetDisplayPos(id), 7) << "lowered to the last full page";
}

TEST_F(PanelTest, StringsSearchAndValueCallback) {
  int id = Panel(100, 100, 300, 200, 12, 5);
  EXPECT_STREQ(MuiPanelGetSelString(id), "e0");
  EXPECT_EQ(MuiPanelSetPosToString(id, "e8"), 1);
  EXPECT_EQ(MuiPanelGetPos(id), 8);
  EXPECT_STREQ(MuiPanelGetSelString(id), "e8");
  EXPECT_EQ(MuiPanelSetPosToString(id, "e"), 0);
  EXPECT_EQ(MuiPanelGetPos(id), 8);
  EXPECT_EQ(Calls(), Strs{"cb1:0"});

  MuiPanelSetValues(id, 30, 5, ValueCb);
  EXPECT_EQ(MuiPanelGetPos(id), 0);
  EXPECT_STREQ(MuiGetText(id), "v0");
  EXPECT_EQ(MuiPanelSetPosToString(id, "v17"), 1);
  EXPECT_STREQ(MuiPanelGetSelString(id), "v17");

  MuiPanelSetValues(id, 0, 5, ValueCb);
  EXPECT_STREQ(MuiPanelGetSelString(id), "") << "an empty panel";
  MuiPanelSetPos(id, 3, 1);
  EXPECT_EQ(MuiPanelGetPos(id), 0);
  EXPECT_EQ(MuiPanelGetPos(-1), -1);
  EXPECT_EQ(MuiPanelGetDisplayPos(-1), 0);
  EXPECT_STREQ(MuiPanelGetSelString(-1), "");
}

// The same behaviours as the user drives them: the pointer, the button, double clicks, the wheel
// and keys go through the layer's input to the highlighted panel.
TEST_F(PanelTest, ThroughTheLayersInput) {
  int id = Panel(100, 100, 300, 300, 25, 10);  // rows of 20, side bar from x 285
  MuiKitClick(150, 100 + 2 * 20 + 5);
  EXPECT_EQ(MuiPanelGetPos(id), 2);
  EXPECT_EQ(MuiDoubleClick(0), 1);
  EXPECT_EQ(Calls(), (Strs{"cb1:0", "cb1:1"})) << "a click and a double click on one row open it";

  MuiKitClearRecords();
  MuiKitClick(295, 295);
  MuiDoubleClick(0);
  MuiKitRelease();
  EXPECT_EQ(Calls(), Strs{}) << "a double click on the side bar opens nothing";
  EXPECT_EQ(MuiPanelGetDisplayPos(id), 15);
  EXPECT_EQ(MuiPanelGetPos(id), 2);

  MuiProcessMouseWheel(4);
  EXPECT_EQ(MuiPanelGetDisplayPos(id), 11);

  // Grab the thumb, move the pointer to the bottom, let go.
  _SideBarInfo sb;
  ASSERT_EQ(MuiPanelGetSidebarDimensions(id, &sb), 1);
  MuiKitMoveTo(292, sb.thumb_y + 1);
  MuiKitPress();
  EXPECT_EQ(dragging, 1);
  MuiKitMoveTo(292, sb.thumb_y + 1);
  EXPECT_EQ(MuiPanelGetDisplayPos(id), 11) << "holding still moves nothing";
  MuiKitMoveTo(292, 299);
  EXPECT_EQ(MuiPanelGetDisplayPos(id), 15);
  MuiKitRelease();
  EXPECT_EQ(dragging, 0);

  MuiKitMoveTo(150, 150);
  MuiKeyDown(247);  // down
  MuiKeyDown(13);   // return
  EXPECT_EQ(MuiPanelGetPos(id), 3);
  EXPECT_EQ(Calls(), (Strs{"cb1:0", "cb1:1"}));
}

TEST_F(PanelTest, SetUpRefusals) {
  int id = Panel(100, 100, 300, 200, 12, 5);
  struct {
    const char* log;
    void (*call)(int);
  } cases[] = {
      {"invalid num entries 0 (ID: 0)", [](int i) { MuiPanelSetStrings(i, 0, 5, g_strings); }},
      {"invalid num entries -1 (ID: 0)", [](int i) { MuiPanelSetValues(i, -1, 5, ValueCb); }},
      {"Null strings (ID: 0)", [](int i) { MuiPanelSetStrings(i, 3, 5, nullptr); }},
      {"Null callback entry (ID: 0)", [](int i) { MuiPanelSetValues(i, 3, 5, nullptr); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    c.call(id);
    EXPECT_TRUE(MuiKitLogHas(c.log)) << MuiKitLog();
    EXPECT_EQ(mui_panel[id].num, 12) << "the list stays";
    EXPECT_EQ(mui_panel[id].num_per_page, 5);
  }
  MuiPanelSetStrings(id, 3, 0, g_strings);
  EXPECT_TRUE(MuiKitLogHas("invalid num_per_page 0 (ID: 0)"));
  EXPECT_EQ(mui_panel[id].num_per_page, 1) << "the page size becomes 1, nothing else is set";
  EXPECT_EQ(mui_panel[id].num, 12);

  MuiKitClearLog();
  MuiSetType(id, MUI_TYPE_BUTTON);
  MuiPanelDraw(id, 1, 0);
  EXPECT_TRUE(MuiKitLogHas("Panel ID 0 is not a panel"));
}

}  // namespace
