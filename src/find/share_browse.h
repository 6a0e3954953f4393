// The printer shares of a Samba server, listed by smbclient in a child process watched from
// the main loop. The password goes to smbclient in a file only root can read, never on its
// command line.
#pragma once

#include <functional>
#include <string>

#include "find/replies.h"

enum class BrowseOutcome { kListed, kUnknownHost, kNotAnswering, kDenied, kNoServer, kFailed };

struct BrowseEvents {
  // The last and only event: the shares (when listed) or why not, in smbclient's own words.
  std::function<void(BrowseOutcome outcome, const ShareListing& listing)> finished;
};

inline constexpr unsigned kBrowseSeconds = 10;
inline constexpr const char* kSmbclient = "/usr/bin/smbclient";

struct ShareQuestion {
  std::string server, user, password, workgroup;  // no user: as a guest
};

class ShareBrowse;
ShareBrowse* startShareBrowse(const ShareQuestion& question, BrowseEvents events);
// Stops at once: smbclient is killed, its password file removed, no event follows.
void cancelShareBrowse(ShareBrowse* browse);
