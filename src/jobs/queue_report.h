// Reader of the spooler's queue report ("lpq -P NAME" output): the queue's state and its jobs.
#pragma once

#include <array>
#include <string>
#include <vector>

// One job line's first seven pieces: Rank, Owner, Class, Job ID, Files, Size, Time.
using JobRow = std::array<std::string, 7>;

// What the lines above the jobs say about the queue.
struct QueueState {
  bool printingDisabled = false;  // "printing disabled" (lpc stop)
  bool printingAborted = false;   // "printing aborted" (a filter's abort, lpc abort)
  bool spoolingDisabled = false;  // "spooling disabled" (lpc disable): new jobs refused
  bool unreachable = false;       // "cannot open connection": no spooler answers
  bool unknownQueue = false;      // "ERROR: spool queue for 'X' does not exist": no such queue
  std::string redirect;           // "(redirect DEST)": new jobs go to DEST
  bool reported = false;          // lpq named the printer: what is not said above is not so
  bool operator==(const QueueState& other) const;
};

struct QueueReport {
  QueueState state;
  std::vector<JobRow> jobs;
};

// Job lines follow the first line holding both "Rank" and "Pr/Class"; lines before it, and
// later lines with fewer than seven blank-separated pieces, are passed over. Pieces are taken
// by position only (a file name with blanks shifts the later cells); tabs do not separate.
// The state is read from the "Printer:" line's flags and the lines before the header only, so
// no file name of a job can fake it.
QueueReport parseQueueReport(const std::string& text);

// Jobs whose Rank is "hold".
int heldJobs(const std::vector<JobRow>& jobs);
// Whether job (a Job ID) is still waiting or printing: listed, and not as "done".
bool jobQueued(const std::vector<JobRow>& jobs, const std::string& job);
// A paused printer still printing its current job: lpc stop lets that job end.
bool currentJobFinishing(const QueueReport& report);
// Whether a Job ID may name a job on a command line: digits only.
bool isJobNumber(const std::string& jobId);
