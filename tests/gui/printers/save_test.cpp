// "_Ok" and "_Test" of the printer editor: the checks in order, the stored rows, the files,
// and the test print with a stand-in spooler.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/files.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "printers/editor.h"
#include "printers/printers_page.h"
#include "store/printcap.h"
#include "store/printer_table.h"
#include "store/samba.h"

namespace {

// Lists devices and filters for real; stands in for the spooler and records every line.
struct StandInSpooler {
  std::vector<std::string> lines;
  std::string queueReport;
  StandInSpooler() {
    setCommandObserver([this](const std::string& line) {
      lines.push_back(line);
      if (line.rfind("lpq ", 0) == 0) {
        replaceFile("/tmp/lprqueue", queueReport, 0600);
        return true;
      }
      return !(line.rfind("ls ", 0) == 0 || line.rfind("rm /tmp/", 0) == 0);
    });
  }
  ~StandInSpooler() { setCommandObserver(nullptr); }
  bool ran(const std::string& line) const {
    for (const auto& l : lines) {
      if (l == line) return true;
    }
    return false;
  }
};

class Editor : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(
        std::system("mkdir -p /etc/dorvek/samba /usr/lib/lprng/filters /dev/usb && "
                    ": > /dev/lp0 && : > /dev/usb/lp0 && : > /usr/lib/lprng/filters/lpf && "
                    "printf '#!/bin/sh\\n' > /usr/bin/smbclient && chmod 755 /usr/bin/smbclient"),
        0);
    ASSERT_TRUE(replaceFile(kPrintcapPath, "office\noffice:lp=/dev/lp0:\nother:lp=/dev/lp0:\n"));
    PageBuilders pages;
    pages.printers = drawprinterlist;
    main_ = buildMainWindow(pages);
    table_ = printerTableOf(gtk_notebook_get_nth_page(GTK_NOTEBOOK(mainNotebookOf(main_)), 0));
    row_n = 0;
  }
  void TearDown() override {
    if (GtkWidget* editor = editorWindow()) gtk_widget_destroy(editor);
    gtk_widget_destroy(main_);
  }
  GtkWidget* editorWindow() {
    GList* windows = gtk_window_list_toplevels();
    GtkWidget* found = nullptr;
    for (GList* w = windows; w != nullptr; w = w->next) {
      const gchar* title = gtk_window_get_title(GTK_WINDOW(w->data));
      if (title != nullptr &&
          (std::string(title) == "Add New Printer" || std::string(title) == "Modify Printer")) {
        found = GTK_WIDGET(w->data);
      }
    }
    g_list_free(windows);
    return found;
  }
  void open(const char* title) {
    AddModifyprinter(title, table_);
    pumpEvents();
    ASSERT_NE(editorWindow(), nullptr);
  }
  GtkWidget* windowBox() { return findWidget(editorWindow(), nullptr, 1); }
  GtkWidget* info() { return printerInfoBoxOf(windowBox()); }
  void type(TypeButton which) {
    gtk_toggle_button_set_active(
        GTK_TOGGLE_BUTTON(typeButtonOf(printerTypeBoxOf(windowBox()), which)), TRUE);
  }
  void set(InfoRow row, const std::string& text) {
    gtk_entry_set_text(GTK_ENTRY(infoFieldOf(info(), row)), text.c_str());
  }
  // Presses "_Ok" (1) or "_Test" (2) and returns the refusal shown, if any.
  std::string press(int button) {
    DialogAnswer answer;
    answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
    gtk_button_clicked(GTK_BUTTON(findWidget(editorButtonRowOf(windowBox()), nullptr, button)));
    pumpEvents();
    return answer.seen ? answer.message : std::string();
  }
  GtkWidget* main_ = nullptr;
  GtkWidget* table_ = nullptr;
};

}  // namespace

TEST_F(Editor, RefusesTheFirstFaultInOrderAndStaysOpen) {
  StandInSpooler spooler;
  open("Add New Printer");
  struct Step {
    TypeButton type;
    std::vector<std::pair<InfoRow, std::string>> fields;
    std::string refusal;
  } steps[] = {
      {kParallel, {{kRowName, ""}}, "Printer Name should only be alphanumeric with no space!"},
      {kParallel, {{kRowName, "a b"}}, "Printer Name should only be alphanumeric with no space!"},
      {kParallel, {{kRowName, "a.b"}}, "Printer Name should only be alphanumeric with no space!"},
      {kParallel, {{kRowName, "a/b"}}, "Printer Name should only be alphanumeric with no space!"},
      {kParallel, {{kRowName, "other"}}, "The printer name 'other' already exists!"},
      {kNetwork,
       {{kRowName, "Net-1_x"}, {kRowServer, ""}},
       "LPD Server should not be empty nor contain space!"},
      {kNetwork, {{kRowServer, "a b"}}, "LPD Server should not be empty nor contain space!"},
      {kNetwork,
       {{kRowServer, "srv"}, {kRowShared, ""}},
       "Queue Name should not be empty nor contain space!"},
      {kSamba, {{kRowServer, ""}}, "Samba Server should not be empty nor contain space!"},
      {kSamba,
       {{kRowServer, "srv"}, {kRowShared, "a b"}},
       "Shared Printer should not be empty nor contain space!"},
      {kSamba, {{kRowShared, "q"}, {kRowSmbUser, "a b"}}, "User Name should not contain space!"},
      {kSamba,
       {{kRowSmbUser, "u"}, {kRowSmbPassword, "p\tw"}},
       "Password should not contain space!"},
      {kSamba,
       {{kRowSmbPassword, "pw"}, {kRowSmbWorkgroup, "w\ng"}},
       "Workgroup should not contain space!"},
  };
  for (const Step& step : steps) {
    type(step.type);
    for (const auto& field : step.fields) set(field.first, field.second);
    for (int button : {1, 2}) {
      EXPECT_EQ(press(button), step.refusal) << "button " << button;
      ASSERT_NE(editorWindow(), nullptr);
    }
  }
  EXPECT_EQ(clistRows(table_), 2);
  EXPECT_TRUE(spooler.lines.empty() || spooler.lines.back().rfind("rm /tmp/", 0) == 0 ||
              spooler.lines.back().rfind("ls ", 0) == 0);
}

TEST_F(Editor, OkAddsTheRowWritesTheFilesAndMovesTheDefault) {
  StandInSpooler spooler;
  open("Add New Printer");
  type(kNetwork);
  set(kRowName, "net1");
  set(kRowServer, "printsrv");
  set(kRowShared, "lp");
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(makeDefaultCheckOf(info())), TRUE);
  EXPECT_EQ(press(1), "");
  EXPECT_EQ(editorWindow(), nullptr);
  ASSERT_EQ(clistRows(table_), 3);
  const PrinterRow added = tableRow(table_, 2);
  EXPECT_EQ(added[kColDefault], "Yes");
  EXPECT_EQ(added[kColType], "Network");
  EXPECT_EQ(added[kColDevice], "lp@printsrv");
  EXPECT_EQ(added[kColFQ], "NO");
  EXPECT_EQ(tableRow(table_, 0)[kColDefault], "");  // the old default lost its mark
  EXPECT_EQ(readWholeFile(kPrintcapPath).value_or(""), formatPrintcap(tableRows(table_)));
  EXPECT_TRUE(spooler.ran("lprm -a all"));
  EXPECT_TRUE(spooler.ran("lpd"));
}

TEST_F(Editor, FirstPrinterWithoutMakeDefaultIsNotTheDefault) {
  gtk_clist_clear(GTK_CLIST(table_));
  StandInSpooler spooler;
  open("Add New Printer");
  set(kRowName, "first");
  EXPECT_EQ(press(1), "");
  ASSERT_EQ(clistRows(table_), 1);
  EXPECT_EQ(tableRow(table_, 0)[kColDefault], "");
  EXPECT_EQ(tableRow(table_, 0)[kColDevice], "/dev/lp0");
}

TEST_F(Editor, SambaPrinterWritesItsScriptAndPipesIntoIt) {
  StandInSpooler spooler;
  open("Add New Printer");
  type(kSamba);
  set(kRowName, "smb1");
  set(kRowServer, "srv");
  set(kRowShared, "laser");
  set(kRowSmbUser, "o'brien");
  set(kRowSmbPassword, "p$w;d");
  EXPECT_EQ(press(1), "");
  ASSERT_EQ(clistRows(table_), 3);
  EXPECT_EQ(tableRow(table_, 2)[kColDevice], "|/etc/dorvek/samba/smb1.sh");
  const auto script = readWholeFile("/etc/dorvek/samba/smb1.sh");
  ASSERT_TRUE(script.has_value());
  const SambaScriptValues values = parseSambaScript(*script);
  EXPECT_EQ(values.user.value_or(""), "o'brien");
  EXPECT_EQ(values.password.value_or(""), "p$w;d");
  EXPECT_TRUE(spooler.ran("chmod 750 /etc/dorvek/samba/smb1.sh"));
  EXPECT_TRUE(spooler.ran("chown root:lp /etc/dorvek/samba/smb1.sh"));
}

TEST_F(Editor, TestPrintsWithAOnePrinterPrintcapAndPutsTheTableBack) {
  StandInSpooler spooler;
  spooler.queueReport = "Printer: t1@localhost\n Queue: 1 printable job\n";
  open("Add New Printer");
  set(kRowName, "t1");
  const std::string before = clistCell(table_, 0, kColName);
  EXPECT_EQ(press(2),
            "A Test Page has been sent to the printer.\nIt may take up to two minutes "
            "before the test page is printed.\n\nIf the test page printed correctly, "
            "please click Ok.\nOtherwise please check your configuration.");
  ASSERT_NE(editorWindow(), nullptr);  // "_Test" leaves the editor open
  EXPECT_EQ(clistRows(table_), 2);
  EXPECT_EQ(readWholeFile(kPrintcapPath).value_or(""), formatPrintcap(tableRows(table_)));
  EXPECT_TRUE(spooler.ran("lpr /etc/testpg.ascii"));
  EXPECT_TRUE(spooler.ran("lpq -P t1 > /tmp/lprqueue"));
  EXPECT_TRUE(spooler.ran("rm /tmp/lprqueue -f"));

  spooler.queueReport = "Printer: t1@localhost\n<b>Error:</b> cannot open '/dev/lp9'\nmore\n";
  EXPECT_EQ(press(2), "<b>Error:</b> cannot open '/dev/lp9'\nmore\n");  // shown literally
  EXPECT_EQ(readWholeFile(kPrintcapPath).value_or(""), formatPrintcap(tableRows(table_)));
}

// The real LPRng: the test page reaches the device, and the table's printcap comes back.
TEST_F(Editor, TestPageReachesTheDeviceThroughTheRealSpooler) {
  ASSERT_EQ(std::system("rm -rf /usr/lib/lprng/filters && "
                        "ln -s /usr/lib/x86_64-linux-gnu/lprng/filters /usr/lib/lprng/filters && "
                        ": > /dev/lp0 && chmod 666 /dev/lp0 && "
                        "printf 'solvo test page\\n' > /etc/testpg.ascii"),
            0);
  open("Add New Printer");
  set(kRowName, "real1");
  DialogAnswer answer;
  answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
  gtk_button_clicked(GTK_BUTTON(findWidget(editorButtonRowOf(windowBox()), nullptr, 2)));
  EXPECT_EQ(answer.title, "Printing Confirmation");
  EXPECT_NE(readWholeFile("/dev/lp0").value_or("").find("solvo test page"), std::string::npos);
  EXPECT_EQ(readWholeFile(kPrintcapPath).value_or(""), formatPrintcap(tableRows(table_)));
  std::system("killall lpd 2>/dev/null");
}

// Modify replaces row_n in place; the filter and PPD choosers decide what is stored.
TEST_F(Editor, ModifyStoresTheChoosersInPlaceAndRenamingKeepsTheOldSambaScript) {
  ASSERT_EQ(std::system("printf '#!/bin/sh\\n' > /usr/bin/foomatic-rip && "
                        "mkdir -p /usr/local/lib && : > /usr/local/lib/laser.ppd"),
            0);
  StandInSpooler spooler;
  struct Case {
    const char* filter;
    const char* ppd;
    const char* storedFilter;
    const char* storedPPD;
  } cases[] = {
      {"None", "/usr/local/lib/laser.ppd", "", ""},
      {"/usr/bin/foomatic-rip", "None", "/usr/bin/foomatic-rip", ""},
      {"/usr/bin/foomatic-rip", "/usr/local/lib/laser.ppd", "/usr/bin/foomatic-rip",
       "/usr/local/lib/laser.ppd"},
      {"/usr/lib/lprng/filters/lpf", "/usr/local/lib/laser.ppd", "/usr/lib/lprng/filters/lpf", ""},
  };
  for (const Case& c : cases) {
    row_n = 1;
    open("Modify Printer");
    auto choose = [&](InfoRow row, const std::string& item) {
      GtkWidget* combo = infoFieldOf(info(), row);
      for (int i = 0; gtk_combo_box_set_active(GTK_COMBO_BOX(combo), i), i < 50; ++i) {
        if (comboActiveText(combo) == item) return;
      }
      FAIL() << item;
    };
    choose(kRowFilter, c.filter);
    choose(kRowPPD, c.ppd);
    EXPECT_EQ(press(1), "");
    ASSERT_EQ(clistRows(table_), 2);
    EXPECT_EQ(tableRow(table_, 1)[kColName], "other");
    EXPECT_EQ(tableRow(table_, 1)[kColFilter], c.storedFilter) << c.filter;
    EXPECT_EQ(tableRow(table_, 1)[kColPPD], c.storedPPD) << c.filter << " " << c.ppd;
  }
  ASSERT_TRUE(replaceFile("/etc/dorvek/samba/other.sh", "hostip=srv\nprinter=q\n"));
  gtk_clist_set_text(GTK_CLIST(table_), 1, kColType, "Samba");
  row_n = 1;
  open("Modify Printer");
  set(kRowName, "renamed");
  EXPECT_EQ(press(1), "");
  EXPECT_EQ(tableRow(table_, 1)[kColName], "renamed");
  EXPECT_TRUE(pathExists("/etc/dorvek/samba/renamed.sh"));
  EXPECT_TRUE(pathExists("/etc/dorvek/samba/other.sh"));
}
