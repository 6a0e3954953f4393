// The Printers page and its editor on the real widgets, with a stand-in spooler and faults.
#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

#include "faults.h"
#include "find/find_dialogs.h"
#include "find/lpd_probe.h"
#include "find/search_hook.h"
#include "printers/listings.h"
#include "printers_fixture.h"

namespace {

const std::string kLpf = "/usr/lib/lprng/filters/lpf", kFoomatic = "/usr/bin/foomatic-rip";

// Filters, Foomatic, a PPD file, smbclient and two parallel ports.
void installTools() {
  for (const char* path : {"/usr/lib/lprng/filters/lpf", "/usr/bin/foomatic-rip",
                           "/usr/local/lib/b.ppd", "/usr/bin/smbclient", "/dev/lp0", "/dev/lp1"})
    writeFile(path, "");
}

Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Runs the listings, stands in for the rest: lpq reports `queue`; the printcap at lpr is kept.
struct StandInSpooler {
  Lines lines;
  std::string queue, printcapAtLpr;
  StandInSpooler() {
    setCommandObserver([this](const std::string& line) {
      lines.push_back(line);
      if (line.rfind("lpr ", 0) == 0)  // and the copy of a hand-written one, made before it
        printcapAtLpr = fileText("/etc/printcap") + fileText("/etc/printcap.orig");
      if (line.rfind("lpq ", 0) == 0) writeFile("/tmp/lprqueue", queue);
      return line.rfind("ls ", 0) != 0 && line.rfind("rm /tmp/", 0) != 0;
    });
  }
  ~StandInSpooler() { setCommandObserver(nullptr); }
};

const Lines kRestart = goldenLines("restart.lines");

}  // namespace

// A boot script present at start-up turns the switch on and is written anew; without lpd the
// switch is insensitive; an oversized first entry leaves no printers, so no Modify or Delete.
// Off removes link and script; on writes the 11 bytes (mode 755 if new), links, sets the mode.
TEST(PrintersPage, BootSwitchAndAStartWithoutPrinters) {
  writeFile("/etc/init.d/runlpd", "old");
  std::filesystem::rename("/usr/sbin/lpd", "/usr/sbin/lpd.gone");
  DialogLog log;
  PrintersPage page(golden("oversized.printcap"));
  EXPECT_EQ(log.text(),
            "Error while reading /etc/printcap: Incorrect entry detected!\nPlease "
            "correct or delete the /etc/printcap file first\n");
  std::filesystem::rename("/usr/sbin/lpd.gone", "/usr/sbin/lpd");
  GtkWidget* check = bootSwitchOf(page.pageBox);
  const Lines lines = goldenLines("boot-switch.lines");  // off, then on
  EXPECT_EQ(page.started, Lines(lines.begin() + 2, lines.end()));
  EXPECT_EQ(fileText("/etc/init.d/runlpd"), "#! /bin/sh\n");
  EXPECT_TRUE(active(check) && !sensitive(check));
  EXPECT_FALSE(sensitive(modifyButtonOf(page.pageBox)) || sensitive(deleteButtonOf(page.pageBox)));
  CommandRecorder recorder;
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check), FALSE);
  std::filesystem::remove("/etc/init.d/runlpd");
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(check), TRUE);
  EXPECT_EQ(recorder.lines(), lines);
  const auto mode = std::filesystem::status("/etc/init.d/runlpd").permissions();
  EXPECT_TRUE(fileText("/etc/init.d/runlpd") == "#! /bin/sh\n" && int(mode) == 0755);
  std::filesystem::remove("/etc/init.d/runlpd");
}

// Each type shows its rows (1 to 13) and, for Samba, the Translate check.
TEST(PrinterEditor, EachTypeShowsItsRows) {
  installTools();
  PrintersPage page;
  page.open(-1);
  std::string seen;
  for (TypeButton type : {kNetwork, kSamba, kSerial, kUSB, kParallel}) {
    click(page.type(type));
    for (int r = 1; r <= 13; ++r) seen += "01"[shown(infoRowOf(page.info(), InfoRow(r)))];
    seen += " T"[shown(translateCheckOf(page.info()))];
  }
  // Without smbclient there is no Samba type, whichever type is chosen.
  gtk_widget_destroy(page.editor());
  std::filesystem::remove("/usr/bin/smbclient");
  page.open(-1);
  for (TypeButton type : {kNetwork, kSamba, kParallel}) {
    click(page.type(type));
    seen += "-S"[shown(page.type(kSamba))];
  }
  EXPECT_EQ(seen, "1101100011111 1101111111111T1110000011111 1110000011111 1110000011111 ---");
}

// Modify loads each row (the default's mark checked and locked; a port no longer listed
// selects none and is refused; a filter no longer installed gives none; an unknown type reads
// the Samba script of its name) and "_Ok" stores it back in place. A new Samba printer made the
// default takes the mark; the files are written byte for byte before the spooler restarts, and
// the script with a line of its own is kept as odd.sh.orig (the program's own make no copy).
TEST(Saving, OkStoresTheFormAndWritesTheFiles) {
  installTools();
  std::filesystem::remove("/dev/lp1");
  for (const std::string name : {"smb1", "odd"})
    writeFile("/etc/dorvek/samba/" + name + ".sh",
              golden("smb.script") + (name == "odd" ? "# mine\n" : ""));
  PrintersPage page;
  const std::string forms[] = {"lp1||||" + kLpf + "|None|locked",
                               "net1|/dev/lp0|host|q1|" + kFoomatic + "|/usr/local/lib/b.ppd|",
                               "smb1|/dev/lp0|srv|laser|None|None|",
                               "odd|/dev/lp0|srv|laser|None|None|"};
  for (int row = 0; row < 4; ++row) {
    page.open(row);
    std::string form;
    for (InfoRow r : {kRowName, kRowDevice, kRowServer, kRowShared, kRowFilter, kRowPPD}) {
      form += (GTK_IS_ENTRY(page.field(r)) ? entryText(page.field(r))
                                           : comboActiveText(page.field(r))) +
              "|";
    }
    GtkWidget* mark = makeDefaultCheckOf(page.info());
    EXPECT_EQ(form + (active(mark) && !sensitive(mark) ? "locked" : ""), forms[row]);
    CommandRecorder quiet;
    DialogLog log;
    click(page.button(1));
    if (row > 0) continue;
    EXPECT_EQ(log.text(),
              "Error!: Device Port is invalid!\nPlease make sure that the printer is "
              "properly connected\n");
    gtk_combo_box_set_active(GTK_COMBO_BOX(page.field(kRowDevice)), 0);
    click(page.button(1));
  }
  page.open(-1);
  click(page.type(kSamba));
  for (const auto& [row, text] : {std::pair{kRowName, "smb2"},
                                  {kRowServer, "srv"},
                                  {kRowShared, "laser"},
                                  {kRowSmbUser, "o'brien"},
                                  {kRowSmbPassword, "p$w;d"}})
    page.set(row, text);
  click(makeDefaultCheckOf(page.info()));
  click(translateCheckOf(page.info()));
  StandInSpooler spooler;
  click(page.button(1));
  EXPECT_EQ(fileText("/etc/printcap"), golden("saved.printcap"));
  EXPECT_EQ(fileText("/etc/printers_info"), golden("saved.printers_info"));
  for (const std::string name : {"smb1", "odd", "smb2"})
    EXPECT_EQ(fileText("/etc/dorvek/samba/" + name + ".sh"), golden("smb.script")) << name;
  EXPECT_EQ(fileText("/etc/dorvek/samba/smb1.sh.orig") + fileText("/etc/dorvek/samba/odd.sh.orig"),
            golden("smb.script") + "# mine\n");
  EXPECT_EQ(spooler.lines, goldenLines("save-samba.lines"));
}

// The checks, in order, for "_Ok" and "_Test" alike (a step changes one field): a refusal runs
// nothing (no Samba script either) and leaves the editor open. What would not read back from the
// printcap never gets there: refused, pasted or listed.
TEST(Checks, RefuseTheFirstFaultInOrderAndRunNothing) {
  EXPECT_EQ(listingItems("/dev/lp0\n/dev/a:b\n/x:lp=/dev/lp9.ppd\n"), Lines{"/dev/lp0"});
  installTools();
  PrintersPage page;
  page.open(-1);
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), "a\nb", -1);
  gtk_editable_paste_clipboard(GTK_EDITABLE(page.field(kRowDescription)));
  EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(page.field(kRowDescription))), "a");
  const std::string name = "Printer Name should only be alphanumeric with no space!",
                    space = " should not be empty nor contain space!",
                    cc = " should not contain ':' or control characters!";
  const std::tuple<TypeButton, InfoRow, const char*, std::string> steps[] = {
      {kParallel, kRowName, "", name},
      {kParallel, kRowName, "a/b", name},
      {kParallel, kRowName, "p\t1", name},
      {kParallel, kRowName, "net1", "The printer name 'net1' already exists!"},
      {kParallel, kRowName, "Net-1_x", "Windows Driver" + cc},  // the lowest check
      {kParallel, kRowDescription, "a\tb", "Description" + cc},
      {kNetwork, kRowDescription, "HP: 4th floor", "Description" + cc},
      {kNetwork, kRowDescription, "", "LPD Server" + space},
      {kNetwork, kRowServer, "h\tx", "LPD Server" + space},
      {kNetwork, kRowServer, "h:1", "LPD Server" + cc},
      {kNetwork, kRowServer, "srv", "Queue Name" + space},
      {kNetwork, kRowShared, "q\nx", "Queue Name" + space},
      {kNetwork, kRowShared, "q:1", "Queue Name" + cc},
      {kNetwork, kRowShared, "q", "Windows Driver" + cc},
      {kNetwork, kRowDriver, "x\x7f", "Windows Driver" + cc},
      {kSamba, kRowServer, "", "Samba Server" + space},
      {kSamba, kRowServer, "s\x01", "Samba Server" + space},
      {kSamba, kRowShared, "", "Samba Server" + space},
      {kSamba, kRowServer, "srv", "Shared Printer" + space},
      {kSamba, kRowSmbUser, "a b", "Shared Printer" + space},
      {kSamba, kRowShared, "q", "User Name should not contain space!"},
      {kSamba, kRowSmbUser, "u", "Password should not contain space!"},
      {kSamba, kRowSmbPassword, "pw", "Workgroup should not contain space!"},
      {kSamba, kRowSmbWorkgroup, "wg", "Windows Driver" + cc},  // the Samba fields passed
  };
  page.set(kRowSmbPassword, "p\tw");  // and the workgroup a line break, the driver a colon
  page.set(kRowSmbWorkgroup, "w\ng");
  page.set(kRowDriver, "x:y");
  for (const auto& [type, row, value, refusal] : steps) {
    click(page.type(type));
    page.set(row, value);
    for (int button : {1, 2}) {
      CommandRecorder recorder;
      DialogLog log;
      click(page.button(button));
      EXPECT_EQ(log.text(), "Error!: " + refusal + "\n") << value << " button " << button;
      EXPECT_EQ(recorder.lines(), Lines{});
    }
  }
  EXPECT_NE(page.editor(), nullptr);
  EXPECT_EQ(clistRows(page.table), 4);
}

// "_Test" prints with the edited printer's printcap, shows the queue's verdict (a failure as the
// spooler wrote it, markup and all, a byte that is not UTF-8 replaced) and puts the full
// printcap back after either (the hand-written one read is in printcap.orig first); the editor
// stays open; only the test page's job is removed. A missing spooler tool stops neither button.
TEST(Saving, TestPrintsWithItsOwnPrintcapAndPutsTheFullOneBack) {
  installTools();
  const std::string hand = "# laser in room 2\n" + golden("sample.printcap");
  PrintersPage page(hand);
  page.open(-1);
  page.set(kRowName, "t1");
  const std::string jobs =
      "Printer: t1\n Rank Pr/Class\n1 r A 7 /etc/testpg.ascii 5 7:03\n"
      "2 anna A 8 /etc/testpg.ascii.2 9 7:04\n";
  for (const auto& [queue, verdict] :
       {std::pair{jobs, "Printing Confirmation: A Test Page"},
        {jobs + "<b>Error:</b> '$(x)' \xff;`id`\n",
         "Error while printing 'Test Page': <b>Error:</b> '$(x)' \xef\xbf\xbd;`id`\n\n"}}) {
    StandInSpooler spooler;
    spooler.queue = queue;
    DialogLog log;
    click(page.button(2));
    EXPECT_EQ(log.text().rfind(verdict, 0), 0u) << log.text();
    EXPECT_EQ(spooler.printcapAtLpr, golden("t1.test-printcap") + hand);
    EXPECT_EQ(spooler.lines, goldenLines("test-print.lines"));
    EXPECT_EQ(fileText("/etc/printcap"), golden("sample.printcap"));
  }
  EXPECT_NE(page.editor(), nullptr);
  // Without lpq, lpd and smbclient both buttons finish (lpr gives up after 20 s; alarm: a hang).
  alarm(180);
  const Lines tools = {"/usr/bin/lpq", "/usr/sbin/lpd", "/usr/bin/smbclient"};
  for (const auto& tool : tools) std::rename(tool.c_str(), (tool + ".gone").c_str());
  writeFile("/etc/testpg.ascii", "test page\n");
  page.set(kRowName, "new1");
  DialogLog log;
  click(page.button(2));
  EXPECT_EQ(log.text().rfind("Printing Confirmation: A Test Page has been sent", 0), 0u)
      << log.text();
  click(page.button(1));
  EXPECT_EQ(fileText("/etc/printcap"), golden("with-new1.printcap"));
  for (const auto& tool : tools) std::rename((tool + ".gone").c_str(), tool.c_str());
  alarm(0);
}

// Delete asks, then removes the printer's files by quoted name (never outside the spool) and
// restarts. A default deleted, or none left, makes the first remaining row the default; the last
// printer leaves a bare printcap and no Modify or Delete. Refusing changes nothing.
TEST(PrintersPage, DeleteRemovesTheFilesAndHandsOnTheDefault) {
  // The row (-1: the only one left), its name, the default unmarked, the answer, then the result.
  const std::tuple<int, const char*, bool, bool, const char*, Lines> cases[] = {
      {2,
       "smb1",
       0,
       1,
       "without-smb1.printcap",
       {"lprm -P smb1 all", "rm /etc/dorvek/samba/smb1.sh -f", "rm /var/spool/lpd/smb1 -rf"}},
      {1,
       "<i>x;reboot",
       0,
       1,
       "without-net1.printcap",
       {"lprm -P '<i>x;reboot' all", "rm '/var/spool/lpd/<i>x;reboot' -rf"}},
      {2, "..", 1, 1, "without-smb1.printcap", {}},
      {0, "lp1", 0, 1, "without-lp1.printcap", {"lprm -P lp1 all", "rm /var/spool/lpd/lp1 -rf"}},
      {-1, "lp1", 0, 1, "empty.printcap", {"lprm -P lp1 all", "rm /var/spool/lpd/lp1 -rf"}},
      {0, "lp1", 0, 0, "sample.printcap", {}}};
  for (const auto& [row, name, unmarked, accept, printcap, removals] : cases) {
    PrintersPage page;
    if (row < 0)  // the last printer
      for (int more = 3; more > 0; --more) gtk_clist_remove(GTK_CLIST(page.table), more);
    row_n = std::max(row, 0);
    gtk_clist_set_text(GTK_CLIST(page.table), row_n, kColName, name);
    if (unmarked) gtk_clist_set_text(GTK_CLIST(page.table), 0, kColDefault, "");
    CommandRecorder recorder;
    DialogLog log(accept ? GTK_RESPONSE_ACCEPT : GTK_RESPONSE_REJECT);
    click(deleteButtonOf(page.pageBox));
    EXPECT_EQ(log.text(), "Delete Printer Confirmation: Are you sure you want to delete '" +
                              std::string(name) + "'?\n");
    EXPECT_EQ(recorder.lines(), accept ? removals + kRestart : Lines{}) << name;
    EXPECT_EQ(fileText("/etc/printcap"), golden(printcap)) << name;
    EXPECT_EQ(sensitive(modifyButtonOf(page.pageBox)), row >= 0) << name;
  }
}

namespace {
DialogLog* childLog = nullptr;  // what a death test's child saw, printed as the program ends
std::string childFiles;
std::string systemFiles() {
  return fileText("/etc/printcap") + fileText("/etc/printers_info") +
         fileText("/etc/dorvek/samba/smb1.sh");
}
}  // namespace

// "_Ok" on an /etc that takes no write: the message, status 0, every file kept, no temporary.
TEST(FaultsDeathTest, UnwritableEtcEndsSavingWithTheMessage) {
  testing::FLAGS_gtest_death_test_style = "threadsafe";
  installTools();
  writeFile("/etc/dorvek/samba/smb1.sh", "hostip=srv\nprinter=laser\npassword=old\n");
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

// Run by tests/system/test_find.sh against its LPRng host (10.23.0.2: raw, laser), Avahi
// daemon (on lpdhost.local: "Office Laser" as _printer._tcp rp=laser, _ipp._tcp and
// _pdl-datastream._tcp, "Raw Only" as _ipp._tcp rp=printers/raw; "Plain" without rp; "Dead End"
// as _ipp._tcp at 10.24.0.9, where nobody is) and smbd (OFFICEPC, known from lmhosts alone:
// laser, colour, "HP LaserJet 1020").
namespace {

bool findPhase(const char* phase) {
  const char* wanted = std::getenv("SPM_TEST_FIND");
  return wanted != nullptr && std::string(wanted) == phase;
}

struct Found {
  std::string status;
  // "CELL1 CELL2", then " / NOTE" when the last column says something and " [greyed]" when the
  // row cannot be chosen; sorted: which search answers first is not fixed
  Lines rows;
  double seconds = 0;
};

// Presses Find or Browse (and types `host` into Find's own entry, then Search); once the
// dialog's searches are over (no "..." left in its status), or after answerAfter seconds,
// notes what it shows and chooses the row named `pick` (none: Cancel).
Found answerFind(GtkWidget* button, const std::string& pick, double answerAfter = -1,
                 std::string host = "") {
  struct Driver {
    std::string pick;
    gint64 answerAt;
    std::string host;
    Found found;
    gint64 answered = 0;
  } driver{
      pick, answerAfter < 0 ? -1 : g_get_monotonic_time() + gint64(answerAfter * 1e6), host, {}};
  const gint64 start = g_get_monotonic_time();
  const guint source = g_timeout_add(
      20,
      [](gpointer data) -> gboolean {
        auto* d = static_cast<Driver*>(data);
        GtkWidget* dialog = gtk_grab_get_current();
        if (!GTK_IS_DIALOG(dialog) || d->answered != 0) return TRUE;
        if (!d->host.empty()) {
          gtk_entry_set_text(GTK_ENTRY(findHostEntryOf(dialog)), d->host.c_str());
          click(findSearchButtonOf(dialog));
          d->host.clear();
        }
        d->found.status = gtk_label_get_text(GTK_LABEL(findStatusOf(dialog)));
        if (d->answerAt < 0 ? d->found.status.find("...") != std::string::npos
                            : g_get_monotonic_time() < d->answerAt)
          return TRUE;
        GtkCList* list = GTK_CLIST(foundListOf(dialog));
        for (int row = 0; row < list->rows; ++row) {
          const std::string note = clistCell(GTK_WIDGET(list), row, list->columns - 1);
          d->found.rows.push_back(clistCell(GTK_WIDGET(list), row, 0) + " " +
                                  clistCell(GTK_WIDGET(list), row, 1) +
                                  (note.empty() ? "" : " / " + note) +
                                  (gtk_clist_get_selectable(list, row) ? "" : " [greyed]"));
          if (clistCell(GTK_WIDGET(list), row, 0) == d->pick ||
              clistCell(GTK_WIDGET(list), row, 1) == d->pick)
            gtk_clist_select_row(list, row, 0);
        }
        std::sort(d->found.rows.begin(), d->found.rows.end());
        d->answered = g_get_monotonic_time();
        gtk_dialog_response(GTK_DIALOG(dialog),
                            d->pick.empty() ? GTK_RESPONSE_REJECT : GTK_RESPONSE_ACCEPT);
        return TRUE;
      },
      &driver);
  click(button);
  g_source_remove(source);
  driver.found.seconds = double(driver.answered - start) / 1e6;
  if (answerAfter >= 0)
    driver.found.seconds = double(g_get_monotonic_time() - driver.answered) / 1e6;
  return driver.found;
}

// Runs the main loop for a while, as the window would after a dialog is gone.
void idleFor(unsigned milliseconds) {
  bool over = false;
  g_timeout_add(
      milliseconds,
      [](gpointer data) -> gboolean {
        *static_cast<bool*>(data) = true;
        return FALSE;
      },
      &over);
  while (!over) g_main_context_iteration(nullptr, TRUE);
}

// On 127.0.0.2 `port` takes connections and never answers, while it lives.
struct SilentServer {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  explicit SilentServer(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(0x7f000002);
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << port;
    EXPECT_EQ(listen(fd, 16), 0);
  }
  ~SilentServer() { close(fd); }
};

// Cancels the dialog that `button` opens `seconds` after its searches of 127.0.0.2 began, that
// server taking connections on `port` and never answering: true when it closes at once and
// nothing of them runs in the 1.2 s after it is gone, their time limit included.
bool cancelEndsAll(GtkWidget* button, double seconds, int port) {
  const SilentServer server(port);
  const Found found = answerFind(button, "", seconds);
  if (found.status.find("...") == std::string::npos || found.seconds >= 0.2) return false;
  const unsigned long ran = findCallbacksRun();
  idleFor(1200);
  return findCallbacksRun() == ran;
}

// "_Test", answering its dialog once the page reached `out` (answering empties the queues).
void testPageReaches(const PrintersPage& page, const std::string& out) {
  alarm(60);
  writeFile("/etc/testpg.ascii", "Find test page\n");
  std::unique_ptr<DialogLog> log;
  const std::pair<std::string, std::unique_ptr<DialogLog>*> watch{out, &log};
  const guint source = g_timeout_add(
      50,
      [](gpointer data) -> gboolean {
        auto* w = static_cast<decltype(watch)*>(data);
        if (*w->second == nullptr && fileText(w->first).find("Find test page") != std::string::npos)
          *w->second = std::make_unique<DialogLog>();
        return TRUE;
      },
      const_cast<void*>(static_cast<const void*>(&watch)));
  click(page.button(2));
  g_source_remove(source);
  ASSERT_TRUE(log != nullptr) << out;
  EXPECT_EQ(log->text().rfind("Printing Confirmation:", 0), 0u) << log->text();
  alarm(0);
}

const std::string kAnnounced = "Printers that announce themselves are listed.\n";

}  // namespace

// Announced printers and a typed host's queues, every outcome in words: one row per announced
// printer however many ways it announces itself, one announced over IPP alone asked whether it
// takes LPD jobs. A host that drops what it is sent is given up within the limit, and Cancel
// ends a search at once, changing nothing: nothing of it runs after its dialog is gone. The
// printer announced over IPP alone prints its test page into lpdhost's queue "raw".
TEST(Finding, NetworkPrintersAndTheQueuesOfAHost) {
  if (!findPhase("*")) GTEST_SKIP() << "test_find.sh runs it";
  PrintersPage page;
  page.open(-1);
  click(page.type(kNetwork));
  EXPECT_TRUE(shown(findButtonOf(page.info())) && !shown(browseButtonOf(page.info())));
  const Lines announced = {"10.23.0.2 laser", "10.23.0.2 raw",
                           "10.24.0.1 lp / \"lp\" assumed: the announcement names no queue",
                           "10.24.0.9  / Takes no LPD jobs [greyed]"};
  const std::tuple<const char*, std::string, Lines> cases[] = {
      {"10.23.0.2", kAnnounced + "The queues of 10.23.0.2 are listed.", announced},
      {"127.0.0.1", kAnnounced + "No LPD server answers on 127.0.0.1.", announced},
      {"nosuch.invalid", kAnnounced + "The host nosuch.invalid is unknown.", announced},
      {"10.23.0.9", kAnnounced + "The host 10.23.0.9 does not answer.", announced},
      {"", "Printers that announce themselves are listed.", announced},
  };
  for (const auto& [host, status, rows] : cases) {
    page.set(kRowServer, host);
    const Found found = answerFind(findButtonOf(page.info()), *host ? "10.24.0.9" : "raw");
    EXPECT_EQ(found.status, status);
    EXPECT_EQ(found.rows, rows) << host;
    EXPECT_LT(found.seconds, 11) << host;
    if (*host) {
      EXPECT_EQ(entryText(page.field(kRowServer)), host);  // greyed: not taken
    }
  }
  EXPECT_EQ(entryText(page.field(kRowServer)) + "/" + entryText(page.field(kRowShared)),
            "10.23.0.2/raw");
  page.set(kRowServer, "127.0.0.2");
  EXPECT_TRUE(cancelEndsAll(findButtonOf(page.info()), kLpdSearchSeconds - 0.3, 515));
  EXPECT_EQ(entryText(page.field(kRowServer)), "127.0.0.2");
  page.set(kRowServer, "10.23.0.2");
  page.set(kRowName, "found");
  testPageReaches(page, "/tmp/find/raw.out");
}

// Browse lists every printer share of a server known by its NetBIOS name alone, as the typed
// user or as a guest; one whose name Save would refuse is greyed with the reason and cannot be
// chosen. It says the server's refusal and an unknown name, leaves no password file behind,
// and the share chosen gets the test page.
TEST(Finding, PrinterSharesOfASambaServer) {
  if (!findPhase("*")) GTEST_SKIP() << "test_find.sh runs it";
  PrintersPage page;
  page.open(-1);
  click(page.type(kSamba));
  EXPECT_TRUE(!shown(findButtonOf(page.info())) && shown(browseButtonOf(page.info())));
  const Lines shares = {
      "HP LaserJet 1020 HP / The name holds a space; rename the share on the server [greyed]",
      "colour Colour", "laser Laser on the 2nd floor"};
  const std::tuple<const char*, const char*, const char*, const char*, std::string, Lines> cases[] =
      {
          {"NOSUCHPC", "", "", "laser", "The host NOSUCHPC is unknown.", {}},
          {"OFFICEPC",
           "ann",
           "wrong",
           "",
           "OFFICEPC refused access: session setup failed: NT_STATUS_LOGON_FAILURE",
           {}},
          {"OFFICEPC", "", "", "HP LaserJet 1020", "The printer shares of OFFICEPC are listed.",
           shares},
          {"OFFICEPC", "ann", "ann-pw", "laser", "The printer shares of OFFICEPC are listed.",
           shares},
      };
  for (const auto& [server, user, password, pick, status, rows] : cases) {
    page.set(kRowServer, server);
    page.set(kRowSmbUser, user);
    page.set(kRowSmbPassword, password);
    const Found found = answerFind(browseButtonOf(page.info()), pick);
    EXPECT_EQ(found.status, status);
    EXPECT_EQ(found.rows, rows) << user;
    // Only "laser" of a listing is taken; the greyed share never.
    EXPECT_EQ(entryText(page.field(kRowShared)),
              std::string(pick) == "laser" && !rows.empty() ? "laser" : "")
        << pick;
    for (const auto& file : std::filesystem::directory_iterator("/tmp"))
      EXPECT_EQ(file.path().string().find("smbauth"), std::string::npos);
  }
  page.set(kRowServer, "127.0.0.2");
  EXPECT_TRUE(cancelEndsAll(browseButtonOf(page.info()), kBrowseSeconds - 0.3, 445));
  EXPECT_EQ(entryText(page.field(kRowShared)), "laser");
  page.set(kRowServer, "OFFICEPC");
  page.set(kRowName, "share");
  std::filesystem::create_directories("/etc/dorvek/samba");  // as start-up makes it
  testPageReaches(page, "/tmp/find/smb/out/laser");
  click(page.button(1));  // and saved so
  EXPECT_NE(fileText("/etc/printcap").find("\nshare:\\\n"), std::string::npos);
  EXPECT_NE(fileText("/etc/dorvek/samba/share.sh").find("share=//OFFICEPC/laser\n"),
            std::string::npos);
}

// Without the Avahi daemon the dialog says so, and the queues of a host typed there are found.
TEST(Finding, WithoutAvahi) {
  if (!findPhase("WithoutAvahi")) GTEST_SKIP() << "test_find.sh runs it";
  PrintersPage page;
  page.open(-1);
  click(page.type(kNetwork));
  const Found found = answerFind(findButtonOf(page.info()), "raw", true, "10.23.0.2");
  EXPECT_EQ(found.status,
            "Printers that announce themselves need the Avahi daemon (avahi-daemon)\nThe queues "
            "of 10.23.0.2 are listed.");
  EXPECT_EQ(found.rows, (Lines{"10.23.0.2 laser", "10.23.0.2 raw"}));
  EXPECT_EQ(entryText(page.field(kRowServer)) + "/" + entryText(page.field(kRowShared)),
            "10.23.0.2/raw");
}
