// The store's GTK adapters against the real files, in the sandbox.
#include <gtest/gtest.h>

#include "app/files.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "store/printcap.h"

// An entry longer than the reader takes stops reading with the dialog; the rows before stay.
TEST(ReadPrintcap, OversizedEntryShowsTheDialogAndKeepsEarlierRows) {
  std::string text = "first:lp=/dev/lp0:\nsecond\\\n";
  for (int i = 0; i < 30; ++i) text += "\t:xx=" + std::string(30, 'a') + ":\\\n";
  ASSERT_TRUE(replaceFile(kPrintcapPath, text + "\t:sf:\nthird:lp=/dev/lp1:\n"));
  GtkWidget* table = gtk_clist_new(kPrinterColumns);
  DialogAnswer answer;
  answerNextDialog(GTK_RESPONSE_ACCEPT, &answer);
  readPrintcap(table);
  EXPECT_EQ(answer.title, "Error while reading /etc/printcap");
  EXPECT_EQ(clistColumn(table, kColName), std::vector<std::string>{"first"});
  destroyUnpacked(table);
}
