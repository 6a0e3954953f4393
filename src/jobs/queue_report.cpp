#include "jobs/queue_report.h"

#include <cstddef>
#include <string_view>

namespace {

bool isHeader(std::string_view line) {
  return line.find("Rank") != std::string_view::npos &&
         line.find("Pr/Class") != std::string_view::npos;
}

// Splits at runs of ' ' only: lpq pads its columns with spaces, and a tab inside a field
// (a file name, say) belongs to that field. True when all seven pieces were there.
bool blankPieces(std::string_view line, std::array<std::string_view, 7>& pieces) {
  std::size_t pos = 0;
  for (std::string_view& piece : pieces) {
    pos = line.find_first_not_of(' ', pos);
    if (pos == std::string_view::npos) return false;
    std::size_t end = line.find(' ', pos);
    if (end == std::string_view::npos) end = line.size();
    piece = line.substr(pos, end - pos);
    pos = end;
  }
  return true;
}

}  // namespace

std::vector<JobRow> parseQueueReport(const std::string& text) {
  std::vector<JobRow> rows;
  bool afterHeader = false;
  const std::string_view all = text;
  std::array<std::string_view, 7> pieces;
  for (std::size_t pos = 0; pos < all.size();) {
    // Whole lines without their line feed; a last line without one counts too.
    std::size_t end = all.find('\n', pos);
    if (end == std::string_view::npos) end = all.size();
    const std::string_view line = all.substr(pos, end - pos);
    pos = end + 1;
    if (!afterHeader) {
      afterHeader = isHeader(line);
      continue;
    }
    if (!blankPieces(line, pieces)) continue;
    JobRow& row = rows.emplace_back();
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = pieces[i];
  }
  return rows;
}
