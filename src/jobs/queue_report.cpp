#include "jobs/queue_report.h"

#include <cstddef>

#include "app/text.h"

namespace {

bool isHeader(const std::string& line) {
  return line.find("Rank") != std::string::npos && line.find("Pr/Class") != std::string::npos;
}

// Splits at runs of ' ' only: lpq pads its columns with spaces, and a tab inside a field
// (a file name, say) belongs to that field.
std::vector<std::string> blankPieces(const std::string& line, std::size_t wanted) {
  std::vector<std::string> pieces;
  std::size_t pos = 0;
  while (pieces.size() < wanted) {
    pos = line.find_first_not_of(' ', pos);
    if (pos == std::string::npos) break;
    std::size_t end = line.find(' ', pos);
    if (end == std::string::npos) end = line.size();
    pieces.push_back(line.substr(pos, end - pos));
    pos = end;
  }
  return pieces;
}

}  // namespace

std::vector<JobRow> parseQueueReport(const std::string& text) {
  std::vector<JobRow> rows;
  bool afterHeader = false;
  for (const std::string& line : wholeLines(text)) {
    if (!afterHeader) {
      afterHeader = isHeader(line);
      continue;
    }
    std::vector<std::string> pieces = blankPieces(line, 7);
    if (pieces.size() < 7) continue;
    JobRow row;
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = pieces[i];
    rows.push_back(row);
  }
  return rows;
}
