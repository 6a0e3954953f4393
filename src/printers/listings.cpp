#include "printers/listings.h"

#include <glib.h>

#include <sstream>

#include "app/text.h"

namespace {

// The report is read through a 200-byte line buffer; a marker cut by its edge is not seen.
constexpr std::size_t kReportBuffer = 200;
const char* const kFailureMarkers[] = {"cannot open", "Error:", "No such file"};

}  // namespace

std::vector<std::string> listingItems(const std::string& text) {
  std::vector<std::string> items;
  for (std::string& line : wholeLines(text)) {
    const auto nul = line.find('\0');
    if (nul != std::string::npos) line.resize(nul);
    // A name that is not UTF-8 could be neither shown nor chosen as itself, and one holding a
    // ':' cannot be a single printcap field.
    if (!line.empty() && line.find(':') == std::string::npos &&
        g_utf8_validate(line.data(), static_cast<gssize>(line.size()), nullptr)) {
      items.push_back(std::move(line));
    }
  }
  return items;
}

int preselectedFilter(const std::vector<std::string>& filters) {
  int preselected = 0;
  for (std::size_t i = 0; i < filters.size(); ++i) {
    if (filters[i].find("/lpf") != std::string::npos) preselected = static_cast<int>(i);
  }
  return preselected;
}

std::optional<std::string> testPrintFailure(const std::string& report) {
  std::string text;
  bool failed = false;
  for (const std::string& piece : fixedBufferLines(report, kReportBuffer)) {
    for (const char* marker : kFailureMarkers) {
      failed = failed || piece.find(marker) != std::string::npos;
    }
    if (failed) text += piece;
  }
  if (!failed) return std::nullopt;
  return text;
}

std::vector<std::string> jobsOfFile(const std::string& report, const std::string& file) {
  std::vector<std::string> jobs;
  bool afterHeader = false;
  for (const std::string& line : wholeLines(report)) {
    std::istringstream pieces(line);
    std::string rank, owner, jobClass, job, files;
    if (afterHeader && pieces >> rank >> owner >> jobClass >> job >> files && files == file &&
        job.find_first_not_of("0123456789") == std::string::npos) {
      jobs.push_back(job);
    }
    afterHeader = afterHeader || (line.find("Rank") != std::string::npos &&
                                  line.find("Pr/Class") != std::string::npos);
  }
  return jobs;
}
