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
// refusing, redirected, holding, no spooler, no such queue, paused while the current job ends.
// Flags count on the "Printer:" line only, after the description; a job's file name says
// nothing about the queue. Then lpc's replies: done, or refused in lpc's own words (those of
// real lpc are proven in gui_jobs).
TEST(ParseQueueReport, TheQueueStateAboveTheJobsAndLpcReplies) {
  // Report; printing off, aborted, spooling off, unreachable, no such queue, redirect,
  // reported; jobs; held; the current job finishing after a pause.
  const std::tuple<std::string, QueueState, std::size_t, int, bool> cases[] = {
      {golden("lpq/paused.report"), {true, false, false, false, false, "", true}, 3, 0, false},
      {golden("lpq/aborted.report"), {false, true, false, false, false, "", true}, 2, 0, false},
      {golden("lpq/disabled.report"), {false, false, true, false, false, "", true}, 0, 0, false},
      {golden("lpq/redirect.report"), {false, false, false, false, false, "qq", true}, 2, 0, false},
      {golden("lpq/held.report"), {false, false, false, false, false, "", true}, 2, 2, false},
      {golden("lpq/everything.report"), {true, true, true, false, false, "pp", true}, 1, 1, false},
      {golden("lpq/noserver.report"), {false, false, false, true, false, "", true}, 0, 0, false},
      {golden("lpq/noqueue.report"), {false, false, false, false, true, "", true}, 0, 0, false},
      {golden("lpq/finishing.report"), {true, false, false, false, false, "", true}, 2, 0, true},
      {golden("lpq/finished.report"), {true, false, false, false, false, "", true}, 2, 0, false},
      {"sh: 1: lpq: not found\n", {false, false, false, false, false, "", false}, 0, 0, false},
      {"Printer: p@h '(printing disabled) (redirect x)'\n Rank Pr/Class\n1 a A 1 (redirect 2 3\n"
       "Printer: p@h (spooling disabled)\nPrinter: x - ERROR: spool queue for 'x' does not exist\n",
       {false, false, false, false, false, "", true},
       2,
       0,
       false},
  };
  for (const auto& [text, state, jobs, held, finishing] : cases) {
    const QueueReport r = parseQueueReport(text);
    EXPECT_TRUE(r.state == state && r.jobs.size() == jobs && heldJobs(r.jobs) == held &&
                currentJobFinishing(r) == finishing)
        << text;
  }
  // A printed job ("done") is no longer queued; a job number is matched whole.
  const std::vector<JobRow> jobs = parseQueueReport(golden("lpq/finished.report")).jobs;
  EXPECT_EQ(std::make_tuple(jobQueued(jobs, "62"), jobQueued(jobs, "60"), jobQueued(jobs, "6")),
            std::make_tuple(true, false, false));
  EXPECT_EQ(lpcRefusal("Printer: pp@localhost\npp@localhost: no perm\n"),
            "Printer: pp@localhost\npp@localhost: no perm");
}
