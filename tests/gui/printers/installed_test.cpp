// Run by tests/system/test_installed.sh after dpkg -i without the seed: the editor offers lprng's
// lpf through the link postinst made, and "_Test" prints the shipped page through LPRng and lpf.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "app/files.h"
#include "printers_fixture.h"

// Answers the test print's dialog once the job reached /dev/lp0: answering empties the queues.
static gboolean answerOncePrinted(gpointer log) {
  struct stat st {};
  if (stat("/dev/lp0", &st) != 0 || st.st_size == 0) return TRUE;
  *static_cast<std::unique_ptr<DialogLog>*>(log) = std::make_unique<DialogLog>();
  return FALSE;
}

TEST(Installed, EditorPreselectsLpfAndTestPrintReachesThePort) {
  if (std::getenv("SPM_TEST_INSTALLED") == nullptr) GTEST_SKIP() << "test_installed.sh runs it";
  alarm(120);  // a job that never prints fails here rather than hanging
  PrintersPage page(std::nullopt);
  page.open(-1);
  EXPECT_EQ(comboActiveText(page.field(kRowFilter)), "/usr/lib/lprng/filters/lpf");
  page.set(kRowName, "t1");
  std::unique_ptr<DialogLog> log;
  g_timeout_add(50, answerOncePrinted, &log);
  click(page.button(2));
  ASSERT_TRUE(log != nullptr);
  EXPECT_EQ(log->text().substr(0, 22), "Printing Confirmation:");
  const std::string port = readWholeFile("/dev/lp0").value_or("");
  EXPECT_EQ(port.substr(0, port.find('\n') + 1), "Kelvane Printer Management: test page\r\n");
  alarm(0);
}
