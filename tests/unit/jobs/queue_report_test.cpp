#include "jobs/queue_report.h"

#include <gtest/gtest.h>

#include "golden.h"
#include "jobs/queue_actions.h"

TEST(ParseQueueReport, JobLinesAfterTheHeader) {
  const std::string h = " Rank   Owner/ID    Pr/Class Job Files        Size Time\n";
  const std::string job = "active root@h+78  A  78 /etc/testpg.ascii 51 07:03:38";
  const JobRow row = {"active", "root@h+78", "A", "78", "/etc/testpg.ascii", "51", "07:03:38"};
  const std::pair<std::string, std::vector<JobRow>> cases[] = {
      {"Printer: office@localhost\n Queue: 1 printable job\n" + h + job + "\n" + job, {row, row}},
      // No header, or its words split over lines or in another case: nothing.
      {job + "\n Rank Owner\n Pr/Class Job\n rank pr/class\n" + job, {}},
      // Short and empty lines are passed over; a blank in a file name shifts the later cells.
      {h + "\n   \n Status: done at 07:05:01\nactive r A 90 My Letter.txt 300 07:10:00 x\n",
       {{"active", "r", "A", "90", "My", "Letter.txt", "300"}}},
      {h + "a\tb r A 78 f 51\t07:03:38\n" + h,
       {{"Rank", "Owner/ID", "Pr/Class", "Job", "Files", "Size", "Time"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(parseQueueReport(c.first).jobs, c.second) << c.first;
}

// Real lpq reports (LPRng 3.8.B, captured in the sandbox) and crafted ones: paused, aborted,
// refusing, redirected, holding, no spooler. Flags count on the "Printer:" line only, after the
// description; a job's file name says nothing about the queue.
TEST(ParseQueueReport, TheQueueStateAboveTheJobs) {
  struct Case {
    std::string report;
    QueueState state;  // printing disabled, aborted, spooling disabled, unreachable, redirect
    std::size_t jobs;
    int held;
  };
  const Case cases[] = {
      {golden("lpq/paused.report"), {true, false, false, false, ""}, 3, 0},
      {golden("lpq/aborted.report"), {false, true, false, false, ""}, 2, 0},
      {golden("lpq/disabled.report"), {false, false, true, false, ""}, 0, 0},
      {golden("lpq/redirect.report"), {false, false, false, false, "qq"}, 2, 0},
      {golden("lpq/held.report"), {false, false, false, false, ""}, 2, 2},
      {golden("lpq/everything.report"), {true, true, true, false, "pp"}, 1, 1},
      {golden("lpq/noserver.report"), {false, false, false, true, ""}, 0, 0},
      {"Printer: p@h '(printing disabled) (redirect x)'\n Rank Pr/Class\n"
       "1 a A 1 (printing_disabled) 2 3\nPrinter: p@h (spooling disabled)\n",
       {false, false, false, false, ""},
       1,
       0},
      {"Printer: p@h (redirect q", {false, false, false, false, "q"}, 0, 0},
  };
  for (const Case& c : cases) {
    const QueueReport report = parseQueueReport(c.report);
    EXPECT_TRUE(report.state == c.state) << c.report;
    EXPECT_EQ(report.jobs.size(), c.jobs) << c.report;
    EXPECT_EQ(heldJobs(report.jobs), c.held) << c.report;
  }
}

// The lines and what lpc answered: done, or refused in its own words (captured replies).
TEST(QueueActions, LinesAndReplies) {
  EXPECT_EQ(lpcCommand("move", "o'x", {"12", "lp;2"}),
            "lpc move 'o'\\''x' 12 'lp;2' > /tmp/lpcreply 2>&1");
  const std::pair<std::string, std::optional<std::string>> replies[] = {
      {"Printer: pp@localhost\npp@localhost: stopped\n", std::nullopt},
      {"pp: selected 'root@localhost+101'\nkill server process PID 114 with SIGUSR1\n"
       "pp@localhost: move done\n",
       std::nullopt},
      {"Printer: pp@localhost\npp@localhost: no perm\n",
       "Printer: pp@localhost\npp@localhost: no perm"},
      {"Printer 'pp@localhost' - cannot open connection - Connection refused\n",
       "Printer 'pp@localhost' - cannot open connection - Connection refused"},
      {"", ""},
  };
  for (const auto& [reply, refusal] : replies) EXPECT_EQ(lpcRefusal(reply), refusal) << reply;
  for (const char* id : {"", "12a", "-1", "1 2", "8;x"}) EXPECT_FALSE(isJobNumber(id)) << id;
  EXPECT_TRUE(isJobNumber("0123"));
}
