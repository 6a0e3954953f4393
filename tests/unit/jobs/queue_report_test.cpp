#include "jobs/queue_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kHeader =
    " Rank   Owner/ID               Pr/Class Job Files                 Size Time\n";
const char* const kStatus =
    "Printer: office@localhost 'lpdfilter drv=upp method=auto color=auto'\n"
    " Queue: 1 printable job\n"
    " Server: pid 81 active\n"
    " Unspooler: pid 83 active\n";

struct ReportCase {
  const char* name;
  std::string text;
  std::vector<JobRow> rows;
};

TEST(ParseQueueReport, RealReportShapes) {
  const std::string h = kHeader;
  const std::string longName(5000, 'x');
  const std::vector<ReportCase> cases = {
      {"one active job after the status lines",
       std::string(kStatus) + h +
           "active root@localhost+78            A    78 /etc/testpg.ascii       51 07:03:38\n",
       {{"active", "root@localhost+78", "A", "78", "/etc/testpg.ascii", "51", "07:03:38"}}},
      {"two jobs, last line without a line feed",
       h + "active root@localhost+78 A 78 /etc/testpg.ascii 51 07:03:38\n"
           "1st    anna@localhost+80 A 80 letter.txt 2048 07:04:10",
       {{"active", "root@localhost+78", "A", "78", "/etc/testpg.ascii", "51", "07:03:38"},
        {"1st", "anna@localhost+80", "A", "80", "letter.txt", "2048", "07:04:10"}}},
      {"no header: nothing, even for job-shaped lines",
       std::string(kStatus) + "active root@localhost+78 A 78 /etc/testpg.ascii 51 07:03:38\n",
       {}},
      {"header needs both words on one line",
       " Rank Owner/ID\n Pr/Class Job\nactive root@localhost+78 A 78 f 51 07:03:38\n",
       {}},
      {"header words are case sensitive",
       " rank Owner/ID pr/class Job Files Size Time\nactive r A 78 f 51 07:03:38\n",
       {}},
      {"a file name with blanks shifts the later cells; extra pieces dropped",
       h + "active root@localhost+90 A 90 My Letter.txt 300 07:10:00\n",
       {{"active", "root@localhost+90", "A", "90", "My", "Letter.txt", "300"}}},
      {"short and empty lines after the header are passed over",
       h + "\n   \n Status: printing finished at 07:05:01\n"
           "done root@localhost+91 A 91 a.txt 1 07:11:00\n",
       {{"done", "root@localhost+91", "A", "91", "a.txt", "1", "07:11:00"}}},
      {"a second header-like line after the header is just a row",
       h + h,
       {{"Rank", "Owner/ID", "Pr/Class", "Job", "Files", "Size", "Time"}}},
      {"tabs belong to the piece; runs of blanks are one separator",
       h + "   active\troot A  78    f\tg 51 07:03:38 x\n",
       {{"active\troot", "A", "78", "f\tg", "51", "07:03:38", "x"}}},
      {"six pieces joined by a tab are too few", h + "active root A 78 f 51\t07:03:38\n", {}},
      {"a long line is read whole, not cut into pieces",
       h + "active root A 78 " + longName + " 51 07:03:38\n",
       {{"active", "root", "A", "78", longName, "51", "07:03:38"}}},
      {"header in the middle of a long first line still counts",
       std::string(300, '-') + "Rank Pr/Class\n1 2 3 4 5 6 7\n",
       {{"1", "2", "3", "4", "5", "6", "7"}}},
      {"error report from an unknown queue",
       "Printer: nosuch@localhost - cannot open\nError: x\n",
       {}},
      {"empty report", "", {}},
  };
  for (const ReportCase& c : cases) {
    EXPECT_EQ(parseQueueReport(c.text), c.rows) << c.name;
  }
}

}  // namespace
