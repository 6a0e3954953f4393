// Asks one host's LPD (TCP port 515) which queues it serves, from the main loop: never a
// blocking call, one connection at a time, each with a short timeout, the whole search within
// a time limit, and cancellable at any moment.
#pragma once

#include <functional>
#include <string>

enum class LpdOutcome { kFound, kNothingFound, kUnknownHost, kNotAnswering, kNoLpd, kRefused };

struct LpdProbeEvents {
  std::function<void(const std::string& queue)> queueFound;
  // The last event; reason is the server's own words for kRefused.
  std::function<void(LpdOutcome outcome, const std::string& reason)> finished;
};

// Time for one connection (connect, ask, read) and for the whole search of a host. A host on
// the local network answers in milliseconds; one that is not there at all fails after 3 s of
// ARP, so the connection's limit stays clear of that moment.
inline constexpr unsigned kLpdConnectionMilliseconds = 2000;
inline constexpr unsigned kLpdSearchSeconds = 10;

class LpdProbe;
// Starts the search: first the LPRng way (status of "all", every queue in one reply); a host
// that names none is asked about the usual queue names of printer appliances, one by one.
LpdProbe* startLpdProbe(const std::string& host, LpdProbeEvents events);
// Stops it at once: its timers, sockets and watches go, no event follows, it is freed. Not from
// within its own queueFound.
void cancelLpdProbe(LpdProbe* probe);
