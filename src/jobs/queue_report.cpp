#include "jobs/queue_report.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace {

// Pieces of a job line (the Jobs page's table has the same order).
constexpr std::size_t kReportRank = 0, kReportJobId = 3;

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool isHeader(std::string_view line) {
  return contains(line, "Rank") && contains(line, "Pr/Class");
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

// "Printer: NAME@HOST 'DESCRIPTION' (printing disabled, spooling disabled) (redirect DEST)":
// the flags follow the description, which an administrator wrote and may hold anything.
void readPrinterLine(std::string_view line, QueueState& state) {
  const std::size_t quote = line.rfind('\'');
  if (quote != std::string_view::npos) line.remove_prefix(quote + 1);
  state.printingDisabled = contains(line, "printing disabled");
  state.printingAborted = contains(line, "printing aborted");
  state.spoolingDisabled = contains(line, "spooling disabled");
  const std::string_view redirect = "(redirect ";
  const std::size_t at = line.find(redirect);
  if (at == std::string_view::npos) return;
  const std::string_view rest = line.substr(at + redirect.size());
  state.redirect = rest.substr(0, rest.find_first_of(" )"));
}

void readStateLine(std::string_view line, QueueState& state) {
  if (line.rfind("Printer", 0) == 0) state.reported = true;
  if (line.rfind("Printer:", 0) == 0) readPrinterLine(line, state);
  if (contains(line, "cannot open connection")) state.unreachable = true;
  // LPRng's answer for a name it has no queue for; the line still starts with "Printer:".
  if (contains(line, "ERROR: spool queue for '") && contains(line, "' does not exist")) {
    state.unknownQueue = true;
  }
}

}  // namespace

bool QueueState::operator==(const QueueState& other) const {
  return printingDisabled == other.printingDisabled && printingAborted == other.printingAborted &&
         spoolingDisabled == other.spoolingDisabled && unreachable == other.unreachable &&
         unknownQueue == other.unknownQueue && redirect == other.redirect &&
         reported == other.reported;
}

QueueReport parseQueueReport(const std::string& text) {
  QueueReport report;
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
      if (!afterHeader) readStateLine(line, report.state);
      continue;
    }
    if (!blankPieces(line, pieces)) continue;
    JobRow& row = report.jobs.emplace_back();
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = pieces[i];
  }
  return report;
}

int heldJobs(const std::vector<JobRow>& jobs) {
  return static_cast<int>(std::count_if(
      jobs.begin(), jobs.end(), [](const JobRow& row) { return row[kReportRank] == "hold"; }));
}

bool isJobNumber(const std::string& jobId) {
  return !jobId.empty() && jobId.find_first_not_of("0123456789") == std::string::npos;
}

bool jobQueued(const std::vector<JobRow>& jobs, const std::string& job) {
  return std::any_of(jobs.begin(), jobs.end(), [&](const JobRow& row) {
    return row[kReportJobId] == job && row[kReportRank] != "done";
  });
}

bool currentJobFinishing(const QueueReport& report) {
  return report.state.printingDisabled &&
         std::any_of(report.jobs.begin(), report.jobs.end(),
                     [](const JobRow& row) { return row[kReportRank] == "active"; });
}
