// The store's adapters against the real files and the real LPRng spooler, in the sandbox.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/files.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "store/printcap.h"
#include "store/printer_table.h"
#include "store/spooler.h"

namespace {

GtkWidget* newPrinterTable() {
  return gtk_clist_new(kPrinterColumns);
}

std::string commandOutput(const std::string& line) {
  std::string out;
  if (FILE* pipe = popen((line + " 2>&1").c_str(), "r")) {
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

void write(const std::string& path, const std::string& text) {
  ASSERT_TRUE(replaceFile(path, text, 0644)) << path;
}

const char* const kFilter = "/usr/lib/lprng/filters/lpf";

// One printer of each type, as the printer editor makes them.
std::vector<PrinterRow> printerOfEachType() {
  return {
      {"Yes", "par", "Parallel one", "Parallel", "/dev/lp0", kFilter, "", "", "NO"},
      {"", "usb", "", "USB", "/dev/usb/lp0", kFilter, "", "HP LaserJet", "YES"},
      {"", "ser", "", "Serial", "/dev/ttyS0", kFilter, "", "", "NO"},
      {"", "net", "", "Network", "lp@localhost", kFilter, "", "", "NO"},
      {"", "smb", "", "Samba", "|/etc/dorvek/samba/smb.sh", "", "", "", "NO"},
  };
}

}  // namespace

TEST(Spooler, WrittenPrintcapIsServedByTheRealLpd) {
  ASSERT_EQ(std::system("mkdir -p /usr/lib/lprng /dev/usb /etc/dorvek/samba && "
                        "ln -sfn /usr/lib/x86_64-linux-gnu/lprng/filters /usr/lib/lprng/filters && "
                        ": > /dev/lp0 && : > /dev/usb/lp0 && : > /dev/ttyS0"),
            0);
  GtkWidget* table = newPrinterTable();
  appendTableRows(table, printerOfEachType());
  writePrintcap(table);
  EXPECT_EQ(readWholeFile(kPrintcapPath).value_or(""), formatPrintcap(printerOfEachType()));
  EXPECT_EQ(readWholeFile(kPrintersInfoPath).value_or(""), formatPrintersInfo(printerOfEachType()));

  preparelpd();
  const std::string check = commandOutput("checkpc");
  EXPECT_EQ(check.find("Error"), std::string::npos) << check;
  for (const char* queue : {"par", "usb", "ser", "net", "smb"}) {
    const std::string report = commandOutput(std::string("lpq -P ") + queue);
    EXPECT_NE(report.find(std::string("Printer: ") + queue + "@"), std::string::npos) << report;
  }
  commandOutput("killall lpd");
  destroyUnpacked(table);
}

TEST(Spooler, BootSwitchWritesAndRemovesScriptAndLink) {
  ASSERT_EQ(std::system("mkdir -p /etc/init.d /etc/rcS.d"), 0);
  GtkWidget* button = gtk_check_button_new();
  g_signal_connect(button, "toggled", G_CALLBACK(chkbtnLPDserver_toggled), nullptr);

  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button), TRUE);
  EXPECT_EQ(readWholeFile("/etc/init.d/runlpd").value_or(""), "#! /bin/sh\n");
  struct stat st;
  ASSERT_EQ(stat("/etc/init.d/runlpd", &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  char target[256] = {};
  ASSERT_GT(readlink("/etc/rcS.d/S76runlpd", target, sizeof target - 1), 0);
  EXPECT_STREQ(target, "/etc/init.d/runlpd");

  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button), FALSE);
  EXPECT_FALSE(pathExists("/etc/init.d/runlpd"));
  EXPECT_FALSE(pathExists("/etc/rcS.d/S76runlpd"));
  destroyUnpacked(button);
}

TEST(ReadPrintcap, OversizedEntryStopsWithTheDialogAndKeepsEarlierRows) {
  std::string text = "first:lp=/dev/lp0:\nsecond\\\n";
  for (int i = 0; i < 30; ++i) text += "\t:xx=" + std::string(30, 'a') + ":\\\n";
  text += "\t:sf:\nthird:lp=/dev/lp1:\n";
  write(kPrintcapPath, text);
  GtkWidget* table = newPrinterTable();
  DialogAnswer answer;
  answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
  readPrintcap(table);
  EXPECT_TRUE(answer.seen);
  EXPECT_EQ(answer.title, "Error while reading /etc/printcap");
  EXPECT_EQ(answer.message,
            "Incorrect entry detected!\nPlease correct or delete the /etc/printcap file first");
  ASSERT_EQ(clistRows(table), 1);
  EXPECT_EQ(tableRow(table, 0)[kColName], "first");
  destroyUnpacked(table);
}

TEST(ReadPrintcap, MissingFileLeavesTheTableEmptyWithoutAWord) {
  unlink(kPrintcapPath);
  GtkWidget* table = newPrinterTable();
  readPrintcap(table);
  EXPECT_EQ(clistRows(table), 0);
  destroyUnpacked(table);
}
