// The Printers page and its editor on the real widgets, with a stand-in spooler, and the page
// when the system fails it.
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/shell.h"
#include "faults.h"
#include "printers_fixture.h"
#include "store/samba.h"
#include "store/spooler.h"

namespace {

const std::string kLpf = "/usr/lib/lprng/filters/lpf", kFoomatic = "/usr/bin/foomatic-rip";

// Filters, Foomatic, a PPD file, smbclient and two parallel ports.
void installTools() {
  for (const std::string& path : {kLpf, kFoomatic, std::string("/usr/local/lib/b.ppd"),
                                  std::string("/usr/bin/smbclient"), std::string("/dev/lp1")}) {
    writeFile(path, "");
  }
  writeFile("/dev/lp0", "");
}

// Class and label of each widget.
template <typename... Widgets>
std::string kinds(Widgets... widgets) {
  std::string out;
  for (GtkWidget* w : {widgets...}) {
    if (w == nullptr) return out + "nothing";
    out += G_OBJECT_TYPE_NAME(w) + std::string(" ") +
           (GTK_IS_LABEL(w) ? gtk_label_get_text(GTK_LABEL(w)) : "") +
           (GTK_IS_BUTTON(w) ? gtk_button_get_label(GTK_BUTTON(w)) : "") + "|";
  }
  return out;
}

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Runs the listings for real and stands in for the rest, recording every line: lpq reports
// `queue`, and the printcap in place when lpr runs is kept.
struct StandInSpooler {
  Lines lines;
  std::string queue, printcapAtLpr;
  StandInSpooler() {
    setCommandObserver([this](const std::string& line) {
      lines.push_back(line);
      if (line.rfind("lpr ", 0) == 0) printcapAtLpr = fileText(kPrintcapPath);
      if (line.rfind("lpq ", 0) == 0) writeFile(kQueueListingPath, queue);
      return line.rfind("ls ", 0) != 0 && line.rfind("rm /tmp/", 0) != 0;
    });
  }
  ~StandInSpooler() { setCommandObserver(nullptr); }
};

}  // namespace

// Layout changes break widget paths without a compile error: each must reach its widget.
TEST(PrintersPage, NamedPathsReachTheirWidgets) {
  installTools();
  PrintersPage p;
  p.open(-1);
  GtkWidget* i = p.info();
  EXPECT_EQ(
      kinds(bootSwitchOf(p.pageBox), p.table, modifyButtonOf(p.pageBox), deleteButtonOf(p.pageBox),
            p.type(kParallel), p.type(kSamba), p.button(1), p.button(2), p.button(4),
            formFeedCheckOf(i), makeDefaultCheckOf(i), translateCheckOf(i),
            infoLabelOf(i, kRowName), infoFieldOf(i, kRowName), infoLabelOf(i, kRowDevice),
            infoFieldOf(i, kRowDevice), infoLabelOf(i, kRowSmbWorkgroup),
            infoFieldOf(i, kRowSmbWorkgroup), infoLabelOf(i, kRowPPD), infoFieldOf(i, kRowPPD)),
      "GtkCheckButton Load LPD Server at boot time|GtkCList |GtkButton Modify|GtkButton "
      "Delete|GtkRadioButton Parallel Printer|GtkRadioButton Samba Printer|GtkButton _Ok|"
      "GtkButton _Test|GtkButton _Cancel|GtkCheckButton Use Form Feed|GtkCheckButton Make "
      "Default|GtkCheckButton Translate|GtkLabel Printer Name:|GtkEntry |GtkLabel Device "
      "Port:|GtkComboBox |GtkLabel Workgroup:|GtkEntry |GtkLabel PPD Filter:|GtkComboBox |");
  EXPECT_EQ(ancestor(modifyButtonOf(p.pageBox), 4), p.window);
  EXPECT_EQ(editorWindowOf(p.button(1)), p.editor());
  EXPECT_EQ(ancestor(p.type(kSamba), 3), windowBoxOfButton(p.button(2)));
}

// The table holds the printcap's printers; Modify and Delete are usable exactly with rows.
TEST(PrintersPage, StartUpFillsTheTableFromThePrintcap) {
  for (int count : {3, 0, -1}) {  // -1: no printcap at all
    std::vector<PrinterRow> rows = samplePrinters();
    rows.resize(std::max(count, 0));
    std::filesystem::remove(kPrintcapPath);
    PrintersPage page(count < 0 ? std::nullopt : std::optional(rows));
    EXPECT_EQ(tableRows(page.table), parsePrintcap(formatPrintcap(rows)).rows);
    EXPECT_EQ(sensitive(modifyButtonOf(page.pageBox)), count > 0);
    EXPECT_EQ(sensitive(deleteButtonOf(page.pageBox)), count > 0);
  }
}

// Each type shows its rows (1 to 13) and, for Samba, the Translate check.
TEST(PrinterEditor, EachTypeShowsItsRows) {
  installTools();
  PrintersPage page;
  page.open(-1);
  const std::pair<TypeButton, const char*> cases[] = {{kNetwork, "1101100011111 "},
                                                      {kSamba, "1101111111111T"},
                                                      {kSerial, "1110000011111 "},
                                                      {kUSB, "1110000011111 "},
                                                      {kParallel, "1110000011111 "}};
  for (const auto& [type, rows] : cases) {
    click(page.type(type));
    std::string seen;
    for (int r = 1; r <= 13; ++r) seen += "01"[shown(infoRowOf(page.info(), InfoRow(r)))];
    EXPECT_EQ(seen + " T"[shown(translateCheckOf(page.info()))], rows) << type;
  }
}

// Modify loads each row and "_Ok" stores it back in place (a filter no longer installed gives
// none, the PPD stays with Foomatic). A new Samba printer made the default takes the mark, and
// the three files are written byte for byte before the spooler restarts.
TEST(Saving, OkStoresTheFormAndWritesTheFiles) {
  installTools();
  const SambaSettings samba{"srv", "laser", "o'brien", "p$w;d", "", true};
  writeFile(sambaScriptPath("smb1"), formatSambaScript(samba));
  PrintersPage page;
  std::vector<PrinterRow> rows = tableRows(page.table);
  const std::string forms[] = {"lp1|||" + kLpf + "|None|",
                               "net1|host|q1|" + kFoomatic + "|/usr/local/lib/b.ppd|",
                               "smb1|srv|laser|None|None|"};
  for (int row = 0; row < 3; ++row) {
    page.open(row);
    std::string form;
    for (InfoRow r : {kRowName, kRowServer, kRowShared, kRowFilter, kRowPPD}) {
      form += (GTK_IS_ENTRY(page.field(r)) ? entryText(page.field(r))
                                           : comboActiveText(page.field(r))) +
              "|";
    }
    EXPECT_EQ(form, forms[row]);
    CommandRecorder quiet;
    click(page.button(1));
    if (rows[row][kColFQ].empty()) rows[row][kColFQ] = "NO";
  }
  rows[2][kColFilter] = "";
  page.open(-1);
  click(page.type(kSamba));
  page.set(kRowName, "smb2");
  page.set(kRowServer, "srv");
  page.set(kRowShared, "laser");
  page.set(kRowSmbUser, "o'brien");
  page.set(kRowSmbPassword, "p$w;d");
  click(makeDefaultCheckOf(page.info()));
  click(translateCheckOf(page.info()));
  StandInSpooler spooler;
  click(page.button(1));
  rows[0][kColDefault] = "";
  rows.push_back({"Yes", "smb2", "", "Samba", "|/etc/dorvek/samba/smb2.sh", kLpf, "", "", "NO"});
  EXPECT_EQ(tableRows(page.table), rows);
  EXPECT_EQ(fileText(kPrintcapPath), formatPrintcap(rows));
  EXPECT_EQ(fileText(kPrintersInfoPath), formatPrintersInfo(rows));
  for (const char* name : {"smb1", "smb2"}) {
    EXPECT_EQ(fileText(sambaScriptPath(name)), formatSambaScript(samba)) << name;
  }
  EXPECT_EQ(spooler.lines, Lines({"chmod 750 /etc/dorvek/samba/smb2.sh",
                                  "chown root:lp /etc/dorvek/samba/smb2.sh"}) +
                               restartCommands());
}

// The checks run in this order for "_Ok" and "_Test" alike; a refusal runs nothing and leaves
// the editor open. Each step changes one field.
TEST(Saving, ChecksRefuseTheFirstFaultInOrder) {
  installTools();
  PrintersPage page;
  page.open(-1);
  const char *name = "Printer Name should only be alphanumeric with no space!",
             *space = " should not be empty nor contain space!";
  const struct {
    TypeButton type;
    InfoRow row;
    const char* value;
    std::string refusal;
  } steps[] = {
      {kParallel, kRowName, "", name},
      {kParallel, kRowName, "a/b c", name},
      {kParallel, kRowName, "net1", "The printer name 'net1' already exists!"},
      {kNetwork, kRowName, "Net-1_x", std::string("LPD Server") + space},
      {kNetwork, kRowServer, "srv", std::string("Queue Name") + space},
      {kSamba, kRowServer, "", std::string("Samba Server") + space},
      {kSamba, kRowServer, "srv", std::string("Shared Printer") + space},
      {kSamba, kRowSmbUser, "a b", std::string("Shared Printer") + space},
      {kSamba, kRowShared, "q", "User Name should not contain space!"},
      {kSamba, kRowSmbUser, "u", "Password should not contain space!"},
      {kSamba, kRowSmbPassword, "pw", "Workgroup should not contain space!"},
  };
  page.set(kRowSmbPassword, "p\tw");  // and the workgroup a line break, from the start
  page.set(kRowSmbWorkgroup, "w\ng");
  for (const auto& step : steps) {
    click(page.type(step.type));
    page.set(step.row, step.value);
    for (int button : {1, 2}) {
      CommandRecorder recorder;
      DialogAnswer answer;
      answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
      click(page.button(button));
      EXPECT_EQ(answer.message, step.refusal) << step.value << " button " << button;
      EXPECT_EQ(recorder.lines(), Lines{});
    }
  }
  EXPECT_NE(page.editor(), nullptr);
  EXPECT_EQ(clistRows(page.table), 3);
}

// "_Test" prints with the edited printer's printcap, shows the queue's verdict (a failure as the
// spooler wrote it) and puts the full printcap back after either; the editor stays open.
TEST(Saving, TestPrintsWithItsOwnPrintcapAndPutsTheFullOneBack) {
  installTools();
  PrintersPage page;
  page.open(-1);
  page.set(kRowName, "t1");
  const std::string full = fileText(kPrintcapPath);
  for (const auto& [queue, verdict] :
       {std::pair{"Printer: t1\n Queue: 1 printable job\n", "Printing Confirmation: A Test Page"},
        {"Printer: t1\n<b>Error:</b> no\n",
         "Error while printing 'Test Page': <b>Error:</b> no\n"}}) {
    StandInSpooler spooler;
    spooler.queue = queue;
    DialogAnswer answer;
    answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
    click(page.button(2));
    EXPECT_EQ((answer.title + ": " + answer.message).rfind(verdict, 0), 0u) << answer.message;
    EXPECT_EQ(
        spooler.printcapAtLpr,
        formatTestPrintcap(TestPrinter{"t1", "", "Parallel", "/dev/lp0", kLpf, "None", "", false}));
    EXPECT_EQ(spooler.lines, restartCommands() +
                                 Lines({"lpr /etc/testpg.ascii", "lpq -P t1 > /tmp/lprqueue",
                                        "lprm -a all", "rm /tmp/lprqueue -f"}) +
                                 restartCommands());
    EXPECT_EQ(fileText(kPrintcapPath), full);
  }
  EXPECT_NE(page.editor(), nullptr);
}

// Delete asks, then removes the printer's files by quoted name (never outside the spool) and
// restarts; the printcap follows the table. Refusing changes nothing.
TEST(PrintersPage, DeleteRemovesTheFilesWithQuotedNames) {
  const std::tuple<int, const char*, Lines> cases[] = {
      {2, "smb1", {"rm /etc/dorvek/samba/smb1.sh -f", "rm /var/spool/lpd/smb1 -rf"}},
      {1, "x;reboot", {"rm '/var/spool/lpd/x;reboot' -rf"}},
      {2, "..", {}},
      {-1, "lp1", {}}};  // refused
  for (const auto& [row, name, removals] : cases) {
    PrintersPage page;
    gtk_clist_set_text(GTK_CLIST(page.table), std::max(row, 0), kColName, name);
    std::vector<PrinterRow> rows = tableRows(page.table);
    row_n = std::max(row, 0);
    CommandRecorder recorder;
    DialogAnswer answer;
    answerNextDialog(row < 0 ? GTK_RESPONSE_REJECT : GTK_RESPONSE_ACCEPT, &answer);
    click(deleteButtonOf(page.pageBox));
    EXPECT_EQ(answer.message, "Are you sure you want to delete '" + std::string(name) + "'?");
    if (row >= 0) rows.erase(rows.begin() + row);
    EXPECT_EQ(tableRows(page.table), rows);
    EXPECT_EQ(recorder.lines(), row < 0 ? Lines{} : removals + restartCommands());
    EXPECT_EQ(fileText(kPrintcapPath), formatPrintcap(row < 0 ? samplePrinters() : rows));
  }
}

namespace {
DialogLog* childLog = nullptr;  // what a death test's child saw, printed as the program ends
std::string childFiles;
std::string systemFiles() {
  return fileText(kPrintcapPath) + fileText(kPrintersInfoPath) + fileText(sambaScriptPath("smb1"));
}
}  // namespace

// "_Ok" on an /etc that takes no write: the message, the end with status 0, every file as it
// was (the Samba script too) and no temporary file left.
TEST(FaultsDeathTest, UnwritableEtcEndsSavingWithTheMessage) {
  testing::FLAGS_gtest_death_test_style = "threadsafe";
  installTools();
  writeFile(sambaScriptPath("smb1"), formatSambaScript({"srv", "laser", "", "old", "", false}));
  for (const auto kind : {BrokenEtc::kReadOnly, BrokenEtc::kFull}) {
    PrintersPage page;
    EXPECT_EXIT(
        {
          if (!privateMounts()) std::_Exit(3);
          BrokenEtc etc(kind);
          if (!etc.ok()) std::_Exit(4);
          childFiles = systemFiles();
          childLog = new DialogLog;
          std::atexit([] {
            std::fprintf(stderr, "%sunchanged=%d temps=%d\n", childLog->text().c_str(),
                         systemFiles() == childFiles, strayTemps());
          });
          CommandRecorder quiet;
          page.open(2);
          page.set(kRowSmbPassword, "changed");
          click(page.button(1));
          std::_Exit(5);  // not reached: the printcap writer ends the program
        },
        testing::ExitedWithCode(0),
        kind == BrokenEtc::kFull ? "^Error: Disk full: Cannot write printcap!\nPlease make sure "
                                   "that your partition has free space left\nunchanged=1 temps=0\n$"
                                 : "^Error: Read only file system: Cannot write printcap!\nPlease "
                                   "make sure that your partition is not mounted as read "
                                   "only\nunchanged=1 temps=0\n$");
  }
}

// Without lpq, lpd and smbclient, "_Ok" and "_Test" run their real lines and finish. (lpr with
// no daemon gives up after about 20 s; the alarm fails a real hang.)
TEST(Faults, MissingSpoolerToolsNeitherStopSavingNorHang) {
  alarm(180);
  installTools();
  const Lines tools = {"/usr/bin/lpq", "/usr/sbin/lpd", "/usr/bin/smbclient"};
  for (const auto& tool : tools) std::rename(tool.c_str(), (tool + ".gone").c_str());
  writeFile("/etc/testpg.ascii", "test page\n");
  PrintersPage page;
  DialogLog log;
  page.open(-1);
  page.set(kRowName, "new1");
  click(page.button(2));
  EXPECT_EQ(log.text().rfind("Printing Confirmation: A Test Page has been sent", 0), 0u)
      << log.text();
  click(page.button(1));
  EXPECT_EQ(fileText(kPrintcapPath), formatPrintcap(tableRows(page.table)));
  EXPECT_EQ(clistRows(page.table), 4);
  for (const auto& tool : tools) std::rename((tool + ".gone").c_str(), tool.c_str());
  alarm(0);
}

// Pictures for the README, only when SPM_SCREENSHOT_DIR names a folder (`make screenshot`).
TEST(Screenshots, PrintersPageAndEditorLayouts) {
  const char* dir = std::getenv("SPM_SCREENSHOT_DIR");
  if (dir == nullptr) GTEST_SKIP() << "SPM_SCREENSHOT_DIR not set";
  const auto save = [dir](GtkWidget* window, const std::string& name) {
    gtk_window_present(GTK_WINDOW(window));
    for (int i = 0; i < 40; ++i, g_usleep(5000)) pumpEvents();  // let it map and draw
    GdkPixbuf* shot =
        gdk_pixbuf_get_from_drawable(nullptr, window->window, nullptr, 0, 0, 0, 0,
                                     window->allocation.width, window->allocation.height);
    ASSERT_NE(shot, nullptr);
    EXPECT_TRUE(gdk_pixbuf_save(shot, (dir + ("/" + name)).c_str(), "png", nullptr, nullptr));
    g_object_unref(shot);
  };
  PrintersPage page(std::nullopt);  // the seeded printers
  save(page.window, "printers-page.png");
  page.open(-1);
  for (const auto& [type, name] :
       {std::pair{kParallel, "parallel"}, {kNetwork, "network"}, {kSamba, "samba"}}) {
    click(page.type(type));
    save(page.editor(), std::string("editor-") + name + ".png");
  }
}
