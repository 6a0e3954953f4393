// Generated inputs shared by the benches: a printer table, an lpq report, a ThinPrint file.
#pragma once

#include <string>
#include <vector>

#include "store/printer_table.h"

namespace bench {

// Three kinds of printer in turn (parallel, network with a PPD, Samba); the first is default.
inline std::vector<PrinterRow> printers(int count) {
  std::vector<PrinterRow> rows;
  rows.reserve(count);
  for (int i = 0; i < count; ++i) {
    const std::string name = "printer" + std::to_string(i);
    switch (i % 3) {
      case 0:
        rows.push_back({i == 0 ? "Yes" : "", name, "Parallel printer", "Parallel", "/dev/lp0",
                        "/usr/lib/lprng/filters/lpf", "", "", "NO"});
        break;
      case 1:
        rows.push_back({"", name, "", "Network", "lp@printserver", "/usr/bin/foomatic-rip",
                        "/usr/local/lib/laser.ppd", "HP LaserJet", "YES"});
        break;
      default:
        rows.push_back(
            {"", name, "Shared", "Samba", "|/etc/dorvek/samba/" + name + ".sh", "", "", "", "NO"});
    }
  }
  return rows;
}

// lpq's report as LPRng prints it: status lines, the header, one line per job.
inline std::string queueReport(int jobs) {
  std::string text =
      "Printer: office@localhost 'lpdfilter drv=upp method=auto color=auto'\n"
      " Queue: " +
      std::to_string(jobs) +
      " printable jobs\n"
      " Server: pid 81 active\n"
      " Unspooler: pid 83 active\n"
      " Rank   Owner/ID               Pr/Class Job Files                 Size Time\n";
  for (int i = 0; i < jobs; ++i) {
    const std::string id = std::to_string(100 + i);
    text += (i == 0 ? "active" : std::to_string(i) + "     ").substr(0, 6) + " root@localhost+" +
            id + "            A  " + id + " /home/user/report-" + id + ".txt   4" + id +
            " 07:03:38\n";
  }
  return text;
}

inline std::string thinPrintConf(int count) {
  std::string text = "BANDWIDTH=256000\nPORT=4000\n";
  for (int i = 0; i < count; ++i) {
    text += "/dev/usb/lp" + std::to_string(i % 4) + " \"Laser " + std::to_string(i) + "\"\n";
  }
  return text;
}

}  // namespace bench
