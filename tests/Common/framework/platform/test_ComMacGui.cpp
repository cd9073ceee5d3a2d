// The interface-file dialog layer on a small .ui file written by the test: controls by
// signature and id, commands from the user's actions only (never from the program's own
// changes), the window's close, the modal loop ended from the handler, Latin-1 texts, bounded
// item and text copies, pictures, and the failures of loading.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "ComMacGui.h"
#include "Common/framework/FrameworkTestUtil.h"
#include "DialogDriver.h"

namespace {

const char* kUi = R"(<?xml version="1.0" encoding="UTF-8"?>
<interface>
  <object class="GtkWindow" id="Win">
    <property name="name">CANC</property>
    <child>
      <object class="GtkBox">
        <property name="visible">True</property>
        <property name="orientation">vertical</property>
        <child><object class="GtkComboBoxText" id="LIST-3"><property name="visible">True</property></object></child>
        <child><object class="GtkCheckButton" id="CHEK-4"><property name="visible">True</property></object></child>
        <child><object class="GtkEntry" id="TEXT-5"><property name="visible">True</property></object></child>
        <child><object class="GtkLabel" id="STAT-6"><property name="visible">True</property></object></child>
        <child><object class="GtkButton" id="BUTN-7">
          <property name="name">go  </property><property name="label">Go</property><property name="visible">True</property>
        </object></child>
        <child><object class="GtkTextView" id="VIEW-8"><property name="visible">True</property></object></child>
        <child><object class="GtkImage" id="PICT-9"><property name="visible">True</property></object></child>
        <child><object class="GtkButton" id="PING"><property name="label">Ping</property><property name="visible">True</property></object></child>
      </object>
    </child>
  </object>
  <object class="GtkWindow" id="Other"><property name="title">never loaded</property></object>
</interface>
)";

std::vector<std::string> g_commands;
bool g_handle_close = true;

OSStatus Handler(void*, ComMacGuiCommand* e, void*) {
  char c[5] = {(char)(e->command >> 24), (char)(e->command >> 16), (char)(e->command >> 8), (char)e->command, 0};
  g_commands.push_back(c);
  if (e->command == ComMacGuiFourCC("go  ")) ComMacGuiEndDialog(e->window);
  if (e->command == ComMacGuiFourCC("CANC") && !g_handle_close) return eventNotHandledErr;
  return e->command == ComMacGuiFourCC("PING") ? eventNotHandledErr : noErr;
}

class GuiTest : public fwtest::TempDirTest {
 protected:
  void SetUp() override {
    fwtest::TempDirTest::SetUp();
    char cwd[1024];
    ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
    old_cwd_ = cwd;
    fwtest::WriteAll(Path("Test.ui"), kUi);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    ASSERT_TRUE(ComMacGuiInitGtk()) << "no X display";
    g_commands.clear();
    g_handle_close = true;
  }
  void TearDown() override {
    if (win_) ComMacGuiDestroyDialog(&upp_, &win_);
    ASSERT_EQ(chdir(old_cwd_.c_str()), 0);
    fwtest::TempDirTest::TearDown();
  }
  void Load() { ASSERT_TRUE(ComMacGuiLoadDialogFromNib("Test", "Win", Handler, 0, &upp_, &win_)); }
  ControlRef Get(const char (&sig)[5], long id) {
    ControlRef c = nullptr;
    EXPECT_TRUE(ComMacGuiGetControl(win_, ComMacGuiFourCC(sig), id, &c)) << sig << id;
    return c;
  }
  std::string old_cwd_;
  EventHandlerUPP upp_ = nullptr;
  WindowRef win_ = nullptr;
};

TEST_F(GuiTest, OnlyTheUsersActionsSendCommands) {
  Load();
  ControlRef list = Get("LIST", 3), check = Get("CHEK", 4), text = Get("TEXT", 5);
  // The program's own changes: GTK signals them, the handler never hears of them.
  ComPcMacGuiResetList(0, list);
  for (const char* item : {"one", "two", "three"}) ComPcMacGuiAddStringToList(0, list, 0, (char*)item);
  ComPcMacGuiSetListPos(0, list, 2);
  ComMacGuiCheckButton(check, 1);
  ComMacGuiSetEditableTextString(text, (char*)"typed");
  ComMacGuiSetMenuItemText(list, 3, (char*)"THREE");
  EXPECT_TRUE(g_commands.empty());
  EXPECT_EQ(ComPcMacGuiGetListPos(0, list), 2);
  EXPECT_TRUE(ComMacGuiIsButtonChecked(check));
  char item[256];
  ComPcMacGuiGetListItemString(0, list, item, 2);
  EXPECT_STREQ(item, "THREE");
  ComMacGuiGetPopupMenuCurrentText(list, list, item);
  EXPECT_STREQ(item, "THREE");

  int ticks = 0;
  dialogtest::Driver d("Win", [&](GtkWidget* w) {
    ticks++;
    dialogtest::Choose(dialogtest::Find(w, "LIST-3"), 0);
    dialogtest::Toggle(dialogtest::Find(w, "CHEK-4"), false);
    dialogtest::Click(dialogtest::Find(w, "PING"));
    dialogtest::Click(dialogtest::Find(w, "BUTN-7"));  // its handler ends the dialog
    return true;
  });
  EXPECT_EQ(ComMacGuiDoDialog(&upp_, &win_, 1, 0), 1);
  EXPECT_FALSE(d.TimedOut());
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(g_commands, (std::vector<std::string>{"LIST", "CHEK", "PING", "go  "}));
  ASSERT_NE(win_, nullptr) << "not destroyed when not asked";
  ComMacGuiDestroyDialog(&upp_, &win_);
  EXPECT_EQ(upp_, nullptr);
  EXPECT_EQ(win_, nullptr);
}

TEST_F(GuiTest, TheWindowsCloseIsItsCommandAndEndsTheDialog) {
  for (bool handled : {true, false}) {
    g_commands.clear();
    g_handle_close = handled;
    Load();
    dialogtest::Driver d("Win", [&](GtkWidget* w) {
      dialogtest::Close(w);
      if (handled) ComMacGuiEndDialog(w);
      return true;
    });
    EXPECT_EQ(ComMacGuiDoDialog(&upp_, &win_, 1, 1), 1);
    EXPECT_FALSE(d.TimedOut());
    EXPECT_EQ(g_commands, std::vector<std::string>{"CANC"});
    EXPECT_EQ(win_, nullptr);
  }
}

TEST_F(GuiTest, TextsAreLatin1AndCopiesAreBounded) {
  Load();
  ControlRef stat = Get("STAT", 6), text = Get("TEXT", 5), view = Get("VIEW", 8), list = Get("LIST", 3);
  ComMacGuiSetStaticTextString(stat, (char*)"caf\xE9 \x80");
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(stat)), "caf\xC3\xA9 \xE2\x82\xAC");
  char out[64];
  EXPECT_EQ(ComMacGuiGetStaticTextString(stat, out, sizeof(out)), 1);
  EXPECT_STREQ(out, "caf\xE9 \x80");
  EXPECT_EQ(ComMacGuiGetStaticTextString(stat, out, 4), -1);
  EXPECT_STREQ(out, "caf");
  EXPECT_EQ(ComMacGuiGetStaticTextString(nullptr, out, 4), 0);
  // What Latin-1 cannot hold, and broken UTF-8, read back as "?".
  gtk_entry_set_text(GTK_ENTRY(text), "a\xE2\x86\x92" "b\xE6\x97\xA5");
  EXPECT_EQ(ComMacGuiGetEditableTextString(text, out, sizeof(out)), 1);
  EXPECT_STREQ(out, "a?b?");
  ComMacGuiSetEditableTextString(view, (char*)"two\nlines");
  EXPECT_EQ(ComMacGuiGetEditableTextString(view, out, sizeof(out)), 1);
  EXPECT_STREQ(out, "two\nlines");
  ComMacGuiSetEditableTextInt(text, -42);
  EXPECT_EQ(ComMacGuiGetEditableTextInt(text), -42);
  EXPECT_EQ(ComMacGuiGetEditableTextInt(nullptr), -1);

  // Items: 255 characters are taken, 256 refused; copies never pass 255 and a NUL.
  ComMacGuiResetMenu(list);
  std::string longest(255, 'x'), too_long(256, 'y');
  ComMacGuiAddStringToMenu(list, &longest[0]);
  ComMacGuiAddStringToMenu(list, &too_long[0]);
  EXPECT_EQ(ComMacGuiGetMenuCount(list), 1);
  std::vector<char> item(300, '#');
  ComMacGuiGetMenuItemString(list, item.data(), 1);
  EXPECT_EQ(std::string(item.data()), longest);
  ComMacGuiGetMenuItemString(list, item.data(), 2);
  EXPECT_STREQ(item.data(), "");
  EXPECT_EQ(ComMacGuiGetPopupControlCurrentSelection(nullptr), -1);
  EXPECT_EQ(ComMacGuiSyncPopupButtonToMenu(nullptr), -1);
  MenuRef menu = nullptr;
  EXPECT_FALSE(ComMacGuiGetPopupButtonMenu(text, &menu));
  EXPECT_TRUE(Logged("ComMacGuiGetPopupButtonMenu", "Could not get popup menu"));
}

TEST_F(GuiTest, PicturesAndLoadFailures) {
  Load();
  ControlRef pict = Get("PICT", 9), stat = Get("STAT", 6);
  PicHandle pic = nullptr;
  std::string title = std::string(LECTREL_RESOURCES) + "/Title.jpg";
  EXPECT_TRUE(ComMacGuiQtSetPictPictureFromFile(pict, &title[0], &pic));
  EXPECT_NE(pic, nullptr);
  EXPECT_EQ(gtk_image_get_pixbuf(GTK_IMAGE(pict)), pic);
  ComMacGuiQtReleasePicture(&pic);
  EXPECT_EQ(pic, nullptr);
  std::string missing = Path("none.jpg"), not_image = Path("Test.ui");
  EXPECT_FALSE(ComMacGuiQtSetPictPictureFromFile(pict, &missing[0], &pic));
  EXPECT_TRUE(Logged("ComMacGuiSetPictPictureFromFile", "Make FSRef failed (file <" + missing + "> not found)"));
  EXPECT_FALSE(ComMacGuiQtSetPictPictureFromFile(pict, &not_image[0], &pic));
  EXPECT_TRUE(Logged("ComMacGuiSetPictPictureFromFile", "GetGraphicsImporterForFile() failed"));
  EXPECT_FALSE(ComMacGuiQtSetPictPictureFromFile(stat, &title[0], &pic));
  EXPECT_TRUE(Logged("ComMacGuiSetPictPictureFromFile", "GraphicsImportGetAsPicture() failed"));
  EXPECT_EQ(pic, nullptr);

  ControlRef c = nullptr;
  EXPECT_FALSE(ComMacGuiGetControl(win_, ComMacGuiFourCC("LIST"), 99, &c));
  EXPECT_TRUE(Logged("ComMacGuiGetControl", "Could not get control [id = 99]"));

  // Handles already set are reported and replaced.
  EventHandlerUPP upp2 = upp_;
  WindowRef win2 = win_;
  ASSERT_TRUE(ComMacGuiLoadDialogFromNib("Test", "Win", Handler, 0, &upp2, &win2));
  EXPECT_TRUE(Logged("ComMacGuiLoadDialogFromNib", "Warning - parameters not null"));
  EXPECT_NE(win2, win_);
  ComMacGuiDestroyDialog(&upp2, &win2);

  EventHandlerUPP u = nullptr;
  WindowRef w = nullptr;
  EXPECT_FALSE(ComMacGuiLoadDialogFromNib("Missing", "Win", Handler, 0, &u, &w));
  EXPECT_TRUE(Logged("ComMacGuiLoadDialogFromNib", "CreateNibReference() failed [-43]"));
  EXPECT_FALSE(ComMacGuiLoadDialogFromNib("Test", "Nowhere", Handler, 0, &u, &w));
  EXPECT_NE(Log().find("CreateWindowFromNib() failed"), std::string::npos);
  EXPECT_EQ(w, nullptr);
  EXPECT_FALSE(ComMacGuiLoadDialogFromNib("Test", "Win", nullptr, 0, &u, &w));
  fwtest::WriteAll(Path("Broken.ui"), "<interface><object class=\"NoSuchWidget\" id=\"x\"/></interface>");
  IBNibRef nib = nullptr;
  EXPECT_FALSE(ComMacGuiLoadNIB("Broken", &nib));
  EXPECT_NE(Log().find("Could not load NIB <Broken> ["), std::string::npos);
  EXPECT_TRUE(ComMacGuiLoadNIB("Test", &nib));
  ComMacGuiReleaseNIB(nib);
  EXPECT_EQ(dialogtest::FindWindow("Other"), nullptr) << "only the asked window is made";
}

}  // namespace
