#include "jobs/queue_report.h"

#include <gtest/gtest.h>

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
  for (const auto& c : cases) EXPECT_EQ(parseQueueReport(c.first), c.second) << c.first;
}
