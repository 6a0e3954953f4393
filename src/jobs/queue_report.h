// Reader of the spooler's queue report ("lpq -P NAME" output): the job lines as table rows.
#pragma once

#include <array>
#include <string>
#include <vector>

// One job line's first seven pieces: Rank, Owner, Class, Job ID, Files, Size, Time.
using JobRow = std::array<std::string, 7>;

// Job lines follow the first line holding both "Rank" and "Pr/Class"; lines before it, and
// later lines with fewer than seven blank-separated pieces, are passed over. Pieces are taken
// by position only (a file name with blanks shifts the later cells); tabs do not separate.
std::vector<JobRow> parseQueueReport(const std::string& text);
