// What the printers layer reads from tool output: the device, filter and PPD listings that
// "ls" leaves under /tmp, and the queue report after a test print. No widgets, no files.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The chooser items of a listing: one per line, line end removed, in file order. A line
// holding a NUL byte ends there (a toolkit text cannot hold one); empty lines, lines holding
// a ':' and lines that are not UTF-8 give no item.
std::vector<std::string> listingItems(const std::string& text);
// Position of the filter to select first: the last item holding "/lpf", else 0.
int preselectedFilter(const std::vector<std::string>& filters);
// The queue report after a test print, from the first 199-byte piece that names a failure
// ("cannot open", "Error:", "No such file") to the end; nothing when none does.
std::optional<std::string> testPrintFailure(const std::string& report);
// The job numbers of the queue report's job lines whose file is file (fourth and fifth piece
// of a line after the header), digits only: the test page's own jobs, and no one else's.
std::vector<std::string> jobsOfFile(const std::string& report, const std::string& file);
