// What would not read back from the printcap never gets there: refused, pasted or listed.
#include <gtest/gtest.h>

#include "faults.h"
#include "printers/listings.h"
#include "printers_fixture.h"

TEST(Checks, ColonsAndControlBytesAreRefusedFromTheTopAndNothingIsWritten) {
  EXPECT_EQ(listingItems("/dev/lp0\n/dev/a:b\n/x:lp=/dev/lp9.ppd\n"), Lines{"/dev/lp0"});
  PrintersPage page;
  page.open(-1);
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), "a\nb", -1);
  gtk_editable_paste_clipboard(GTK_EDITABLE(page.field(kRowDescription)));
  EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(page.field(kRowDescription))), "a");
  const std::string cc = " should not contain ':' or control characters!";
  const std::tuple<TypeButton, InfoRow, const char*, std::string> cases[] = {
      {kNetwork, kRowDriver, "x\x7f", "Windows Driver" + cc},
      {kNetwork, kRowServer, "h:1", "LPD Server" + cc},
      {kNetwork, kRowServer, "h\tx", "LPD Server should not be empty nor contain space!"},
      {kNetwork, kRowShared, "q:1", "Queue Name" + cc},
      {kNetwork, kRowShared, "q\nx", "Queue Name should not be empty nor contain space!"},
      {kSamba, kRowServer, "s\x01", "Samba Server should not be empty nor contain space!"},
      {kSamba, kRowDriver, "d:x", "Windows Driver" + cc},  // the Samba fields passed: no script
      {kNetwork, kRowDescription, "HP: 4th floor", "Description" + cc},  // stays from here on
      {kParallel, kRowDescription, "a\tb", "Description" + cc},          // above the (missing) port
      {kParallel, kRowName, "p 1", "Printer Name should only be alphanumeric with no space!"},
  };
  for (const auto& [type, row, text, refusal] : cases) {
    click(page.type(type));
    for (InfoRow r : {kRowName, kRowServer, kRowShared}) page.set(r, "p1");
    page.set(kRowDriver, "x:y");  // a fault further down in every form: the upper one wins
    page.set(row, text);
    DialogLog log;
    CommandRecorder recorder;  // saving and a Samba script would run lines: nothing may
    click(page.button(1));
    EXPECT_EQ(log.text() + std::to_string(recorder.lines().size()), "Error!: " + refusal + "\n0");
  }
}
